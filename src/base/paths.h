#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

// The data directory with a trailing backslash: the prefix of every data-file path. The directory
// part is the native (UTF-8) path; everything a loader appends is Shift-JIS with '\' separators.
// Sized for any native path rather than the original 256 characters.
constexpr size_t kBasePathSize = 4096;
extern char g_BasePath[kBasePathSize];
extern int32_t g_BasePathLen;

// Recomputed on every call, as loaders expect; returns g_BasePath.
const char* GetBasePath();
// Where data lives: the executable's directory unless `--data DIR` named another one.
void SetDataDirectory(const std::string& nativeDir);
const std::string& DataDirectory();

// "D:\a\b\game.exe" -> "D:\a\b\"; a '/' counts as a separator too.
std::string CutToBasePath(std::string_view modulePath);

// Finds the file a game path names. A path that starts with the base path is looked up under the
// data directory, any other relative to the current directory (or as given, when absolute).
// Every component matches case-insensitively. Returns the native path; empty when nothing
// matches, with the path looked for logged once.
std::string ResolveGamePath(std::string_view sjisPath);
// Whether a game path names a file or folder, found as ResolveGamePath finds it but without
// logging a miss: for files a data set may leave out.
bool GameFileExists(std::string_view sjisPath);
// fopen through ResolveGamePath. For writing, a file that does not exist yet is created under
// the resolved directory with the name as given.
FILE* OpenGameFile(std::string_view sjisPath, const char* mode);
// While one lives, a path that matches nothing is not logged: for names that mark an unused
// entry (a field's "none"), looked up as the data asks but not expected to be there.
class ExpectedMissing {
public:
    explicit ExpectedMissing(bool expected = true);
    ~ExpectedMissing();
    ExpectedMissing(const ExpectedMissing&) = delete;
    ExpectedMissing& operator=(const ExpectedMissing&) = delete;

private:
    bool expected_;
};
// Forgets cached directory listings (tests that create files call it).
void ClearPathCache();

#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// How a whole-file read ended.
enum class FileStatus {
    kRead,        // the bytes are there (cut to the limit when the caller asked for that)
    kMissing,     // nothing matches the path
    kDirectory,   // the path names a folder
    kUnreadable,  // the file exists but cannot be opened
    kReadError,   // reading it failed part way
    kTooLong,     // longer than the limit, refused (only with LongFile::kRefuse)
};

// What a file longer than the caller's limit gives: its first `limit` bytes, or nothing.
enum class LongFile { kCut, kRefuse };

struct FileRead {
    FileStatus status = FileStatus::kMissing;
    std::string bytes;  // empty unless status is kRead
    // The file's length as the system reports it (0 when that is not known): a file that was cut
    // or refused says here how long it is.
    uint64_t size = 0;

    bool Ok() const { return status == FileStatus::kRead; }
    const uint8_t* Data() const { return reinterpret_cast<const uint8_t*>(bytes.data()); }
};

// A limit that takes a file whatever its length (tools, not the game's loaders).
constexpr size_t kAnyFileSize = SIZE_MAX;

// Reads the whole file a game path names, found as OpenGameFile finds it (Shift-JIS, '\'
// separators, every component matched without case; a path nothing matches is logged once).
FileRead ReadGameFile(std::string_view sjisPath, size_t limit, LongFile longer = LongFile::kCut);
// The same for a native (UTF-8) path, as given.
FileRead ReadNativeFile(const std::string& nativePath, size_t limit,
                        LongFile longer = LongFile::kCut);

// Text as a text-mode read gives it: Ctrl-Z (0x1A) ends it.
std::string_view UpToCtrlZ(std::string_view raw);
// Text as a text-mode read gives it: Ctrl-Z ends it and CR LF arrives as LF (a lone CR stays).
std::string TextModeText(std::string_view raw);

// What no author writes into a data text: a control byte (not tab, line feed or carriage return;
// Ctrl-Z ends the text), a sign of a damaged file; and a last line without its line end (a line
// feed, or a carriage return alone as some formats end lines), most
// likely cut short, so that what its last item read is not what was written. Says so once for
// the file (base/diagnostics.h), first of each, and returns false; true for a clean text. The
// text is the file's from line firstLine on.
bool CheckDataText(std::string_view text, std::string_view sjisPath, int firstLine = 1);

#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The music list "BGM\BGMData.qd": one music per line,
//   name  file  [loopStart [loopEnd]]
// name as the game asks for it, file under BGM\, loop points in sample frames. Without loop
// points the whole track loops; loopStart -1 plays the track once; loopEnd 0 (or past the end)
// means the end of the track. Text after '#' is a comment.

constexpr size_t kMaxBgmEntries = 256;
constexpr size_t kMaxBgmNameLength = 127;
constexpr size_t kMaxBgmFileLength = 255;

struct BgmEntry {
    std::string name;  // Shift-JIS
    std::string file;  // Shift-JIS, relative to BGM\ .
    bool loop = true;
    int64_t loopStart = 0;  // sample frames
    int64_t loopEnd = 0;    // sample frames; 0: the end of the track
    int line = 0;           // the line of the list that gave it (from 1)
};

struct BgmList {
    std::vector<BgmEntry> entries;
    std::vector<int> badLines;  // 1-based numbers of lines that were skipped
};

// Never fails: lines that cannot be read are listed in badLines and skipped; entries past
// kMaxBgmEntries are dropped (and counted as bad).
BgmList ParseBgmList(std::string_view text);

// Music names match with ASCII letters compared without case; the second byte of a double-byte
// character must match exactly.
bool SameBgmName(std::string_view a, std::string_view b);

// The entry for `name`, or null.
const BgmEntry* FindBgm(const BgmList& list, std::string_view name);

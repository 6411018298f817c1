#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The title file: a data set that wants the game to open on a title menu gives Datas\Title.qd,
// a few lines "key value" in Shift-JIS (docs/content.md). Without it the first frame starts a
// new game, as it always has.
//
//   save      baske-adventure   the name the data set's saves are kept under and checked against
//   picture   tex\title.bmp     the picture over the whole screen
//   music     title             a name from BGM\BGMData.qd, played while the title shows
//   new       はじめから          the texts of the four entries (the engine's own without them)
//   continue  つづきから
//   load      記録を　えらぶ
//   quit      おわる
//   settings  せってい          the settings screen's entry, shown (before quit) only when given
//
// Every key is optional and given once; a value runs to the end of the line, and a "#" at the
// start of a word starts a comment.

constexpr const char* kTitleFilePath = "Datas\\Title.qd";
constexpr size_t kMaxTitleFileBytes = 16 * 1024;
constexpr size_t kMaxSaveNameLength = 64;
constexpr size_t kMaxTitlePathLength = 255;
constexpr size_t kMaxTitleMusicLength = 127;
constexpr size_t kMaxTitleEntryLength = 32;

// The title menu's entries (shown in this order, the settings before quit).
enum TitleEntry {
    kTitleNewGame,
    kTitleContinue,
    kTitleLoad,
    kTitleQuit,
    kTitleSettings,
    kTitleEntryCount
};

struct TitleFile {
    std::string saveName;  // letters, digits, '-', '_' and '.'; empty: not given
    std::string picture;   // a game path (Shift-JIS); empty: none
    std::string music;     // a music name (Shift-JIS); empty: none
    std::array<std::string, kTitleEntryCount> entries;  // Shift-JIS; empty: the engine's text
    // What could not be read, one line each ("line 3: ..."), in Shift-JIS; those lines are
    // skipped and the rest is used.
    std::vector<std::string> problems;
};

// Reads a title file's text. Never fails: what cannot be used is named in `problems`.
TitleFile ParseTitleFile(std::string_view text);

// Whether a save name may be used: 1 to 64 of A-Z a-z 0-9 - _ . and not starting with '.'
// (it names a folder).
bool IsUsableSaveName(std::string_view name);

// The title file of the data folder now set, read by ReadTitleFile; null when the data set has
// none.
const TitleFile* DataSetTitle();
// Reads the data folder's title file, once the folder is known (the program's start; tests).
// A file that is there but cannot be read gives a title with the engine's texts and says why in
// its problems.
void ReadTitleFile();

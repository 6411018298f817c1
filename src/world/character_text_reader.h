#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "base/item_reader.h"

struct FighterRecord;

// The whole of a small game text file (first megabyte at most); false when it cannot be opened.
// `named`: a file that is there but cannot be read (a folder, say) is named on the diagnostics
// channel, for callers that show no box of their own (a missing file is named where its path is
// looked up).
bool ReadGameTextFile(const std::string& pathSjis, std::string& out, bool named = false);

// name cut to fit a buffer of `size` bytes with its terminator, never inside a double-byte
// Shift-JIS character.
std::string FitSjis(std::string_view name, size_t size);

// The lines party and enemy status files share, in order: name, maximum points, the eleven
// stats, status byte, default action, weapon and guard. Numbers keep their low 8 bits where the
// record holds a byte. False at the first item that cannot be read (reported by the reader).
bool ReadFighterStatusHead(ItemReader& in, FighterRecord& r);

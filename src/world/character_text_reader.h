#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "base/formatted_input.h"

struct FighterRecord;

// Reads the small text files of characters and fighters (character files, party and enemy
// status files) as the runtime's formatted input read them in text mode: "\r\n" is one line end
// and Ctrl-Z ends the text. Each read names the item it fills, so a short or damaged file is
// reported once, with the file's path and the first item that could not be read; every later
// read then fails without a word.
class CharacterTextReader {
public:
    // headSjis starts the report (the loader's own message), pathSjis names the file.
    CharacterTextReader(std::string_view text, std::string headSjis, std::string pathSjis);

    // One formatted-input call (see FormattedInput::Scan); true when it filled every target.
    template <typename... Targets>
    bool Read(std::string_view itemUtf8, std::string_view format, Targets*... targets) {
        if (failed_) return false;
        FormattedInput in(text_.data() + pos_, text_.size() - pos_);
        const int stored = in.Scan(format, targets...);
        pos_ += in.Position();
        if (stored == int(sizeof...(Targets))) return true;
        Fail(itemUtf8);
        return false;
    }
    // What a 64-byte line read does with the rest of a line: takes at most 63 bytes, up to and
    // including the line end when it comes within them.
    void SkipLine(size_t bufferSize = 64);
    bool Failed() const { return failed_; }

private:
    void Fail(std::string_view itemUtf8);

    std::string text_;
    size_t pos_ = 0;
    std::string head_;
    std::string path_;
    bool failed_ = false;
};

// The whole of a small game text file (first megabyte at most); false when it cannot be opened.
bool ReadGameTextFile(const std::string& pathSjis, std::string& out);

// name cut to fit a buffer of `size` bytes with its terminator, never inside a double-byte
// Shift-JIS character.
std::string FitSjis(std::string_view name, size_t size);

// The lines party and enemy status files share, in order: name, maximum points, the eleven
// stats, status byte, default action, weapon and guard. Numbers keep their low 8 bits where the
// record holds a byte. False at the first item that cannot be read (reported by the reader).
bool ReadFighterStatusHead(CharacterTextReader& in, FighterRecord& r);

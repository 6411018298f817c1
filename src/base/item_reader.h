#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/formatted_input.h"

// Reads a data text one formatted-input call at a time, each call naming the item it fills, as
// the text files of fields, characters, fighters and weapons are read. The text is taken as a
// text-mode read gives it ("\r\n" is one line end, Ctrl-Z ends it). The first item that cannot
// be read is reported once, with the loader's own head line and the file's path; every later
// read then fails without a word, so a short or damaged file says where it broke and no more.
// A text whose last line has no line end is named as cut short (CheckDataText), and a value its
// record cannot hold is named at its line and column (Fits, Byte), once per file and fault.
class ItemReader {
public:
    // headSjis starts the report (the loader's own message), pathSjis names the file; the text
    // is its part from line firstLine on (lines from 1, for the places faults are named at).
    ItemReader(std::string_view text, std::string headSjis, std::string pathSjis,
               int firstLine = 1);

    // One formatted-input call (see FormattedInput::Scan); true when it filled every target.
    template <typename... Targets>
    bool Read(std::string_view itemUtf8, std::string_view format, Targets*... targets) {
        if (Scan(format, targets...)) return true;
        Fail(itemUtf8);
        return false;
    }
    // The same for the index-th item (from 0) of a section, reported as "<section>の <n> 番目".
    template <typename... Targets>
    bool ReadNth(std::string_view sectionUtf8, int index, std::string_view format,
                 Targets*... targets) {
        if (Scan(format, targets...)) return true;
        if (!failed_) Fail(NumberedItem(sectionUtf8, index));
        return false;
    }
    // What a line read into a buffer of bufferSize bytes does with the rest of a line: takes at
    // most bufferSize - 1 bytes, up to and including the line end when it comes within them.
    void SkipLine(size_t bufferSize = 64);
    bool Failed() const { return failed_; }

    // Whether the value of the item read last lies in [low, high], what its record keeps or
    // what it can mean (a size is not negative); one that does not is named (what the loader
    // then keeps is its own affair).
    bool Fits(std::string_view itemUtf8, double value, double low, double high);
    // A value the record keeps in a byte: its low 8 bits, named when it is outside 0-255.
    uint8_t Byte(std::string_view itemUtf8, int32_t value);
    // A word of the item read last kept in at most maxBytes bytes: named when it is longer.
    void Cut(std::string_view itemUtf8, const std::string& word, size_t maxBytes);

private:
    template <typename... Targets>
    bool Scan(std::string_view format, Targets*... targets) {
        if (failed_) return false;
        FormattedInput in(text_.data() + pos_, text_.size() - pos_);
        in.SkipSpace();
        last_ = pos_ + in.Position();
        in.SetPosition(0);
        const int stored = in.Scan(format, targets...);
        if (in.WrappedNumber() != std::string_view::npos) Wrapped(pos_ + in.WrappedNumber());
        pos_ += in.Position();
        return stored == int(sizeof...(Targets));
    }
    static std::string NumberedItem(std::string_view sectionUtf8, int index);
    void Fail(std::string_view itemUtf8);
    void Say(std::string_view english) const { SayAt(last_, english); }
    void SayAt(size_t offset, std::string_view english) const;
    void Wrapped(size_t offset) const;

    std::string text_;
    size_t pos_ = 0;
    size_t last_ = 0;  // where the item read last starts
    int firstLine_;
    std::string head_;
    std::string path_;
    bool failed_ = false;
};

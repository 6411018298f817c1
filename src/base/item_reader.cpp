#include "base/item_reader.h"

#include <cfloat>
#include <cmath>
#include <cstdio>

#include "base/diagnostics.h"
#include "base/game_file.h"
#include "base/message_box.h"
#include "base/sjis.h"

ItemReader::ItemReader(std::string_view text, std::string headSjis, std::string pathSjis,
                       int firstLine)
    : text_(TextModeText(text)),
      firstLine_(firstLine),
      head_(std::move(headSjis)),
      path_(std::move(pathSjis)) {
    CheckDataText(text_, path_, firstLine_);
}

namespace {

// Whole numbers without a point, others as "%g" gives them.
std::string Shown(double v) {
    if (v == std::floor(v) && std::fabs(v) < 1e15) return std::to_string(int64_t(v));
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

}  // namespace

void ItemReader::SayAt(size_t offset, std::string_view english) const {
    SourcePlace at = PlaceInText(text_, offset, ShownPath(path_));
    at.line += firstLine_ - 1;
    DiagnoseOnce(at, english);
}

void ItemReader::Wrapped(size_t offset) const {
    SayAt(offset, "a number past the 32-bit range (-2147483648 to 2147483647): it wraps");
}

bool ItemReader::Fits(std::string_view itemUtf8, double value, double low, double high) {
    if (value >= low && value <= high) return true;
    const std::string range =
        high >= FLT_MAX ? "at least " + Shown(low) : Shown(low) + " to " + Shown(high);
    Say(std::string(itemUtf8) + " " + Shown(value) + " is out of range (" + range + ")");
    return false;
}

uint8_t ItemReader::Byte(std::string_view itemUtf8, int32_t value) {
    Fits(itemUtf8, value, 0, 255);
    return static_cast<uint8_t>(static_cast<uint32_t>(value));
}

void ItemReader::Cut(std::string_view itemUtf8, const std::string& word, size_t maxBytes) {
    if (word.size() > maxBytes)
        Say(std::string(itemUtf8) + " is " + std::to_string(word.size()) +
            " bytes long; only the first " + std::to_string(maxBytes) + " are kept");
}

void ItemReader::SkipLine(size_t bufferSize) {
    if (failed_ || bufferSize < 2) return;
    for (size_t taken = 0; taken + 1 < bufferSize && pos_ < text_.size(); ++taken) {
        if (text_[pos_++] == '\n') break;
    }
}

std::string ItemReader::NumberedItem(std::string_view sectionUtf8, int index) {
    return std::string(sectionUtf8) + "の " + std::to_string(index + 1) + " 番目";
}

void ItemReader::Fail(std::string_view itemUtf8) {
    if (failed_) return;
    failed_ = true;
    RZ_MsgBox(head_ + "\n" + path_ + "\n" + ToSjis(std::string(itemUtf8) + "が読めません"),
              ShownPath(path_) + " stops early or has a word where a number belongs");
}

#include "base/item_reader.h"

#include "base/diagnostics.h"
#include "base/game_file.h"
#include "base/message_box.h"
#include "base/sjis.h"

ItemReader::ItemReader(std::string_view text, std::string headSjis, std::string pathSjis)
    : text_(TextModeText(text)), head_(std::move(headSjis)), path_(std::move(pathSjis)) {}

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

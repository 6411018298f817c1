#include "base/debug_message.h"

#include <cstdio>
#include <cstring>

#include "base/host.h"
#include "base/message_box.h"
#include "base/sjis.h"

DebugMessage::DebugMessage() : word_(0) {
    text_[0] = '\0';
}

void DebugMessage::Append(const char* text) {
    if (!text) return;
    size_t used = std::strlen(text_);
    size_t room = kCapacity - 1 - used;
    size_t n = std::strlen(text);
    if (n > room) n = room;
    std::memcpy(text_ + used, text, n);
    text_[used + n] = '\0';
}

void DebugMessage::AppendInt(int32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%d", value);
    Append(buffer);
}

void DebugMessage::AppendFloat(float value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%f", static_cast<double>(value));
    Append(buffer);
}

void DebugMessage::ShowBox() {
    ShowMessageBox(SJIS("樫木流ERROR"), text_, MB_OK);
    text_[0] = '\0';
}

void DebugMessage::WriteLog() {
    if (FILE* f = std::fopen("QdLog.qf", "a")) {
        std::fputs(text_, f);
        std::fclose(f);
    }
    text_[0] = '\0';
}

void DebugMessage::ShowInt(int32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%d", value);
    RZ_MsgBox(buffer);
}

void DebugMessage::ShowFloat(float value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%f", static_cast<double>(value));
    RZ_MsgBox(buffer);
}

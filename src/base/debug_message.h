#pragma once
#include <cstdint>
#include <string>

// A small diagnostic message builder: collects text, then shows it in a box or appends it to
// "QdLog.qf" in the current directory. Appends stop at the buffer's end instead of overrunning it.
class DebugMessage {
public:
    static constexpr int kCapacity = 132;  // characters, terminator included

    DebugMessage();
    void Append(const char* text);
    void AppendInt(int32_t value);
    void AppendFloat(float value);
    void ShowBox();   // caption "樫木流ERROR", then clears
    void WriteLog();  // appends to "QdLog.qf" without a line end, then clears
    void ShowInt(int32_t value);
    void ShowFloat(float value);
    const char* Text() const { return text_; }

private:
    char text_[kCapacity];
    [[maybe_unused]] int32_t word_;  // set by the constructor, read by nothing
};

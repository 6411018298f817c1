#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Every message box goes through here: it is shown by the host's dialogs (a logged line in
// headless mode) and kept in g_MessageBoxLog for state dumps and tests.
struct MessageBoxRecord {
    std::string caption;  // UTF-8
    std::string text;     // UTF-8
    uint32_t flags = 0;
    int answer = 0;
};

extern std::vector<MessageBoxRecord> g_MessageBoxLog;

// Caption and text in Shift-JIS, as the game holds them.
int ShowMessageBox(const std::string& captionSjis, const std::string& textSjis, uint32_t flags);

// The error box of the sound code and start-up: caption "エラー発生", OK. Always false, so a
// caller can report and return in one statement.
bool ErrorBox(const std::string& textSjis);

// The data-error box of every loader: caption "Harlo tumesto", OK, exclamation, top-most.
// Text in Shift-JIS. The caller decides what happens next.
int RZ_MsgBox(const std::string& textSjis);

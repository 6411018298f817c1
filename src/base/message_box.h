#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Every message box goes through here: it is shown by the host's dialogs and kept in
// g_MessageBoxLog for state dumps and tests. Each box is also diagnosed (base/diagnostics.h): the
// place where the engine stands in its data, the English explanation the caller gives and the
// box's own text go to standard error and the log; the box keeps the game's text.
struct MessageBoxRecord {
    std::string caption;  // UTF-8
    std::string text;     // UTF-8
    uint32_t flags = 0;
    int answer = 0;
};

extern std::vector<MessageBoxRecord> g_MessageBoxLog;

// Caption and text in Shift-JIS, as the game holds them; `english` says what is wrong for the
// person who wrote the data (empty: the box's text stands alone).
int ShowMessageBox(const std::string& captionSjis, const std::string& textSjis, uint32_t flags,
                   std::string_view english = {});

// The error box of the sound code and start-up: caption "エラー発生", OK. Always false, so a
// caller can report and return in one statement.
bool ErrorBox(const std::string& textSjis, std::string_view english = {});

// The data-error box of every loader: caption "Harlo tumesto", OK, exclamation, top-most.
// Text in Shift-JIS. The caller decides what happens next.
int RZ_MsgBox(const std::string& textSjis, std::string_view english = {});

#include "base/message_box.h"

#include "base/diagnostics.h"
#include "base/host.h"
#include "base/sjis.h"

std::vector<MessageBoxRecord> g_MessageBoxLog;

int ShowMessageBox(const std::string& captionSjis, const std::string& textSjis, uint32_t flags,
                   std::string_view english) {
    MessageBoxRecord rec{ToUtf8(captionSjis), ToUtf8(textSjis), flags, 0};
    // Said before the box, which an interactive game holds until it is answered. A question
    // without an explanation is no fault: it goes to the log only.
    const std::string game = rec.caption.empty() ? rec.text : "[" + rec.caption + "] " + rec.text;
    if ((flags & MB_YESNO) && english.empty())
        LogProgress("question: " + game);
    else if (english.empty())
        Diagnose(RunningPlace(), game);
    else
        Diagnose(RunningPlace(), english, game);
    if (g_Host.dialogs)
        rec.answer = g_Host.dialogs->MessageBox(rec.caption, rec.text, flags);
    else
        rec.answer = (flags & MB_YESNO) ? IDNO : IDOK;
    // A long session with a broken data file must not grow this without end.
    if (g_MessageBoxLog.size() < 1000) g_MessageBoxLog.push_back(rec);
    return rec.answer;
}

bool ErrorBox(const std::string& textSjis, std::string_view english) {
    ShowMessageBox(SJIS("エラー発生"), textSjis, MB_OK, english);
    return false;
}

int RZ_MsgBox(const std::string& textSjis, std::string_view english) {
    return ShowMessageBox("Harlo tumesto", textSjis, MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST,
                          english);
}

#include "base/message_box.h"

#include <cstdio>

#include "base/host.h"
#include "base/sjis.h"

std::vector<MessageBoxRecord> g_MessageBoxLog;

int ShowMessageBox(const std::string& captionSjis, const std::string& textSjis, uint32_t flags) {
    MessageBoxRecord rec{ToUtf8(captionSjis), ToUtf8(textSjis), flags, 0};
    if (g_Host.dialogs) {
        rec.answer = g_Host.dialogs->MessageBox(rec.caption, rec.text, flags);
    } else {
        std::fprintf(stderr, "[%s] %s\n", rec.caption.c_str(), rec.text.c_str());
        rec.answer = (flags & MB_YESNO) ? IDNO : IDOK;
    }
    // A long session with a broken data file must not grow this without end.
    if (g_MessageBoxLog.size() < 1000) g_MessageBoxLog.push_back(rec);
    return rec.answer;
}

bool ErrorBox(const std::string& textSjis) {
    ShowMessageBox(SJIS("エラー発生"), textSjis, MB_OK);
    return false;
}

int RZ_MsgBox(const std::string& textSjis) {
    return ShowMessageBox("Harlo tumesto", textSjis, MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST);
}

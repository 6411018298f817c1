#include "base/null_host.h"

#include <cstdio>

#include "base/message_queue.h"

Host g_Host;
MessageQueue g_MessageQueue;

int HeadlessDialogs::MessageBox(const std::string& caption, const std::string& text,
                                uint32_t flags) {
    if (!quiet) std::fprintf(stderr, "gh02: message box [%s] %s\n", caption.c_str(), text.c_str());
    if (!(flags & MB_YESNO)) return IDOK;
    return answered < answers.size() ? answers[answered++] : IDNO;
}

bool HeadlessDialogs::OpenImageFile(std::string& path) {
    path.clear();
    if (!quiet) std::fprintf(stderr, "gh02: file dialog cancelled (headless)\n");
    return false;
}

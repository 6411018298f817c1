#include "base/null_host.h"

#include <cstdio>

#include "base/message_queue.h"

Host g_Host;
MessageQueue g_MessageQueue;

int HeadlessDialogs::MessageBox(const std::string&, const std::string&, uint32_t flags) {
    // What the box says has been diagnosed on standard error already (base/message_box.h).
    if (!(flags & MB_YESNO)) return IDOK;
    return answered < answers.size() ? answers[answered++] : IDNO;
}

bool HeadlessDialogs::OpenImageFile(std::string& path) {
    path.clear();
    if (!quiet) std::fprintf(stderr, "gh02: file dialog cancelled (headless)\n");
    return false;
}

// Script text comes from authors: the argument readers must stay inside the text whatever it
// holds and wherever they start. The first bytes choose the reads, the rest is the text; with the
// top bit of the first byte set the text goes through a file and the loader.
#include <cassert>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/host.h"
#include "app/message_box.h"
#include "app/null_host.h"
#include "app/paths.h"
#include "platform/iconv_codec.h"
#include "script/qscr_org.h"

namespace {

constexpr size_t kOps = 12;

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

void CheckScript(const QScrOrg& s) {
    Check(s.pc >= 0 && s.pc <= QScrOrg::kTextSize, "pc outside the text");
    Check(std::memchr(s.str, '\0', sizeof s.str) != nullptr, "str without its NUL");
}

std::string g_Dir;

void Setup() {
    static IconvCodec codec;
    static HeadlessDialogs dialogs;
    dialogs.quiet = true;
    g_Host.codec = &codec;
    g_Host.dialogs = &dialogs;
    g_Dir = (std::filesystem::temp_directory_path() /
             ("gh02-script-fuzz-" + std::to_string(std::rand())))
                .string();
    std::filesystem::create_directories(g_Dir + "/SCR");
    SetDataDirectory(g_Dir);
    std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(g_Dir, ec);
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool init = (Setup(), true);
    (void)init;
    g_MessageBoxLog.clear();
    size_t nOps = size < kOps ? size : kOps;
    const uint8_t* ops = data;
    const char* body = reinterpret_cast<const char*>(data + nOps);
    size_t bodySize = size - nOps;

    static QScrOrg s;
    if (nOps > 0 && (ops[0] & 0x80)) {
        FILE* f = std::fopen((g_Dir + "/SCR/f.qd").c_str(), "wb");
        if (!f) return 0;
        std::fwrite(body, 1, bodySize, f);
        std::fclose(f);
        Check(s.Load("f"), "load failed");
        Check(s.pc == 0, "load leaves pc");
        size_t end = strnlen(s.text, QScrOrg::kTextSize);
        Check(end >= 2 && end < QScrOrg::kTextSize, "text without room for its end");
        Check(std::memcmp(s.text + end - 2, "c0", 2) == 0, "no end command");
    } else {
        std::memset(s.text, 0, sizeof s.text);
        std::memcpy(s.text, body, bodySize < sizeof s.text ? bodySize : sizeof s.text);
        s.pc = 0;
    }

    for (size_t i = 0; i < nOps; ++i) {
        uint8_t op = ops[i];
        switch (op % 6) {
            case 0:
                s.gInt();
                break;
            case 1: {
                double v = s.gFloat();
                Check(std::isfinite(v) && std::fabs(v) <= FLT_MAX, "float out of range");
                break;
            }
            case 2:
                s.gStr(s.str);
                break;
            case 3: {
                char small[5];
                s.gStr(small);
                Check(std::memchr(small, '\0', sizeof small) != nullptr, "cut string unended");
                break;
            }
            case 4:
                // Anywhere, including places no runner would leave the script at.
                s.pc = int32_t(op) * 37 - 600;
                if (s.pc < 0 || s.pc > QScrOrg::kTextSize) {
                    s.gInt();
                    Check(s.pc == QScrOrg::kTextSize, "reader from outside the text");
                }
                break;
            default:
                s.pc = QScrOrg::kTextSize - 1 - op % 32;
                s.ShowRest();
                break;
        }
        CheckScript(s);
    }
    return 0;
}

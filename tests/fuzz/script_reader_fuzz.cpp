// Script text comes from authors: the argument readers must stay inside the text whatever it
// holds and wherever they start. The first bytes choose the reads, the rest is the text; with the
// top bit of the first byte set the text goes through a file and the loader.
#include <cfloat>
#include <cmath>
#include <string>

#include "fuzz_common.h"
#include "script/qscr_org.h"

namespace {

using fuzz::Check;
constexpr size_t kOps = 12;

void CheckScript(const QScrOrg& s) {
    Check(s.pc >= 0 && s.pc <= QScrOrg::kTextSize, "pc outside the text");
    Check(fuzz::Terminated(s.str), "str without its NUL");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string& dir = (fuzz::QuietHost(), fuzz::DataDir("script-fuzz", {"SCR"}));
    const fuzz::FreshRun fresh;
    size_t nOps = size < kOps ? size : kOps;
    const uint8_t* ops = data;
    const char* body = reinterpret_cast<const char*>(data + nOps);
    size_t bodySize = size - nOps;

    static QScrOrg s;
    if (nOps > 0 && (ops[0] & 0x80)) {
        FILE* f = std::fopen((dir + "/SCR/f.qd").c_str(), "wb");
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
                Check(fuzz::Terminated(small), "cut string unended");
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

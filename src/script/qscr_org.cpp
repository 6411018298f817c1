#include "script/qscr_org.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cstring>
#include <string>
#include <string_view>

#include "base/ascii.h"
#include "base/diagnostics.h"
#include "base/game_file.h"
#include "base/message_box.h"
#include "base/parse_int.h"
#include "base/paths.h"
#include "base/sjis.h"

namespace {

// Every character of the text a script can hold comes from at most two bytes of its file (CR LF),
// so this much tells whether the text fits and gives all of it.
constexpr size_t kMaxScriptFileBytes = 2 * size_t(QScrOrg::kTextSize);

// Decimal floating-point number: blanks, sign, digits, point, exponent; anything else gives 0.
// Always in the float range, since every caller keeps a float.
double ParseFloat(const char* s) {
    while (IsAsciiSpace(*s)) ++s;
    bool negative = false;
    if (*s == '+' || *s == '-') negative = *s++ == '-';
    // from_chars would also take "inf" and "nan"; positions and angles must stay finite.
    if (!IsAsciiDigit(*s) && !(*s == '.' && IsAsciiDigit(s[1]))) return 0.0;
    const char* end = s + std::strlen(s);
    double value = 0.0;
    auto [ptr, ec] = std::from_chars(s, end, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Only the exponent can carry a number of at most 17 characters out of range.
        const char* e = s;
        while (e < ptr && *e != 'e' && *e != 'E') ++e;
        value = (e + 1 < ptr && e[1] == '-') ? 0.0 : DBL_MAX;
    } else if (ec != std::errc()) {
        value = 0.0;
    }
    if (value > FLT_MAX) value = FLT_MAX;
    return negative ? -value : value;
}

// Copies a number argument up to its ',' into buf (kMaxNumberChars + 1 bytes). Reports a missing
// ',' with message, except when the script had already run off its text before the call.
void ReadNumber(QScrOrg& s, char* buf, const std::string& message) {
    int32_t n = 0;
    if (s.pc < 0 || s.pc >= QScrOrg::kTextSize) {
        s.pc = QScrOrg::kTextSize;
        buf[0] = '\0';
        return;
    }
    for (;;) {
        if (s.pc >= QScrOrg::kTextSize) {
            RZ_MsgBox(message, "a number argument runs to the end of the script without its ','");
            break;
        }
        if (s.text[s.pc] == ',') break;
        buf[n++] = s.text[s.pc++];
        if (n == QScrOrg::kMaxNumberChars) {
            RZ_MsgBox(message, "a number argument is longer than " +
                                   std::to_string(QScrOrg::kMaxNumberChars) +
                                   " characters (is its ',' missing?)");
            break;
        }
    }
    buf[n] = '\0';
    // Over the ',' or, after a report, over whatever stands there: kept as the data expects.
    if (s.pc < QScrOrg::kTextSize) ++s.pc;
}

size_t BoundedLength(const char* s, size_t max) {
    const void* nul = std::memchr(s, '\0', max);
    return nul ? size_t(static_cast<const char*>(nul) - s) : max;
}

// Length of a cut string that does not end in half a double-byte character.
size_t WholeCharsPrefix(const char* s, size_t n) {
    size_t i = 0;
    while (i < n) {
        size_t step = IsSjisLeadByte(static_cast<unsigned char>(s[i])) ? 2 : 1;
        if (i + step > n) break;
        i += step;
    }
    return i;
}

}  // namespace

bool QScrOrg::Load(const char* name) {
    pc = 0;
    if (!name) name = "";
    std::string path = std::string(GetBasePath()) + "SCR\\" + name + ".qd";
    const FileRead file = ReadGameFile(path, kMaxScriptFileBytes);
    if (!file.Ok()) {
        RZ_MsgBox("QScrOrg:Reading error!:\n" + std::string(name),
                  "the script " + ShownPath(path) + " cannot be read");
        return false;
    }
    // Scripts are written on Windows and were read there in text mode: CR LF arrives as LF and
    // Ctrl-Z ends the file. Doing it here gives every platform the same text (and the same length).
    const std::string script = TextModeText(file.bytes);
    const bool cut = script.size() > size_t(kMaxFileText);
    std::memset(text, 0, sizeof text);
    std::memcpy(text, script.data(), cut ? size_t(kMaxFileText) : script.size());
    // Appended at the first NUL, as a string concatenation does: a NUL inside the file ends the
    // script there. The cut above leaves room for it and the terminator.
    size_t end = BoundedLength(text, kTextSize);
    std::memcpy(text + end, "c0", 2);
    text[end + 2] = '\0';
    // What the script keeps of a damaged file is named: nothing, a NUL that ends it early, a
    // last line cut short.
    const std::string shown = ShownPath(path);
    if (script.empty()) DiagnoseOnce(SourcePlace{shown}, "the script is empty");
    if (end < std::min(script.size(), size_t(kMaxFileText)))
        DiagnoseOnce(PlaceInText(script, end, shown), "a NUL byte ends the script here");
    else
        CheckDataText(script, path);
    if (cut) {
        RZ_MsgBox(SJIS("うお！？"), "the script " + ShownPath(path) + " is longer than " +
                                        std::to_string(kMaxFileText) +
                                        " bytes; the rest is ignored");
    }
    return true;
}

int32_t QScrOrg::gInt() {
    char buf[kMaxNumberChars + 1];
    ReadNumber(*this, buf, SJIS("gInt:ん？"));
    // No digits give 0; values past the 32-bit range stay at its ends, and say so.
    const ParsedInt read = ParseInt(buf);
    const int32_t value = int32_t(std::clamp<int64_t>(read.value, INT32_MIN, INT32_MAX));
    if (read.outOfRange || value != read.value) {
        std::string_view number(buf, read.used);
        number.remove_prefix(std::min(number.find_first_not_of(" \t\n\v\f\r"), number.size()));
        DiagnoseOnce(RunningPlace(), "the number " + std::string(number) +
                                         " is past the 32-bit range; " + std::to_string(value) +
                                         " is used");
    }
    return value;
}

double QScrOrg::gFloat() {
    char buf[kMaxNumberChars + 1];
    ReadNumber(*this, buf, SJIS("gFloat:ん？"));
    return ParseFloat(buf);
}

void QScrOrg::gStr(char* destination, size_t capacity) {
    size_t n = 0;
    bool cut = false;
    if (pc < 0 || pc >= kTextSize) {
        pc = kTextSize;
    } else {
        const int32_t slashes = FindSlashes(pc);
        const size_t length = size_t((slashes < 0 ? kTextSize : slashes) - pc);
        n = capacity ? std::min(length, capacity - 1) : 0;
        cut = length > n;
        std::memcpy(destination, text + pc, n);
        if (slashes < 0) {
            pc = kTextSize;
            Diagnose(RunningPlace(),
                     "a text argument runs to the end of the script without its //");
        } else {
            pc = slashes + 2;
        }
    }
    if (cut) {
        n = WholeCharsPrefix(destination, n);
        Diagnose(RunningPlace(), "a text argument is longer than " +
                                     std::to_string(capacity ? capacity - 1 : 0) +
                                     " bytes; it is cut");
    }
    if (capacity) destination[n] = '\0';
}

bool QScrOrg::PairAt(int32_t at, char first, char second) const {
    return at >= 0 && at + 1 < kTextSize && text[at] == first && text[at + 1] == second;
}

int32_t QScrOrg::FindSlashes(int32_t from) const {
    // A string without its "//" is searched to the end of the text, often, so the library's
    // search does it rather than a loop over every byte.
    const int32_t start = from < 0 ? 0 : from;
    if (start >= kTextSize) return -1;
    const size_t at = std::string_view(text + start, size_t(kTextSize - start)).find("//");
    return at == std::string_view::npos ? -1 : start + int32_t(at);
}

bool QScrOrg::LabelMatches(int32_t nameStart, int32_t nameEnd, std::string_view label) const {
    // A whole-name match of any length: a long name is neither cut nor matched by its prefix.
    return label.size() == size_t(nameEnd - nameStart) &&
           std::memcmp(text + nameStart, label.data(), label.size()) == 0;
}

void QScrOrg::LabelMissing(std::string_view label, bool forward) {
    RZ_MsgBox(SJIS("ラベルがねぇよ:") + std::string(label),
              "no label " + ToUtf8(label) + (forward ? " after" : " before") +
                  " this jump (a label is written @:" + ToUtf8(label) + "//)");
    // The script has lost its place: put it on its end command so that it stops there instead
    // of running on beyond either end of the text.
    pc = EndOfText();
}

int32_t QScrOrg::FindLabelFrom(int32_t at, std::string_view label) const {
    if (at < 0) at = 0;
    while (at < kTextSize) {
        const void* mark = std::memchr(text + at, '@', size_t(kTextSize - at));
        if (!mark) break;
        at = int32_t(static_cast<const char*>(mark) - text);
        if (!PairAt(at, '@', ':')) {
            ++at;
            continue;
        }
        const int32_t nameEnd = FindSlashes(at + 2);
        if (nameEnd < 0) break;  // the name runs to the end of the text
        if (LabelMatches(at + 2, nameEnd, label)) return nameEnd + 2;
        at = nameEnd;  // the search goes on from where the name reading stopped
    }
    return -1;
}

bool QScrOrg::jpAf(const char* label) {
    const std::string_view wanted = label ? label : "";
    const int32_t behind = FindLabelFrom(pc, wanted);
    if (behind >= 0) {
        pc = behind;
        return true;
    }
    LabelMissing(wanted, true);
    return false;
}

bool QScrOrg::jpAb(const char* label) {
    std::string_view wanted = label ? label : "";
    int32_t at = pc >= kTextSize ? kTextSize - 1 : pc;
    if (at < 0) at = -1;
    // The end of the name of a label at `at`, kept up to date while walking back so that a text
    // full of unfinished labels costs one pass.
    int32_t nameEnd = FindSlashes(at + 2);
    for (; at >= 0; --at) {
        if (PairAt(at + 2, '/', '/')) nameEnd = at + 2;
        if (nameEnd >= 0 && PairAt(at, '@', ':') && LabelMatches(at + 2, nameEnd, wanted)) {
            pc = nameEnd + 2;
            return true;
        }
    }
    LabelMissing(wanted, false);
    return false;
}

void QScrOrg::ShowRest() {
    if (pc < 0 || pc >= kTextSize) {
        RZ_MsgBox("", "the rest of the script (none: the script has run off its text)");
        return;
    }
    RZ_MsgBox(std::string(text + pc, BoundedLength(text + pc, size_t(kTextSize - pc))),
              "the rest of the script");
}

int32_t QScrOrg::EndOfText() const {
    int32_t n = static_cast<int32_t>(BoundedLength(text, kTextSize));
    if (n >= 2 && text[n - 2] == 'c' && text[n - 1] == '0') return n - 2;
    return n < kTextSize ? n : kTextSize - 1;
}

int32_t QScrOrg::IntRef(int32_t value) const {
    if (value >= 0) return value;
    int64_t k = -int64_t(value);
    return k <= kIntVars ? iv[k - 1] : 0;
}

float QScrOrg::FloatRef(float value) const {
    if (!(value < 0.0f)) return value;
    // -k reads fv[k-1]; a fraction is cut off as a conversion to an integer does.
    if (!(value > -float(kFloatVars + 1)) || value > -1.0f) return 0.0f;
    return fv[static_cast<int32_t>(-value) - 1];
}

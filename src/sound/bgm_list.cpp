#include "sound/bgm_list.h"

#include "base/ascii.h"
#include "base/parse_int.h"
#include "base/sjis.h"

namespace {

std::vector<std::string_view> Tokens(std::string_view line) {
    std::vector<std::string_view> out;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsAsciiSpace(line[i])) ++i;
        size_t start = i;
        while (i < line.size() && !IsAsciiSpace(line[i])) ++i;
        if (i > start) out.push_back(line.substr(start, i - start));
    }
    return out;
}

}  // namespace

bool SameBgmName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (IsSjisLeadByte(static_cast<unsigned char>(a[i]))) {
            if (a[i] != b[i] || (i + 1 < a.size() && a[i + 1] != b[i + 1])) return false;
            ++i;
        } else if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

namespace {

// Reads one line's tokens into an entry; false when they do not make one.
bool ParseEntry(const std::vector<std::string_view>& t, BgmEntry& e) {
    if (t.size() < 2 || t.size() > 4) return false;
    if (t[0].size() > kMaxBgmNameLength || t[1].size() > kMaxBgmFileLength) return false;
    e.name = std::string(t[0]);
    e.file = std::string(t[1]);
    if (t.size() >= 3) {
        if (!ParseWholeInt(t[2], e.loopStart) || e.loopStart < -1) return false;
        if (e.loopStart == -1) {
            e.loop = false;
            e.loopStart = 0;
        }
    }
    if (t.size() == 4) {
        if (!ParseWholeInt(t[3], e.loopEnd) || e.loopEnd < 0) return false;
        if (e.loop && e.loopEnd != 0 && e.loopEnd <= e.loopStart) return false;
    }
    return true;
}

}  // namespace

BgmList ParseBgmList(std::string_view text) {
    BgmList list;
    int lineNo = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t nl = text.find('\n', pos);
        std::string_view line = text.substr(pos, nl == std::string_view::npos ? nl : nl - pos);
        pos = nl == std::string_view::npos ? text.size() : nl + 1;
        ++lineNo;
        if (size_t hash = line.find('#'); hash != std::string_view::npos)
            line = line.substr(0, hash);
        std::vector<std::string_view> t = Tokens(line);
        if (t.empty()) continue;
        BgmEntry e;
        e.line = lineNo;
        if (!ParseEntry(t, e) || list.entries.size() >= kMaxBgmEntries) {
            list.badLines.push_back(lineNo);
            continue;
        }
        list.entries.push_back(std::move(e));
    }
    return list;
}

const BgmEntry* FindBgm(const BgmList& list, std::string_view name) {
    for (const BgmEntry& e : list.entries)
        if (SameBgmName(e.name, name)) return &e;
    return nullptr;
}

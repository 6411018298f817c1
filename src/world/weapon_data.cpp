#include "world/weapon_data.h"

#include <algorithm>
#include <cfloat>

#include "base/diagnostics.h"
#include "base/game_file.h"
#include "base/paths.h"
#include "base/sjis.h"
#include "world/character_text_reader.h"

namespace {

std::string WeaponPath(int32_t number) {
    return "Wea\\w-" + std::to_string(number) + ".qd";
}

// Line `index` (from 0) of the text, without its line end and the blanks around it.
std::string_view LineAt(std::string_view text, int index) {
    for (; index > 0; --index) {
        const size_t nl = text.find('\n');
        if (nl == std::string_view::npos) return {};
        text.remove_prefix(nl + 1);
    }
    std::string_view line = text.substr(0, text.find('\n'));
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    return line;
}

}  // namespace

bool ReadWeaponText(std::string_view text, int slot, const std::string& pathSjis, WeaponFile& out) {
    out = WeaponFile{};
    text = UpToCtrlZ(text);         // Ctrl-Z ends a text file
    CheckDataText(text, pathSjis);  // "NO" alone too: a weapon file cut short may still read so
    // The first line as a 64-byte line read takes it: the line end goes, trailing blanks stay.
    // A longer name is cut and the rest of its line is passed over, so that the numbers below
    // are still read from their own lines.
    const size_t lineEnd = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, lineEnd);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    out.meshName = std::string(line.substr(0, kWeaponNameSize - 1));
    if (line.size() > out.meshName.size())
        DiagnoseOnce(SourcePlace{ShownPath(pathSjis), 1},
                     "the mesh name is " + std::to_string(line.size()) + " bytes long; its first " +
                         std::to_string(out.meshName.size()) + " are used");
    if (out.meshName == "NO" || slot != 0) return true;
    const std::string_view shown = LineAt(text, 3);
    out.name = FitSjis(shown, kWeaponShownNameBytes + 1);
    if (shown.size() > out.name.size())
        DiagnoseOnce(SourcePlace{ShownPath(pathSjis), 4},
                     "the shown name is " + std::to_string(shown.size()) +
                         " bytes long; the menus show its first " +
                         std::to_string(out.name.size()));

    const std::string_view rest = lineEnd < text.size() ? text.substr(lineEnd + 1) : "";
    ItemReader in(rest, "LoadWeapon:", pathSjis, 2);
    int32_t red = 0, green = 0, blue = 0, alpha = 0;
    if (!in.Read("軌跡の色", "%d,%d,%d,%d,\n", &red, &green, &blue, &alpha)) return false;
    out.hasTrail = true;
    const auto low8 = [&](int32_t v) { return uint32_t(in.Byte("軌跡の色", v)); };
    out.trailColour = low8(alpha) << 24 | low8(red) << 16 | low8(green) << 8 | low8(blue);
    if (!in.Read("刃の長さ", "%f\n", &out.bladeLength)) return false;
    in.Fits("刃の長さ", out.bladeLength, 0, FLT_MAX);  // kept as written
    out.hasBlade = true;
    return true;
}

bool ReadWeaponFile(int32_t number, int slot, WeaponFile& out) {
    out = WeaponFile{};
    const std::string base = GetBasePath();
    std::string text;
    if (!ReadGameTextFile(base + WeaponPath(number), text, true)) return false;
    ReadWeaponText(text, slot, ToSjis(base) + WeaponPath(number), out);
    return true;
}

std::string WeaponShownName(int32_t number) {
    WeaponFile w;
    if (!ReadWeaponFile(number, 0, w)) return "w-" + std::to_string(number) + "?";
    if (!w.name.empty()) return w.name;
    return w.meshName == "NO" ? SJIS("なし") : w.meshName;
}

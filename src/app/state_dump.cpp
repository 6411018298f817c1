#include "app/state_dump.h"

#include <cstring>
#include <fstream>

#include "app/state_dump_sections.h"
#include "base/sjis.h"
#include "math/vector3.h"
#include "script/qscr_org.h"

namespace {

using DumpSection = void (*)(nlohmann::json&);

// Every section, in the order its keys are written.
void DumpBattleSection(nlohmann::json& j) {
    j["battle"] = DumpBattle();
}

constexpr DumpSection kSections[] = {
    DumpShellSection,  DumpModeSection,   DumpFieldSection,   DumpWorldSection,
    DumpTablesSection, DumpBattleSection, DumpScreensSection, DumpSettingsSection,
};

}  // namespace

nlohmann::json DumpVector(const Vector3& v) {
    return {v.x, v.y, v.z};
}

std::string DumpText(const char* sjis, size_t capacity) {
    return ToUtf8(std::string_view(sjis, strnlen(sjis, capacity)));
}

nlohmann::json DumpScript(const QScrOrg& s) {
    return {{"pc", s.pc},
            {"running", s.running},
            {"iv", s.iv},
            {"fv", s.fv},
            {"str", DumpText(s.str, sizeof s.str)},
            {"aux", s.aux}};
}

nlohmann::json DumpState() {
    nlohmann::json j = nlohmann::json::object();
    for (DumpSection section : kSections) section(j);
    return j;
}

bool WriteStateDump(const std::string& nativePath) {
    std::ofstream out(nativePath, std::ios::binary);
    if (!out) return false;
    // Game text may hold bytes that are not UTF-8; replace them rather than fail the dump.
    out << DumpState().dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
    return static_cast<bool>(out);
}

// The state dump's settings: the values as the settings file writes them, and the screen.
#include "app/player_settings.h"
#include "app/settings_screen.h"
#include "app/state_dump_sections.h"

namespace {

nlohmann::json DumpBindings(const KeyBindings& b) {
    nlohmann::json keys = nlohmann::json::object(), pad = nlohmann::json::object();
    for (int32_t k = 0; k < kGameKeyCount; ++k) {
        nlohmann::json names = nlohmann::json::array();
        for (int code : b[GameKey(k)].keys)
            if (code) names.push_back(std::string(KeyboardKeyName(code)));
        keys[GameKeyName(GameKey(k))] = names;
        pad[GameKeyName(GameKey(k))] = std::string(PadButtonName(b[GameKey(k)].pad));
    }
    return {{"keys", keys}, {"pad", pad}};
}

nlohmann::json DumpScreen() {
    const SettingsScreen& s = g_SettingsScreen;
    if (!s.open) return nullptr;
    nlohmann::json j = DumpMenuView(BuildSettingsView());
    j["page"] = s.page == SettingsPage::kKeys ? "keys" : "settings";
    j["column"] = s.column;
    j["capturing"] = s.capturing;
    return j;
}

}  // namespace

void DumpSettingsSection(nlohmann::json& j) {
    const Settings& s = g_Settings;
    const nlohmann::json bindings = DumpBindings(s.keys);
    j["settings"] = {
        {"window",
         {{"mode", WindowModeName(s.windowMode)},
          {"scale", WindowScaleName(s.windowScale)},
          {"vsync", s.vsync},
          {"width", s.windowWidth},
          {"height", s.windowHeight}}},
        {"sound", {{"music", s.musicVolume}, {"effects", s.effectVolume}}},
        {"keys", bindings["keys"]},
        {"gamepad", {{"enabled", s.gamepad}, {"buttons", bindings["pad"]}}},
        {"game",
         {{"rok_edges", RokEdgeAnswerName(s.rokEdges)},
          {"ask_before_quitting", s.askBeforeQuitting}}},
    };
    j["settingsScreen"] = DumpScreen();
}

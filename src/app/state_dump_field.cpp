// The state dump's game flow and field: handlers by name, mode words, the game-state record with
// its script and choice list, the field globals and the talk windows.
#include "app/frame_handlers.h"
#include "app/game_start.h"
#include "app/modes.h"
#include "app/state_dump_sections.h"
#include "battle/battle.h"
#include "field/field_frame.h"
#include "field/field_runtime.h"
#include "field/field_script.h"
#include "field/field_transitions.h"
#include "field/game_state.h"
#include "field/menu_screen.h"
#include "script/camera_motion.h"
#include "ui/menu_list.h"
#include "ui/talk_window.h"
#include "world/mode_words.h"
#include "world/play_time.h"

namespace {

nlohmann::json DumpList(const MenuList& list) {
    nlohmann::json entries = nlohmann::json::array();
    for (int i = 0; i < kListEntryCount; ++i) {
        const MenuListEntry& e = list.entries[i];
        if (e.text[0] == '\0') continue;
        entries.push_back(
            {{"index", i}, {"text", DumpText(e.text, sizeof e.text)}, {"value", e.value}});
    }
    return {{"entries", entries},  {"x", list.x},           {"y", list.y},
            {"w", list.w},         {"h", list.h},           {"open", list.open},
            {"first", list.first}, {"cursor", list.cursor}, {"page", list.page}};
}

nlohmann::json DumpGameState(const GameState& gs) {
    return {{"walkAnimating", gs.walkAnimating},
            {"groundLighting", gs.groundLighting},
            {"fieldScript", DumpScript(gs.fieldScript)},
            {"scriptRunning", gs.fieldScript.running},
            {"lastCellX", gs.lastCellX},
            {"lastCellRow", gs.lastCellRow},
            {"fieldHandler", HandlerName(gs.fieldHandler)},
            {"messageOpen", gs.messageWindow.open},
            {"messageWindow", DumpList(gs.messageWindow)}};
}

}  // namespace

void DumpModeSection(nlohmann::json& j) {
    j["g_FrameProc"] = HandlerName(g_FrameProc);
    j["g_ModeNow"] = g_ModeNow;
    j["g_ModeNext"] = g_ModeNext;
    j["g_ModeChangeRequest"] = g_ModeChangeRequest;
    j["g_EncounterPending"] = g_EncounterPending;
    j["g_TransitionCounter"] = g_TransitionCounter;
    j["g_ResumeScriptAfterFade"] = g_ResumeScriptAfterFade;
    j["g_FieldName"] = DumpText(g_FieldName, sizeof g_FieldName);
    j["g_FieldScriptName"] = DumpText(g_FieldScriptName, sizeof g_FieldScriptName);
    j["g_ScriptResumePos"] = g_ScriptResumePos;
    j["g_BattleMusicName"] = DumpText(g_BattleMusicName, sizeof g_BattleMusicName);
    j["playTimeMs"] = g_PlayTimeMs;
}

void DumpFieldSection(nlohmann::json& j) {
    j["gameState"] = g_pGameState != nullptr;
    j["GameState"] = g_pGameState ? DumpGameState(*g_pGameState) : nlohmann::json(nullptr);
    j["g_FieldInputEnabled"] = g_FieldInputEnabled;
    j["g_ActionTimer"] = g_ActionTimer;
    j["g_EncounterRate"] = g_EncounterRate;
    nlohmann::json windows = nlohmann::json::array();
    for (const TalkWindow& t : g_TalkWindows)
        windows.push_back({{"text", DumpText(t.text, sizeof t.text)},
                           {"shown", t.shown},
                           {"open", t.open},
                           {"x", t.x},
                           {"y", t.y},
                           {"w", t.w},
                           {"h", t.h}});
    j["g_TalkWindows"] = windows;
}

#include "app/state_dump.h"

#include <fstream>

#include "app/crt_rand.h"
#include "app/field_frame.h"
#include "app/game_start.h"
#include "app/game_state.h"
#include "app/keys.h"
#include "app/menu_screen.h"
#include "app/message_box.h"
#include "app/mode_words.h"
#include "app/modes.h"
#include "app/shell.h"
#include "battle/battle_dump.h"
#include "gfx/text.h"
#include "gfx/texture_slots.h"
#include "world/character.h"
#include "world/field_camera.h"
#include "world/field_runtime.h"

namespace {

// The name of a frame handler the game installs, for the dump.
const char* FrameProcName(FrameProc proc) {
    if (proc == StartupFrame) return "StartupFrame";
    if (proc == FieldFrame) return "FieldFrame";
    if (proc == MenuScreenFrame) return "MenuScreenFrame";
    if (proc == NullFrameHook) return "NullFrameHook";
    return proc ? "other" : "none";
}

nlohmann::json Vec(const Vector3& v) {
    return {v.x, v.y, v.z};
}

}  // namespace

nlohmann::json DumpState() {
    using nlohmann::json;
    json j;
    j["frame"] = FramesRun();
    j["g_FrameStart"] = g_FrameStart;
    j["g_FrameTime"] = g_FrameTime;
    j["g_FadeR"] = g_FadeR;
    j["g_FadeG"] = g_FadeG;
    j["g_FadeB"] = g_FadeB;
    j["g_FadeAlpha"] = g_FadeAlpha;
    j["g_KeyUp"] = g_KeyUp;
    j["g_KeyDown"] = g_KeyDown;
    j["g_KeyLeft"] = g_KeyLeft;
    j["g_KeyRight"] = g_KeyRight;
    j["g_KeyShift"] = g_KeyShift;
    j["g_KeyCtrl"] = g_KeyCtrl;
    j["g_KeyReturn"] = g_KeyReturn;
    j["g_KeyBack"] = g_KeyBack;
    j["g_TextRect"] = {g_TextRect.left, g_TextRect.top, g_TextRect.right, g_TextRect.bottom};
    j["randState"] = CrtRandState();
    j["g_FrameProc"] = FrameProcName(g_FrameProc);
    j["g_ModeNow"] = g_ModeNow;
    j["g_ModeNext"] = g_ModeNext;
    j["g_FieldName"] = g_FieldName;
    j["gameState"] = g_pGameState != nullptr;
    j["g_FieldInputEnabled"] = g_FieldInputEnabled;
    j["camera"] = {{"eye", Vec(g_Camera.eye)}, {"target", Vec(g_Camera.target)}};
    j["character0"] = {{"position", Vec(g_Characters[0].position)},
                       {"rotation", Vec(g_Characters[0].rotation)}};
    json slots = json::array();
    for (const TextureSlot& s : g_TextureSlots)
        slots.push_back(
            {{"width", s.width}, {"height", s.height}, {"loaded", s.texture != nullptr}});
    j["g_TextureSlots"] = slots;
    json boxes = json::array();
    for (const MessageBoxRecord& b : g_MessageBoxLog)
        boxes.push_back({{"caption", b.caption}, {"text", b.text}});
    j["messageBoxes"] = boxes;
    j["battle"] = DumpBattle();
    return j;
}

bool WriteStateDump(const std::string& nativePath) {
    std::ofstream out(nativePath, std::ios::binary);
    if (!out) return false;
    // Game text may hold bytes that are not UTF-8; replace them rather than fail the dump.
    out << DumpState().dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
    return static_cast<bool>(out);
}

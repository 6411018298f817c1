#include "app/state_dump.h"

#include <fstream>

#include "app/crt_rand.h"
#include "app/keys.h"
#include "app/message_box.h"
#include "app/modes.h"
#include "app/shell.h"
#include "gfx/text.h"
#include "gfx/texture_slots.h"

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
    json slots = json::array();
    for (const TextureSlot& s : g_TextureSlots)
        slots.push_back(
            {{"width", s.width}, {"height", s.height}, {"loaded", s.texture != nullptr}});
    j["g_TextureSlots"] = slots;
    json boxes = json::array();
    for (const MessageBoxRecord& b : g_MessageBoxLog)
        boxes.push_back({{"caption", b.caption}, {"text", b.text}});
    j["messageBoxes"] = boxes;
    return j;
}

bool WriteStateDump(const std::string& nativePath) {
    std::ofstream out(nativePath, std::ios::binary);
    if (!out) return false;
    // Game text may hold bytes that are not UTF-8; replace them rather than fail the dump.
    out << DumpState().dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
    return static_cast<bool>(out);
}

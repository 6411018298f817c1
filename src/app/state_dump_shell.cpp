// The shell's part of the state dump: frames, clock, keys, fade, the random generator, the
// boxes shown so far and the texture slots.
#include "app/modes.h"
#include "app/shell.h"
#include "app/state_dump_sections.h"
#include "base/crt_rand.h"
#include "base/keys.h"
#include "base/message_box.h"
#include "gfx/text.h"
#include "gfx/texture_slots.h"

void DumpShellSection(nlohmann::json& j) {
    using nlohmann::json;
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
}

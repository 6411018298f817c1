#include "app/frame_handlers.h"

#include "app/game_start.h"
#include "app/title_menu.h"
#include "battle/battle.h"
#include "field/field_frame.h"
#include "field/field_transitions.h"
#include "field/menu_screen.h"
#include "script/camera_motion.h"

namespace {

struct NamedHandler {
    FrameProc proc;
    const char* name;
};

const NamedHandler kHandlers[] = {
    {StartupFrame, "StartupFrame"},     {FieldFrame, "FieldFrame"},
    {BattleFrame, "BattleFrame"},       {MenuScreenFrame, "MenuScreenFrame"},
    {NullFrameHook, "NullFrameHook"},   {EncounterFadeOut, "EncounterFadeOut"},
    {MenuFadeOut, "MenuFadeOut"},       {FieldFadeIn, "FieldFadeIn"},
    {CameraMoveView, "CameraMoveView"}, {CameraMoveOrbit, "CameraMoveOrbit"},
    {CameraPause, "CameraPause"},       {CameraHomeKey, "CameraHomeKey"},
    {TitleFrame, "TitleFrame"},
};

}  // namespace

const char* HandlerName(FrameProc proc) {
    if (!proc) return "none";
    for (const NamedHandler& h : kHandlers)
        if (h.proc == proc) return h.name;
    return "other";
}

FrameProc HandlerByName(std::string_view name) {
    for (const NamedHandler& h : kHandlers)
        if (name == h.name) return h.proc;
    return nullptr;
}

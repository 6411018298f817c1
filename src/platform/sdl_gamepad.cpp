#include "platform/sdl_gamepad.h"

#include <algorithm>
#include <cstdio>

#include "base/key_bindings.h"

namespace {

static_assert(int(PadButton::kSouth) == SDL_CONTROLLER_BUTTON_A &&
              int(PadButton::kStart) == SDL_CONTROLLER_BUTTON_START &&
              int(PadButton::kLeftShoulder) == SDL_CONTROLLER_BUTTON_LEFTSHOULDER &&
              int(PadButton::kDpadRight) == SDL_CONTROLLER_BUTTON_DPAD_RIGHT);

// Half way: a stick or a trigger pushed further counts as a button held down.
constexpr Sint16 kAxisDown = 16384;

SDL_JoystickID InstanceOf(SDL_GameController* pad) {
    return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
}

}  // namespace

SdlGamepads::~SdlGamepads() {
    for (SDL_GameController* pad : pads_) SDL_GameControllerClose(pad);
    if (started_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool SdlGamepads::Start(std::string* why) {
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        if (why) *why = SDL_GetError();
        return false;
    }
    started_ = true;
    for (int i = 0; i < SDL_NumJoysticks(); ++i) Open(i);
    return true;
}

void SdlGamepads::Open(int deviceIndex) {
    if (!SDL_IsGameController(deviceIndex)) return;
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    for (SDL_GameController* pad : pads_)
        if (InstanceOf(pad) == id) return;
    if (SDL_GameController* pad = SDL_GameControllerOpen(deviceIndex)) {
        pads_.push_back(pad);
        std::fprintf(stderr, "gh02: gamepad \"%s\" plugged in\n", SDL_GameControllerName(pad));
    }
}

void SdlGamepads::HandleEvent(const SDL_Event& e) {
    if (!started_) return;
    if (e.type == SDL_CONTROLLERDEVICEADDED) {
        Open(e.cdevice.which);
    } else if (e.type == SDL_CONTROLLERDEVICEREMOVED) {
        auto gone = std::find_if(pads_.begin(), pads_.end(), [&e](SDL_GameController* pad) {
            return InstanceOf(pad) == e.cdevice.which;
        });
        if (gone == pads_.end()) return;
        SDL_GameControllerClose(*gone);
        pads_.erase(gone);
    }
}

bool SdlGamepads::ButtonDown(int button) {
    for (SDL_GameController* pad : pads_) {
        if (button == int(PadButton::kLeftTrigger) || button == int(PadButton::kRightTrigger)) {
            const auto axis = button == int(PadButton::kLeftTrigger)
                                  ? SDL_CONTROLLER_AXIS_TRIGGERLEFT
                                  : SDL_CONTROLLER_AXIS_TRIGGERRIGHT;
            if (SDL_GameControllerGetAxis(pad, axis) >= kAxisDown) return true;
        } else if (button >= 0 && button < SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1) {
            // PadButton follows SDL's order of the buttons up to the d-pad.
            if (SDL_GameControllerGetButton(pad, SDL_GameControllerButton(button))) return true;
        }
    }
    return false;
}

bool SdlGamepads::StickPushed(int direction) {
    for (SDL_GameController* pad : pads_) {
        const Sint16 x = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
        const Sint16 y = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
        const bool pushed[4] = {y <= -kAxisDown, y >= kAxisDown, x <= -kAxisDown, x >= kAxisDown};
        if (direction >= 0 && direction < 4 && pushed[direction]) return true;
    }
    return false;
}

#pragma once
#include <SDL.h>

#include <string>
#include <vector>

#include "base/host.h"

// The gamepads through SDL's game controller API: SDL's own mapping database names the buttons
// of the pads it knows (and SDL_GAMECONTROLLERCONFIG adds more), pads come and go while the game
// runs, and every pad plugged in counts.
class SdlGamepads : public IGamepad {
public:
    SdlGamepads() = default;
    ~SdlGamepads() override;
    SdlGamepads(const SdlGamepads&) = delete;
    SdlGamepads& operator=(const SdlGamepads&) = delete;

    // Starts SDL's game controller system and opens the pads plugged in. False, with the reason,
    // when the system cannot start (the game goes on with the keyboard).
    bool Start(std::string* why);
    // A pad plugged in or pulled out (the window passes these events on).
    void HandleEvent(const SDL_Event& event);
    size_t Count() const { return pads_.size(); }

    bool ButtonDown(int button) override;
    bool StickPushed(int direction) override;

private:
    void Open(int deviceIndex);

    std::vector<SDL_GameController*> pads_;
    bool started_ = false;
};

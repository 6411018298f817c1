// A pad through SDL's real game controller path: SDL's virtual controller is plugged in while the
// game runs, its buttons are pressed from the test, and the events reach the pads through the
// offscreen window's pump. The demo adventure is played with it alone: South chooses New game
// and confirms the opening's line, the d-pad walks Harlo up. Pulling it out lets go of it.

#include <nlohmann/json.hpp>

#include "app/game_start.h"
#include "app/state_dump.h"
#include "app/title_menu.h"
#include "base/bound_keys.h"
#include "demo_shell.h"
#include "gl_test_support.h"
#include "platform/sdl_gamepad.h"
#include "test_support.h"

namespace {

class GamepadTest : public HeadlessHostTest {
protected:
    SdlWindow* window = nullptr;
    SdlGamepads pads;
    SDL_Joystick* stick = nullptr;
    SDL_JoystickID id = -1;
    MessageQueue queue;
    DemoShell demo;

    void SetUp() override {
        HeadlessHostTest::SetUp();
        std::string why;
        SdlGlContext* ctx = SharedGlContext(&why);
        if (!ctx) GTEST_SKIP() << "no window can be created here: " << why;
        // The offscreen window never has the focus, without which SDL lets pads be.
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        if (!pads.Start(&why)) GTEST_SKIP() << "no game controllers here: " << why;
        window = ctx->window.get();
        window->SetGamepads(&pads);
        g_BoundKeys = BoundKeys();
        g_BoundKeys.keyboard = &keys;
        g_BoundKeys.pad = &pads;
        g_Host.keys = &g_BoundKeys;
    }
    void TearDown() override {
        if (stick) SDL_JoystickClose(stick);
        if (id >= 0) Pump();
        if (window) window->SetGamepads(nullptr);
        g_BoundKeys = BoundKeys();
        demo.Stop();
        HeadlessHostTest::TearDown();
    }

    // Plugs SDL's virtual controller in (a pad SDL maps as a game controller).
    void PlugIn() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "GH02 test pad";
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        ASSERT_GE(index, 0) << SDL_GetError();
        stick = SDL_JoystickOpen(index);
        ASSERT_TRUE(stick) << SDL_GetError();
        id = SDL_JoystickInstanceID(stick);
    }
    void PullOut() {
        SDL_JoystickClose(stick);
        stick = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
        Pump();
        id = -1;
    }
    void Pump() { window->PumpEvents(queue); }
    void Press(SDL_GameControllerButton button, bool down) {
        SDL_JoystickSetVirtualButton(stick, button, down ? 1 : 0);
        Pump();
    }
    bool GameKeyDown(int vk) { return (g_BoundKeys.GetKeyState(vk) & 0x80) != 0; }

    // Frames up to `frame`, a button held over [from, to) of them.
    void PlayTo(uint64_t frame, SDL_GameControllerButton button = SDL_CONTROLLER_BUTTON_INVALID,
                uint64_t from = 0, uint64_t to = 0) {
        while (FramesRun() < frame) {
            if (button != SDL_CONTROLLER_BUTTON_INVALID)
                Press(button, FramesRun() >= from && FramesRun() < to);
            else
                Pump();
            DemoShell::Frame(clock);
        }
    }
};

TEST_F(GamepadTest, APadPluggedInCountsThroughTheBindingsUntilPulledOut) {
    const size_t before = pads.Count();
    PlugIn();
    Pump();
    ASSERT_EQ(pads.Count(), before + 1);
    Press(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_TRUE(GameKeyDown(VK_SHIFT));
    Press(SDL_CONTROLLER_BUTTON_A, false);
    EXPECT_FALSE(GameKeyDown(VK_SHIFT));
    const std::pair<SDL_GameControllerButton, int> buttons[] = {
        {SDL_CONTROLLER_BUTTON_B, VK_CONTROL},
        {SDL_CONTROLLER_BUTTON_START, VK_RETURN},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, VK_LEFT},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, VK_V}};
    for (auto [button, vk] : buttons) {
        Press(button, true);
        EXPECT_TRUE(GameKeyDown(vk)) << vk;
        Press(button, false);
    }
    SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTY, -30000);
    Pump();
    EXPECT_TRUE(GameKeyDown(VK_UP));  // the stick moves as the d-pad does
    SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTY, 8000);
    Pump();
    EXPECT_FALSE(GameKeyDown(VK_DOWN));  // within the dead zone
    Press(SDL_CONTROLLER_BUTTON_A, true);
    PullOut();
    EXPECT_EQ(pads.Count(), before);
    EXPECT_FALSE(GameKeyDown(VK_SHIFT));
}

TEST_F(GamepadTest, ThePadAloneStartsTheDemoConfirmsALineAndWalks) {
    ASSERT_TRUE(demo.Start(GH02_DEMO_DATA, MakeTempDir("gamepad_saves")));
    PlugIn();
    PlayTo(11, SDL_CONTROLLER_BUTTON_A, 9, 10);  // New game
    EXPECT_NE(g_FrameProc, TitleFrame);
    PlayTo(199);
    const nlohmann::json opening = DumpState();
    PlayTo(366, SDL_CONTROLLER_BUTTON_A, 200, 203);  // Harlo's first line confirmed
    const nlohmann::json child = DumpState();
    EXPECT_NE(child["g_TalkWindows"], opening["g_TalkWindows"]);
    PlayTo(399, SDL_CONTROLLER_BUTTON_A, 370, 373);
    PlayTo(410, SDL_CONTROLLER_BUTTON_A, 400, 403);
    const nlohmann::json before = DumpState()["character0"];
    PlayTo(560, SDL_CONTROLLER_BUTTON_DPAD_UP, 420, 560);
    const nlohmann::json after = DumpState()["character0"];
    EXPECT_NE(after["position"][2], before["position"][2]) << "Harlo did not walk";
}

}  // namespace

// The SDL window's messages and key states, on the offscreen window of the pixel tests.
#include "base/key_bindings.h"
#include "base/message_queue.h"
#include "gl_test_support.h"

namespace {

class SdlWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        SdlGlContext* ctx = SharedGlContext(&why);
        if (!ctx) {
            GTEST_SKIP() << "no window can be created here: " << why;
        }
        window = ctx->window.get();
        ResetKeys();
    }
    void TearDown() override {
        if (window) {
            ResetKeys();
            window->SetScreenshotHandler(nullptr);
        }
    }
    void ResetKeys() {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
        window->HandleEvent(e, queue);
        queue.Clear();
    }
    static SDL_Event Key(Uint32 type, SDL_Keycode key, Uint16 mod = KMOD_NONE,
                         bool repeat = false) {
        SDL_Event e{};
        e.type = type;
        e.key.keysym.sym = key;
        e.key.keysym.mod = mod;
        e.key.repeat = repeat ? 1 : 0;
        e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        return e;
    }
    std::vector<Msg> Drain() {
        std::vector<Msg> out;
        Msg m;
        while (queue.Peek(m)) out.push_back(m);
        return out;
    }

    SdlWindow* window = nullptr;
    MessageQueue queue;
};

TEST_F(SdlWindowTest, GameKeysMapToTheirVirtualKeyCodes) {
    const std::pair<SDL_Keycode, int> keys[] = {
        {SDLK_UP, VK_UP},          {SDLK_DOWN, VK_DOWN},     {SDLK_LEFT, VK_LEFT},
        {SDLK_RIGHT, VK_RIGHT},    {SDLK_LSHIFT, VK_SHIFT},  {SDLK_RSHIFT, VK_SHIFT},
        {SDLK_LCTRL, VK_CONTROL},  {SDLK_RCTRL, VK_CONTROL}, {SDLK_RETURN, VK_RETURN},
        {SDLK_BACKSPACE, VK_BACK}, {SDLK_v, VK_V},           {SDLK_ESCAPE, VK_ESCAPE}};
    for (auto [key, vk] : keys) {
        SCOPED_TRACE(SDL_GetKeyName(key));
        window->HandleEvent(Key(SDL_KEYDOWN, key), queue);
        EXPECT_EQ(window->GetKeyState(vk) & 0x80, 0x80);
        auto msgs = Drain();
        ASSERT_EQ(msgs.size(), 1u);
        EXPECT_EQ(msgs[0].message, WM_KEYDOWN);
        EXPECT_EQ(msgs[0].wParam, uint32_t(vk));
        window->HandleEvent(Key(SDL_KEYUP, key), queue);
        EXPECT_EQ(window->GetKeyState(vk), 0);
        EXPECT_TRUE(queue.Empty());  // releases post nothing
    }
    EXPECT_EQ(SdlWindow::VirtualKeyOf(SDLK_CAPSLOCK), 0);
    // Keys only a binding uses have the codes their names give (base/key_bindings.h).
    EXPECT_EQ(SdlWindow::VirtualKeyOf(SDLK_KP_8), KeyboardKeyFromName("Keypad8"));
    EXPECT_EQ(SdlWindow::VirtualKeyOf(SDLK_SEMICOLON), KeyboardKeyFromName("Semicolon"));
    EXPECT_EQ(window->GetKeyState(1000), 0);
}

TEST_F(SdlWindowTest, RepeatsAndEitherShiftKeepTheKeyDown) {
    window->HandleEvent(Key(SDL_KEYDOWN, SDLK_UP), queue);
    window->HandleEvent(Key(SDL_KEYDOWN, SDLK_UP, KMOD_NONE, true), queue);
    auto msgs = Drain();
    ASSERT_EQ(msgs.size(), 2u);
    EXPECT_EQ(msgs[0].lParam & 0x40000000u, 0u);
    EXPECT_NE(msgs[1].lParam & 0x40000000u, 0u);  // "was down": an auto-repeat

    window->HandleEvent(Key(SDL_KEYDOWN, SDLK_LSHIFT), queue);
    window->HandleEvent(Key(SDL_KEYDOWN, SDLK_RSHIFT), queue);
    window->HandleEvent(Key(SDL_KEYUP, SDLK_LSHIFT), queue);
    EXPECT_EQ(window->GetKeyState(VK_SHIFT), 0x80);
    window->HandleEvent(Key(SDL_KEYUP, SDLK_RSHIFT), queue);
    EXPECT_EQ(window->GetKeyState(VK_SHIFT), 0);

    // Losing the focus lets go of everything.
    EXPECT_EQ(window->GetKeyState(VK_UP), 0x80);
    ResetKeys();
    EXPECT_EQ(window->GetKeyState(VK_UP), 0);
}

TEST_F(SdlWindowTest, AltEnterAndF12AreTheWindowsOwn) {
    int shots = 0;
    window->SetScreenshotHandler([&shots] { ++shots; });
    window->HandleEvent(Key(SDL_KEYDOWN, SDLK_F12), queue);
    window->HandleEvent(Key(SDL_KEYDOWN, SDLK_F12, KMOD_NONE, true), queue);
    EXPECT_EQ(shots, 1);
    int told = 0;
    window->SetFullscreenHandler([&told](bool fullscreen) { told += fullscreen ? 10 : 1; });
    window->HandleEvent(Key(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT), queue);
    window->SetFullscreenHandler(nullptr);
    EXPECT_EQ(window->GetKeyState(VK_RETURN), 0);  // the game never sees this Return
    EXPECT_TRUE(queue.Empty());
    EXPECT_FALSE(window->IsFullscreen());  // an offscreen window has no full screen
    EXPECT_EQ(told, 1);                    // the settings hear of the mode it has
}

TEST_F(SdlWindowTest, PumpEventsTurnsQuitIntoCloseAndKeysIntoKeyDown) {
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    SDL_Event esc = Key(SDL_KEYDOWN, SDLK_ESCAPE);
    esc.key.windowID = SDL_GetWindowID(window->Handle());
    ASSERT_EQ(SDL_PushEvent(&esc), 1);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&quit), 1);
    window->PumpEvents(queue);
    auto msgs = Drain();
    ASSERT_EQ(msgs.size(), 2u);
    EXPECT_EQ(msgs[0].message, WM_KEYDOWN);
    EXPECT_EQ(msgs[0].wParam, uint32_t(VK_ESCAPE));
    EXPECT_EQ(msgs[1].message, WM_CLOSE);
    EXPECT_EQ(window->GetKeyState(VK_ESCAPE), 0x80);
}

}  // namespace

#pragma once
#include <SDL.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "base/host.h"
#include "platform/gl_backend.h"

struct WindowOptions {
    // No visible window: SDL's offscreen video driver (EGL), for tests and headless screenshots.
    bool offscreen = false;
    // A full-screen desktop window; otherwise a window of windowWidth x windowHeight.
    bool fullscreen = true;
    int windowWidth = kTargetWidth * 2;
    int windowHeight = kTargetHeight * 2;
    PresentScale scale = PresentScale::Fit;
    bool vsync = false;  // the frame loop paces itself
};

// The game's window over SDL: window-system events become the game's messages, and the key
// states the game polls follow them.
class SdlWindow : public IWindow, public IKeySource {
public:
    ~SdlWindow() override;
    SdlWindow(const SdlWindow&) = delete;
    SdlWindow& operator=(const SdlWindow&) = delete;

    void PumpEvents(MessageQueue& queue) override;
    void ShowCursor(bool show) override;
    void Destroy() override;
    int16_t GetKeyState(int virtualKey) override;

    // Turns one SDL event into messages and key states (PumpEvents does this for each).
    void HandleEvent(const SDL_Event& event, MessageQueue& queue);
    // Called on F12; the application writes the screenshot.
    void SetScreenshotHandler(std::function<void()> handler) { onScreenshot_ = std::move(handler); }
    void ToggleFullscreen();
    bool IsFullscreen() const;
    bool IsOffscreen() const { return offscreen_; }
    bool IsDestroyed() const { return destroyed_; }
    SDL_Window* Handle() const { return window_; }

    // The virtual-key code of an SDL key, 0 for keys the game has no code for.
    static int VirtualKeyOf(SDL_Keycode key);

private:
    friend std::unique_ptr<struct SdlGlContext> CreateGlWindow(const WindowOptions&, std::string*);
    SdlWindow() = default;

    SDL_Window* window_ = nullptr;
    SDL_GLContext context_ = nullptr;
    bool videoInitialised_ = false;
    bool offscreen_ = false;
    bool destroyed_ = false;
    int windowedWidth_ = kTargetWidth * 2, windowedHeight_ = kTargetHeight * 2;
    std::array<bool, 256> down_{};
    std::function<void()> onScreenshot_;
};

// A window with its GL context and the graphics backend drawing into it. The backend goes
// before the window and its context.
struct SdlGlContext {
    std::unique_ptr<SdlWindow> window;
    std::unique_ptr<GlBackend> backend;
    ~SdlGlContext();
};

// Opens the window (or the offscreen surface) with an OpenGL 3.3 core context and sets up the
// backend. Null, with the reason in `error`, when there is no display or no suitable GL.
std::unique_ptr<SdlGlContext> CreateGlWindow(const WindowOptions& options, std::string* error);

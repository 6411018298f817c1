#pragma once
#include <SDL.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "base/host.h"
#include "platform/gl_backend.h"

class SdlGamepads;

struct WindowOptions {
    // No visible window: SDL's offscreen video driver (EGL), for tests and headless screenshots.
    bool offscreen = false;
    // A full-screen desktop window; otherwise a window placed by PlaceWindow
    // (platform/window_rules.h) on the first display, of windowWidth x windowHeight when those
    // are above 0 and fit.
    bool fullscreen = true;
    int windowWidth = 0;
    int windowHeight = 0;
    PresentScale scale = PresentScale::Fit;
    bool vsync = false;  // the display paces the frames (SetVsync)
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
    // Called after Alt+Enter changed the mode, with the new one (true: full screen).
    void SetFullscreenHandler(std::function<void(bool)> handler) {
        onFullscreen_ = std::move(handler);
    }
    void ToggleFullscreen();
    void SetFullscreen(bool fullscreen);
    bool IsFullscreen() const;
    // The window's size when it is not full screen (its size now, or the one it goes back to).
    void WindowedSize(int& width, int& height) const;
    // Vsync on shows every frame at a refresh of the display (every SwapIntervalFor refreshes);
    // true when the display now paces the frames, false when vsync is off or the driver refused.
    bool SetVsync(bool on);
    // Pads plugged in and pulled out are passed on to these.
    void SetGamepads(SdlGamepads* pads) { pads_ = pads; }
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
    int windowedWidth_ = kTargetWidth, windowedHeight_ = kTargetHeight;
    SdlGamepads* pads_ = nullptr;
    std::array<bool, 256> down_{};
    std::function<void()> onScreenshot_;
    std::function<void(bool)> onFullscreen_;
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

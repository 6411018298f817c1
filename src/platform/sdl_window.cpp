#include "platform/sdl_window.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "base/message_queue.h"
#include "platform/sdl_gamepad.h"
#include "platform/window_rules.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define GH02_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define GH02_ADDRESS_SANITIZER 1
#endif

#if defined(GH02_ADDRESS_SANITIZER) && defined(__linux__)
#include <dlfcn.h>
#include <link.h>
#endif

namespace {

#if defined(GH02_ADDRESS_SANITIZER) && defined(__linux__)
// The GL driver is unloaded when the last GL window goes; what it still held then shows up in
// the leak report as "unknown module", which no suppression can name. Sanitizer builds keep the
// driver's libraries loaded until the process ends.
void PinGlDriverLibraries() {
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            const char* name = info->dlpi_name;
            if (name && (std::strstr(name, "dri") || std::strstr(name, "gallium") ||
                         std::strstr(name, "EGL") || std::strstr(name, "GLX") ||
                         std::strstr(name, "glapi") || std::strstr(name, "LLVM")))
                dlopen(name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}
#else
void PinGlDriverLibraries() {}
#endif

// Key-state slots for the two Shift and Ctrl keys (the original system's left/right codes);
// the game asks for VK_SHIFT and VK_CONTROL, which are down while either side is.
constexpr int kSlotLeftShift = 0xA0;
constexpr int kSlotRightShift = 0xA1;
constexpr int kSlotLeftCtrl = 0xA2;
constexpr int kSlotRightCtrl = 0xA3;
constexpr int kSlotLeftAlt = 0xA4;
constexpr int kSlotRightAlt = 0xA5;
constexpr int kVkAlt = 0x12;

int SlotOf(SDL_Keycode key) {
    switch (key) {
        case SDLK_LSHIFT:
            return kSlotLeftShift;
        case SDLK_RSHIFT:
            return kSlotRightShift;
        case SDLK_LCTRL:
            return kSlotLeftCtrl;
        case SDLK_RCTRL:
            return kSlotRightCtrl;
        case SDLK_LALT:
            return kSlotLeftAlt;
        case SDLK_RALT:
            return kSlotRightAlt;
        default:
            return SdlWindow::VirtualKeyOf(key);
    }
}

}  // namespace

int SdlWindow::VirtualKeyOf(SDL_Keycode key) {
    switch (key) {
        case SDLK_UP:
            return VK_UP;
        case SDLK_DOWN:
            return VK_DOWN;
        case SDLK_LEFT:
            return VK_LEFT;
        case SDLK_RIGHT:
            return VK_RIGHT;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return VK_SHIFT;
        case SDLK_LCTRL:
        case SDLK_RCTRL:
            return VK_CONTROL;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return VK_RETURN;
        case SDLK_BACKSPACE:
            return VK_BACK;
        case SDLK_ESCAPE:
            return VK_ESCAPE;
        case SDLK_SPACE:
            return 0x20;
        default:
            break;
    }
    // Letters and digits have their ASCII capitals as codes (V is the one the game polls).
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + int(key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + int(key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return 0x70 + int(key - SDLK_F1);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return 0x61 + int(key - SDLK_KP_1);
    // The other keys a binding can name (base/key_bindings.h).
    static constexpr std::pair<SDL_Keycode, int> kMore[] = {
        {SDLK_TAB, 0x09},          {SDLK_LALT, 0x12},        {SDLK_RALT, 0x12},
        {SDLK_PAGEUP, 0x21},       {SDLK_PAGEDOWN, 0x22},    {SDLK_END, 0x23},
        {SDLK_HOME, 0x24},         {SDLK_INSERT, 0x2D},      {SDLK_DELETE, 0x2E},
        {SDLK_KP_0, 0x60},         {SDLK_KP_MULTIPLY, 0x6A}, {SDLK_KP_PLUS, 0x6B},
        {SDLK_KP_MINUS, 0x6D},     {SDLK_KP_PERIOD, 0x6E},   {SDLK_KP_DIVIDE, 0x6F},
        {SDLK_SEMICOLON, 0xBA},    {SDLK_EQUALS, 0xBB},      {SDLK_COMMA, 0xBC},
        {SDLK_MINUS, 0xBD},        {SDLK_PERIOD, 0xBE},      {SDLK_SLASH, 0xBF},
        {SDLK_BACKQUOTE, 0xC0},    {SDLK_LEFTBRACKET, 0xDB}, {SDLK_BACKSLASH, 0xDC},
        {SDLK_RIGHTBRACKET, 0xDD}, {SDLK_QUOTE, 0xDE},
    };
    for (auto [sdl, vk] : kMore)
        if (key == sdl) return vk;
    return 0;
}

SdlWindow::~SdlWindow() {
    if (context_) SDL_GL_DeleteContext(context_);
    if (window_) SDL_DestroyWindow(window_);
    if (videoInitialised_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void SdlWindow::PumpEvents(MessageQueue& queue) {
    SDL_Event e;
    while (SDL_PollEvent(&e)) HandleEvent(e, queue);
}

void SdlWindow::HandleEvent(const SDL_Event& e, MessageQueue& queue) {
    switch (e.type) {
        case SDL_QUIT:  // the close button of the last window, or the system asking us to end
            queue.Post(WM_CLOSE);
            break;
        case SDL_WINDOWEVENT:
            // Keys released while another window has the focus would otherwise stay down.
            if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) down_.fill(false);
            break;
        case SDL_CONTROLLERDEVICEADDED:
        case SDL_CONTROLLERDEVICEREMOVED:
            if (pads_) pads_->HandleEvent(e);
            break;
        case SDL_KEYDOWN: {
            SDL_Keycode key = e.key.keysym.sym;
            if ((key == SDLK_RETURN || key == SDLK_KP_ENTER) && (e.key.keysym.mod & KMOD_ALT)) {
                if (!e.key.repeat) {
                    ToggleFullscreen();
                    if (onFullscreen_) onFullscreen_(IsFullscreen());
                }
                break;
            }
            if (key == SDLK_F12) {
                if (!e.key.repeat && onScreenshot_) onScreenshot_();
                break;
            }
            int vk = VirtualKeyOf(key);
            if (vk == 0) break;
            int slot = SlotOf(key);
            bool wasDown = down_[size_t(slot)];
            down_[size_t(slot)] = true;
            queue.Post(WM_KEYDOWN, uint32_t(vk), 1u | (wasDown ? kKeyWasDown : 0u));
            break;
        }
        case SDL_KEYUP: {
            int slot = SlotOf(e.key.keysym.sym);
            if (slot) down_[size_t(slot)] = false;
            break;
        }
        default:
            break;
    }
}

int16_t SdlWindow::GetKeyState(int vk) {
    if (vk <= 0 || vk > 255) return 0;
    bool down = down_[size_t(vk)];
    if (vk == VK_SHIFT) down = down || down_[kSlotLeftShift] || down_[kSlotRightShift];
    if (vk == VK_CONTROL) down = down || down_[kSlotLeftCtrl] || down_[kSlotRightCtrl];
    if (vk == kVkAlt) down = down || down_[kSlotLeftAlt] || down_[kSlotRightAlt];
    return down ? int16_t(0x80) : int16_t(0);
}

void SdlWindow::ShowCursor(bool show) {
    SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

void SdlWindow::Destroy() {
    // The GL context stays until the backend is gone; the window only disappears.
    if (window_ && !offscreen_) SDL_HideWindow(window_);
    destroyed_ = true;
}

bool SdlWindow::IsFullscreen() const {
    return window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0;
}

void SdlWindow::ToggleFullscreen() {
    SetFullscreen(!IsFullscreen());
}

void SdlWindow::SetFullscreen(bool fullscreen) {
    if (!window_ || offscreen_ || fullscreen == IsFullscreen()) return;
    if (fullscreen) {
        SDL_GetWindowSize(window_, &windowedWidth_, &windowedHeight_);
        SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
        return;
    }
    SDL_SetWindowFullscreen(window_, 0);
    SDL_SetWindowSize(window_, windowedWidth_, windowedHeight_);
    SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

void SdlWindow::WindowedSize(int& width, int& height) const {
    width = windowedWidth_;
    height = windowedHeight_;
    if (window_ && !offscreen_ && !IsFullscreen()) SDL_GetWindowSize(window_, &width, &height);
}

bool SdlWindow::SetVsync(bool on) {
    if (!context_) return false;
    if (!on) {
        SDL_GL_SetSwapInterval(0);
        return false;
    }
    SDL_DisplayMode mode{};
    const int display = window_ ? SDL_GetWindowDisplayIndex(window_) : 0;
    const int rate =
        SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) == 0 ? mode.refresh_rate : 0;
    if (SDL_GL_SetSwapInterval(SwapIntervalFor(rate)) == 0) return true;
    return SDL_GL_SetSwapInterval(1) == 0;
}

SdlGlContext::~SdlGlContext() {
    backend.reset();
    window.reset();
}

std::unique_ptr<SdlGlContext> CreateGlWindow(const WindowOptions& o, std::string* error) {
    auto fail = [error](const std::string& why) -> std::unique_ptr<SdlGlContext> {
        if (error) *error = why;
        return nullptr;
    };
    std::unique_ptr<SdlWindow> w(new SdlWindow());
    w->offscreen_ = o.offscreen;
    if (o.offscreen) {
        SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "offscreen", SDL_HINT_OVERRIDE);
    } else {
        SDL_ResetHint(SDL_HINT_VIDEODRIVER);
        // Alt+Tab away from the full-screen window should not minimise the game.
        SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return fail(std::string("cannot start the video system: ") + SDL_GetError());
    w->videoInitialised_ = true;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!o.offscreen && driver &&
        (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0))
        return fail(std::string("no display to open the game window on (video driver \"") + driver +
                    "\")");

    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, SDL_GL_CONTEXT_FORWARD_COMPATIBLE_FLAG);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);  // depth lives in the backend's own target
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);

    Uint32 flags = SDL_WINDOW_OPENGL;
    ScreenRect place{int(SDL_WINDOWPOS_CENTERED), int(SDL_WINDOWPOS_CENTERED), kTargetWidth,
                     kTargetHeight};
    SDL_Rect usable{0, 0, kTargetWidth, kTargetHeight};
    const bool integer = o.scale == PresentScale::Integer;
    if (o.offscreen) {
        flags |= SDL_WINDOW_HIDDEN;
    } else {
        flags |= SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
        if (o.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
        if (SDL_GetDisplayUsableBounds(0, &usable) == 0)
            place = PlaceWindow({usable.x, usable.y, usable.w, usable.h}, kFrameGuess, integer,
                                o.windowWidth, o.windowHeight);
    }
    w->windowedWidth_ = place.w;
    w->windowedHeight_ = place.h;
    w->window_ = SDL_CreateWindow("GH02", place.x, place.y, place.w, place.h, flags);
    if (!w->window_) return fail(std::string("cannot open the window: ") + SDL_GetError());
    // Once the window system tells how big its frame is, the window is placed again by it.
    WindowFrame frame;
    if (!o.offscreen && !o.fullscreen &&
        SDL_GetWindowBordersSize(w->window_, &frame.top, &frame.left, &frame.bottom,
                                 &frame.right) == 0) {
        const ScreenRect again = PlaceWindow({usable.x, usable.y, usable.w, usable.h}, frame,
                                             integer, o.windowWidth, o.windowHeight);
        if (!(again == place)) {
            SDL_SetWindowSize(w->window_, again.w, again.h);
            SDL_SetWindowPosition(w->window_, again.x, again.y);
            w->windowedWidth_ = again.w;
            w->windowedHeight_ = again.h;
        }
    }
    w->context_ = SDL_GL_CreateContext(w->window_);
    if (!w->context_)
        return fail(std::string("cannot create an OpenGL 3.3 core context: ") + SDL_GetError());
    if (SDL_GL_MakeCurrent(w->window_, w->context_) != 0)
        return fail(std::string("cannot use the OpenGL context: ") + SDL_GetError());
    w->SetVsync(o.vsync);
    PinGlDriverLibraries();

    std::string why;
    std::unique_ptr<GlBackend> backend = GlBackend::Create(why);
    if (!backend) return fail(why);
    SDL_Window* sdlWindow = w->window_;
    GlPresentTarget target;
    target.drawableSize = [sdlWindow](int& width, int& height) {
        SDL_GL_GetDrawableSize(sdlWindow, &width, &height);
    };
    target.swap = [sdlWindow] { SDL_GL_SwapWindow(sdlWindow); };
    backend->SetPresentTarget(std::move(target));
    backend->SetPresentScale(o.scale);

    auto ctx = std::make_unique<SdlGlContext>();
    ctx->window = std::move(w);
    ctx->backend = std::move(backend);
    return ctx;
}

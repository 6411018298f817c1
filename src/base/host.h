#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// The few things the engine asks of the machine it runs on. Each has a real implementation in
// src/platform/ and a null or scripted one in the core (null_host.h) for tests and headless runs.

// Window messages, with the original's codes.
constexpr uint32_t WM_DESTROY = 0x0002;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_QUIT = 0x0012;
constexpr uint32_t WM_KEYDOWN = 0x0100;
// A key-down message's lParam has this bit when the key was already down (auto-repeat).
constexpr uint32_t kKeyWasDown = 0x40000000u;
// WM_CLOSE with this wParam closes without asking: the end the player confirmed, the last frame
// of a headless run. The close button sends 0.
constexpr uint32_t kCloseAtOnce = 1;

// Virtual-key codes the game polls.
constexpr int VK_BACK = 0x08;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_V = 0x56;

// Message-box flags and answers.
constexpr uint32_t MB_OK = 0x0;
constexpr uint32_t MB_YESNO = 0x4;
constexpr uint32_t MB_ICONQUESTION = 0x20;
constexpr uint32_t MB_ICONEXCLAMATION = 0x30;
constexpr uint32_t MB_TOPMOST = 0x40000;
constexpr int IDOK = 1;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

class MessageQueue;

class IClock {
public:
    virtual ~IClock() = default;
    virtual uint32_t GetTickCount() = 0;  // milliseconds, wraps at 2^32
    virtual uint32_t TimeGetTime() = 0;   // milliseconds, the multimedia timer
    virtual void Sleep(uint32_t ms) = 0;
};

class IKeySource {
public:
    virtual ~IKeySource() = default;
    // Bit 0x80 set while the key is down, as of the messages already taken from the queue.
    virtual int16_t GetKeyState(int virtualKey) = 0;
};

// The gamepads plugged in, as one: a button is down while it is down on any of them. Buttons are
// numbered as PadButton (base/key_bindings.h).
class IGamepad {
public:
    virtual ~IGamepad() = default;
    virtual bool ButtonDown(int button) = 0;
    // The left stick pushed past its dead zone: 0 up, 1 down, 2 left, 3 right.
    virtual bool StickPushed(int direction) = 0;
};

class ITextCodec {
public:
    virtual ~ITextCodec() = default;
    // Code page 932 <-> UTF-8. False when the input has bytes the other side cannot hold;
    // `out` then holds what could be converted, with '?' for the rest.
    virtual bool Cp932ToUtf8(std::string_view in, std::string& out) = 0;
    virtual bool Utf8ToCp932(std::string_view in, std::string& out) = 0;
};

class IDialogs {
public:
    virtual ~IDialogs() = default;
    // Caption and text are UTF-8. Returns IDOK, IDYES or IDNO.
    virtual int MessageBox(const std::string& caption, const std::string& text, uint32_t flags) = 0;
    // The open-file dialog for a missing image; `path` receives a native path. False when
    // cancelled (always, when nobody can answer).
    virtual bool OpenImageFile(std::string& path) = 0;
};

class IWindow {
public:
    virtual ~IWindow() = default;
    // Moves pending window-system events into the queue (key-down, close) and refreshes the
    // key states behind IKeySource.
    virtual void PumpEvents(MessageQueue& queue) = 0;
    virtual void ShowCursor(bool show) = 0;
    virtual void Destroy() = 0;
};

struct Host {
    IClock* clock = nullptr;
    IKeySource* keys = nullptr;
    ITextCodec* codec = nullptr;
    IDialogs* dialogs = nullptr;
    IWindow* window = nullptr;
    std::string executableDir;  // native path, UTF-8, no trailing separator
    bool headless = false;
};

extern Host g_Host;

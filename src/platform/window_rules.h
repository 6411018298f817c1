#pragma once

// Where the game's window goes and how its frames are paced: pure rules, kept apart from SDL so
// that they can be tested for any display.

struct ScreenRect {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const ScreenRect&) const = default;
};
// What the window system draws around the picture (title bar and borders), in pixels.
struct WindowFrame {
    int top = 0, left = 0, bottom = 0, right = 0;
};
// The frame assumed before the window system has told: a title bar and thin borders.
constexpr WindowFrame kFrameGuess{40, 4, 4, 4};

// The window's picture area on a display whose usable area (without panels and task bars) is
// `usable`, with its frame on screen too. `integer`: the largest multiple of 640 x 480 that
// fits (1366 x 768 gives 640 x 480, 1920 x 1080 gives 1280 x 960); otherwise the largest 4:3
// area that fits. A display too small even for 640 x 480 gets the largest 4:3 area. A size
// remembered from the last time (w and h above 0) is kept when it fits. The window is centred
// in the usable area, never above or left of it.
ScreenRect PlaceWindow(const ScreenRect& usable, const WindowFrame& frame, bool integer,
                       int rememberedW = 0, int rememberedH = 0);

// With vsync, every how many refreshes a frame is shown so that the game keeps about 60 frames a
// second, as its 17 ms frames have it: 1 up to 90 Hz, 2 at 120 or 144 Hz, ... (1 when the rate
// is not known).
int SwapIntervalFor(int refreshHz);

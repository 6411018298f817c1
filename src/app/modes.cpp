#include "app/modes.h"

#include "app/game_start.h"
#include "app/mode_change.h"
#include "app/title_menu.h"
#include "gfx/sprite.h"
#include "world/mode_words.h"
#include "world/play_time.h"
#include "world/title_file.h"

void InstallStartupFrame() {
    g_FrameProc = DataSetTitle() && !g_StartPlace.moved ? TitleFrame : StartupFrame;
}

void FrameDispatch() {
    if (g_FrameProc && g_FrameProc != StartupFrame && g_FrameProc != TitleFrame)
        g_PlayTimeMs += g_FrameTime;
    if (g_FrameProc) g_FrameProc();
    if (g_FadeAlpha != 0) {
        uint32_t colour = (uint32_t(g_FadeAlpha) & 255) << 24 | (uint32_t(g_FadeR) & 255) << 16 |
                          (uint32_t(g_FadeG) & 255) << 8 | (uint32_t(g_FadeB) & 255);
        DrawScreenRect(0, 0, 640.0f, 480.0f, colour);
    }
    if (g_ModeChangeRequest != 0) QModeChange();
}

void ResetModes() {
    g_FrameProc = NullFrameHook;
    g_FadeR = g_FadeG = g_FadeB = g_FadeAlpha = 0;
}

#include "app/shell.h"

#include "app/dev_keys.h"
#include "app/modes.h"
#include "app/quit.h"
#include "app/quit_box.h"
#include "base/host.h"
#include "base/message_box.h"
#include "base/sjis.h"
#include "gfx/d3d.h"
#include "gfx/text.h"
#include "sound/sound.h"

namespace {

uint64_t g_FramesRun = 0;
bool g_PacedByDisplay = false;
constexpr int32_t kFrameMs = 17;

uint32_t Ticks() {
    return g_Host.clock ? g_Host.clock->GetTickCount() : 0;
}

void ClearTarget() {
    if (g_pd3dDevice) g_pd3dDevice->Clear(kClearTarget | kClearZBuffer, 0, 1.0f, 0);
}

// Start-up failures: a box with an empty caption and only OK.
bool StartupFailure(const std::string& textSjis) {
    ShowMessageBox("", textSjis, MB_OK);
    return false;
}

}  // namespace

bool StartShell(std::unique_ptr<IGraphicsBackend> backend) {
    ResetShell();
    if (!InitD3D(std::move(backend)))
        return StartupFailure(SJIS("ダイレクト３Ｄの初期化に失敗しました"));
    if (!InitSound(g_Host.window))
        return StartupFailure(SJIS("ダイレクトサウンドの初期化に失敗しました"));
    g_FrameStart = Ticks();
    if (g_Host.window) g_Host.window->ShowCursor(false);
    g_TextRect = {0, 0, 640, 480};
    ClearTarget();
    return true;
}

void RunOneFrame() {
    // One reading of the clock: the frame times add up to the time that passed, to the
    // millisecond, and a recorded game's frame times give its clock again.
    const uint32_t now = Ticks();
    g_FrameTime = now - g_FrameStart;
    g_FrameStart = now;
    ClearTarget();
    if (g_pd3dDevice) g_pd3dDevice->BeginScene();
    // While the quit box asks, the game waits behind it.
    if (QuitBoxOpen())
        QuitBoxFrame();
    else
        FrameDispatch();
    DrawDevOverlay();
    if (g_pd3dDevice) {
        g_pd3dDevice->EndScene();
        g_pd3dDevice->Present();
    }
    UpdateBgmLoop();
    int32_t wait = kFrameMs - static_cast<int32_t>(Ticks() - g_FrameStart);
    // The display holds each frame until its refresh; a frame that came round in less than half
    // the time (a hidden window is not held) is paced by the sleep again.
    if (wait < 0 || (g_PacedByDisplay && g_FrameTime >= uint32_t(kFrameMs / 2))) wait = 0;
    if (g_Host.clock) g_Host.clock->Sleep(static_cast<uint32_t>(wait));
    ++g_FramesRun;
}

int RunFrameLoop(FrameObserver* observer) {
    bool pumped = false;
    for (;;) {
        Msg msg;
        if (g_MessageQueue.Peek(msg)) {
            if (msg.message == WM_QUIT) break;
            MainWndProc(msg);
            continue;
        }
        // The queue is empty: let the window system (or the input timeline) add what happened
        // since the last frame, and handle that before the frame runs.
        if (!pumped) {
            if (g_Host.window) g_Host.window->PumpEvents(g_MessageQueue);
            if (observer) observer->BeforeFrame();
            pumped = true;
            continue;
        }
        pumped = false;
        RunOneFrame();
        if (observer) observer->AfterFrame();
    }
    return 0;
}

void MainWndProc(const Msg& msg) {
    switch (msg.message) {
        case WM_KEYDOWN:
            DevKeyDown(msg.wParam, msg.lParam);
            QuitGame(msg.wParam, msg.lParam);
            break;
        case WM_CLOSE:
            // The close button asks as Escape does; the box stays if it is up already.
            if (msg.wParam != kCloseAtOnce && (QuitBoxOpen() || QuitNeedsAsking())) {
                if (!QuitBoxOpen()) OpenQuitBox();
                break;
            }
            CloseQuitBox();
            if (g_Host.window) g_Host.window->ShowCursor(true);
            ReleaseD3D();
            ReleaseSound();
            if (g_Host.window) g_Host.window->Destroy();
            g_MessageQueue.Post(WM_DESTROY);
            break;
        case WM_DESTROY:
            g_MessageQueue.Post(WM_QUIT, 0);
            break;
        default:
            break;
    }
}

void QuitGame(uint32_t key, uint32_t flags) {
    if (key != VK_ESCAPE) return;
    // A held Escape repeats; only a fresh press acts (the first one has ended the game or
    // opened the box).
    if (flags & kKeyWasDown) return;
    if (QuitBoxOpen())
        CloseQuitBox();
    else if (QuitNeedsAsking())
        OpenQuitBox();
    else
        EndGame();
}

void SetFramesPacedByDisplay(bool paced) {
    g_PacedByDisplay = paced;
}

uint64_t FramesRun() {
    return g_FramesRun;
}

void ResetShell() {
    g_FramesRun = 0;
    g_FrameStart = g_FrameTime = 0;
}

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/headless.h"
#include "app/modes.h"
#include "app/shell.h"
#include "base/crt_rand.h"
#include "base/keys.h"
#include "base/message_queue.h"
#include "gfx/d3d.h"
#include "gfx/device.h"
#include "test_support.h"
#include "ui/ui_textures.h"
#include "world/play_time.h"

namespace {

class ShellTest : public HeadlessHostTest {
protected:
    void SetUp() override {
        HeadlessHostTest::SetUp();
        auto backend = std::make_unique<RecordingBackend>();
        recorder = backend.get();
        ASSERT_TRUE(InitD3D(std::move(backend)));
        g_MessageQueue.Clear();
        ResetModes();
        ResetKeys();
        ResetShell();
        g_UnsavedProgress = false;  // Escape ends at once: nothing to lose
    }
    void TearDown() override {
        ReleaseD3D();
        g_MessageQueue.Clear();
        ResetModes();
        HeadlessHostTest::TearDown();
    }
    // Handles queued messages until the quit message; true when it arrived.
    bool DrainUntilQuit() {
        Msg m;
        while (g_MessageQueue.Peek(m)) {
            if (m.message == WM_QUIT) return true;
            MainWndProc(m);
        }
        return false;
    }
    RecordingBackend* recorder = nullptr;
};

VirtualClock* g_TestClock;
uint32_t g_HandlerCost;
void CostlyFrame() {
    g_TestClock->Advance(g_HandlerCost);
}

}  // namespace

TEST_F(ShellTest, KeyCellsWalkThroughTheirFourStates) {
    int32_t cell = 0;
    std::vector<int32_t> seen;
    for (bool down : {true, true, true, false, false, true, false, true}) {
        keys.down[VK_SHIFT] = down;
        UpdateKey(VK_SHIFT, cell);
        seen.push_back(cell);
    }
    // Pressed, held, held, released, up, pressed, released, and a press right after a release
    // reads as held.
    EXPECT_EQ(seen, (std::vector<int32_t>{2, 3, 3, 1, 0, 2, 1, 3}));
    // A tap between two polls is never seen.
    cell = 0;
    keys.down[VK_UP] = true;
    keys.down[VK_UP] = false;
    UpdateKey(VK_UP, cell);
    EXPECT_EQ(cell, 0);

    // Held over while down, a cell reads up until its key has been let go, then as before; held
    // over while up, it is not touched.
    static int32_t held;
    seen.clear();
    for (bool down : {true, true, true, false, true, true, false, false, true}) {
        keys.down[VK_SHIFT] = down;
        UpdateKey(VK_SHIFT, held);
        seen.push_back(held);
        if (seen.size() == 2 || seen.size() == 7) HoldKeyOver(held);
    }
    EXPECT_EQ(seen, (std::vector<int32_t>{2, 3, 0, 0, 2, 3, 1, 0, 2}));
}

TEST_F(ShellTest, FramesArePacedToSeventeenMilliseconds) {
    g_TestClock = &clock;
    g_FrameProc = CostlyFrame;
    g_FrameStart = clock.now;
    g_HandlerCost = 5;
    RunOneFrame();
    EXPECT_EQ(clock.lastSleep, 12u);
    g_HandlerCost = 20;
    RunOneFrame();
    EXPECT_EQ(clock.lastSleep, 0u);
    EXPECT_EQ(g_FrameTime, 5u);  // the first frame's handler took 5 ms and slept nothing here
    RunOneFrame();
    EXPECT_EQ(g_FrameTime, 20u);
    // Each frame presents once.
    EXPECT_EQ(recorder->presentCount, 3u);
    EXPECT_FALSE(g_pd3dDevice->InScene());
}

TEST_F(ShellTest, EscapeReleasesTheWorldThenClosesInOrder) {
    ASSERT_EQ(g_pd3dDevice->CreateTexture(4, 4, 1, 0, PixelFormat::A8R8G8B8, Pool::Managed,
                                          &g_UiTextures[1].texture),
              kOk);
    window.cursorShown = false;
    QuitGame(VK_RETURN);  // any other key does nothing
    EXPECT_TRUE(g_MessageQueue.Empty());
    QuitGame(VK_ESCAPE);
    EXPECT_EQ(g_UiTextures[1].texture, nullptr);
    EXPECT_NE(g_pd3dDevice, nullptr);  // the device goes with the close message, not before
    EXPECT_TRUE(DrainUntilQuit());
    EXPECT_TRUE(window.cursorShown);
    EXPECT_TRUE(window.destroyed);
    EXPECT_EQ(g_pd3dDevice, nullptr);
    EXPECT_EQ(g_pD3D, nullptr);
}

TEST_F(ShellTest, CloseButtonSkipsTheEscapeRelease) {
    ASSERT_EQ(g_pd3dDevice->CreateTexture(4, 4, 1, 0, PixelFormat::A8R8G8B8, Pool::Managed,
                                          &g_UiTextures[0].texture),
              kOk);
    GfxTexture* kept = g_UiTextures[0].texture;
    g_MessageQueue.Post(WM_CLOSE);
    EXPECT_TRUE(DrainUntilQuit());
    EXPECT_EQ(g_UiTextures[0].texture, kept);  // not released by the close path
    EXPECT_EQ(g_pd3dDevice, nullptr);
    kept->Release();  // detached from the released device; only memory remains to free
    g_UiTextures[0].texture = nullptr;
}

TEST(CrtRand, ReproducesTheRuntimeSequence) {
    CrtSrand(1);
    EXPECT_EQ(CrtRand(), 41);
    EXPECT_EQ(CrtRand(), 18467);
    SetFixedSeed(true, 99);
    EXPECT_EQ(GameSeed(123456), 99u);
    SetFixedSeed(false, 0);
    EXPECT_EQ(GameSeed(123456), 123456u);
}

// A headless run with screenshots draws only the frames they capture; the device draws again
// for each of those frames, and the frame numbers are those the pictures are taken at.
TEST_F(ShellTest, HeadlessRunDrawsOnlyTheCapturedFrames) {
    struct Watch : FrameObserver {
        HeadlessDriver* driver = nullptr;
        std::vector<bool> drawn;
        void BeforeFrame() override {
            driver->BeforeFrame();
            if (g_pd3dDevice) drawn.push_back(g_pd3dDevice->Drawing());
        }
        void AfterFrame() override { driver->AfterFrame(); }
    };
    HeadlessPlan plan;
    plan.frames = 6;
    plan.screenshots[2].push_back("unused.png");  // no GL here: saving fails, drawing does not
    plan.screenshots[4].push_back("unused.png");
    HeadlessDriver driver(clock, keys, plan);
    Watch watch;
    watch.driver = &driver;
    EXPECT_EQ(RunFrameLoop(&watch), 0);
    EXPECT_EQ(watch.drawn, (std::vector<bool>{false, false, true, false, true, false}));
    EXPECT_TRUE(driver.Failed());
}

TEST_F(ShellTest, HeadlessRunAskedToDrawEveryFrameDoesSo) {
    HeadlessPlan plan;
    plan.frames = 3;
    plan.screenshots[1].push_back("unused.png");
    plan.drawOnlyCaptured = false;
    HeadlessDriver driver(clock, keys, plan);
    driver.BeforeFrame();
    EXPECT_TRUE(g_pd3dDevice->Drawing());
}

// Quitting with unsaved progress asks first (the game-flow data set, the real binary, timelines
// that ask as interactive play does): Escape and the close button open the box over the waiting
// game, Escape again and Ctrl take it back, Yes ends the game; with nothing to lose Escape ends at
// once.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "e2e_run.h"

using nlohmann::json;

namespace {

constexpr const char* kAsks = "ask-before-quit\n";
// The opening line confirmed, then a few steps to the left: progress to lose.
const std::string kWalked = Presses({{30, "shift"}, {40, "left", 20}});

// Frames of the run that asks.
constexpr int kBefore = 69;      // the last frame before Escape
constexpr int kAsked = 75;       // Escape: the box, the cursor on No
constexpr int kStillAsked = 95;  // Left held meanwhile: the leader has not moved
constexpr int kGoneOn = 105;     // Escape again: the box has gone
constexpr int kClosePressed = 115;
constexpr int kCtrlTookBack = 130;
constexpr int kYesChosen = 160;  // Escape, then Up: the cursor on Yes
constexpr int kEnded = 171;      // Shift at 170 ended the game: no frame 171

const std::string kAskingKeys = kAsks + kWalked +
                                Presses({{70, "escape"},
                                         {80, "left", 10},
                                         {100, "escape"},
                                         {120, "ctrl", 3},
                                         {140, "escape"},
                                         {150, "up"},
                                         {170, "shift", 3}}) +
                                "110 close\n";

bool Darkened(const uint8_t* after, const uint8_t* before) {
    for (int c = 0; c < 3; ++c)
        if (std::abs(after[c] - before[c] * 159 / 255) > 3) return false;
    return true;
}

}  // namespace

TEST(QuitBoxE2e, EscapeAndTheCloseButtonAskWhileThereIsProgressToLose) {
    SKIP_WITHOUT_GAMEFLOW_DATA();
    GameRun run("e2e_quit_box", kAskingKeys, 400, 3);
    run.With("--draw-every-frame");
    run.DumpAt(
        {kBefore, kAsked, kStillAsked, kGoneOn, kClosePressed, kCtrlTookBack, kYesChosen, kEnded});
    run.ShotAt({kBefore, kAsked});
    ASSERT_EQ(run.Run(), 0);

    const json asked = run.State(kAsked);
    ExpectFields(asked, {{"/quitBox/cursor", 1}, {"/g_FrameProc", "FieldFrame"}});
    // The game waits behind the box; Left is none of the box's keys.
    ExpectFields(run.State(kStillAsked), {{"/character0", asked["character0"]},
                                          {"/frame", kStillAsked + 1},
                                          {"/quitBox/cursor", 1}});
    EXPECT_TRUE(run.State(kGoneOn)["quitBox"].is_null());
    EXPECT_EQ(run.State(kClosePressed)["quitBox"]["cursor"], 1);
    EXPECT_TRUE(run.State(kCtrlTookBack)["quitBox"].is_null());
    EXPECT_EQ(run.State(kYesChosen)["quitBox"]["cursor"], 0);
    EXPECT_TRUE(run.State(kEnded).is_null());

    // The box over a darkened still of the last picture: a talk window's blue, the list's
    // green-gold, and elsewhere the picture as it was, darker.
    const Picture before = LoadPicture(run.Shot(kBefore)), box = LoadPicture(run.Shot(kAsked));
    ASSERT_EQ(box.w, 640);
    EXPECT_TRUE(Darkened(box.At(20, 20), before.At(20, 20)));
    EXPECT_TRUE(Darkened(box.At(600, 460), before.At(600, 460)));
    const int blue = CountPixels(box, 200, 180, 440, 220, [](const uint8_t* p) {
        return p[2] > 80 && p[2] > p[0] + 40 && p[2] > p[1] + 40;
    });
    EXPECT_GT(blue, 2000);
}

TEST(QuitBoxE2e, WithNothingToLoseEscapeEndsAtOnce) {
    SKIP_WITHOUT_GAMEFLOW_DATA();
    const struct {
        const char* what;
        std::string keys;
        const char* options;
    } runs[] = {
        {"only the opening line confirmed", kAsks + Presses({{30, "shift"}, {70, "escape"}}), ""},
        {"right after a save", kAsks + kWalked + Presses({{70, "escape"}}),
         "--save-dir {dir} --save-at 65:1"},
        {"a run that does not ask", kWalked + Presses({{70, "escape"}}), ""},
    };
    for (const auto& r : runs) {
        SCOPED_TRACE(r.what);
        GameRun run("e2e_quit_at_once", r.keys, 400, 3);
        run.With(r.options);
        run.DumpAt({69, 70});
        ASSERT_EQ(run.Run(), 0);
        EXPECT_TRUE(run.State(69)["quitBox"].is_null());
        EXPECT_TRUE(run.State(70).is_null());  // ended before frame 70 ran
    }
}

// A game played interactively (the SDL window on SDL's offscreen driver, OpenAL, FreeType, a clock
// whose frames take uneven times, keys pushed as SDL events) and recorded with --record's
// recorder, then replayed by the real binary headless: both end in the same state, frame for
// frame. The keys are the demo's play-through up to the road to the bridge, with Escape tapped in
// between (the quit box opens and is taken back), every question the game asks answered yes, and
// the close button at the end (the box, Yes).
#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "app/input_timeline.h"
#include "app/interactive.h"
#include "app/save_game.h"
#include "app/state_dump.h"
#include "base/crt_rand.h"
#include "base/message_queue.h"
#include "base/null_host.h"
#include "base/paths.h"
#include "e2e_support.h"
#include "gfx/text.h"
#include "platform/freetype_rasterizer.h"
#include "platform/iconv_codec.h"
#include "platform/openal_audio.h"
#include "platform/sdl_window.h"
#include "save/save_slots.h"
#include "sound/sound.h"
#include "test_support.h"
#include "world/title_file.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

constexpr uint64_t kCut = 1300;              // the play-through's keys up to here, then all let go
constexpr uint64_t kEscapeTap = 560;         // Up still held on the way to the elder: the box opens
constexpr uint64_t kEscapeAgain = 566;       // and is taken back
constexpr uint64_t kClose = kCut + 10;       // the close button: the box again
constexpr uint64_t kUpTap = kClose + 8;      // the cursor onto Yes
constexpr uint64_t kShiftTap = kClose + 16;  // Yes taken: the game ends in this frame
constexpr uint64_t kLimit = kShiftTap + 60;
const uint64_t kDumps[] = {300, 561, 900, kCut, kClose + 2, kShiftTap - 1, kShiftTap};

// A clock whose every reading moves it on by 0 to 3 ms and whose sleeps oversleep by 0 to 7,
// with now and then a frame that stalls: no two frames need take the same time.
class UnevenClock : public IClock {
public:
    uint32_t GetTickCount() override {
        now_ += Next() % 4;
        if (++reads_ % 97 == 0) now_ += 40 + Next() % 200;
        return now_;
    }
    uint32_t TimeGetTime() override { return GetTickCount(); }
    void Sleep(uint32_t ms) override { now_ += ms + Next() % 8; }

private:
    uint32_t Next() {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 16;
    }
    uint32_t now_ = 5000, state_ = 7, reads_ = 0;
};

// The key the window reads as the timeline's key.
SDL_Keycode SdlKeyOf(int vk) {
    for (SDL_Keycode k : {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_LSHIFT, SDLK_LCTRL,
                          SDLK_RETURN, SDLK_BACKSPACE, SDLK_v})
        if (SdlWindow::VirtualKeyOf(k) == vk) return k;
    return SDLK_ESCAPE;
}

SDL_Event SdlKey(int vk, bool down, bool repeat = false) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.keysym.sym = SdlKeyOf(vk);
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat ? 1 : 0;
    return e;
}

// Pushes each frame's SDL events before the frame (the window takes them in), dumps the state at
// the end of the frames asked for, and stops a game that would not end.
class Player : public FrameObserver {
public:
    Player(std::map<uint64_t, std::vector<SDL_Event>> events, fs::path dir)
        : events_(std::move(events)), dir_(std::move(dir)) {
        Push(0);
    }
    void AfterFrame() override {
        const uint64_t frame = FramesRun() - 1;
        for (uint64_t f : kDumps)
            if (f == frame)
                WriteStateDump((dir_ / ("played" + std::to_string(f) + ".json")).string());
        if (FramesRun() >= kLimit && !stopped) {
            stopped = true;
            g_MessageQueue.Post(WM_CLOSE, kCloseAtOnce);
        }
        Push(FramesRun());
    }
    bool stopped = false;

private:
    void Push(uint64_t frame) {
        auto it = events_.find(frame);
        if (it == events_.end()) return;
        for (SDL_Event& e : it->second) SDL_PushEvent(&e);
    }
    std::map<uint64_t, std::vector<SDL_Event>> events_;
    fs::path dir_;
};

// The play-through's keys up to the cut as SDL events, and the taps and the close around them.
std::map<uint64_t, std::vector<SDL_Event>> Events() {
    InputTimeline timeline;
    std::string error;
    EXPECT_TRUE(ParseInputTimeline(
        ReadFileBytes(GH02_SOURCE_DIR "/tests/playthrough/adventure.keys"), timeline, error))
        << error;
    std::map<uint64_t, std::vector<SDL_Event>> events;
    std::map<int, bool> down;
    for (const KeyEvent& k : timeline.events) {
        if (k.frame >= kCut) break;
        events[k.frame].push_back(SdlKey(k.virtualKey, k.down));
        down[k.virtualKey] = k.down;
    }
    for (auto [vk, isDown] : down)
        if (isDown) events[kCut].push_back(SdlKey(vk, false));
    // Escape tapped shorter than a frame (down and up between two frames: only its message
    // reaches the game); Up and Shift pressed for three frames.
    for (uint64_t frame : {kEscapeTap, kEscapeAgain}) {
        events[frame].push_back(SdlKey(VK_ESCAPE, true));
        events[frame].push_back(SdlKey(VK_ESCAPE, false));
    }
    for (auto [frame, vk] : {std::pair{kUpTap, VK_UP}, {kShiftTap, VK_SHIFT}}) {
        events[frame].push_back(SdlKey(vk, true));
        events[frame + 3].push_back(SdlKey(vk, false));
    }
    // The keyboard's own repeat while Up is held on the way to the elder.
    events[430].push_back(SdlKey(VK_UP, true, true));
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    events[kClose].push_back(quit);
    return events;
}

}  // namespace

TEST(RecordReplayE2e, AReplayOfARecordedGameEndsInTheSameState) {
    const fs::path data = fs::path(GH02_BINARY).parent_path();
    const fs::path dir = MakeTempDir("e2e_record");
    fs::create_directories(dir / "saves");
    fs::create_directories(dir / "replay_saves");
    const Host saved = g_Host;
    UnevenClock clock;
    IconvCodec codec;
    // The player says yes to every question (a replay says no unless told).
    HeadlessDialogs dialogs;
    dialogs.quiet = true;
    dialogs.answers.assign(64, IDYES);
    OpenAlBackend audio;
    FreeTypeRasterizer rasterizer;
    g_Host.clock = &clock;
    g_Host.codec = &codec;
    g_Host.dialogs = &dialogs;
    g_Host.headless = false;
    g_AudioBackend = &audio;
    SetGlyphRasterizer(&rasterizer);
    SetDataDirectory(data.string());
    ReadTitleFile();
    ChooseSaveGameName();
    SetSaveDirectory((dir / "saves").string());

    WindowOptions options;
    options.offscreen = true;
    std::string why;
    std::unique_ptr<SdlGlContext> gl = CreateGlWindow(options, &why);
    if (!gl) {
        g_Host = saved;
        GTEST_SKIP() << "no offscreen window here: " << why;
    }
    g_Host.window = gl->window.get();
    g_Host.keys = gl->window.get();
    Player player(Events(), dir);
    const int code = PlayInteractive(std::unique_ptr<IGraphicsBackend>(gl->backend.release()),
                                     LoadableGame(), (dir / "game.keys").string(), &player);
    gl.reset();
    g_Host = saved;
    g_AudioBackend = nullptr;
    SetGlyphRasterizer(nullptr);
    SetFixedSeed(false, 0);
    EXPECT_EQ(code, 0);
    ASSERT_FALSE(player.stopped) << "the played game did not end at the close button's Yes";

    std::string args = "--headless --input " + (dir / "game.keys").string() + " --save-dir " +
                       (dir / "replay_saves").string();
    for (uint64_t f : kDumps)
        args += " --dump-state " + std::to_string(f) + ":" +
                (dir / ("replayed" + std::to_string(f) + ".json")).string();
    args += " --dump-state " + std::to_string(kShiftTap + 1) + ":" + (dir / "after.json").string();
    ASSERT_EQ(RunGh02(args), 0);
    for (uint64_t f : kDumps) {
        SCOPED_TRACE("frame " + std::to_string(f));
        const json played = ReadJson(dir / ("played" + std::to_string(f) + ".json"));
        const json replayed = ReadJson(dir / ("replayed" + std::to_string(f) + ".json"));
        EXPECT_TRUE(played == replayed) << json::diff(played, replayed).dump().substr(0, 2000);
    }
    EXPECT_NE(ReadFileBytes(dir / "game.keys").find(" answer yes\n"), std::string::npos);
    const json asked = ReadJson(dir / ("played" + std::to_string(kClose + 2) + ".json"));
    EXPECT_EQ(asked["quitBox"]["cursor"], 1);
    EXPECT_FALSE(fs::exists(dir / "after.json"));  // the replay ended where the game did
    fs::remove_all(dir);
}

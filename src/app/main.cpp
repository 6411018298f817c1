// Wires the platform's implementations to the engine and runs the game.
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "app/author_tools.h"
#include "app/game_start.h"
#include "app/headless.h"
#include "app/interactive.h"
#include "app/modes.h"
#include "app/options.h"
#include "app/quit_box.h"
#include "app/save_game.h"
#include "app/shell.h"
#include "app/title_file.h"
#include "base/crt_rand.h"
#include "base/host.h"
#include "base/null_host.h"
#include "base/paths.h"
#include "gfx/recording_backend.h"
#include "gfx/text.h"
#include "platform/exe_path.h"
#include "platform/freetype_rasterizer.h"
#include "platform/iconv_codec.h"
#include "platform/instance_lock.h"
#include "platform/openal_audio.h"
#include "platform/sdl_dialogs.h"
#include "platform/sdl_window.h"
#include "platform/system_clock.h"
#include "sound/sound.h"

namespace {

std::string ScreenshotName() {
    char name[64];
    std::time_t now = std::time(nullptr);
    std::strftime(name, sizeof name, "gh02-%Y%m%d-%H%M%S.png", std::localtime(&now));
    return name;
}

int RunHeadless(const Options& opt, const LoadableGame& loaded) {
    VirtualClock clock;
    // A recorded game's clock stood where it stands again here, and quitting asks as it did.
    clock.now = opt.plan.input.clockStart.value_or(0);
    g_AskBeforeQuitting = opt.plan.input.askBeforeQuitting;
    ScriptedKeys keys;
    HeadlessDialogs dialogs;
    dialogs.answers = opt.plan.input.answers;
    NullWindow nullWindow;
    g_Host.clock = &clock;
    g_Host.keys = &keys;
    g_Host.dialogs = &dialogs;
    g_Host.window = &nullWindow;

    // Pictures need the offscreen GL target; a run that takes none draws into a counter only.
    std::unique_ptr<SdlGlContext> gl;
    std::unique_ptr<IGraphicsBackend> backend;
    if (!opt.plan.screenshots.empty()) {
        WindowOptions wo;
        wo.offscreen = true;
        std::string error;
        gl = CreateGlWindow(wo, &error);
        if (gl) {
            backend.reset(gl->backend.release());
            g_Host.window = gl->window.get();
        } else {
            std::fprintf(stderr, "gh02: no offscreen OpenGL (%s); screenshots are not possible\n",
                         error.c_str());
        }
    }
    if (!backend) {
        auto counter = std::make_unique<RecordingBackend>();
        counter->keep = false;
        backend = std::move(counter);
    }
    InstallStartupFrame();
    if (!StartShell(std::move(backend))) return 1;
    if (loaded.ok) StartLoadedGame(loaded);
    HeadlessDriver driver(clock, keys, opt.plan);
    int code = RunFrameLoop(&driver);
    std::fprintf(stderr, "gh02: headless run ended after %llu frames\n",
                 static_cast<unsigned long long>(FramesRun()));
    g_Host.window = nullptr;
    return driver.Failed() ? 3 : code;
}

int RunInteractive(const Options& opt, const LoadableGame& loaded) {
    static SystemClock clock;
    static SdlDialogs dialogs;
    static OpenAlBackend audio;
    g_Host.clock = &clock;
    g_Host.dialogs = &dialogs;
    g_AudioBackend = &audio;

    WindowOptions wo;
    wo.fullscreen = !opt.windowed;
    wo.scale = opt.scale == ScaleMode::Integer ? PresentScale::Integer : PresentScale::Fit;
    std::string error;
    std::unique_ptr<SdlGlContext> gl = CreateGlWindow(wo, &error);
    if (!gl) {
        std::fprintf(stderr, "gh02: cannot open the window: %s\n", error.c_str());
        StartShell(nullptr);  // shows the start-up failure box
        return 1;
    }
    g_Host.window = gl->window.get();
    g_Host.keys = gl->window.get();
    dialogs.owner = gl->window->Handle();
    gl->window->SetScreenshotHandler([] {
        std::string name = ScreenshotName();
        if (SaveScreenshot(name)) std::fprintf(stderr, "gh02: screenshot %s\n", name.c_str());
    });
    int code = PlayInteractive(std::unique_ptr<IGraphicsBackend>(gl->backend.release()), loaded,
                               opt.recordFile);
    g_Host.window = nullptr;
    g_Host.keys = nullptr;
    dialogs.owner = nullptr;
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    Options opt;
    if (int rc = ParseOptions(argc, argv, opt); rc >= 0) return rc;

    static IconvCodec codec;
    g_Host.codec = &codec;
    g_Host.headless = opt.headless;
    g_Host.executableDir = ExecutableDirectory();
    if (!opt.dataDir.empty()) {
        std::error_code ec;
        SetDataDirectory(std::filesystem::absolute(opt.dataDir, ec).string());
    }
    // --seed, else a replayed recording's seed, else every game takes the clock's.
    const std::optional<uint32_t>& recorded = opt.plan.input.seed;
    SetFixedSeed(opt.seedGiven || recorded, opt.seedGiven ? opt.seed : recorded.value_or(0));
    ReadTitleFile();
    ChooseSaveGameName();
    if (!opt.saveDir.empty()) {
        std::error_code ec;
        SetSaveDirectory(std::filesystem::absolute(opt.saveDir, ec).string());
    }
    // A save named on the command line is read and checked before anything starts.
    LoadableGame loaded;
    if (!opt.loadFrom.empty()) {
        const std::string& from = opt.loadFrom;
        const bool slot = from.size() == 1 && from[0] >= '1' && from[0] <= '8';
        loaded = slot ? ReadGameFromSlot(from[0] - '1') : ReadGameFromFile(from);
        if (!loaded.ok) {
            std::fprintf(stderr, "gh02: cannot load %s%s: %s\n", slot ? "slot " : "", from.c_str(),
                         loaded.reason.c_str());
            return 2;
        }
    }

    if (!opt.modelInfoFile.empty() || !opt.checkDataDir.empty()) {
        static HeadlessDialogs dialogs;
        g_Host.dialogs = &dialogs;
        g_Host.headless = true;
        return opt.modelInfoFile.empty() ? RunCheckData(opt.checkDataDir)
                                         : RunModelInfo(opt.modelInfoFile);
    }

    std::string why;
    if (!GameDataPresent(why)) {
        std::fprintf(stderr, "gh02: %s\n", why.c_str());
        return 1;
    }

    // One game at a time; headless runs (tests) only when asked.
    InstanceLock lock;
    if ((!opt.headless || opt.singleInstance) && !lock.Acquire()) {
        std::fprintf(stderr, "gh02: the game already runs (only one can run at a time)\n");
        return 1;
    }

    static FreeTypeRasterizer rasterizer;
    SetGlyphRasterizer(&rasterizer);

    return opt.headless ? RunHeadless(opt, loaded) : RunInteractive(opt, loaded);
}

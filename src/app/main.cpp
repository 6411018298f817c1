// Wires the platform's implementations to the engine and runs the game.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "app/author_tools.h"
#include "app/dev_keys.h"
#include "app/game_start.h"
#include "app/headless.h"
#include "app/interactive.h"
#include "app/modes.h"
#include "app/options.h"
#include "app/player_settings.h"
#include "app/quit_box.h"
#include "app/save_game.h"
#include "app/shell.h"
#include "app/state_dump.h"
#include "base/bound_keys.h"
#include "base/crt_rand.h"
#include "base/data_search.h"
#include "base/diagnostics.h"
#include "base/host.h"
#include "base/message_box.h"
#include "base/null_host.h"
#include "base/paths.h"
#include "base/sjis.h"
#include "gfx/recording_backend.h"
#include "gfx/text.h"
#include "gh02_version.h"  // generated: GH02_VERSION_TEXT
#include "platform/exe_path.h"
#include "platform/freetype_rasterizer.h"
#include "platform/iconv_codec.h"
#include "platform/instance_lock.h"
#include "platform/openal_audio.h"
#include "platform/sdl_dialogs.h"
#include "platform/sdl_gamepad.h"
#include "platform/sdl_window.h"
#include "platform/system_clock.h"
#include "sound/sound.h"
#include "world/title_file.h"

namespace {

std::string ScreenshotName() {
    char name[64];
    std::time_t now = std::time(nullptr);
    std::strftime(name, sizeof name, "gh02-%Y%m%d-%H%M%S.png", std::localtime(&now));
    return name;
}

// The window the settings change while the game runs.
SdlWindow* g_SettingsWindow = nullptr;
GlBackend* g_SettingsBackend = nullptr;

void ApplyWindowSettings(const Settings& s) {
    if (!g_SettingsWindow) return;
    g_SettingsWindow->SetFullscreen(s.windowMode == WindowMode::kFullscreen);
    if (g_SettingsBackend)
        g_SettingsBackend->SetPresentScale(
            s.windowScale == WindowScale::kInteger ? PresentScale::Integer : PresentScale::Fit);
    SetFramesPacedByDisplay(g_SettingsWindow->SetVsync(s.vsync));
}

// The window's size and mode as the game ends, kept for the next start.
void RememberWindow(const SdlWindow& window) {
    int width = 0, height = 0;
    window.WindowedSize(width, height);
    if (width >= kMinWindowWidth && height >= kMinWindowHeight && width <= kMaxWindowSide &&
        height <= kMaxWindowSide) {
        g_Settings.windowWidth = width;
        g_Settings.windowHeight = height;
    }
    g_Settings.windowMode = window.IsFullscreen() ? WindowMode::kFullscreen : WindowMode::kWindow;
}

int RunHeadless(const Options& opt, const LoadableGame& loaded) {
    VirtualClock clock;
    // A recorded game's clock stood where it stands again here.
    clock.now = opt.plan.input.clockStart.value_or(0);
    ScriptedKeys keys;
    HeadlessDialogs dialogs;
    dialogs.answers = opt.plan.input.answers;
    NullWindow nullWindow;
    g_Host.clock = &clock;
    g_Host.keys = &keys;
    g_BoundKeys.keyboard = &keys;  // what the key bindings page takes keys from
    // Only a settings file the run names is read: its key bindings stand between the key
    // timeline (which then names keyboard keys) and the game.
    if (!opt.configFile.empty()) {
        LoadSettings(opt.configFile);
        ApplySettings();
        g_Host.keys = &g_BoundKeys;
    }
    // Quitting asks as it did in the recorded game, whatever a settings file says.
    g_AskBeforeQuitting = opt.plan.input.askBeforeQuitting;
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
    SaveSettings();
    g_Host.window = nullptr;
    g_Host.keys = nullptr;
    g_BoundKeys.keyboard = nullptr;
    return driver.Failed() ? 3 : code;
}

int RunInteractive(const Options& opt, const LoadableGame& loaded) {
    static SystemClock clock;
    static SdlDialogs dialogs;
    static OpenAlBackend audio;
    g_Host.clock = &clock;
    g_Host.dialogs = &dialogs;
    g_AudioBackend = &audio;

    LoadSettings(opt.configFile.empty() ? DefaultSettingsPath() : opt.configFile);
    Settings& s = g_Settings;
    if (opt.windowed) s.windowMode = WindowMode::kWindow;
    if (opt.scaleGiven)
        s.windowScale = opt.scale == ScaleMode::Integer ? WindowScale::kInteger : WindowScale::kFit;
    WindowOptions wo;
    wo.fullscreen = s.windowMode == WindowMode::kFullscreen;
    wo.windowWidth = s.windowWidth;
    wo.windowHeight = s.windowHeight;
    wo.scale = s.windowScale == WindowScale::kInteger ? PresentScale::Integer : PresentScale::Fit;
    wo.vsync = s.vsync;
    std::string error;
    std::unique_ptr<SdlGlContext> gl = CreateGlWindow(wo, &error);
    if (!gl) {
        std::fprintf(stderr, "gh02: cannot open the window: %s\n", error.c_str());
        StartShell(nullptr);  // shows the start-up failure box
        return 1;
    }
    SdlGamepads pads;
    if (!pads.Start(&error)) std::fprintf(stderr, "gh02: no gamepads: %s\n", error.c_str());
    gl->window->SetGamepads(&pads);
    g_BoundKeys.keyboard = gl->window.get();
    g_BoundKeys.pad = &pads;
    g_SettingsWindow = gl->window.get();
    g_SettingsBackend = gl->backend.get();
    g_ApplyWindowSettings = ApplyWindowSettings;
    ApplySettings();
    // Alt+Enter changes the setting too, so that the settings screen shows the mode as it is.
    gl->window->SetFullscreenHandler([](bool fullscreen) {
        g_Settings.windowMode = fullscreen ? WindowMode::kFullscreen : WindowMode::kWindow;
    });
    g_Host.window = gl->window.get();
    g_Host.keys = &g_BoundKeys;
    dialogs.owner = gl->window->Handle();
    gl->window->SetScreenshotHandler([] {
        std::string name = ScreenshotName();
        if (SaveScreenshot(name)) std::fprintf(stderr, "gh02: screenshot %s\n", name.c_str());
    });
    int code = PlayInteractive(std::unique_ptr<IGraphicsBackend>(gl->backend.release()), loaded,
                               opt.recordFile);
    RememberWindow(*gl->window);
    SaveSettings();
    g_ApplyWindowSettings = nullptr;
    g_SettingsWindow = nullptr;
    g_SettingsBackend = nullptr;
    g_Host.window = nullptr;
    g_Host.keys = nullptr;
    g_BoundKeys.keyboard = nullptr;
    g_BoundKeys.pad = nullptr;
    gl->window->SetGamepads(nullptr);
    gl->window->SetFullscreenHandler(nullptr);
    dialogs.owner = nullptr;
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    Options opt;
    if (int rc = ParseOptions(argc, argv, opt, GH02_VERSION_TEXT); rc >= 0) return rc;

    static IconvCodec codec;
    g_Host.codec = &codec;
    if (opt.logGiven) SetLogFile(opt.logFile);
    g_DevKeys = opt.dev;
    SetVerbose(opt.verbose);
    g_Host.headless = opt.headless;
    g_Host.executableDir = ExecutableDirectory();
    std::string why;
    if (!opt.start.empty() && !ParseStartPlace(opt.start, g_StartPlace, why)) {
        std::fprintf(stderr, "gh02: %s\n", why.c_str());
        return 2;
    }
    // The data folder: the first that holds the place a new game starts from.
    const DataSearch data =
        FindDataDirectory(opt.dataDir, g_Host.executableDir, std::getenv("XDG_DATA_DIRS"),
                          [](const std::string& dir) {
                              SetDataDirectory(dir);
                              std::string missing;
                              return GameDataPresent(missing);
                          });
    SetDataDirectory(data.dir);  // none found: the executable's folder, and the box below
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

    if (!GameDataPresent(why, opt.dataDir.empty() ? SearchedFolders(data) : "")) {
        // One box that says what is wrong (and the dumps a headless run asked for, which show
        // it), instead of a game that starts on nothing.
        static SdlDialogs sdlDialogs;
        static HeadlessDialogs headlessDialogs;
        if (!g_Host.dialogs)
            g_Host.dialogs = opt.headless ? static_cast<IDialogs*>(&headlessDialogs) : &sdlDialogs;
        ShowMessageBox("", ToSjis(why), MB_OK | MB_ICONEXCLAMATION);
        for (const auto& [frame, paths] : opt.plan.dumps)
            for (const std::string& path : paths) WriteStateDump(path);
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

#include "app/interactive.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/key_recorder.h"
#include "app/modes.h"
#include "base/crt_rand.h"
#include "base/host.h"

int PlayInteractive(std::unique_ptr<IGraphicsBackend> backend, const LoadableGame& loaded,
                    const std::string& recordFile, FrameObserver* observer) {
    KeyRecorder recorder;
    FrameObservers observers;
    if (!recordFile.empty()) {
        if (!recorder.Open(recordFile)) {
            std::fprintf(stderr, "gh02: cannot write the recording %s: %s\n", recordFile.c_str(),
                         std::strerror(errno));
            return 2;
        }
        observers.Add(&recorder);
    }
    if (observer) observers.Add(observer);
    InstallStartupFrame();
    if (!StartShell(std::move(backend))) return 1;
    if (loaded.ok) StartLoadedGame(loaded);
    IDialogs* const shown = g_Host.dialogs;
    if (!recordFile.empty()) {
        // Every game of the session starts from this seed, the clock's unless --seed gave one.
        const uint32_t seed = GameSeed(g_Host.clock ? g_Host.clock->GetTickCount() : 0);
        SetFixedSeed(true, seed);
        recorder.Start(seed);
        g_Host.dialogs = recorder.Dialogs(shown);
    }
    const int code = RunFrameLoop(&observers);
    g_Host.dialogs = shown;
    return code;
}

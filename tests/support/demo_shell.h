#pragma once
// A data set played in-process as the program plays it: its data folder and title, the saves in
// a folder of their own, a fixed seed, and the shell over a recording device that keeps nothing;
// Stop takes all of it back. Frames run on the host's virtual clock, 17 ms apart.
#include <filesystem>
#include <memory>
#include <string>

#include "app/modes.h"
#include "app/shell.h"
#include "app/world_reset.h"
#include "base/crt_rand.h"
#include "base/message_queue.h"
#include "base/null_host.h"
#include "base/paths.h"
#include "gfx/d3d.h"
#include "gfx/recording_backend.h"
#include "save/save_slots.h"
#include "sound/sound.h"
#include "world/title_file.h"

class DemoShell {
public:
    // Starts on the program's first frame; false when the shell does not start. An empty saves
    // folder puts the title's cursor on New game.
    bool Start(const std::string& data, const std::string& saves = "") {
        started_ = true;
        saves_ = saves;
        SetDataDirectory(data);
        ReadTitleFile();
        if (!saves.empty()) SetSaveDirectory(saves);
        SetFixedSeed(true, 7);
        auto backend = std::make_unique<RecordingBackend>();
        backend->keep = false;
        if (!StartShell(std::move(backend))) return false;
        InstallStartupFrame();
        return true;
    }
    void Stop() {
        if (!started_) return;
        started_ = false;
        ResetGameWorld();
        ReleaseD3D();
        ReleaseSound();
        g_MessageQueue.Clear();
        SetFixedSeed(false, 0);
        SetSaveDirectory("");
        if (!saves_.empty()) std::filesystem::remove_all(saves_);
        SetDataDirectory("");
        ReadTitleFile();
    }
    static void Frame(VirtualClock& clock) {
        clock.Advance(17);
        RunOneFrame();
    }

private:
    bool started_ = false;
    std::string saves_;
};

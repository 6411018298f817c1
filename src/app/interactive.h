#pragma once
#include <memory>
#include <string>

#include "app/save_game.h"
#include "app/shell.h"
#include "gfx/backend.h"

// An interactive game once main has wired the host (clock, window and its keys, dialogs, audio):
// the shell started on the window's backend, the game --load named, the recording --record asked
// for (the seed fixed, so that the replay's games start as these did), then the frame loop.
// `observer` (tests) sees every frame after the recorder. Returns the exit code: 0 after an
// orderly end, 1 when the game could not start, 2 when the recording cannot be written.
int PlayInteractive(std::unique_ptr<IGraphicsBackend> backend, const LoadableGame& loaded,
                    const std::string& recordFile, FrameObserver* observer = nullptr);

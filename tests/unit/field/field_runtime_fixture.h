#pragma once
// A field game state with a flat empty field, the leader in cell (5, 5), a recording device for
// the view transform, and every runtime word at its start value.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string_view>

#include "app/modes.h"
#include "app/shell.h"
#include "app/world_reset.h"
#include "base/crt_rand.h"
#include "base/keys.h"
#include "field/field_move.h"
#include "field/field_runtime.h"
#include "field/field_transitions.h"
#include "field/game_state.h"
#include "gfx/d3d.h"
#include "gfx/recording_backend.h"
#include "math/math_scalar.h"
#include "test_support.h"
#include "ui/talk_window.h"
#include "world/character.h"
#include "world/field_camera.h"
#include "world/mode_words.h"

class FieldRuntimeTest : public HeadlessHostTest {
protected:
    RecordingBackend backend;
    std::unique_ptr<GfxDevice> device;

    void SetUp() override {
        HeadlessHostTest::SetUp();
        backend.keep = false;
        device = std::make_unique<GfxDevice>(&backend);
        g_pd3dDevice = device.get();
        ResetGameWorld();
        g_FrameProc = NullFrameHook;  // no mode runs until a test installs one
        g_FrameTime = 16;
        g_pGameState = new GameState;
        g_pGameState->fieldHandler = NullFrameHook;
        g_pGameState->lastCellX = g_pGameState->lastCellRow = -1;
        g_FieldInputEnabled = 1;
        g_EncounterRate = 0;
        AddCharacter(0, 5 * 1024 + 512, -(5 * 1024 + 512));
        g_Camera.distance = 2000.0f;
        g_Camera.eye.y = 3000.0f;
    }
    void TearDown() override {
        ResetGameWorld();
        g_pd3dDevice = nullptr;
        device.reset();
        HeadlessHostTest::TearDown();
    }

    GameState& State() { return *g_pGameState; }
    QFldInfo& Field() { return *g_pGameState->fieldInfo; }
    QScrOrg& Script() { return g_pGameState->fieldScript; }
    Character& Leader() { return g_Characters[0]; }

    static void Place(int who, float x, float z) { g_Characters[who].position = Vector3{x, 0, z}; }
    static void AddCharacter(int who, float x, float z, float size = 200.0f) {
        g_Characters[who].active = 1;
        g_Characters[who].collisionSize = size;
        Place(who, x, z);
    }
    void SetScript(std::string_view text) {
        std::memset(Script().text, 0, sizeof Script().text);
        std::memcpy(Script().text, text.data(), text.size());
        Script().pc = 0;
        Script().running = 0;
    }
    // The script's text from its reading position up to the next '#'.
    std::string ScriptRest() {
        std::string rest(Script().text + Script().pc);
        return rest.substr(0, rest.find('#'));
    }
    void Hold(int vk) { keys.down[vk] = true; }
};

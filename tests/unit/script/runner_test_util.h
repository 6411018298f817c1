#pragma once
#include <string>
#include <string_view>

#include "app/world_reset.h"
#include "script/commands_shared.h"
#include "script/script_runner.h"
#include "script_test_util.h"
#include "world/character.h"
#include "world/field_camera.h"
#include "world/field_tables.h"
#include "world/mode_words.h"

// A script set in memory with the loader's "c0" behind it, run frame by frame.
class RunnerTest : public ScriptTest {
protected:
    void SetUp() override {
        ScriptTest::SetUp();
        ResetGameWorld();
        // The tables as a field start leaves them.
        for (auto& b : g_Billboards) ResetBillboard(b);
        for (int i = 0; i < kFieldObjectCount; ++i) ResetFieldObject(i);
    }
    void TearDown() override {
        ResetGameWorld();
        ScriptTest::TearDown();
    }
    void Set(std::string_view text) {
        SetText(s, std::string(text) + "c0");
        s.running = 1;
    }
    // One frame.
    void Frame() { RunScriptLoop(s, "test", nullptr); }
    // Runs the whole script as one frame sequence until it ends (at most `frames` frames).
    void Run(std::string_view text, int frames = 1) {
        Set(text);
        for (int i = 0; i < frames && s.running; ++i) Frame();
    }
    size_t Reports() const { return g_MessageBoxLog.size(); }
};

#pragma once
// A battle object with eight fighters standing, party records bound and enemy records made,
// for the battle scripts' runners and commands.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/shell.h"
#include "app/world_reset.h"
#include "base/message_box.h"
#include "battle/battle.h"
#include "battle/battle_scripts.h"
#include "script/commands_shared.h"
#include "script/qscr_org.h"
#include "script/script_runner.h"
#include "test_support.h"
#include "world/character.h"
#include "world/party.h"
#include "world/scene_trail.h"

class BattleScriptTest : public HeadlessHostTest {
protected:
    void SetUp() override {
        HeadlessHostTest::SetUp();
        ResetGameWorld();
        for (int i = kFirstEnemySlot; i < kFighterCount; ++i) g_Fighters[i] = new FighterRecord();
        g_pBattle = std::make_unique<Battle>();
        for (int i = 0; i < kBattleFighterCount; ++i) {
            g_pBattle->alive[i] = 1;
            g_pBattle->trailColour[i] = kDefaultTrailColour;
            g_Characters[i].active = 1;
            g_Fighters[i]->maxHp = g_Fighters[i]->hp = 60;
        }
        savedFrameTime_ = g_FrameTime;
        g_FrameTime = 17;
    }
    void TearDown() override {
        ResetGameWorld();
        g_FrameTime = savedFrameTime_;
        HeadlessHostTest::TearDown();
    }

    Battle& B() { return *g_pBattle; }
    QScrOrg& Technique() { return g_pBattle->techniqueScript; }
    QScrOrg& Event() { return g_pBattle->eventScript; }

    // A script text with the loader's "c0" behind it, pc 0.
    static void Put(QScrOrg& s, std::string_view text) {
        std::memset(s.text, 0, sizeof s.text);
        const std::string full = std::string(text) + "c0";
        std::memcpy(s.text, full.data(), full.size());
        s.pc = 0;
    }
    // Fighter `actor` plays `text` as its technique; the battle is in its action phase.
    void Play(int32_t actor, std::string_view text) {
        QScrOrg& s = Technique();
        Put(s, text);
        s.actor = actor;
        s.running = 1;
        B().frameHandler = ActionRunning;
    }
    // Technique frames until the script ends (at most `frames`).
    void Frames(int frames) {
        for (int i = 0; i < frames && Technique().running; ++i) RunTechnique();
    }
    static void Place(int f, float x, float z) { g_Characters[f].position = Vector3{x, 0.0f, z}; }
    size_t Reports() const { return g_MessageBoxLog.size(); }

private:
    uint32_t savedFrameTime_ = 0;
};

#pragma once
// A battle in progress without any files: three party members and five enemies with small
// models (a head bone and the battle motions), a command table and one technique table, the
// random generator seeded, a recording device with box glyphs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/modes.h"
#include "app/shell.h"
#include "app/world_reset.h"
#include "base/crt_rand.h"
#include "base/message_box.h"
#include "battle/battle.h"
#include "character_test_util.h"
#include "field/field_runtime.h"
#include "script/camera_motion.h"
#include "text_draw_test.h"
#include "world/character.h"
#include "world/data_tables.h"
#include "world/field_camera.h"
#include "world/mode_words.h"
#include "world/party.h"
#include "world/scene_trail.h"

// Commands: 0 attack (plain), 1 magic (opens category 1's list), 2 item (plain), 3 guard
// (immediate, covers), 4 run (immediate).
inline const char* const kCommandTable =
    "Attack Hit_one 0 0\n"
    "Magic Cast_a_spell 0 8\n"
    "Item Use_an_item 0 0\n"
    "Guard Cover_the_others 0 16\n"
    "Run Run_away 0 16\n";
// Category 1: 0 fire (at enemies), 1 heal (at the party), 2 ice (at enemies).
inline const char* const kMagicTable =
    "Fire Burn_one 12 4\n"
    "Heal Mend_one 8 0\n"
    "Ice Freeze_one 20 4\n";

class BattleTest : public TextDrawTest {
protected:
    void SetUp() override {
        TextDrawTest::SetUp();
        g_MessageBoxLog.clear();
        ResetGameWorld();
        g_ActionTimer = kActionDelayMs;
        g_FrameTime = 17;
        ASSERT_TRUE(ParseTechniqueTable(kCommandTable, TechniqueTables[0]));
        ASSERT_TRUE(ParseTechniqueTable(kMagicTable, TechniqueTables[1]));

        g_pBattle = std::make_unique<Battle>();
        g_pHomeCamera = &g_pBattle->homeCamera;
        for (int i = kFirstEnemySlot; i < kBattleFighterCount; ++i)
            g_Fighters[i] = new FighterRecord();
        for (int i = 0; i < kBattleFighterCount; ++i) {
            FighterRecord& f = *g_Fighters[i];
            char name[16];
            std::snprintf(name, sizeof name, i < kFirstEnemySlot ? "Hero%d" : "Foe%d", i);
            f.SetName(name);
            f.maxHp = f.hp = 120;
            f.maxMp = f.mp = 30;
            for (uint8_t& s : f.stats) s = 10;
            f.defaultAction = uint8_t(i);
            Character& c = g_Characters[i];
            BuildModel(c.model, {"head_b", "wea_b"}, Motions());
            c.headBone = c.model.bones[1].get();
            c.weaponBone = c.model.bones[2].get();
            c.active = 1;
            Fighter(i, 1);
        }
    }
    void TearDown() override {
        ResetGameWorld();
        TextDrawTest::TearDown();
    }

    static std::vector<MotionSpec> Motions() {
        std::vector<MotionSpec> m;
        for (int slot : {0, 3, 4, 5, 6, 10, 11})
            m.push_back({slot, "btl_" + std::to_string(slot), {0, 40}});
        return m;
    }
    // Fighter i takes part (alive 1) or is down (0), with its character at its home.
    void Fighter(int i, int alive) {
        Battle& b = *g_pBattle;
        b.alive[i] = alive;
        b.home[i] = Vector3{float(i * 300), 0.0f, i < kFirstEnemySlot ? 1024.0f : -1024.0f};
        g_Characters[i].position = b.home[i];
        b.shownHp[i] = g_Fighters[i]->hp;
        b.shownMp[i] = g_Fighters[i]->mp;
    }
    Battle& B() { return *g_pBattle; }
    static uint32_t Motion(int i) { return g_Characters[i].model.GetCurrentAnimation(); }
    // Texts drawn in a colour other than the outline's black.
    std::vector<Text> ColouredTexts() const {
        std::vector<Text> out;
        for (const Text& t : Texts())
            if ((t.colour & 0xFFFFFF) != 0) out.push_back(t);
        return out;
    }
    // Holds the keys (virtual key codes) for one battle input poll.
    void Hold(std::initializer_list<int> vks) {
        keys.down.clear();
        for (int vk : vks) keys.down[vk] = true;
    }
};

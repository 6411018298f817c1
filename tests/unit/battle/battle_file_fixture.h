#pragma once
// The character fixtures plus the battle's enemy and weapon files in a data directory, and a
// battle object.
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "character_test_util.h"
#include "battle/battle.h"

class BattleFileTest : public CharacterTest {
protected:
    void SetUp() override {
        CharacterTest::SetUp();
        std::filesystem::copy(FixturesDir() + "/battle", dir,
                              std::filesystem::copy_options::recursive);
        ClearPathCache();
        SaveModel("hero.rzo", {"body", "wea_b", "gua_b", "head_b"}, {{0, "btl_stand", {0, 10}}});
        g_pBattle = std::make_unique<Battle>();
        for (uint32_t& c : g_pBattle->trailColour) c = kDefaultTrailColour;
    }
    void TearDown() override {
        g_pBattle.reset();
        CharacterTest::TearDown();
    }
    void Write(const std::string& rel, const std::string& text) {
        std::ofstream(dir + "/" + rel, std::ios::binary) << text;
        ClearPathCache();
    }
};

// The authoring keys on the demo adventure, in-process: --start's place, F5's reload of an edited
// script where the leader stands, and F6's line of where the game stands.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/dev_keys.h"
#include "app/game_start.h"
#include "demo_shell.h"
#include "field/game_state.h"
#include "test_support.h"
#include "world/character.h"
#include "world/field_info.h"

namespace fs = std::filesystem;

TEST(StartPlace, ReadsFieldScriptAndLabel) {
    StartPlace p;
    std::string why;
    ASSERT_TRUE(ParseStartPlace("mori", p, why));
    EXPECT_EQ(p.script, "mori");
    EXPECT_TRUE(p.label.empty());
    ASSERT_TRUE(ParseStartPlace("mori:test:PLACE1", p, why));
    EXPECT_EQ(p.field + "|" + p.script + "|" + p.label, "mori|test|PLACE1");
    EXPECT_TRUE(p.moved);
    EXPECT_FALSE(ParseStartPlace(":test", p, why));
    EXPECT_FALSE(ParseStartPlace(std::string(200, 'a'), p, why));
    EXPECT_NE(why.find("longer"), std::string::npos);
}

class DevKeysTest : public HeadlessHostTest {
protected:
    fs::path data;
    DemoShell demo;
    void SetUp() override {
        HeadlessHostTest::SetUp();
        data = MakeTempDir("devkeys");
        fs::copy(GH02_DEMO_DATA, data, fs::copy_options::recursive);
        std::string why;
        ASSERT_TRUE(ParseStartPlace("mori:mori:IDLE", g_StartPlace, why));
        g_DevKeys = true;
        ASSERT_TRUE(demo.Start(data.string()));
    }
    void TearDown() override {
        g_DevKeys = false;
        g_StartPlace = StartPlace();
        demo.Stop();
        fs::remove_all(data);
        HeadlessHostTest::TearDown();
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) DemoShell::Frame(clock);
    }
};

TEST_F(DevKeysTest, StartsThereAndReloadsAnEditedScriptWhereTheLeaderStands) {
    Frames(3);  // no title: the game starts on the forest at IDLE
    ASSERT_TRUE(g_pGameState);
    EXPECT_STREQ(g_FieldName, "mori");
    EXPECT_NE(WhereTheGameStands().find("field mori  SCR/mori.qd  label IDLE  at "),
              std::string::npos)
        << WhereTheGameStands();

    // The author adds a label; F5 reads it, the leader stays where he was walked to.
    std::ofstream(data / "SCR" / "mori.qd", std::ios::app) << "\r\n@:EDITED//f10 ;";
    Character& leader = g_Characters[0];
    leader.position.x = 20000.0f;
    DevKeyDown(0x74, 0);
    EXPECT_TRUE(g_pGameState->fieldScript.HasLabel("EDITED"));
    EXPECT_FALSE(g_pGameState->fieldScript.running);
    Frames(2);
    EXPECT_EQ(leader.position.x, 20000.0f);
    EXPECT_NE(WhereTheGameStands().find("label EDITED"), std::string::npos) << WhereTheGameStands();

    // Without --dev the keys do nothing.
    g_DevKeys = false;
    std::ofstream(data / "SCR" / "mori.qd", std::ios::app) << "@:LATER//";
    DevKeyDown(0x74, 0);
    EXPECT_FALSE(g_pGameState->fieldScript.HasLabel("LATER"));
}

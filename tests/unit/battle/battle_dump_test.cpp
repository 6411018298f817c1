#include "battle/battle_dump.h"
#include "battle_test_util.h"

TEST_F(BattleTest, DumpShowsThePhaseFightersAndLabelsInUse) {
    B().frameHandler = TargetSelect;
    B().returnHandler = EndCheck;
    B().alive[6] = 0;
    B().labels[3].life = 9;
    std::snprintf(B().labels[3].text, sizeof B().labels[3].text, "MISS");
    nlohmann::json j = DumpBattle();
    EXPECT_EQ(j["phase"], "TargetSelect");
    EXPECT_EQ(j["returnPhase"], "EndCheck");
    ASSERT_EQ(j["fighters"].size(), 8u);
    EXPECT_EQ(j["fighters"][6]["alive"], 0);
    EXPECT_EQ(j["fighters"][2]["name"], "Hero2");
    EXPECT_EQ(j["fighters"][2]["hp"], 120);
    ASSERT_EQ(j["labels"].size(), 1u);
    EXPECT_EQ(j["labels"][0]["text"], "MISS");
    g_pBattle.reset();
    EXPECT_TRUE(DumpBattle().is_null());
}

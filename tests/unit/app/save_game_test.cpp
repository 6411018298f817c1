// A snapshot reads back as it was written, and one that says anything out of its place is
// refused whole, naming what is wrong. (Saving and loading the real game is the end-to-end
// test's.)
#include <gtest/gtest.h>

#include "app/game_snapshot.h"
#include "app/world_reset.h"
#include "field/field_frame.h"
#include "field/game_state.h"
#include "test_support.h"
#include "world/inventory.h"

using nlohmann::json;

namespace {

class SnapshotTest : public HeadlessHostTest {
protected:
    void SetUp() override {
        HeadlessHostTest::SetUp();
        ResetGameWorld();
        g_pGameState = new GameState();
        g_pGameState->fieldHandler = NullFrameHook;
        g_FrameProc = FieldFrame;
    }
    void TearDown() override {
        ResetGameWorld();
        HeadlessHostTest::TearDown();
    }
};

}  // namespace

TEST_F(SnapshotTest, ReadsBackWhatWasWrittenAndRefusesWhatIsOutOfPlace) {
    g_pGameState->fieldScript.str[0] = char(0x83);  // Shift-JIS bytes come back as they were
    g_pGameState->fieldScript.str[1] = char(0x5C);
    g_pGameState->fieldScript.fv[2] = 0.1f;
    g_GoodsStock.Add(3, 5);
    g_WeaponStock.Add(2, 1);
    const json written = SnapshotToJson(TakeSnapshot());
    GameSnapshot back;
    std::string reason;
    ASSERT_TRUE(SnapshotFromJson(written, back, reason)) << reason;
    EXPECT_EQ(SnapshotToJson(back), written);
    EXPECT_EQ(back.fieldScript.str.bytes, "\x83\x5C");
    EXPECT_EQ(back.fieldScript.fv[2], 0.1f);
    ASSERT_EQ(back.goods.size(), 1u);
    EXPECT_EQ(back.goods[0].number, 3);
    EXPECT_EQ(back.goods[0].count, 5);
    ASSERT_EQ(back.weapons.size(), 1u);
    // Saves made before the party carried anything load with nothing carried.
    json older = written;
    older.erase("goods");
    older.erase("weapons");
    ASSERT_TRUE(SnapshotFromJson(older, back, reason)) << reason;
    EXPECT_TRUE(back.goods.empty() && back.weapons.empty());

    struct Case {
        const char* pointer;
        json value;
        const char* reason;
    } const cases[] = {
        {"/fieldScript/pc", 5000, "fieldScript.pc is out of range"},
        {"/fieldScript/fv/0", "x", "fieldScript.fv[0] is not a number"},
        {"/billboards/3/image", 64, "billboards[3].image is out of range"},
        {"/party/0/stats/2", 0, "party[0].stats[2] is out of range"},
        {"/camera/handler", "Somewhere", "camera.handler names no motion"},
        {"/frameProc", "BattleFrame", "frameProc names no field mode"},
        {"/messageWindow/entries/0/text", std::string(30, 'a'),
         "messageWindow.entries[0].text is too long"},
        {"/randState", -1, "randState is out of range"},
        {"/goods/0/count", 100, "goods[0].count is out of range"},
        {"/goods/0/number", 4096, "goods[0].number is out of range"},
        {"/weapons/0/number", 256, "weapons names weapon 256"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pointer);
        json bad = written;
        bad[json::json_pointer(c.pointer)] = c.value;
        EXPECT_FALSE(SnapshotFromJson(bad, back, reason));
        EXPECT_EQ(reason, c.reason);
    }
    json missing = written;
    missing.erase("camera");
    EXPECT_FALSE(SnapshotFromJson(missing, back, reason));
    EXPECT_EQ(reason, "camera is missing");
}

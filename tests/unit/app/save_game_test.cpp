// A snapshot reads back as it was written, and one that says anything out of its place is
// refused whole, naming what is wrong. (Saving and loading the real game is the end-to-end
// test's.)
#include <gtest/gtest.h>

#include "app/game_snapshot.h"
#include "app/world_reset.h"
#include "field/field_frame.h"
#include "field/game_state.h"
#include "test_support.h"

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
    const json written = SnapshotToJson(TakeSnapshot());
    GameSnapshot back;
    std::string reason;
    ASSERT_TRUE(SnapshotFromJson(written, back, reason)) << reason;
    EXPECT_EQ(SnapshotToJson(back), written);
    EXPECT_EQ(back.fieldScript.str.bytes, "\x83\x5C");
    EXPECT_EQ(back.fieldScript.fv[2], 0.1f);

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


#include "character_test_util.h"

namespace {

// Slot 0 with a model built in memory: motion 0 has keys at frames 0 and 10 (its end comes at
// frame 11), motion 1 at 0 and 4, motion 3 at 0 and 30.
class CharacterMotionTest : public CharacterTest {
protected:
    Character& c = g_Characters[0];

    void SetUp() override {
        CharacterTest::SetUp();
        BuildModel(c.model, {"body"},
                   {{0, "fld_stand", {0, 10}}, {1, "fld_hit", {0, 4}}, {3, "btl_stance", {0, 30}}});
        c.active = 1;
        c.SetMotion(0, 1);
    }
    int32_t Time() const { return c.model.GetAnimationTime(); }
};

TEST_F(CharacterMotionTest, WholeEightMillisecondStepsAndTheRemainderIsDropped) {
    AnimateCharacter(c, 20);
    EXPECT_EQ(Time(), 2);
    EXPECT_EQ(c.motionClock, 0u);  // the 4 ms left over are gone
    AnimateCharacter(c, 8);        // one step's worth waits for the next frame
    EXPECT_EQ(Time(), 2);
    AnimateCharacter(c, 1);
    EXPECT_EQ(Time(), 3);

    // Stopped, or in a free slot, nothing moves and no time gathers.
    c.motionFlags = 0;
    AnimateCharacter(c, 100);
    c.motionFlags = kMotionPlaying;
    c.active = 0;
    AnimateCharacter(c, 100);
    EXPECT_EQ(Time(), 3);
    EXPECT_EQ(c.motionClock, 0u);
}

TEST_F(CharacterMotionTest, LoopsPlayForwardAndBackwardInTurnWhileOthersStayAtTheEnd) {
    AnimateCharacter(c, 100);  // 12 steps: past the last key, so it turns
    EXPECT_EQ(c.motionDirection, -1);
    AnimateCharacter(c, 41);
    EXPECT_EQ(Time(), 7);
    AnimateCharacter(c, 100);  // below the first frame: forward again
    EXPECT_EQ(c.motionDirection, 1);
    EXPECT_EQ(Time(), 0);

    c.SetMotion(1, 0);

    AnimateCharacter(c, 100);
    EXPECT_EQ(c.motionDirection, 1);
    EXPECT_NEAR(c.model.GetBone(1)->offset.x, 4.0f, 1e-4f);  // on its last frame
}

TEST_F(CharacterMotionTest, QueuedMotionStartsAtTheEndWithItsOwnLoopFlag) {
    c.SetMotion(1, 0);
    c.QueueMotion(3, 1);
    AnimateCharacter(c, 33);  // frame 4: not the end yet
    EXPECT_EQ(c.model.GetCurrentAnimation(), 1u);
    AnimateCharacter(c, 9);  // frame 5
    EXPECT_EQ(c.model.GetCurrentAnimation(), 3u);
    EXPECT_EQ(Time(), 0);

    // At the end of a loop a queued motion starts instead of the turn, forward.
    c.SetMotion(0, 1);
    c.QueueMotion(1, 0);
    AnimateCharacter(c, 100);
    EXPECT_EQ(c.model.GetCurrentAnimation(), 1u);
    EXPECT_EQ(c.motionDirection, 1);
    EXPECT_EQ(c.motionFlags, kMotionPlaying);
}

TEST_F(CharacterMotionTest, EquipmentComesFromTheWeaponFolderAndIsReleased) {
    c.LoadEquipment(kWeaponSlot, "box");
    ASSERT_TRUE(c.weaponMesh && c.weaponMesh->mesh);
    const size_t one = device->LiveTextureCount();
    ASSERT_GT(one, 0u);
    c.LoadEquipment(kWeaponSlot, "box");  // the first mesh does not stay behind
    c.LoadEquipment(kGuardSlot, "box");
    c.LoadEquipment(2, "box");  // no such slot
    EXPECT_EQ(device->LiveTextureCount(), 2 * one);

    // Release empties model and meshes; the holders stay until ReleaseEquipment.
    c.Release();
    EXPECT_EQ(c.model.BoneCount(), 1);
    EXPECT_EQ(device->LiveTextureCount(), 0u);
    ASSERT_TRUE(c.weaponMesh);
    EXPECT_FALSE(c.weaponMesh->mesh);
    c.ReleaseEquipment(kWeaponSlot);
    EXPECT_FALSE(c.weaponMesh);
}

}  // namespace

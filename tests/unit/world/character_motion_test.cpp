#include <cmath>
#include <string>
#include <vector>

#include "character_test_util.h"
#include "gfx/x_mesh_holder.h"

namespace {

// A character in slot 0 whose model is built in memory: motion 0 runs frames 0-10, motion 1
// frames 0-4, motion 3 frames 0-30.
class CharacterMotionTest : public CharacterTest {
protected:
    Character& c = g_Characters[0];

    void SetUp() override {
        CharacterTest::SetUp();
        BuildModel(c.model, {"body", "wea_b"},
                   {{0, "fld_stand", {0, 10}}, {1, "fld_hit", {0, 4}}, {3, "btl_stance", {0, 30}}});
        c.active = 1;
        c.SetMotion(0, 1);
    }
    // Frames of `ms` each until the motion's direction or number changes; how many it took.
    int FramesUntilChange(uint32_t ms, int limit = 1000) {
        const int32_t direction = c.motionDirection;
        const uint32_t motion = c.model.GetCurrentAnimation();
        for (int n = 1; n <= limit; ++n) {
            AnimateCharacter(c, ms);
            if (c.motionDirection != direction || c.model.GetCurrentAnimation() != motion) return n;
        }
        return -1;
    }
};

TEST_F(CharacterMotionTest, WholeEightMillisecondStepsAndTheRemainderIsDropped) {
    AnimateCharacter(c, 20);
    EXPECT_EQ(MotionTime(c), 2);
    EXPECT_EQ(c.motionClock, 0u);  // the 4 ms left over are gone

    // Exactly one step's worth is not more than a step: it waits for the next frame.
    AnimateCharacter(c, 8);
    EXPECT_EQ(MotionTime(c), 2);
    EXPECT_EQ(c.motionClock, 8u);
    AnimateCharacter(c, 1);
    EXPECT_EQ(MotionTime(c), 3);

    // A long frame takes all its steps at once, and the bone follows its keys.
    AnimateCharacter(c, 41);
    EXPECT_EQ(MotionTime(c), 8);
    EXPECT_GT(c.model.GetBone(1)->offset.x, 5.0f);

    // Stopped, or in a free slot, nothing moves and no time gathers.
    c.motionFlags = 0;
    AnimateCharacter(c, 100);
    EXPECT_EQ(MotionTime(c), 8);
    EXPECT_EQ(c.motionClock, 0u);
    c.motionFlags = kMotionPlaying;
    c.active = 0;
    AnimateCharacter(c, 100);
    EXPECT_EQ(MotionTime(c), 8);
}

TEST_F(CharacterMotionTest, LoopingMotionPlaysForwardThenBackwardThenForward) {
    // 17 ms frames are two steps each: frames 2, 4, ... 10, 12 (past the last key: the end).
    EXPECT_EQ(FramesUntilChange(17), 6);
    EXPECT_EQ(c.motionDirection, -1);
    EXPECT_EQ(MotionTime(c), 12);

    // Backward it runs down past the first frame (10, 8, ... 0, then below), then turns again.
    EXPECT_EQ(FramesUntilChange(17), 7);
    EXPECT_EQ(c.motionDirection, 1);
    EXPECT_EQ(MotionTime(c), 0);
    EXPECT_NEAR(c.model.GetBone(1)->offset.x, 0.0f, 1e-4f);
    EXPECT_EQ(c.model.GetCurrentAnimation(), 0u);
}

TEST_F(CharacterMotionTest, MotionWithoutLoopStaysOnItsLastFrame) {
    c.SetMotion(1, 0);
    EXPECT_EQ(c.motionFlags, kMotionPlaying);
    EXPECT_EQ(FramesUntilChange(17, 50), -1);
    EXPECT_EQ(c.motionDirection, 1);
    EXPECT_NEAR(c.model.GetBone(1)->offset.x, 4.0f, 1e-4f);
}

TEST_F(CharacterMotionTest, QueuedMotionStartsWhenTheCurrentOneEndsWithItsOwnLoopFlag) {
    c.SetMotion(1, 0);    // frames 0-4, ends at frame 5
    c.QueueMotion(3, 1);  // stance, looping
    EXPECT_EQ(c.queuedMotion, 4);
    AnimateCharacter(c, 33);  // 4 steps: frame 4, not yet the end
    EXPECT_EQ(c.model.GetCurrentAnimation(), 1u);
    EXPECT_EQ(c.queuedMotion, 4);

    AnimateCharacter(c, 9);  // frame 5: the end
    EXPECT_EQ(c.model.GetCurrentAnimation(), 3u);
    EXPECT_EQ(c.motionFlags, kMotionPlaying | kMotionLooping);
    EXPECT_EQ(c.queuedMotion, 0);
    EXPECT_EQ(c.motionDirection, 1);
    EXPECT_EQ(MotionTime(c), 0);  // from its first frame

    // A queued motion wins over the turn of a loop: the loop ends forward and the next starts.
    c.SetMotion(0, 1);
    AnimateCharacter(c, 40);
    c.QueueMotion(1, 0);
    AnimateCharacter(c, 60);  // past frame 10
    EXPECT_EQ(c.model.GetCurrentAnimation(), 1u);
    EXPECT_EQ(c.motionDirection, 1);
    EXPECT_EQ(c.motionFlags, kMotionPlaying);
}

TEST_F(CharacterMotionTest, SetMotionRestartsFromTheFirstFrameForward) {
    AnimateCharacter(c, 90);
    c.motionDirection = -1;
    c.SetMotion(3, 1);
    EXPECT_EQ(c.model.GetCurrentAnimation(), 3u);
    EXPECT_EQ(MotionTime(c), 0);
    EXPECT_EQ(c.motionDirection, 1);
    EXPECT_NEAR(c.model.GetBone(1)->offset.x, 0.0f, 1e-4f);

    // A motion the model does not have plays nothing and never fails.
    c.SetMotion(77, 1);
    c.SetMotion(-1, 0);
    for (int i = 0; i < 4; ++i) AnimateCharacter(c, 17);
    EXPECT_EQ(c.motionFlags, kMotionPlaying);
}

TEST_F(CharacterMotionTest, KeepMotionsWithPrefixDropsOnlyNamesSharingNoPosition) {
    RZ_Model& m = c.model;
    const std::vector<std::pair<int, std::string>> names = {
        {10, "btl_slash"},  // '_' in fourth place, as "fld_" has
        {11, "xxxx"},       // nothing in common
        {12, "f"},          // first place only; shorter than the prefix
        {13, "abc"},        // short and nothing in common
        {14, ""},           // empty
        {15, "FLD_RUN"},    // '_' again; case counts
        {16, "aaad"},       // 'd' is in third place of the prefix, fourth here
    };
    for (const auto& [slot, name] : names) m.CreateAnimation(slot, name.c_str());

    c.KeepMotionsWithPrefix("fld_");
    EXPECT_TRUE(m.HasAnimation(0));  // fld_stand
    EXPECT_TRUE(m.HasAnimation(1));  // fld_hit
    EXPECT_TRUE(m.HasAnimation(3));  // btl_stance
    EXPECT_TRUE(m.HasAnimation(10));
    EXPECT_FALSE(m.HasAnimation(11));
    EXPECT_TRUE(m.HasAnimation(12));
    EXPECT_FALSE(m.HasAnimation(13));
    EXPECT_FALSE(m.HasAnimation(14));
    EXPECT_TRUE(m.HasAnimation(15));
    EXPECT_FALSE(m.HasAnimation(16));

    c.KeepMotionsWithPrefix("btl_");
    EXPECT_TRUE(m.HasAnimation(1));
    c.KeepMotionsWithPrefix("zzz");
    EXPECT_FALSE(m.HasAnimation(0));
    EXPECT_FALSE(m.HasAnimation(3));
}

TEST_F(CharacterMotionTest, WorldMatrixScalesThenTurnsThenMoves) {
    c.scale = Vector3{2, 2, 2};
    c.rotation = Vector3{0, 3.14159265f / 2, 0};  // facing +x
    c.position = Vector3{10, 20, 30};
    Matrix44 w;
    c.WorldMatrix(w);
    Vector3 p{1, 0, 0};
    p.Transform(w);
    EXPECT_NEAR(p.x, 10.0f, 1e-4f);
    EXPECT_NEAR(p.y, 20.0f, 1e-4f);
    EXPECT_NEAR(p.z, 28.0f, 1e-4f);
    Vector3 ahead{0, 0, 1};  // a character's front turns to its facing
    ahead.Transform(w);
    EXPECT_NEAR(ahead.x, 12.0f, 1e-4f);
    EXPECT_NEAR(ahead.z, 30.0f, 1e-4f);
}

TEST_F(CharacterMotionTest, EquipmentMeshesComeFromTheWeaponFolderAndAreReleased) {
    c.LoadEquipment(kWeaponSlot, "box");
    ASSERT_TRUE(c.weaponMesh);
    ASSERT_TRUE(c.weaponMesh->mesh);
    const size_t withOne = device->LiveTextureCount();
    ASSERT_GT(withOne, 0u);

    // Equipping the slot again does not keep the first mesh's textures alive.
    c.LoadEquipment(kWeaponSlot, "box");
    EXPECT_EQ(device->LiveTextureCount(), withOne);
    c.LoadEquipment(kGuardSlot, "box");
    EXPECT_EQ(device->LiveTextureCount(), 2 * withOne);
    c.LoadEquipment(2, "box");  // no such slot
    EXPECT_EQ(device->LiveTextureCount(), 2 * withOne);

    // A missing mesh still gives the slot an (empty) holder.
    c.LoadEquipment(kGuardSlot, "nothing");
    ASSERT_TRUE(c.guardMesh);
    EXPECT_FALSE(c.guardMesh->mesh);

    // Release empties the model and the meshes; the holders stay until ReleaseEquipment.
    c.Release();
    EXPECT_EQ(c.model.BoneCount(), 1);
    EXPECT_EQ(c.weaponBone, nullptr);
    ASSERT_TRUE(c.weaponMesh);
    EXPECT_FALSE(c.weaponMesh->mesh);
    EXPECT_EQ(device->LiveTextureCount(), 0u);
    c.ReleaseEquipment(kWeaponSlot);
    c.ReleaseEquipment(kGuardSlot);
    c.ReleaseEquipment(kGuardSlot);
    EXPECT_FALSE(c.weaponMesh);
    EXPECT_FALSE(c.guardMesh);

    // A free slot keeps its model on Release.
    Character& idle = g_Characters[1];
    BuildModel(idle.model, {"body"}, {});
    idle.Release();
    EXPECT_EQ(idle.model.BoneCount(), 2);
}

}  // namespace

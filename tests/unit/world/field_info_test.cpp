#include <cstring>
#include <filesystem>
#include <tuple>

#include "field_world_test.h"
#include "gfx/texture.h"
#include "gfx/x_mesh_holder.h"

namespace {

using FieldInfoTest = FieldWorldTest;

uint32_t SlotWidth(int slot) {
    return g_TextureSlots[slot].texture ? g_TextureSlots[slot].texture->Width() : 0;
}

}  // namespace

TEST_F(FieldInfoTest, TheFixtureFieldFillsGridsTablesAndTexturesInFileOrder) {
    Load("meadow");
    EXPECT_STREQ(g_FieldName, "meadow");
    QFldInfo& f = Field();
    EXPECT_EQ(g_pGameState->groundLighting, 1);
    // Sky images 0-5 go to slots 1-6; billboard 0's picture then takes slot 6 (tex\Tree.BMP,
    // 8 wide, not sky0_5, 16 wide).
    EXPECT_EQ(std::tuple(SlotWidth(1), SlotWidth(6)), std::tuple(1u, 8u));
    // Ground names are resolved without regard to case; the second is Shift-JIS.
    ASSERT_TRUE(f.groundTexture[0] && f.groundTexture[1]);
    EXPECT_EQ(std::tuple(f.groundTexture[0]->Width(), f.groundTexture[1]->Width()),
              std::tuple(4u, 2u));
    EXPECT_EQ(f.groundTexture[2], nullptr);

    // Rows come one after the other: the 33rd height is corner (0, 1); values wrap to 16 bits.
    EXPECT_EQ(std::tuple(f.height[0][1], f.height[5][5], f.height[6][5]),
              std::tuple(1000, 70000 - 65536, 32767));
    EXPECT_EQ(f.CellObjectAt(7, 7), 9);
    EXPECT_EQ(f.cellFlags[1][1], 0x41);  // 256 + 0x41 cut to 8 bits
    EXPECT_EQ(f.cellFlags[4][4], 0x80);  // object 12 does not exist: dropped, split kept
    EXPECT_EQ(f.CellObjectAt(4, 4), -1);
    EXPECT_EQ(f.GroundTextureAt(2, 0), nullptr);
    EXPECT_EQ(f.GroundTextureAt(3, 0), f.groundTexture[1]);  // 257 -> 1

    const Billboard& b0 = g_Billboards[0];
    EXPECT_EQ(b0.image, &g_TextureSlots[6]);
    EXPECT_EQ(b0.alpha, 300);  // kept whole; only its low byte reaches the screen
    EXPECT_EQ(g_Billboards[1].image, &g_TextureSlots[7]);  // off: keeps the game-start slot
    EXPECT_EQ(g_Billboards[2].image, &g_TextureSlots[1]);  // 99 overflows
    EXPECT_EQ(g_Billboards[3].image, &g_TextureSlots[63]);
    ASSERT_EQ(g_MessageBoxLog.size(), 1u);
    EXPECT_EQ(g_MessageBoxLog[0].text, "溢れとりまんがな！！");

    ASSERT_TRUE(g_FieldLights[0]);
    EXPECT_EQ(g_FieldLights[0]->range, 1000.0f);
    EXPECT_TRUE(device->State().lightEnabled[1]);
    ASSERT_TRUE(g_FieldMeshes[0]->mesh);
    EXPECT_NE(g_FieldMeshes[0]->textures[0], nullptr);
    EXPECT_FALSE(g_FieldMeshes[1]->mesh);
    // A mesh that loads is shown by its object; one that does not leaves the object as it was.
    EXPECT_EQ(g_FieldObjects[0].mesh, g_FieldMeshes[0].get());
    EXPECT_EQ(g_FieldObjects[1].mesh, nullptr);
    EXPECT_EQ(f.cameraSlope[3].distanceRate, 0.75f);
}

TEST_F(FieldInfoTest, LoadingTheSameFieldAgainGivesTheSameStateButFlagZeroImagesStay) {
    Load("meadow");
    const uint32_t textures = device->LiveTextureCount();
    QFldInfo first;
    std::memcpy(first.height, Field().height, sizeof first.height);
    std::memcpy(first.cellFlags, Field().cellFlags, sizeof first.cellFlags);
    g_Billboards[1].image = &g_TextureSlots[40];  // as a script might have set it

    Load("meadow");
    EXPECT_EQ(std::memcmp(first.height, Field().height, sizeof first.height), 0);
    EXPECT_EQ(std::memcmp(first.cellFlags, Field().cellFlags, sizeof first.cellFlags), 0);
    EXPECT_EQ(g_Billboards[0].image, &g_TextureSlots[6]);
    EXPECT_EQ(g_Billboards[1].image, &g_TextureSlots[40]);
    EXPECT_EQ(device->LiveTextureCount(), textures);  // every texture was replaced, none leaked
}

TEST_F(FieldInfoTest, ACommaRightBehindTheSkyNameBecomesPartOfTheImageNames) {
    std::filesystem::copy(dir + "/tex/sky0_5.bmp", dir + "/tex/sky,2.bmp");
    FieldText t;
    t.sky = "sky,";
    WriteField("comma", t.Text());
    Load("comma");
    EXPECT_EQ(SlotWidth(3), 16u);
    EXPECT_TRUE(g_MessageBoxLog.empty());
}

TEST_F(FieldInfoTest, IndexesFromTheFileNeverReachPastATable) {
    FieldText t;
    t.grids[1][0] = 63;    // object 63 of 10
    t.grids[1][1] = 0xFF;  // blocked, split, object 63
    t.grids[2][0] = 255;   // ground image 255 of 32
    t.billboards[0] = "1,-6,0,0,0,1,1,0,0,0,0,none.bmp";
    t.billboards[1] = "1,-7,0,0,0,1,1,0,0,0,0,none.bmp";
    t.billboards[2] = "1,58,0,0,0,1,1,0,0,0,0,none.bmp";
    t.lights[4] = "0,1,5,5,5,1,1,1,10,";
    DeleteFieldLight(4);
    WriteField("edges", t.Text());
    Load("edges");
    EXPECT_EQ(std::tuple(Field().cellFlags[0][0], Field().cellFlags[1][0]), std::tuple(0, 0xC0));
    EXPECT_EQ(Field().GroundTextureAt(0, 0), nullptr);
    EXPECT_EQ(Field().CellObjectAt(31, 31), -1);
    EXPECT_EQ(std::tuple(g_Billboards[0].image, g_Billboards[1].image, g_Billboards[2].image),
              std::tuple(&g_TextureSlots[0], &g_TextureSlots[1], &g_TextureSlots[1]));
    EXPECT_EQ(g_MessageBoxLog.size(), 2u);
    // An empty light slot stays empty, but its device light follows the record.
    EXPECT_FALSE(g_FieldLights[4]);
    EXPECT_TRUE(device->State().lightEnabled[5]);
}

TEST_F(FieldInfoTest, AMissingFileIsReportedWithItsPathAndChangesNothingElse) {
    Load("meadow");
    g_MessageBoxLog.clear();
    Load("absent");
    EXPECT_STREQ(g_FieldName, "absent");
    ASSERT_EQ(g_MessageBoxLog.size(), 1u);
    EXPECT_EQ(g_MessageBoxLog[0].text, "QFldInfo::load:error!!!!\n" + FieldPath("absent"));
    EXPECT_EQ(Field().height[0][1], 1000);
    EXPECT_EQ(g_pGameState->groundLighting, 1);
}

TEST_F(FieldInfoTest, AShortFileStopsAtTheFirstMissingValueReportsOnceAndKeepsWhatCameBefore) {
    Load("meadow");
    FieldText t;
    for (int k = 0; k < 1024; ++k) t.grids[0][k] = -k;
    const std::string text = t.Text();
    // Cut inside the 101st height.
    size_t cut = text.find("-100,");
    WriteField("short", text.substr(0, cut + 2));
    g_MessageBoxLog.clear();
    Load("short");
    ASSERT_EQ(g_MessageBoxLog.size(), 1u);
    EXPECT_EQ(g_MessageBoxLog[0].text,
              "QFldInfo::load:error!!!!\n" + FieldPath("short") + "\n高さの 102 番目が読めません");
    EXPECT_EQ(Field().height[3][3], -99);
    EXPECT_EQ(Field().height[4][3], -1);    // "-1" of "-100" was still a number
    EXPECT_EQ(Field().height[5][3], 3050);  // the meadow's, untouched

    // Wherever the file ends before its last value, there is exactly one report.
    for (size_t at = 0; at + 3 <= text.size(); at += 509) {
        WriteField("short", text.substr(0, at));
        g_MessageBoxLog.clear();
        Load("short");
        EXPECT_EQ(g_MessageBoxLog.size(), 1u) << "cut at " << at;
    }
    WriteField("short", text.substr(0, text.size() - 2));  // only the last comma is missing
    g_MessageBoxLog.clear();
    Load("short");
    EXPECT_TRUE(g_MessageBoxLog.empty());
}

TEST_F(FieldInfoTest, ScriptOperationsOnLightsAndObjectsStayInsideTheirTables) {
    DeleteFieldLight(3);
    EXPECT_FALSE(device->State().lightEnabled[4]);
    CreateFieldLight(3);
    EXPECT_TRUE(device->State().lightEnabled[4]);
    CreateFieldLight(20);  // numbers past the tables change nothing
    DeleteFieldLight(-1);
    ResetFieldObject(10);
    ClearFieldObject(-1);
    EXPECT_FALSE(device->State().lightEnabled[21]);
    g_FieldMeshes[0]->load("box", "Q3D\\");
    g_FieldObjects[0].mesh = g_FieldMeshes[0].get();
    ClearFieldObject(0);  // stops drawing and frees the mesh
    EXPECT_EQ(g_FieldObjects[0].kind, 0);
    EXPECT_FALSE(g_FieldMeshes[0]->mesh);
}

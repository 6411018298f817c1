#include "field/field_frame.h"
#include "scene_test_util.h"

namespace {

class SceneGroundTest : public SceneTest {
protected:
    QFldInfo& F() { return Field(); }
    // The ground quad drawn for cell (x, row), found by its world translation.
    const RecordedDraw* QuadAt(int x, int row) const {
        for (const auto& d : Draws())
            if (d.state.fvf == kFvfWorldVertex && Where(d.state.world).x == x * 1024.0f &&
                Where(d.state.world).z == -row * 1024.0f)
                return &d;
        return nullptr;
    }
    std::vector<const RecordedDraw*> Meshes() const {
        std::vector<const RecordedDraw*> out;
        for (const auto& d : Draws())
            if (d.state.fvf == kFvfLitVertex) out.push_back(&d);
        return out;
    }
};

}  // namespace

TEST_F(SceneGroundTest, QuadCornersTakeTheirHeightsAndSplitDiagonals) {
    F().height[3][4] = 10;  // A
    F().height[4][4] = 20;  // B
    F().height[3][5] = 30;  // C
    F().height[4][5] = 40;  // D
    F().cellFlags[7][2] = kCellSplitOther;
    F().height[7][2] = 50;  // A of the split cell
    DrawGround(F(), 1);
    const auto* plain = QuadAt(3, 4);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->call.type, PrimitiveType::TriangleStrip);
    EXPECT_EQ(plain->state.Rs(RenderState::CullMode), uint32_t(Cull::CounterClockwise));
    // A, B, C, D: split along B-C, the diagonal walking uses; u runs along -z, v along x.
    const float want[4][5] = {
        {0, 10, 0, 0, 0}, {1024, 20, 0, 0, 1}, {0, 30, -1024, 1, 0}, {1024, 40, -1024, 1, 1}};
    for (int i = 0; i < 4; ++i) {
        const WorldVertex& v = Wv(*plain, i);
        EXPECT_EQ((std::vector<float>{v.x, v.y, v.z, v.u, v.v}),
                  (std::vector<float>(want[i], want[i] + 5)))
            << i;
    }
    // C, D, A, B under clockwise culling: the shared edge is D-A.
    const auto* split = QuadAt(7, 2);
    ASSERT_NE(split, nullptr);
    EXPECT_EQ(split->state.Rs(RenderState::CullMode), uint32_t(Cull::Clockwise));
    auto at = [&](int i) { return Vector3{Wv(*split, i).x, Wv(*split, i).y, Wv(*split, i).z}; };
    EXPECT_TRUE(Near(at(0), 0, 0, -1024.0f, 0));
    EXPECT_TRUE(Near(at(2), 0, 50.0f, 0, 0));
    EXPECT_TRUE(Near(at(3), 1024.0f, 0, 0, 0));
}

TEST_F(SceneGroundTest, HiddenCellsKeepTheirObjectsAtTheFarCornersHeight) {
    GiveMesh(2);
    g_FieldObjects[2].rotation.y = 0.0f;
    g_FieldObjects[2].scale = Vector3{2, 2, 2};
    F().cellEvent[5][6] = 0x80;
    F().cellFlags[5][6] = 3;  // object 2
    F().height[6][7] = 300;   // far corner (x + 1, row + 1)
    F().height[5][6] = -999;
    F().cellEvent[9][9] = 0x7F;  // a trigger without bit 7 keeps its ground
    DrawGround(F(), 0);
    EXPECT_EQ(Draws().size(), 5u + 960u + 1u);
    EXPECT_EQ(QuadAt(5, 6), nullptr);
    EXPECT_NE(QuadAt(9, 9), nullptr);
    ASSERT_EQ(Meshes().size(), 1u);
    const Matrix44& w = Meshes()[0]->state.world;
    EXPECT_TRUE(Near(Where(w), 5 * 1024.0f + 512.0f, 300.0f, -6 * 1024.0f - 512.0f, 0));
    EXPECT_FLOAT_EQ(w.m[1][1], 2.0f);
}

TEST_F(SceneGroundTest, NumbersPastTheTablesDrawNothingExtra) {
    GfxTexture* grass = nullptr;
    ASSERT_EQ(device->CreateTexture(1, 1, 1, 0, PixelFormat::A8R8G8B8, Pool::Managed, &grass), kOk);
    F().groundTexture[0] = grass;  // released with the field
    F().groundImage[2][2] = 200;   // past the field's 32 images: untextured
    GiveMesh(0);
    F().cellFlags[1][1] = 11;  // past the ten objects
    F().cellFlags[2][2] = 0x3F;
    F().cellFlags[3][3] = 2;  // object 1 has no mesh
    g_pGameState->groundLighting = 1;
    DrawGround();
    EXPECT_EQ(QuadAt(1, 1)->state.texture, grass);
    EXPECT_EQ(QuadAt(2, 2)->state.texture, nullptr);
    EXPECT_TRUE(Meshes().empty());
    EXPECT_TRUE(g_MessageBoxLog.empty());
}

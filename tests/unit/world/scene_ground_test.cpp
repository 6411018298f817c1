#include "scene_test_util.h"

namespace {

class SceneGroundTest : public SceneTest {
protected:
    // The field state the ground pass reads.
    QFldInfo& F() { return Field(); }
    void Draw(int32_t lighting = 0) { DrawGround(F(), lighting); }
    // Ground quads are the world-vertex strips.
    std::vector<const RecordedDraw*> Quads() const { return DrawsOf(kFvfWorldVertex); }
    std::vector<const RecordedDraw*> Meshes() const { return DrawsOf(kFvfLitVertex); }
    // The quad drawn for cell (x, row), found by its world translation.
    const RecordedDraw* QuadAt(int x, int row) const {
        for (const auto* d : Quads()) {
            Vector3 p = Where(d->state.world);
            if (p.x == x * 1024.0f && p.z == -row * 1024.0f) return d;
        }
        return nullptr;
    }
};

}  // namespace

TEST_F(SceneGroundTest, SkyComesFirstWithoutDepthAroundTheEye) {
    PlaceCamera(Vector3{5000, 700, -3000}, Vector3{5000, 700, -9000});
    Draw();
    ASSERT_EQ(Draws().size(), 5u + 961u);
    for (int f = 0; f < 5; ++f) {
        const auto& d = Draws()[f];
        EXPECT_EQ(d.state.fvf, kFvfSkyVertex);
        EXPECT_EQ(d.state.Rs(RenderState::ZEnable), 0u);
        EXPECT_EQ(d.state.Rs(RenderState::Lighting), 0u);
        EXPECT_EQ(d.call.type, PrimitiveType::TriangleList);
        EXPECT_EQ(d.call.primitiveCount, 2u);
        EXPECT_EQ(d.call.stride, 24u);
        EXPECT_EQ(d.indices, (std::vector<uint16_t>{0, 1, 2, 2, 3, 0}));
        Vector3 at = Where(d.state.world);
        EXPECT_EQ(at.x, 5000.0f);
        EXPECT_EQ(at.y, 700.0f);
        EXPECT_EQ(at.z, -3000.0f);
    }
    // Everything after the sky is depth tested.
    for (size_t i = 5; i < Draws().size(); ++i)
        ASSERT_EQ(Draws()[i].state.Rs(RenderState::ZEnable), 1u) << i;
    EXPECT_EQ(device->GetRenderState(RenderState::ZEnable), 1u);
}

TEST_F(SceneGroundTest, SkyFacesFaceTheEyeFromInsideWithTheirSlots) {
    GfxTexture* fake[6] = {};
    for (int s = 1; s <= 5; ++s) {
        ASSERT_EQ(device->CreateTexture(1, 1, 1, 0, PixelFormat::A8R8G8B8, Pool::Managed, &fake[s]),
                  kOk);
        g_TextureSlots[s].texture = fake[s];
    }
    DrawSky();
    ASSERT_EQ(Draws().size(), 5u);
    for (int f = 0; f < 5; ++f) {
        const auto& d = Draws()[f];
        EXPECT_EQ(d.state.texture, fake[f + 1]);
        // Front faces are clockwise: (b - a) x (c - a) points at the eye in the cube's middle.
        const auto& v = [&](int i) { return backend.Vertex<SkyVertex>(d, i); };
        Vector3 a{v(0).x, v(0).y, v(0).z}, b{v(1).x, v(1).y, v(1).z}, c{v(2).x, v(2).y, v(2).z};
        Vector3 ab = b, ac = c, n;
        ab.Sub(a);
        ac.Sub(a);
        Cross(n, ab, ac);
        EXPECT_LT(Dot(n, a), 0.0f) << "face " << f;
        EXPECT_EQ(d.state.Rs(RenderState::CullMode), uint32_t(Cull::CounterClockwise));
    }
    // The top face is drawn first and the bottom is open.
    EXPECT_EQ(backend.Vertex<SkyVertex>(Draws()[0], 0).y, 256.0f);
    for (int s = 1; s <= 5; ++s) {
        fake[s]->Release();
        g_TextureSlots[s].texture = nullptr;
    }
}

TEST_F(SceneGroundTest, QuadCornersTakeTheirHeightsAndSplitDiagonals) {
    F().height[3][4] = 10;  // A
    F().height[4][4] = 20;  // B
    F().height[3][5] = 30;  // C
    F().height[4][5] = 40;  // D
    F().height[7][2] = 50;  // A of cell (7, 2), split the other way
    F().cellFlags[7][2] = kCellSplitOther;
    Draw(1);
    const auto* plain = QuadAt(3, 4);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->call.type, PrimitiveType::TriangleStrip);
    EXPECT_EQ(plain->call.primitiveCount, 2u);
    EXPECT_EQ(plain->state.Rs(RenderState::CullMode), uint32_t(Cull::CounterClockwise));
    EXPECT_EQ(plain->state.Rs(RenderState::Lighting), 1u);
    EXPECT_EQ(plain->state.Tss(TextureStageState::AddressU), uint32_t(TextureAddress::Wrap));
    // A, B, C, D: split along B-C, the diagonal walking uses; u runs along -z, v along x.
    const float want[4][5] = {
        {0, 10, 0, 0, 0}, {1024, 20, 0, 0, 1}, {0, 30, -1024, 1, 0}, {1024, 40, -1024, 1, 1}};
    for (int i = 0; i < 4; ++i) {
        const WorldVertex& v = Wv(*plain, i);
        EXPECT_EQ(v.x, want[i][0]);
        EXPECT_EQ(v.y, want[i][1]);
        EXPECT_EQ(v.z, want[i][2]);
        EXPECT_EQ(v.u, want[i][3]);
        EXPECT_EQ(v.v, want[i][4]);
        EXPECT_EQ(v.diffuse, 0xFFFFFFFFu);
    }
    const auto* split = QuadAt(7, 2);
    ASSERT_NE(split, nullptr);
    EXPECT_EQ(split->state.Rs(RenderState::CullMode), uint32_t(Cull::Clockwise));
    // C, D, A, B: the shared edge of the two triangles is D-A.
    EXPECT_EQ(Wv(*split, 0).z, -1024.0f);
    EXPECT_EQ(Wv(*split, 0).x, 0.0f);
    EXPECT_EQ(Wv(*split, 1).x, 1024.0f);
    EXPECT_EQ(Wv(*split, 2).y, 50.0f);
    EXPECT_EQ(Wv(*split, 3).x, 1024.0f);
    EXPECT_EQ(Wv(*split, 3).z, 0.0f);
}

TEST_F(SceneGroundTest, HiddenCellsKeepTheirObjectsAtTheFarCornersHeight) {
    GiveMesh(2);
    g_FieldObjects[2].rotation.y = 0.0f;
    g_FieldObjects[2].scale = Vector3{2, 2, 2};
    F().cellEvent[5][6] = 0x80;
    F().cellFlags[5][6] = 3;     // object 2
    F().height[6][7] = 300;      // far corner (x + 1, row + 1)
    F().height[5][6] = -999;     // the near corner does not count
    F().cellEvent[9][9] = 0x7F;  // a trigger without bit 7 keeps its ground
    Draw();
    EXPECT_EQ(Quads().size(), 960u);
    EXPECT_EQ(QuadAt(5, 6), nullptr);
    EXPECT_NE(QuadAt(9, 9), nullptr);
    ASSERT_EQ(Meshes().size(), 1u);
    const auto& m = *Meshes()[0];
    Vector3 at = Where(m.state.world);
    EXPECT_EQ(at.x, 5 * 1024.0f + 512.0f);
    EXPECT_EQ(at.y, 300.0f);
    EXPECT_EQ(at.z, -6 * 1024.0f - 512.0f);
    EXPECT_FLOAT_EQ(m.state.world.m[1][1], 2.0f);
    EXPECT_EQ(m.state.Tss(TextureStageState::MinFilter), uint32_t(TextureFilter::Linear));
}

TEST_F(SceneGroundTest, NumbersPastTheTablesDrawNothingExtra) {
    GfxTexture* grass = nullptr;
    ASSERT_EQ(device->CreateTexture(1, 1, 1, 0, PixelFormat::A8R8G8B8, Pool::Managed, &grass), kOk);
    F().groundTexture[0] = grass;  // released by the field
    F().groundImage[1][1] = 0;
    F().groundImage[2][2] = 200;  // past the field's 32 images: untextured
    F().groundImage[3][3] = 31;   // an empty entry
    GiveMesh(0);
    F().cellFlags[1][1] = 11;  // past the ten objects
    F().cellFlags[2][2] = 0x3F;
    F().cellFlags[3][3] = 2;  // object 1 has no mesh
    Draw();
    EXPECT_EQ(QuadAt(1, 1)->state.texture, grass);
    EXPECT_EQ(QuadAt(2, 2)->state.texture, nullptr);
    EXPECT_EQ(QuadAt(3, 3)->state.texture, nullptr);
    EXPECT_TRUE(Meshes().empty());
    EXPECT_TRUE(g_MessageBoxLog.empty());
}

TEST_F(SceneGroundTest, WithoutAGameStateOnlyTheSkyIsDrawn) {
    GameState* saved = g_pGameState;
    g_pGameState = nullptr;
    DrawGround();
    g_pGameState = saved;
    EXPECT_EQ(Draws().size(), 5u);
    backend.draws.clear();
    g_pGameState->groundLighting = 1;
    DrawGround();
    EXPECT_EQ(Draws().size(), 966u);
    EXPECT_EQ(Draws().back().state.Rs(RenderState::Lighting), 1u);
}

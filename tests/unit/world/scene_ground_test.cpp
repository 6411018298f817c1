#include "field/field_frame.h"
#include "scene_test_util.h"

namespace {

class SceneGroundTest : public SceneTest {
protected:
    QFldInfo& F() { return Field(); }
    // The ground's draws: world vertices from a static buffer.
    std::vector<const RecordedDraw*> GroundDraws() const {
        std::vector<const RecordedDraw*> out;
        for (const auto& d : Draws())
            if (d.state.fvf == kFvfWorldVertex && d.call.buffer) out.push_back(&d);
        return out;
    }
    std::vector<const RecordedDraw*> Meshes() const {
        std::vector<const RecordedDraw*> out;
        for (const auto& d : Draws())
            if (d.state.fvf == kFvfLitVertex) out.push_back(&d);
        return out;
    }
    struct Triangle {
        const RecordedDraw* draw;
        WorldVertex v[3];
    };
    // The ground triangles whose middle lies in cell (x, row).
    std::vector<Triangle> CellTriangles(int x, int row) const {
        std::vector<Triangle> out;
        for (const RecordedDraw* d : GroundDraws()) {
            for (size_t i = 0; i + 2 < d->indices.size(); i += 3) {
                Triangle t{d, {}};
                float mx = 0, mz = 0;
                for (int k = 0; k < 3; ++k) {
                    t.v[k] = Wv(*d, d->indices[i + k]);
                    mx += t.v[k].x / 3;
                    mz += t.v[k].z / 3;
                }
                if (int(mx / 1024) == x && int(-mz / 1024) == row) out.push_back(t);
            }
        }
        return out;
    }
    // Seen from above: +1 clockwise (a front face under counter-clockwise culling), -1 not.
    static int Winding(const Triangle& t) {
        const float ax = t.v[1].x - t.v[0].x, az = t.v[1].z - t.v[0].z;
        const float bx = t.v[2].x - t.v[0].x, bz = t.v[2].z - t.v[0].z;
        return ax * bz - az * bx < 0 ? 1 : -1;
    }
};

std::vector<float> Corner(const WorldVertex& v) {
    return {v.x, v.y, v.z, v.u, v.v};
}

}  // namespace

TEST_F(SceneGroundTest, QuadCornersTakeTheirHeightsAndSplitDiagonals) {
    F().height[3][4] = 10;  // A
    F().height[4][4] = 20;  // B
    F().height[3][5] = 30;  // C
    F().height[4][5] = 40;  // D
    F().cellFlags[7][2] = kCellSplitOther;
    F().height[7][2] = 50;  // A of the split cell
    DrawGround(F(), 1);
    // One draw for the one (missing) texture, in field coordinates under one culling mode.
    ASSERT_EQ(GroundDraws().size(), 1u);
    const RecordedDraw& ground = *GroundDraws()[0];
    EXPECT_EQ(ground.call.type, PrimitiveType::TriangleList);
    EXPECT_EQ(ground.call.primitiveCount, 961u * 2u);
    EXPECT_EQ(ground.state.Rs(RenderState::CullMode), uint32_t(Cull::CounterClockwise));
    EXPECT_EQ(ground.state.Rs(RenderState::Lighting), 1u);
    EXPECT_TRUE(Near(Where(ground.state.world), 0, 0, 0, 0));

    // A B C and B D C: split along B-C, the diagonal walking uses; u runs along -z, v along x.
    const std::vector<float> a{3072, 10, -4096, 0, 0}, b{4096, 20, -4096, 0, 1},
        c{3072, 30, -5120, 1, 0}, d{4096, 40, -5120, 1, 1};
    const auto plain = CellTriangles(3, 4);
    ASSERT_EQ(plain.size(), 2u);
    EXPECT_EQ((std::vector{Corner(plain[0].v[0]), Corner(plain[0].v[1]), Corner(plain[0].v[2])}),
              (std::vector{a, b, c}));
    EXPECT_EQ((std::vector{Corner(plain[1].v[0]), Corner(plain[1].v[1]), Corner(plain[1].v[2])}),
              (std::vector{b, d, c}));
    // The split cell shares D-A instead (C A D, D A B), and faces up like every other cell.
    const auto split = CellTriangles(7, 2);
    ASSERT_EQ(split.size(), 2u);
    auto at = [&](int t, int k) {
        return Vector3{split[t].v[k].x, split[t].v[k].y, split[t].v[k].z};
    };
    EXPECT_TRUE(Near(at(0, 0), 7168, 0, -3072, 0));
    EXPECT_TRUE(Near(at(0, 1), 7168, 50, -2048, 0));
    EXPECT_TRUE(Near(at(0, 2), 8192, 0, -3072, 0));
    EXPECT_TRUE(Near(at(1, 2), 8192, 0, -2048, 0));
    for (const auto& t : {plain[0], plain[1], split[0], split[1]}) EXPECT_EQ(Winding(t), 1);
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
    EXPECT_EQ(Draws().size(), 5u + 1u + 1u);
    EXPECT_EQ(GroundDraws()[0]->call.primitiveCount, 960u * 2u);
    EXPECT_TRUE(CellTriangles(5, 6).empty());
    EXPECT_EQ(CellTriangles(9, 9).size(), 2u);
    ASSERT_EQ(Meshes().size(), 1u);
    const Matrix44& w = Meshes()[0]->state.world;
    EXPECT_TRUE(Near(Where(w), 5 * 1024.0f + 512.0f, 300.0f, -6 * 1024.0f - 512.0f, 0));
    EXPECT_FLOAT_EQ(w.m[1][1], 2.0f);
}

TEST_F(SceneGroundTest, OneDrawPerTextureInTheOrderTheTexturesFirstAppear) {
    GfxTexture* grass = nullptr;
    ASSERT_EQ(device->CreateTexture(1, 1, 1, 0, PixelFormat::A8R8G8B8, Pool::Managed, &grass), kOk);
    F().groundTexture[0] = grass;  // released with the field
    F().groundImage[2][2] = 200;   // past the field's 32 images: untextured
    F().groundImage[5][0] = 200;
    GiveMesh(0);
    F().cellFlags[1][1] = 11;  // past the ten objects
    F().cellFlags[2][2] = 0x3F;
    F().cellFlags[3][3] = 2;  // object 1 has no mesh
    g_pGameState->groundLighting = 1;
    DrawGround();
    ASSERT_EQ(GroundDraws().size(), 2u);
    EXPECT_EQ(GroundDraws()[0]->state.texture, grass);
    EXPECT_EQ(GroundDraws()[0]->call.primitiveCount, 959u * 2u);
    EXPECT_EQ(GroundDraws()[1]->state.texture, nullptr);
    EXPECT_EQ(CellTriangles(2, 2)[0].draw, GroundDraws()[1]);
    EXPECT_TRUE(Meshes().empty());
    EXPECT_TRUE(g_MessageBoxLog.empty());
}

TEST_F(SceneGroundTest, ObjectsAndTheDeviceSeeTheStatesOfQuadsDrawnOneByOne) {
    GfxTexture* stone = nullptr;
    ASSERT_EQ(device->CreateTexture(1, 1, 1, 0, PixelFormat::A8R8G8B8, Pool::Managed, &stone), kOk);
    F().groundTexture[3] = stone;
    // Object 0 stands in the first cell, which shows no ground: drawn before any quad, under
    // the sky's states. Object 1 comes later, under the ground's.
    GiveMesh(0);
    GiveMesh(1);
    F().cellEvent[0][0] = kCellNoGround;
    F().cellFlags[0][0] = 1;
    F().cellFlags[20][20] = 2;
    F().cellFlags[30][30] = kCellSplitOther;
    F().groundImage[30][30] = 3;
    DrawGround(F(), 1);
    ASSERT_EQ(Meshes().size(), 2u);
    EXPECT_LT(Meshes()[0], GroundDraws()[0]);
    EXPECT_EQ(Meshes()[0]->state.Rs(RenderState::ShadeMode), uint32_t(Shade::Flat));
    EXPECT_EQ(Meshes()[0]->state.Rs(RenderState::Lighting), 0u);
    EXPECT_EQ(Meshes()[1]->state.Rs(RenderState::ShadeMode), uint32_t(Shade::Gouraud));
    EXPECT_EQ(Meshes()[1]->state.Rs(RenderState::Lighting), 1u);
    // Left as the last quad, split and stone, left it.
    const DeviceState& s = device->State();
    EXPECT_TRUE(Near(Where(s.world), 30 * 1024.0f, 0, -30 * 1024.0f, 0));
    EXPECT_EQ(s.texture, stone);
    EXPECT_EQ(s.Rs(RenderState::CullMode), uint32_t(Cull::Clockwise));
    EXPECT_EQ(s.fvf, kFvfWorldVertex);
}

TEST_F(SceneGroundTest, TheGroundIsMadeOnceAndAgainOnlyWhenTheFieldChanges) {
    DrawGround(F(), 0);
    DrawGround(F(), 0);
    EXPECT_EQ(backend.bufferUploadCount, 1u);
    F().height[12][3] = 7;
    DrawGround(F(), 0);
    GfxTexture* sand = nullptr;
    ASSERT_EQ(device->CreateTexture(1, 1, 1, 0, PixelFormat::A8R8G8B8, Pool::Managed, &sand), kOk);
    F().groundTexture[0] = sand;
    DrawGround(F(), 0);
    DrawGround(F(), 0);
    EXPECT_EQ(backend.bufferUploadCount, 3u);
    EXPECT_EQ(GroundDraws().back()->state.texture, sand);
}

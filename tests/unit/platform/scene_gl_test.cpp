// The field's billboards drawn by the OpenGL backend and read back (the sky and the ground are
// in every picture of the play-through).
#include <cmath>
#include <utility>

#include "gfx/d3d.h"
#include "gfx/texture_slots.h"
#include "gl_test_support.h"
#include "world/field_tables.h"
#include "world/projection.h"
#include "world/scene_render.h"

namespace {

SceneView g_view;
SceneView ReadView() {
    return g_view;
}

class SceneGlTest : public GlPixelTest {
protected:
    void SetUp() override {
        GlPixelTest::SetUp();
        if (!device) return;
        g_pd3dDevice = device.get();
        SetSceneViewSource(&ReadView);
    }
    void TearDown() override {
        SetSceneViewSource(nullptr);
        for (int s = 1; s <= 5; ++s) g_TextureSlots[s].texture = nullptr;
        for (GfxTexture* t : made_) t->Release();
        g_pd3dDevice = nullptr;
        GlPixelTest::TearDown();
    }

    // A 2 x 2 texture of one colour; released after the test unless handed to a field.
    GfxTexture* Solid(uint32_t argb, bool keep = true) {
        std::vector<uint8_t> bytes;
        for (int i = 0; i < 4; ++i)
            for (int shift : {0, 8, 16, 24}) bytes.push_back(uint8_t(argb >> shift));
        GfxTexture* t = MakeTexture(2, 2, PixelFormat::A8R8G8B8, bytes);
        if (keep && t) made_.push_back(t);
        return t;
    }

    // The game's field camera: left-handed perspective pi/4, 4:3, 192..20000.
    void Look(const Vector3& eye, const Vector3& target) {
        g_view.eye = eye;
        g_view.target = target;
        g_view.view.LookAt(eye, target, Vector3{0, 1, 0});
        g_view.projection = PerspectiveFovLH(0.7853982f, 4.0f / 3.0f, 192.0f, 20000.0f);
        device->SetTransform(TransformType::View, g_view.view);
        device->SetTransform(TransformType::Projection, g_view.projection);
    }

    // Length and middle of the run of `argb` pixels along row y (or column x when vertical).
    std::pair<int, double> Run(uint32_t argb, int at, bool vertical) const {
        int first = -1, last = -1;
        for (int i = 0; i < (vertical ? kTargetHeight : kTargetWidth); ++i)
            if (ColourNear(vertical ? Pixel(at, i) : Pixel(i, at), argb, 3)) {
                if (first < 0) first = i;
                last = i;
            }
        return {first < 0 ? 0 : last - first + 1, (first + last) / 2.0};
    }

private:
    std::vector<GfxTexture*> made_;
};

}  // namespace

TEST_F(SceneGlTest, BillboardFacesTheCamera) {
    device->SetRenderState(RenderState::SrcBlend, Blend::SrcAlpha);
    device->SetRenderState(RenderState::DestBlend, Blend::InvSrcAlpha);
    TextureSlot picture{Solid(0xFFE02020), 64, 64};
    Billboard saved = g_Billboards[0];
    for (Billboard& b : g_Billboards) b.image = nullptr;
    ResetBillboard(g_Billboards[0]);
    g_Billboards[0].image = &picture;  // 64 wide, 64 high, foot at the origin

    // Seen from 45 degrees to the side at the picture's middle height: a flat picture would
    // look narrower than high, a turned-away one would be culled.
    Look(Vector3{1000, 32, 1000}, Vector3{0, 32, 0});
    DrawBillboards();
    Read();
    const auto across = Run(0xFFE02020, 240, false), down = Run(0xFFE02020, 320, true);
    g_Billboards[0] = saved;
    // As wide as high, in the middle, 64 units high at 1414 units' distance.
    EXPECT_NEAR(across.first, down.first, 2);
    EXPECT_NEAR(across.second, 320.0, 1.5);
    EXPECT_NEAR(down.second, 240.0, 1.5);
    EXPECT_NEAR(down.first, 64.0 * (240.0 / std::tan(0.7853982 / 2)) / 1414.2, 2.0);
}

// Per-vertex lighting of the GL backend against the classic formulas, computed here by hand.
#include <cmath>

#include "gl_test_support.h"
#include "platform/gl_lighting.h"

namespace {

class GlLightingTest : public GlPixelTest {
protected:
    void SetUp() override {
        GlPixelTest::SetUp();
        if (!device) return;
        device->SetRenderState(RenderState::Lighting, 1u);
        // An orthographic view of the plane z = 50: x and y stay, depth 0..1 over z 0..100, so
        // the eye direction is (0, 0, -1) everywhere near the centre.
        Matrix44 proj{};
        proj.m[0][0] = proj.m[1][1] = 1;
        proj.m[2][2] = 0.01f;
        proj.m[3][3] = 1;
        device->SetTransform(TransformType::Projection, proj);
        material.diffuse = {1.0f, 0.5f, 0.25f, 1.0f};
        material.ambient = {0.2f, 0.4f, 0.6f, 1.0f};
        device->SetMaterial(material);
    }

    // A triangle facing the eye (normal (0, 0, -1) scaled by `normalScale`), with its three
    // corners on a circle of radius 0.8 around the centre of the screen, at z = 50.
    uint32_t DrawFacingTriangle(float normalScale = 1.0f) {
        const float z = 50, n = -normalScale;
        const TestLitVertex v[3] = {{0.0f, 0.8f, z, 0, 0, n, 0, 0},
                                    {0.6928f, -0.4f, z, 0, 0, n, 0, 0},
                                    {-0.6928f, -0.4f, z, 0, 0, n, 0, 0}};
        return DrawAndRead(kFvfLitVertex, v);
    }
    // One triangle on a cleared target; the colour at the centre of the screen.
    template <class Vertex>
    uint32_t DrawAndRead(uint32_t fvf, const Vertex (&v)[3]) {
        device->Clear(kClearTarget, kClearColour, 1.0f, 0);
        device->SetVertexShader(fvf);
        EXPECT_EQ(device->DrawPrimitiveUP(PrimitiveType::TriangleList, 1, v, sizeof v[0]), kOk);
        Read();
        return Pixel(320, 240);
    }

    // Light `i` of `type`, white unless said otherwise, enabled.
    Light& Use(int i, LightType type, DeviceVector direction, ColorValue diffuse = {1, 1, 1, 1}) {
        light = Light{};
        light.type = type;
        light.direction = direction;
        light.diffuse = diffuse;
        Update(i);
        device->LightEnable(i, true);
        return light;
    }
    void Update(int i) { device->SetLight(i, light); }

    Material material;
    Light light;
};

TEST_F(GlLightingTest, DirectionalLightGivesDiffuseNDotLPlusAmbient) {
    device->SetRenderState(RenderState::Ambient, 0x00202020u);  // 32/255 global ambient
    // 60 degrees off the normal: N.L = 0.5.
    Light& l = Use(0, LightType::Directional, {0, -0.8660254f, 0.5f});
    l.ambient = {0.1f, 0.1f, 0.1f, 1};
    Update(0);
    const double ga = 32.0 / 255.0 + 0.1;
    uint32_t expected = ToArgb(0.2 * ga + 1.0 * 0.5, 0.4 * ga + 0.5 * 0.5, 0.6 * ga + 0.25 * 0.5);
    EXPECT_TRUE(ColourNear(DrawFacingTriangle(), expected, 2));

    // A light behind the surface adds its ambient only.
    l.direction = {0, 0, -1};
    Update(0);
    EXPECT_TRUE(ColourNear(DrawFacingTriangle(), ToArgb(0.2 * ga, 0.4 * ga, 0.6 * ga), 2));

    // Disabled lights take no part; several enabled ones add up (and clamp).
    device->LightEnable(0, false);
    EXPECT_TRUE(ColourNear(DrawFacingTriangle(),
                           ToArgb(0.2 * 32 / 255, 0.4 * 32 / 255, 0.6 * 32 / 255), 2));
    for (int i : {3, 23}) Use(i, LightType::Directional, {0, 0, 1});
    EXPECT_TRUE(ColourNear(DrawFacingTriangle(), ToArgb(1.0, 1.0, 0.5 + 0.6 * 32 / 255), 2));
}

TEST_F(GlLightingTest, NormalsAreScaledUnlessNormalised) {
    Use(0, LightType::Directional, {0, 0, 1}, {0.5f, 0.5f, 0.5f, 1});
    EXPECT_TRUE(ColourNear(DrawFacingTriangle(0.5f), ToArgb(0.25, 0.125, 0.0625), 2));
    device->SetRenderState(RenderState::NormalizeNormals, 1u);
    EXPECT_TRUE(ColourNear(DrawFacingTriangle(0.5f), ToArgb(0.5, 0.25, 0.125), 2));
}

// Light at distance 1 from every corner, 0.6 in front of the plane: N.L = 0.6 everywhere.
TEST_F(GlLightingTest, PointLightAttenuatesAndStopsAtItsRange) {
    Light& l = Use(0, LightType::Point, {});
    l.position = {0, 0, 49.4f};
    l.attenuation0 = l.attenuation1 = 1;
    l.range = 2;
    Update(0);
    const double k = 0.6 / (1 + 1);
    EXPECT_TRUE(ColourNear(DrawFacingTriangle(), ToArgb(1.0 * k, 0.5 * k, 0.25 * k), 2));

    l.range = 0.9f;
    Update(0);
    EXPECT_TRUE(ColourNear(DrawFacingTriangle(), 0xFF000000, 1));

    // A spot aimed at the plane: inside its cone it lights like the point light, outside not.
    l.type = LightType::Spot;
    l.range = 2;
    l.direction = {0, 0, 1};
    l.falloff = 1;
    l.theta = l.phi = 2 * std::acos(0.5f);
    Update(0);
    EXPECT_TRUE(ColourNear(DrawFacingTriangle(), ToArgb(1.0 * k, 0.5 * k, 0.25 * k), 2));
    l.theta = l.phi = 2 * std::acos(0.7f);
    Update(0);
    EXPECT_TRUE(ColourNear(DrawFacingTriangle(), 0xFF000000, 1));
}

// Lights live in world space; the view moves the scene, not the lighting.
TEST_F(GlLightingTest, LightsAndNormalsFollowTheView) {
    Use(0, LightType::Directional, {-1, 0, 0});  // shining along -x, onto surfaces facing +x
    // The view turns the world by 90 degrees about y: world +x faces the eye (view -z).
    Matrix44 view{};
    view.m[0][2] = -1;
    view.m[1][1] = 1;
    view.m[2][0] = 1;
    view.m[3][3] = 1;
    device->SetTransform(TransformType::View, view);
    // World triangle in the plane x = -50 (view z = 50) with normal +x.
    const float x = -50;
    const TestLitVertex v[3] = {{x, 0.8f, 0.0f, 1, 0, 0, 0, 0},
                                {x, -0.4f, 0.6928f, 1, 0, 0, 0, 0},
                                {x, -0.4f, -0.6928f, 1, 0, 0, 0, 0}};
    EXPECT_TRUE(ColourNear(DrawAndRead(kFvfLitVertex, v), ToArgb(1.0, 0.5, 0.25), 2));
}

TEST_F(GlLightingTest, SpecularNeedsItsRenderState) {
    material.diffuse = {0, 0, 0, 1};
    material.ambient = {0, 0, 0, 1};
    material.specular = {0.5f, 0.25f, 0, 1};
    material.power = 10;
    device->SetMaterial(material);
    // Straight at the surface, reflected straight to the eye.
    Light& l = Use(0, LightType::Directional, {0, 0, 1}, {0, 0, 0, 1});
    l.specular = {1, 1, 1, 1};
    Update(0);
    EXPECT_TRUE(ColourNear(DrawFacingTriangle(), 0xFF000000, 1));
    device->SetRenderState(RenderState::SpecularEnable, 1u);
    EXPECT_TRUE(ColourNear(DrawFacingTriangle(), ToArgb(0.5, 0.25, 0), 2));
}

TEST_F(GlLightingTest, MaterialSourcesPickVertexColours) {
    // World vertices have a colour but no normal: lit, they show ambient and emissive only.
    device->SetRenderState(RenderState::Ambient, 0x00808080u);
    material.emissive = {0, 0, 0.25f, 0};
    device->SetMaterial(material);
    Use(0, LightType::Directional, {0, 0, 1});
    auto draw = [this] {
        const TestWorldVertex v[3] = {{0.0f, 0.8f, 50, 0xFF40C080, 0, 0, 0},
                                      {0.6928f, -0.4f, 50, 0xFF40C080, 0, 0, 0},
                                      {-0.6928f, -0.4f, 50, 0xFF40C080, 0, 0, 0}};
        return DrawAndRead(kFvfWorldVertex, v);
    };
    const double half = 128.0 / 255.0;
    // Ambient from the material.
    EXPECT_TRUE(ColourNear(draw(), ToArgb(0.2 * half, 0.4 * half, 0.6 * half + 0.25), 2));
    // Ambient from the vertex's diffuse colour.
    device->SetRenderState(RenderState::AmbientMaterialSource, MaterialSource::Color1);
    uint32_t fromVertex =
        ToArgb(0x40 / 255.0 * half, 0xC0 / 255.0 * half, 0x80 / 255.0 * half + 0.25);
    EXPECT_TRUE(ColourNear(draw(), fromVertex, 2));

    // Lighting off: the vertex colour passes through; a vertex without one is white.
    device->SetRenderState(RenderState::Lighting, 0u);
    EXPECT_EQ(draw(), 0xFF40C080u);
    EXPECT_EQ(DrawFacingTriangle(), 0xFFFFFFFFu);
}

// A draw leaves out only the point and spot lights that end short of its whole box, by a
// margin; a light that reaches a corner, a directional light, or one whose range is not a
// number stays.
TEST(GlLightPacking, LightsThatReachNoVertexAreLeftOut) {
    DeviceState s;
    for (int i = 0; i < 4; ++i) s.view.m[i][i] = 1;
    Matrix44 wv = s.view;
    struct Case {
        LightType type;
        float x, range;
    } cases[] = {{LightType::Point, 1000, 100},     {LightType::Point, 150, 100},
                 {LightType::Directional, 1000, 0}, {LightType::Spot, 1000, 10},
                 {LightType::Point, 1000, NAN},     {LightType::Point, 151, 100}};
    for (int i = 0; i < 6; ++i) {
        s.lightEnabled[i] = true;
        s.lights[i].type = cases[i].type;
        s.lights[i].position = {cases[i].x, 0, 0};
        s.lights[i].range = cases[i].range;
    }
    const float box[2][8] = {{-50, -50, -50, 0, 0, 0, 0, 0}, {50, 50, 50, 0, 0, 0, 0, 0}};
    const PositionBounds bounds = BoundsOf(reinterpret_cast<const uint8_t*>(box), 2, 32);
    ASSERT_TRUE(bounds.valid);
    std::vector<float> out;
    EXPECT_EQ(PackLights(s, out, bounds, wv),
              4);                      // 1, 2, 4 and 5 (a unit short: within the margin)
    EXPECT_EQ(out[3 * 4], 150.0f);     // the first one kept is light 1
    EXPECT_EQ(PackLights(s, out), 6);  // no box: all of them
    wv.m[3][0] = 1000;                 // the box moved onto lights 0, 3 and 4
    EXPECT_EQ(PackLights(s, out, bounds, wv), 4);
    const float far[2][8] = {{-50, 0, 0, 0, 0, 0, 0, 0}, {INFINITY, 0, 0, 0, 0, 0, 0, 0}};
    EXPECT_FALSE(BoundsOf(reinterpret_cast<const uint8_t*>(far), 2, 32).valid);
}

}  // namespace

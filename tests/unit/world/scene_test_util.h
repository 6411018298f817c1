#pragma once
// The scene passes on the recording device, over a field world as game start leaves it, seen
// by a camera the tests place.
#include <cmath>
#include <tuple>
#include <vector>

#include "app/shell.h"
#include "field_world_test.h"
#include "gfx/sprite.h"
#include "math/math_scalar.h"
#include "world/character.h"
#include "world/projection.h"
#include "world/scene_render.h"

using RecordedDraw = struct RecordingBackend::Draw;

inline SceneView& TestView() {
    static SceneView view;
    return view;
}

// The game's field camera: left-handed perspective pi/4, 4:3, 192..20000.
inline void PlaceCamera(const Vector3& eye, const Vector3& target) {
    SceneView& v = TestView();
    v.eye = eye;
    v.target = target;
    v.view.LookAt(eye, target, Vector3{0, 1, 0});
    v.projection = PerspectiveFovLH(0.7853982f, 4.0f / 3.0f, 192.0f, 20000.0f);
}

inline Vector3 Where(const Matrix44& m) {
    return Vector3{m.m[3][0], m.m[3][1], m.m[3][2]};
}

// A point compared coordinate by coordinate.
inline ::testing::AssertionResult Near(const Vector3& v, float x, float y, float z, float tol) {
    if (std::fabs(v.x - x) <= tol && std::fabs(v.y - y) <= tol && std::fabs(v.z - z) <= tol)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << v.x << ", " << v.y << ", " << v.z << ") is not ("
                                         << x << ", " << y << ", " << z << ")";
}

class SceneTest : public FieldWorldTest {
protected:
    void SetUp() override {
        FieldWorldTest::SetUp();
        backend.keep = true;
        ResetCharacters();
        ResetWeaponTrail();
        ResetFieldObjectReports();
        for (FieldObject& o : g_FieldObjects) o.kind = 0;
        for (Billboard& b : g_Billboards) b.image = nullptr;
        PlaceCamera(Vector3{0, 0, 0}, Vector3{0, 0, 1});
        SetSceneViewSource([] { return TestView(); });
        g_FrameTime = 17;
    }
    void TearDown() override {
        SetSceneViewSource(nullptr);
        ResetCharacters();
        ResetWeaponTrail();
        FieldWorldTest::TearDown();
    }

    const std::vector<RecordedDraw>& Draws() const { return backend.draws; }
    const WorldVertex& Wv(const RecordedDraw& d, uint32_t i) const {
        return backend.Vertex<WorldVertex>(d, i);
    }
    // Field object k gets the fixture's box mesh.
    void GiveMesh(int k) {
        g_FieldMeshes[k]->load("box", "Q3D\\");
        ASSERT_TRUE(g_FieldMeshes[k]->mesh);
        g_FieldObjects[k].mesh = g_FieldMeshes[k].get();
    }
};

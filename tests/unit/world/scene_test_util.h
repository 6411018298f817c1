#pragma once
// The scene passes on the recording device: a field world (fixtures, tables as game start
// leaves them), a camera the tests place, free characters, an empty trail.
#include <cmath>
#include <vector>

#include "app/shell.h"
#include "app/sprite.h"
#include "field_world_test.h"
#include "math/math_scalar.h"
#include "world/character.h"
#include "world/scene_render.h"

using RecordedDraw = struct RecordingBackend::Draw;

// The game's field projection: left-handed perspective, fov pi/4, aspect 4/3, 192..20000.
inline Matrix44 FieldPerspective() {
    const float yScale = 1.0f / std::tan(0.7853982f / 2.0f);
    const float zn = 192.0f, zf = 20000.0f;
    Matrix44 p{};
    p.m[0][0] = yScale / (4.0f / 3.0f);
    p.m[1][1] = yScale;
    p.m[2][2] = zf / (zf - zn);
    p.m[2][3] = 1.0f;
    p.m[3][2] = -zn * zf / (zf - zn);
    return p;
}

// The camera the scene sees in these tests.
inline SceneView& TestView() {
    static SceneView view;
    return view;
}
inline SceneView ReadTestView() {
    return TestView();
}

inline void PlaceCamera(const Vector3& eye, const Vector3& target) {
    SceneView& v = TestView();
    v.eye = eye;
    v.target = target;
    v.view.LookAt(eye, target, Vector3{0, 1, 0});
    v.projection = FieldPerspective();
}

class SceneTest : public FieldWorldTest {
protected:
    void SetUp() override {
        FieldWorldTest::SetUp();
        backend.keep = true;
        ResetCharacters();
        ResetWeaponTrail();
        ResetFieldObjectReports();
        for (int i = 0; i < kFieldObjectCount; ++i) g_FieldObjects[i].kind = 0;
        for (Billboard& b : g_Billboards) b.image = nullptr;
        PlaceCamera(Vector3{0, 0, 0}, Vector3{0, 0, 1});
        SetSceneViewSource(&ReadTestView);
        g_FrameTime = 17;
    }
    void TearDown() override {
        SetSceneViewSource(nullptr);
        ResetCharacters();
        ResetWeaponTrail();
        FieldWorldTest::TearDown();
    }

    const std::vector<RecordedDraw>& Draws() const { return backend.draws; }
    // Draws in the given vertex format.
    std::vector<const RecordedDraw*> DrawsOf(uint32_t fvf) const {
        std::vector<const RecordedDraw*> out;
        for (const auto& d : backend.draws)
            if (d.state.fvf == fvf) out.push_back(&d);
        return out;
    }
    const WorldVertex& Wv(const RecordedDraw& d, uint32_t i) const {
        return backend.Vertex<WorldVertex>(d, i);
    }
    // An object standing in the field with the fixture's box mesh.
    void GiveMesh(int k) {
        g_FieldMeshes[k]->load("box", "Q3D\\");
        ASSERT_TRUE(g_FieldMeshes[k]->mesh);
        g_FieldObjects[k].mesh = g_FieldMeshes[k].get();
    }
};

// The world position of the translation row.
inline Vector3 Where(const Matrix44& m) {
    return Vector3{m.m[3][0], m.m[3][1], m.m[3][2]};
}

#include "field_world_test.h"
#include "gfx/x_mesh_holder.h"

namespace {

using FieldTablesTest = FieldWorldTest;

}  // namespace

TEST_F(FieldTablesTest, ScriptOperationsOnLightsObjectsAndBillboards) {
    DeleteFieldLight(3);
    EXPECT_FALSE(g_FieldLights[3]);
    EXPECT_FALSE(device->State().lightEnabled[4]);
    CreateFieldLight(3);
    EXPECT_TRUE(device->State().lightEnabled[4]);
    EXPECT_EQ(device->State().lights[4].position.x, 0.0f);  // fresh defaults
    // Numbers past the tables change nothing.
    CreateFieldLight(20);
    DeleteFieldLight(-1);
    ResetFieldObject(10);
    ClearFieldObject(-1);
    EXPECT_FALSE(device->State().lightEnabled[21]);

    g_FieldMeshes[0]->load("box", "Q3D\\");
    g_FieldObjects[0].mesh = g_FieldMeshes[0].get();
    ClearFieldObject(0);
    EXPECT_EQ(g_FieldObjects[0].kind, 0);
    EXPECT_FALSE(g_FieldMeshes[0]->mesh);
    ClearFieldObject(1);  // no mesh: only stops drawing
    EXPECT_EQ(g_FieldObjects[1].kind, 0);
    ResetFieldObject(0);
    EXPECT_EQ(g_FieldObjects[0].mesh, nullptr);
    EXPECT_EQ(g_FieldObjects[0].rotation.y, 0.0f);
    EXPECT_EQ(g_FieldObjects[0].scale.z, 1.0f);

    Billboard& b = g_Billboards[5];
    b.position.y = 100.0f;
    ResetBillboard(b);
    EXPECT_EQ(b.image, nullptr);
    EXPECT_EQ(b.depthFunc, 4);
    b.position.y = 10.0f;
    b.heightScale = 2.0f;
    LowerBillboard(b);
    EXPECT_EQ(b.position.y, 10.0f - 64.0f);
}

// Field sources: the layered maps and the header end up in the field file where the game's
// loader reads them, and authoring mistakes are named by line.
#include <gtest/gtest.h>

#include <string>

#include "base/message_box.h"
#include "field/game_state.h"
#include "field_source.h"
#include "gfx/texture_slots.h"
#include "test_support.h"
#include "world/field_info.h"
#include "world/field_tables.h"

namespace {

std::string Map(const std::string& layer, const std::vector<std::pair<int, std::string>>& rows,
                const std::string& options = "") {
    std::string s = "map " + layer + (options.empty() ? "" : " " + options) + "\n";
    for (int r = 0; r < kGrid; ++r) {
        std::string row(32, '.');
        for (const auto& [at, text] : rows)
            if (at == r) row = text;
        s += row + "\n";
    }
    return s;
}

class FieldSourceTest : public HeadlessHostTest {
protected:
    void SetUp() override {
        HeadlessHostTest::SetUp();
        StartFieldTables();
    }
    void TearDown() override {
        ReleaseFieldTables();
        HeadlessHostTest::TearDown();
    }

    // Parses the source, writes the field file and loads it with the game's loader.
    bool Load(const std::string& source, QFldInfo& field) {
        FieldSource f;
        Diagnostics diag;
        if (!ParseFieldSource(source, "t.field", f, diag)) {
            for (const auto& m : diag.Messages()) ADD_FAILURE() << m;
            return false;
        }
        written = WriteFieldFile(f);
        return field.loadText(written, "t.qf");
    }

    std::vector<std::string> Errors(const std::string& source) {
        FieldSource f;
        Diagnostics diag;
        EXPECT_FALSE(ParseFieldSource(source, "t.field", f, diag));
        return diag.Messages();
    }

    std::string written;
};

TEST_F(FieldSourceTest, MapsLandInTheGridsTheLoaderFills) {
    std::string src = "lighting 1\nsky sky0_\nground 3 dirt\n";
    src += Map("heights", {{1, "3" + std::string(30, '.') + "~"}}, "step=100 ~=-5");
    src += Map("blocked", {{0, std::string(32, '#')}});
    src += Map("split", {{2, "../" + std::string(29, '.')}});
    src += Map("objects", {{4, ".....9" + std::string(26, '.')}});
    src += Map("ground", {{5, "v" + std::string(31, '.')}});
    src += Map("events", {{6, "0.z" + std::string(29, '.')}});
    src += Map("hidden", {{6, "h" + std::string(31, '.')}});
    src += Map("slope-x", {{7, "f" + std::string(31, '.')}});
    src += Map("slope-z", {{7, "2" + std::string(31, '.')}});
    QFldInfo field;
    ASSERT_TRUE(Load(src, field));
    // The 33rd height of the file is corner (x 0, row 1).
    EXPECT_EQ(field.height[0][1], 300);
    EXPECT_EQ(field.height[31][1], -5);
    EXPECT_EQ(field.height[0][0], 0);
    EXPECT_EQ(field.cellFlags[7][0], kCellBlocked);
    EXPECT_EQ(field.cellFlags[2][2], kCellSplitOther);
    EXPECT_EQ(field.cellFlags[5][4], 10);  // object 9 is stored as 9 + 1
    EXPECT_EQ(field.CellObjectAt(5, 4), 9);
    EXPECT_EQ(field.groundImage[0][5], 31);
    // Place n is stored as n + 1; the hidden mark is bit 7 of the same byte.
    EXPECT_EQ(field.cellEvent[0][6], kCellNoGround | 1);
    EXPECT_EQ(field.cellEvent[2][6], 36);
    EXPECT_EQ(field.cellEvent[1][6], 0);
    EXPECT_EQ(field.cameraSelect[0][7], 0x2F);
    EXPECT_TRUE(g_MessageBoxLog.empty());
}

TEST_F(FieldSourceTest, HeaderReachesBillboardsLightsObjectsAndSlopes) {
    const std::string src =
        "billboard 2 image=5 file=flower.dds cell=3,4 y=10 size=0.5,2 colour=1,2,3,4\n"
        "light 1 at=100,200,-300 colour=0.5,0.25,1 range=1500\n"
        "mesh 3 house kind=4 at=1,2,3 rot=0,90,0 scale=2\n"
        "slope 15 height=0.5 distance=0.25 third=7\n";
    QFldInfo field;
    ASSERT_TRUE(Load(src, field));
    const Billboard& b = g_Billboards[2];
    EXPECT_EQ(b.image, &g_TextureSlots[5 + kBillboardFirstSlot]);
    EXPECT_FLOAT_EQ(b.position.x, 3 * 1024 + 512);
    EXPECT_FLOAT_EQ(b.position.y, 10);
    EXPECT_FLOAT_EQ(b.position.z, -(4 * 1024 + 512));
    EXPECT_FLOAT_EQ(b.heightScale, 2.0f);
    EXPECT_EQ(b.alpha, 4);
    // Billboards left out stay off, far away.
    EXPECT_FLOAT_EQ(g_Billboards[0].position.x, -8192.0f);
    ASSERT_NE(g_FieldLights[1], nullptr);
    EXPECT_FLOAT_EQ(g_FieldLights[1]->range, 1500.0f);
    EXPECT_FLOAT_EQ(g_FieldLights[1]->diffuse.g, 0.25f);
    const FieldObject& o = g_FieldObjects[3];
    EXPECT_EQ(o.kind, 4);
    EXPECT_FLOAT_EQ(o.scale.y, 2.0f);
    EXPECT_NEAR(o.rotation.y, 90 * 0.0174533f, 1e-6);
    EXPECT_EQ(g_FieldObjects[0].kind, 0) << "unused objects draw nothing";
    EXPECT_FLOAT_EQ(field.cameraSlope[15].distanceRate, 0.25f);
    EXPECT_FLOAT_EQ(field.cameraSlope[15].third, 7.0f);
}

TEST_F(FieldSourceTest, SkyNameIsWrittenWithoutAComma) {
    QFldInfo field;
    ASSERT_TRUE(Load("sky dusk_\n", field));
    // A comma behind the name would become part of the image names.
    EXPECT_NE(written.find("\r\ndusk_\r\n"), std::string::npos);
    EXPECT_EQ(written.find("dusk_,"), std::string::npos);
}

TEST_F(FieldSourceTest, MistakesAreNamedByLine) {
    const std::pair<std::string, const char*> cases[] = {
        {Map("blocked", {{3, "###"}}), "t.field:5: a map row has exactly 32 characters"},
        {Map("ground", {{0, "?" + std::string(31, '.')}}), "'?' has no value"},
        // Only ten field objects exist; ground images stop at 31.
        {Map("objects", {{0, "a" + std::string(31, '.')}}), "out of range"},
        {Map("ground", {{0, "w" + std::string(31, '.')}}), "out of range"},
        {Map("heights", {}) + Map("heights", {}), "given twice"},
        {"map heights\n" + std::string(32, '.') + "\n", "t.field:1: map heights ends after 1 rows"},
        {"\nbillboard 24 file=a.dds\n", "t.field:2: billboard wants a number from 0 to 23"},
        {"light 0 colur=1,1,1\n", "t.field:1: unknown option colur"},
        {"skye sky0_\n", "t.field:1: unknown line: skye"},
    };
    for (const auto& [source, message] : cases) {
        const std::vector<std::string> errors = Errors(source);
        ASSERT_FALSE(errors.empty()) << message;
        EXPECT_NE(errors.front().find(message), std::string::npos) << errors.front();
    }
    EXPECT_EQ(Errors("map heights\n" + std::string(32, '.') + "\n").size(), 1u);  // said once
}

}  // namespace

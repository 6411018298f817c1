// Props for the foreign model formats: sound solids, and files the engine's importers read back
// into the same faces.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/message_box.h"
#include "base/paths.h"
#include "foreign_writers.h"
#include "gfx/d3d.h"
#include "gfx/device.h"
#include "gfx/recording_backend.h"
#include "image_codecs.h"
#include "model/importers/import_rok.h"
#include "model/rz_last_error.h"
#include "model/rz_model.h"
#include "prop_expect.h"
#include "prop_recipes.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

const char* const kRecipes[] = {"barrel", "signpost", "boulder", "lantern"};
const char* const kFormats[] = {".rok", ".mqo", ".mx", ".cob"};

PropModel Make(const std::string& recipe, const std::vector<std::string>& options = {}) {
    std::vector<std::string> words = {"model", "x", recipe};
    words.insert(words.end(), options.begin(), options.end());
    Diagnostics diag;
    Options o(words, 3, "test", 1, diag);
    PropModel m;
    EXPECT_TRUE(MakePropModel(recipe, o, m, "test", 1, diag)) << recipe;
    o.CheckUnused();
    EXPECT_TRUE(diag.Ok()) << recipe;
    return m;
}

// The triangles the engine draws of a face: (0, 1, 2) and (0, 2, 3).
template <typename Fn>
void ForEachTriangle(const PropPart& part, Fn fn) {
    for (const PropFace& f : part.faces) {
        const V3 a = part.points[f.index[0]];
        for (int k = 1; k + 1 < f.corners; ++k)
            fn(a, part.points[f.index[k]], part.points[f.index[k + 1]]);
    }
}

TEST(PropRecipes, PartsAreClosedSolidsWithFacesTurnedOutward) {
    for (const char* recipe : kRecipes) {
        const PropModel m = Make(recipe);
        ASSERT_FALSE(m.parts.empty()) << recipe;
        for (const PropPart& part : m.parts) {
            // A closed surface's area vectors cancel out; outward faces enclose a positive volume.
            V3 area{};
            float volume = 0, total = 0;
            ForEachTriangle(part, [&](V3 a, V3 b, V3 c) {
                const V3 n = Cross(b - a, c - a);
                EXPECT_GT(Dot(n, n), 1e-6f) << recipe << " " << part.name << ": a flat triangle";
                area = area + n;
                total += std::sqrt(Dot(n, n));
                volume += Dot(a, Cross(b, c)) / 6;
            });
            EXPECT_LT(std::sqrt(Dot(area, area)), 1e-5f * total) << recipe << " " << part.name;
            EXPECT_GT(volume, 0.0f) << recipe << " " << part.name << " is turned inside out";
            for (const PropFace& f : part.faces)
                for (int c = 0; c < f.corners; ++c) ASSERT_LT(f.index[c], part.points.size());
        }
    }
}

TEST(PropRecipes, PropsStandOnTheGroundAtTheirHeight) {
    const std::pair<const char*, float> natural[] = {
        {"barrel", 190}, {"signpost", 450}, {"boulder", 170}, {"lantern", 480}};
    auto extent = [](const PropModel& m, float& low, float& high) {
        low = 1e9f, high = -1e9f;
        for (const PropPart& part : m.parts)
            for (const V3& p : part.points) low = std::min(low, p.y), high = std::max(high, p.y);
    };
    for (const auto& [recipe, height] : natural) {
        float low, high;
        extent(Make(recipe), low, high);
        EXPECT_FLOAT_EQ(low, 0.0f) << recipe;
        EXPECT_NEAR(high, height, height * 0.15f) << recipe;
        extent(Make(recipe, {"height=" + std::to_string(int(height * 2))}), low, high);
        EXPECT_NEAR(high, 2 * height, height * 0.3f) << recipe;
    }
    // The boulder's shape follows its seed, and only its seed.
    auto first = [](const PropModel& m) { return m.parts[0].points[1].x; };
    EXPECT_EQ(first(Make("boulder", {"seed=4"})), first(Make("boulder", {"seed=4"})));
    EXPECT_NE(first(Make("boulder", {"seed=4"})), first(Make("boulder", {"seed=5"})));
}

// Writes props into a data directory and loads them with the engine's loader.
class ForeignProps : public HeadlessHostTest {
protected:
    void SetUp() override {
        HeadlessHostTest::SetUp();
        device = std::make_unique<GfxDevice>(&backend);
        saved = g_pd3dDevice;
        g_pd3dDevice = device.get();
        dir = MakeTempDir("props");
        SetDataDirectory(dir);
        std::ofstream(fs::path(dir) / "props.bmp", std::ios::binary) << EncodeBmp24(PropTexture());
    }
    void TearDown() override {
        g_pd3dDevice = saved;
        device.reset();
        SetDataDirectory("");
        fs::remove_all(dir);
        HeadlessHostTest::TearDown();
    }
    bool Load(RZ_Model& model, const std::string& name, const std::string& bytes) {
        std::ofstream(fs::path(dir) / name, std::ios::binary) << bytes;
        ClearPathCache();
        model.SetDirectory((dir + "/").c_str());
        return model.Load(device.get(), (dir + "/" + name).c_str(), nullptr);
    }

    RecordingBackend backend;
    std::unique_ptr<GfxDevice> device;
    GfxDevice* saved = nullptr;
    std::string dir;
};

TEST_F(ForeignProps, ImportersReadEveryPropBackInEveryFormat) {
    for (const char* recipe : kRecipes) {
        const PropModel prop = Make(recipe);
        for (const std::string ext : kFormats) {
            const bool textured = ext == ".mqo" || ext == ".cob";
            std::string bytes, why;
            ASSERT_TRUE(WriteForeignModel(prop, ext, textured ? "props.bmp" : "", bytes, why))
                << recipe << ext << ": " << why;
            g_MessageBoxLog.clear();
            RZ_Model model;
            ASSERT_TRUE(Load(model, recipe + ext, bytes))
                << recipe << ext << ": " << RZ_LastError.detail;
            // Only the question every rok load asks (answered No: polygons only).
            for (const MessageBoxRecord& box : g_MessageBoxLog)
                EXPECT_TRUE(ext == ".rok" && box.text == "辺データを読込みますか？")
                    << recipe << ext << ": " << box.text;
            ExpectImportedProp(model, prop, ext, textured);
        }
    }
}

TEST_F(ForeignProps, RokPolygonsShareTheirEdges) {
    const PropModel barrel = Make("barrel");
    std::string bytes, why;
    ASSERT_TRUE(WriteForeignModel(barrel, ".rok", "", bytes, why));
    EXPECT_EQ(bytes.find('\n'), std::string::npos) << "rok lines end in a carriage return alone";
    RZ_Model withEdges;
    ASSERT_TRUE(ImportRokText(withEdges, bytes, true));
    ASSERT_EQ(withEdges.meshes.size(), 1u);
    size_t edges = 0;
    for (const RZ_Face& f : withEdges.meshes[0].faces) edges += f.cornerCount == 2;
    EXPECT_EQ(withEdges.meshes[0].faces.size(), edges + barrel.FaceCount());
    // The smooth sides share edges between neighbours; a polygon whose neighbours stored all
    // its edges the other way round gets one of its own, so some sharing must remain.
    EXPECT_LT(edges, barrel.CornerCount() * 3 / 4);
    EXPECT_GT(edges, barrel.CornerCount() / 2);
}

TEST(ForeignWriters, RefuseWhatTheFormatCannotHold) {
    PropModel m = Make("lantern");
    std::string bytes, why;
    EXPECT_FALSE(WriteForeignModel(m, ".obj", "", bytes, why));
    EXPECT_FALSE(WriteForeignModel(m, ".rok", "props.bmp", bytes, why));
    EXPECT_EQ(why, "rok files carry no textures");
    EXPECT_FALSE(WriteForeignModel(m, ".mx", "props.bmp", bytes, why));
    m.materials.resize(14);
    EXPECT_FALSE(WriteForeignModel(m, ".rok", "", bytes, why));
    EXPECT_EQ(why, "14 materials (rok keeps 13)");
    EXPECT_TRUE(WriteForeignModel(m, ".mqo", "", bytes, why));
    m.materials.resize(32);
    EXPECT_FALSE(WriteForeignModel(m, ".mqo", "", bytes, why));
    m.materials.resize(4);
    m.parts[0].faces[0].material = 4;
    EXPECT_FALSE(WriteForeignModel(m, ".cob", "", bytes, why));

    EXPECT_EQ(FormatNumber(-0.00001f), "0");
    EXPECT_EQ(FormatNumber(12.5f), "12.5");
    EXPECT_EQ(FormatNumber(-190.0f), "-190");
}

}  // namespace

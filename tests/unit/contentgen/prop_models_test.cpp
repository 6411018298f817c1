// Props for the foreign model formats: sound solids, and files the engine's importers read back
// into the same faces.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "base/message_box.h"
#include "base/paths.h"
#include "foreign_writers.h"
#include "gfx/d3d.h"
#include "gfx/device.h"
#include "gfx/recording_backend.h"
#include "image_codecs.h"
#include "model/rz_last_error.h"
#include "model/rz_model.h"
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

// Every prop is well-formed: finite corners, faces that index its points and are not flat, each
// part a closed solid turned outward, standing on the ground (y = 0) and nowhere below it.
TEST(PropRecipes, EveryPropIsAClosedSolidStandingOnTheGround) {
    for (const char* recipe : kRecipes) {
        const PropModel m = Make(recipe);
        ASSERT_FALSE(m.parts.empty()) << recipe;
        float low = 1e9f;
        for (const PropPart& part : m.parts) {
            SCOPED_TRACE(std::string(recipe) + " " + part.name);
            for (const V3& p : part.points) {
                ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z));
                low = std::min(low, p.y);
            }
            for (const PropFace& f : part.faces)
                for (int c = 0; c < f.corners; ++c) ASSERT_LT(f.index[c], part.points.size());
            // A closed surface's area vectors cancel out; outward faces enclose a positive volume.
            V3 area{};
            float volume = 0, total = 0;
            ForEachTriangle(part, [&](V3 a, V3 b, V3 c) {
                const V3 n = Cross(b - a, c - a);
                EXPECT_GT(Dot(n, n), 1e-6f) << "a flat triangle";
                area = area + n;
                total += std::sqrt(Dot(n, n));
                volume += Dot(a, Cross(b, c)) / 6;
            });
            EXPECT_LT(std::sqrt(Dot(area, area)), 1e-5f * total);
            EXPECT_GT(volume, 0.0f) << "turned inside out";
        }
        EXPECT_FLOAT_EQ(low, 0.0f) << recipe;
    }
}

// What an importer makes of a prop written in its format: every face in order with its corners
// at the prop's positions (rok polygons may start at another corner of the same ring), the
// prop's texture coordinates where the format has them, and its materials' colours.
void ExpectImported(const RZ_Model& model, const PropModel& prop, const std::string& ext,
                    bool textured) {
    const bool rok = ext == ".rok", mx = ext == ".mx";
    std::vector<const RZ_Face*> faces;
    for (const RZ_Mesh& m : model.meshes)
        for (const RZ_Face& f : m.faces) faces.push_back(&f);
    ASSERT_EQ(faces.size(), prop.FaceCount()) << ext;
    EXPECT_EQ(model.materialCount, rok ? 13u : mx ? 1u : prop.materials.size()) << ext;
    size_t next = 0;
    auto near = [](V3 p, const Vector3& q) {
        return std::fabs(p.x - q.x) + std::fabs(p.y - q.y) + std::fabs(p.z - q.z) < 0.05f;
    };
    for (const PropPart& part : prop.parts)
        for (const PropFace& want : part.faces) {
            const RZ_Face& got = *faces[next];
            SCOPED_TRACE(ext + " " + part.name + " face " + std::to_string(next++));
            ASSERT_EQ(got.cornerCount, want.corners);
            EXPECT_EQ(got.material, mx ? 0 : want.material);
            int shift = 0;
            while (shift + 1 < want.corners && !near(part.points[want.index[shift]],
                                                     model.vertices[got.vertexIndex[0]].position))
                ++shift;
            EXPECT_TRUE(rok || shift == 0);
            for (int c = 0; c < want.corners; ++c) {
                const int k = (c + shift) % want.corners;
                EXPECT_TRUE(
                    near(part.points[want.index[k]], model.vertices[got.vertexIndex[c]].position))
                    << "corner " << c;
                if (!rok && !mx) {
                    const RZ_TexCoord& uv = model.uvs[got.uvIndex[c]];
                    EXPECT_NEAR(uv.u, want.u[k], 1e-4f) << "corner " << c;
                    EXPECT_NEAR(uv.v, want.v[k], 1e-4f) << "corner " << c;
                }
            }
        }
    for (size_t i = 0; i < prop.materials.size() && !mx; ++i) {
        const PropMaterial& want = prop.materials[i];
        const RZ_Material& got = model.materials[i];
        EXPECT_EQ(std::tuple(std::lround(got.red * 255), std::lround(got.green * 255),
                             std::lround(got.blue * 255)),
                  std::tuple(long(want.red), long(want.green), long(want.blue)))
            << ext << " material " << i;
        EXPECT_EQ(got.texture != nullptr, textured && want.textured) << ext << " material " << i;
    }
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
            ExpectImported(model, prop, ext, textured);
        }
    }
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

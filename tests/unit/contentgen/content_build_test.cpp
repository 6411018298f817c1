// The whole data set built from content/: deterministic, incremental, complete, and loadable by
// the engine's own loaders.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "app/author_tools.h"
#include "base/formatted_input.h"
#include "base/message_box.h"
#include "base/paths.h"
#include "build_content.h"
#include "gfx/device.h"
#include "gfx/recording_backend.h"
#include "model/rz_model.h"
#include "prop_expect.h"
#include "prop_recipes.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// FNV-1a over the bytes: enough to tell two files apart.
uint64_t Checksum(const std::string& bytes) {
    uint64_t h = 1469598103934665603ull;
    for (unsigned char c : bytes) h = (h ^ c) * 1099511628211ull;
    return h;
}

std::map<std::string, uint64_t> ChecksumsOnDisk(const fs::path& dir) {
    std::map<std::string, uint64_t> sums;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        if (e.is_regular_file())
            sums[fs::relative(e.path(), dir).generic_string()] = Checksum(ReadFile(e.path()));
    return sums;
}

class ContentBuild : public HeadlessHostTest {
protected:
    // Directories written by the tests, removed with the suite.
    static std::string TempDir(const std::string& tag) {
        dirs_.push_back(MakeTempDir(tag));
        return dirs_.back();
    }

    // One build of the real content for the whole suite: it is what every test looks at.
    static void SetUpTestSuite() {
        tree_ = new OutputTree;
        Diagnostics diag;
        built_ = BuildContent(GH02_CONTENT_DIR, *tree_, diag);
        for (const std::string& m : diag.Messages()) ADD_FAILURE() << m;
    }
    static void TearDownTestSuite() {
        delete tree_;
        tree_ = nullptr;
        std::error_code ec;
        for (const std::string& d : dirs_) fs::remove_all(d, ec);
        dirs_.clear();
    }
    const std::string& File(const std::string& rel) {
        const std::string* f = tree_->Find(rel);
        EXPECT_NE(f, nullptr) << rel << " is not built";
        static const std::string empty;
        return f ? *f : empty;
    }

    static OutputTree* tree_;
    static bool built_;
    static std::vector<std::string> dirs_;
};

std::vector<std::string> ContentBuild::dirs_;

OutputTree* ContentBuild::tree_ = nullptr;
bool ContentBuild::built_ = false;

TEST_F(ContentBuild, TwoBuildsWriteTheSameBytes) {
    ASSERT_TRUE(built_);
    const std::string a = TempDir("content_a"), b = TempDir("content_b");
    OutputTree second;
    Diagnostics diag;
    ASSERT_TRUE(BuildContent(GH02_CONTENT_DIR, second, diag));
    ASSERT_TRUE(tree_->Write(a, "").ok);
    ASSERT_TRUE(second.Write(b, "").ok);
    const auto sumsA = ChecksumsOnDisk(a), sumsB = ChecksumsOnDisk(b);
    EXPECT_EQ(sumsA.size(), tree_->Files().size());
    EXPECT_EQ(sumsA, sumsB);
}

TEST_F(ContentBuild, RebuildTouchesOnlyWhatChangedAndRemovesWhatWentAway) {
    ASSERT_TRUE(built_);
    const fs::path dir = TempDir("content_incremental");
    const std::string manifest = (dir / "manifest.txt").string();
    const fs::path out = dir / "game";
    fs::create_directories(out);
    std::ofstream(out / "gh02") << "the executable stays";

    OutputTree::WriteResult first = tree_->Write(out.string(), manifest);
    ASSERT_TRUE(first.ok);
    EXPECT_EQ(first.written, int(tree_->Files().size()));
    OutputTree::WriteResult again = tree_->Write(out.string(), manifest);
    EXPECT_EQ(again.written, 0);
    EXPECT_EQ(again.unchanged, int(tree_->Files().size()));

    // A build without one of the files removes it, and only it.
    OutputTree fewer;
    for (const auto& [rel, bytes] : tree_->Files())
        if (rel != "SE/step.wav") fewer.Add(rel, bytes);
    OutputTree::WriteResult third = fewer.Write(out.string(), manifest);
    EXPECT_EQ(third.removed, 1);
    EXPECT_FALSE(fs::exists(out / "SE/step.wav"));
    EXPECT_TRUE(fs::exists(out / "SE/hit.wav"));
    EXPECT_TRUE(fs::exists(out / "gh02"));
}

TEST_F(ContentBuild, EveryFileGameStartAsksForIsBuilt) {
    ASSERT_TRUE(built_);
    std::vector<std::string> wanted = {
        "tex/paris0.bmp",   "tex/cur.dds",     "tex/use0.dds",  "tex/tile0.bmp",
        "chara/harlo.qd",   "Field/baske0.qf", "SCR/test.qd",   "SCR/bEv/ev0.qd",
        "SE/c0.wav",        "SE/c1.wav",       "SE/cmnd.wav",   "Datas/MnuDatas.qd",
        "Datas/GzDatas.qd", "sChr/e0.qf",      "btlFld/fld1.x", "BGM/BGMData.qd"};
    for (int i = 0; i < 5; ++i) wanted.push_back("tex/sky0_" + std::to_string(i) + ".bmp");
    for (int i = 0; i < 6; ++i) wanted.push_back("Datas/WzDatas_" + std::to_string(i) + ".qd");
    for (int i = 0; i < 4; ++i) wanted.push_back("sChr/c" + std::to_string(i) + ".qf");
    for (const std::string& rel : wanted) EXPECT_TRUE(tree_->Has(rel)) << rel;
}

// Every generated file that the engine has a loader for loads without a message.
TEST_F(ContentBuild, EngineLoadersAcceptEveryFile) {
    ASSERT_TRUE(built_);
    const std::string dir = TempDir("content_check");
    ASSERT_TRUE(tree_->Write(dir, "").ok);
    testing::internal::CaptureStdout();
    const int result = RunCheckData(dir);
    const std::string report = testing::internal::GetCapturedStdout();
    EXPECT_EQ(result, 0) << report;
    // Pictures, meshes, sounds, models, scripts, fields and the music list are all checked.
    int checked = 0;
    ASSERT_EQ(std::sscanf(report.c_str() + report.rfind("checked"), "checked %d", &checked), 1);
    EXPECT_GE(checked, 55);
    SetDataDirectory("");
}

// Files whose loaders come with later engine work are read here with the game's formatted input
// in the layouts the game reads them with.
TEST_F(ContentBuild, StatusCharacterAndWeaponFilesReadInTheGameLayout) {
    ASSERT_TRUE(built_);
    std::set<std::string> members;
    for (int m = 0; m < 4; ++m) {
        FormattedInput in(File("sChr/c" + std::to_string(m) + ".qf"));
        std::string name, face;
        int32_t hp = 0, mp = 0, v = 0, weapon = 0, guard = 0;
        ASSERT_EQ(in.Scan("%s\n", &name), 1);
        EXPECT_LE(name.size(), 23u);
        ASSERT_EQ(in.Scan("%d,%d\n", &hp, &mp), 2);
        EXPECT_GT(hp, 0);
        for (int s = 0; s < 11; ++s) {
            ASSERT_EQ(in.Scan("%d,", &v), 1) << "stat " << s;
            EXPECT_TRUE(v >= 1 && v <= 255) << "stat " << s << " of member " << m;
        }
        ASSERT_EQ(in.Scan("%d\n", &v), 1);
        ASSERT_EQ(in.Scan("%d\n", &v), 1);
        ASSERT_EQ(in.Scan("%d,%d,\n", &weapon, &guard), 2);
        EXPECT_NE(tree_->Find("Wea/w-" + std::to_string(weapon) + ".qd"), nullptr);
        for (int c = 0; c < 5; ++c) ASSERT_EQ(in.Scan("%d,", &v), 1);
        for (int set = 0; set < 6; ++set)
            for (int w = 0; w < 8; ++w) ASSERT_EQ(in.Scan("%d,", &v), 1) << "set " << set;
        ASSERT_EQ(in.Scan("%s\n", &face), 1);
        members.insert(face);
        EXPECT_TRUE(tree_->Has("chara/" + face + ".qd"));
        EXPECT_TRUE(tree_->Has("chara/face/" + face + ".bmp"));
    }
    EXPECT_EQ(members.size(), 4u) << "each party member has a look of its own";

    for (const char* who : {"harlo", "mina", "gordo", "rikku", "goblin"}) {
        FormattedInput in(File("chara/" + std::string(who) + ".qd"));
        std::string model;
        float scale = 0, value = 0, size = 0;
        ASSERT_EQ(in.Scan("%s\n", &model), 1);
        ASSERT_EQ(in.Scan("%f,", &scale), 1);
        ASSERT_EQ(in.Scan("%f,", &value), 1);
        ASSERT_EQ(in.Scan("%f,", &size), 1);
        EXPECT_TRUE(tree_->Has("chara/" + model)) << model;
        EXPECT_GT(scale, 0.0f);
        EXPECT_GT(size, 0.0f);
    }
    FormattedInput weapon(File("Wea/w-1.qd"));
    std::string mesh;
    int32_t rgba[4];
    float blade = 0;
    ASSERT_EQ(weapon.Scan("%s\n", &mesh), 1);
    ASSERT_EQ(weapon.Scan("%d,%d,%d,%d,\n", &rgba[0], &rgba[1], &rgba[2], &rgba[3]), 4);
    ASSERT_EQ(weapon.Scan("%f\n", &blade), 1);
    EXPECT_TRUE(tree_->Has("wea/" + mesh + ".x"));
}

TEST_F(ContentBuild, DataTablesHaveOneRecordPerLine) {
    ASSERT_TRUE(built_);
    std::vector<std::string> tables = {"Datas/MnuDatas.qd", "Datas/GzDatas.qd"};
    for (int i = 0; i < 6; ++i) tables.push_back("Datas/WzDatas_" + std::to_string(i) + ".qd");
    for (const std::string& t : tables) {
        const std::string& text = File(t);
        ASSERT_FALSE(text.empty()) << t;
        EXPECT_EQ(text.substr(text.size() - 2), "\r\n") << t;
        EXPECT_EQ(text.find("\r\n\r\n"), std::string::npos) << t << " has an empty line";
    }
    // The command table: five commands, a technique menu and an immediate cover command.
    FormattedInput in(File("Datas/WzDatas_0.qd"));
    std::string name, help;
    int32_t shown = 0, flags = 0;
    std::vector<int32_t> allFlags;
    while (in.Scan("%s %s %d %d\n", &name, &help, &shown, &flags) == 4) allFlags.push_back(flags);
    ASSERT_EQ(allFlags.size(), 5u);
    EXPECT_EQ(allFlags[1] & 8, 8);
    EXPECT_EQ(allFlags[3] & 16, 16);
}

// Characters carry the bones the game attaches things to, skin weights, and every motion the
// game plays (and the attack and spell the technique scripts play as 7 and 8), named so that
// keeping a mode's prefix keeps what that mode plays; monsters stand with a battle motion.
TEST_F(ContentBuild, ModelsHaveTheBonesAndMotionsTheGameUses) {
    ASSERT_TRUE(built_);
    const std::string dir = TempDir("content_models");
    ASSERT_TRUE(tree_->Write(dir, "").ok);
    std::set<std::string> variants;
    const std::set<std::string> monsters = {"goblin", "hobgob", "wolf", "nushi"};
    for (const char* who : {"harlo", "mina", "chourou", "goblin", "hobgob", "wolf", "nushi"}) {
        const std::string& bytes = File("chara/" + std::string(who) + ".rzo");
        variants.insert(bytes.substr(24, 6));
        RZ_Model model;
        model.SetDirectory((dir + "/chara/").c_str());
        ASSERT_TRUE(model.Load(nullptr, (dir + "/chara/" + who + ".rzo").c_str(), nullptr)) << who;
        std::set<std::string> bones;
        for (int b = 0; b < kRzMaxBones; ++b)
            if (model.GetBone(uint32_t(b)) && model.GetBone(uint32_t(b))->GetName())
                bones.insert(model.GetBone(uint32_t(b))->GetName());
        for (const char* needed : {"wea_b", "gua_b", "head_b"})
            EXPECT_TRUE(bones.count(needed)) << who << " " << needed;
        bool blended = false;
        for (const RZ_Vertex& v : model.vertices)
            blended |= v.bone1 != 0 && v.weight > 0 && v.weight < 1;
        EXPECT_TRUE(blended) << who << " has no vertex shared between two bones";
        for (int slot : {0, 1, 3, 4, 5, 6, 7, 8, 10, 11}) {
            ASSERT_TRUE(model.HasAnimation(uint32_t(slot))) << who << " motion " << slot;
            const std::string name = model.GetAnimationName(uint32_t(slot));
            const bool field = slot == 1 || (slot == 0 && !monsters.count(who));
            EXPECT_EQ(name.substr(0, 4), field ? "fld_" : "btl_") << who << " motion " << slot;
        }
    }
    EXPECT_TRUE(variants.count("ASCII ")) << "an ASCII model";
    EXPECT_TRUE(variants.count("BINARY")) << "a binary model";
}

// The walk swings the legs: at its first key the left foot is ahead of the right one, at its
// last key behind it (the loop plays back and forth between them).
TEST_F(ContentBuild, WalkMotionMovesTheFeetInTurn) {
    ASSERT_TRUE(built_);
    const std::string dir = TempDir("content_walk");
    ASSERT_TRUE(tree_->Write(dir, "").ok);
    RZ_Model model;
    model.SetDirectory((dir + "/chara/").c_str());
    ASSERT_TRUE(model.Load(nullptr, (dir + "/chara/harlo.rzo").c_str(), nullptr));
    auto footZ = [&](bool left) {
        // The lowest vertices on that side of the body are the sole of that boot.
        float z = 0, lowest = 1e9f;
        for (size_t i = 0; i < model.vertices.size(); ++i) {
            if ((model.vertices[i].position.x < 0) != left) continue;
            if (model.vertices[i].position.y < lowest - 0.5f)
                lowest = model.vertices[i].position.y, z = 0;
        }
        int n = 0;
        for (size_t i = 0; i < model.vertices.size(); ++i)
            if ((model.vertices[i].position.x < 0) == left &&
                model.vertices[i].position.y < lowest + 0.5f)
                z += model.skinned[i].z, ++n;
        return z / float(n);
    };
    model.SetCurrentAnimation(1);
    model.ResetAnimation();
    model.UpdateSkin();
    EXPECT_GT(footZ(true), footZ(false) + 50.0f);
    while (!model.AdvanceAnimation(1)) {
    }
    model.UpdateSkin();
    EXPECT_LT(footZ(true), footZ(false) - 50.0f);
}

// The props in the foreign formats are characters: a character file names each, and each loads
// through its importer into the faces its recipe makes, standing on the ground at a size that
// suits the demo's people (about 360 units tall).
TEST_F(ContentBuild, PropCharactersLoadThroughTheirImporters) {
    ASSERT_TRUE(built_);
    const std::string dir = TempDir("content_props");
    ASSERT_TRUE(tree_->Write(dir, "").ok);
    RecordingBackend backend;
    GfxDevice device(&backend);
    std::set<std::string> formats;
    for (const SourceLine& line : SplitLines(ReadFile(fs::path(GH02_CONTENT_DIR) / "assets.txt"))) {
        const std::vector<std::string> w = SplitWords(StripComment(line.text));
        if (w.size() < 3 || w[0] != "model" || w[2] == "humanoid" || w[2] == "beast") continue;
        const fs::path path(w[1]);
        const std::string ext = path.extension().string(), name = path.stem().string();
        formats.insert(ext);
        Diagnostics diag;
        Options options(w, 3, "assets.txt", line.number, diag);
        PropModel prop;
        ASSERT_TRUE(MakePropModel(w[2], options, prop, "assets.txt", line.number, diag)) << w[1];
        const bool textured = options.Has("texture");

        FormattedInput in(File("chara/" + name + ".qd"));
        std::string model;
        float scale = 0;
        ASSERT_EQ(in.Scan("%s\n", &model), 1) << name;
        ASSERT_EQ(in.Scan("%f,", &scale), 1) << name;
        EXPECT_EQ("chara/" + model, w[1]);

        g_MessageBoxLog.clear();
        RZ_Model loaded;
        loaded.SetDirectory((dir + "/chara/").c_str());
        ASSERT_TRUE(loaded.Load(&device, (dir + "/" + w[1]).c_str(), nullptr)) << w[1];
        for (const MessageBoxRecord& box : g_MessageBoxLog)
            EXPECT_EQ(box.text, "辺データを読込みますか？") << w[1];
        ExpectImportedProp(loaded, prop, ext, textured);
        float low = 1e9f, high = -1e9f;
        for (const RZ_Vertex& v : loaded.vertices)
            low = std::min(low, v.position.y), high = std::max(high, v.position.y);
        EXPECT_NEAR(low, 0.0f, 0.01f) << w[1];
        EXPECT_TRUE(high * scale > 100 && high * scale < 600) << w[1] << " is " << high * scale;
    }
    EXPECT_EQ(formats, (std::set<std::string>{".rok", ".mqo", ".mx", ".cob"}));
}

}  // namespace

// The whole data set built from content/: deterministic, incremental, complete, and loadable by
// the engine's own loaders.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "base/paths.h"
#include "build_content.h"
#include "model/rz_model.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

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
    // The build written out once, for the tests that read its files back.
    static const std::string& Written() {
        static const std::string dir = [] {
            const std::string d = TempDir("content");
            EXPECT_TRUE(tree_->Write(d, "").ok);
            return d;
        }();
        return dir;
    }
    static bool LoadModel(RZ_Model& model, const std::string& who) {
        model.SetDirectory((Written() + "/chara/").c_str());
        return model.Load(nullptr, (Written() + "/chara/" + who + ".rzo").c_str(), nullptr);
    }

    static OutputTree* tree_;
    static bool built_;
    static std::vector<std::string> dirs_;
};

std::vector<std::string> ContentBuild::dirs_;

OutputTree* ContentBuild::tree_ = nullptr;
bool ContentBuild::built_ = false;

TEST_F(ContentBuild, TwoBuildsMakeTheSameBytes) {
    ASSERT_TRUE(built_);
    OutputTree second;
    Diagnostics diag;
    ASSERT_TRUE(BuildContent(GH02_CONTENT_DIR, second, diag));
    EXPECT_TRUE(tree_->Files() == second.Files());
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

// Characters carry the bones the game attaches things to, skin weights, and every motion the
// game plays (and the attack and spell the technique scripts play as 7 and 8), named so that
// keeping a mode's prefix keeps what that mode plays; monsters stand with a battle motion.
TEST_F(ContentBuild, ModelsHaveTheBonesAndMotionsTheGameUses) {
    ASSERT_TRUE(built_);
    std::set<std::string> variants;
    const std::set<std::string> monsters = {"goblin", "hobgob", "wolf", "nushi"};
    for (const char* who : {"harlo", "mina", "chourou", "goblin", "hobgob", "wolf", "nushi"}) {
        RZ_Model model;
        ASSERT_TRUE(LoadModel(model, who)) << who;
        variants.insert(tree_->Find("chara/" + std::string(who) + ".rzo")->substr(24, 6));
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
    RZ_Model model;
    ASSERT_TRUE(LoadModel(model, "harlo"));
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

}  // namespace

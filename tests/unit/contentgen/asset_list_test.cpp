// The asset list and the cross-file checks: authoring mistakes fail the build with their line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "asset_builders.h"
#include "build_content.h"
#include "check/reference_check.h"
#include "model/rz_model.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

class AssetListTest : public HeadlessHostTest {
protected:
    std::vector<std::string> Build(const std::string& list) {
        out = OutputTree();
        Diagnostics diag;
        BuildAssets(list, "assets.txt", out, diag);
        return diag.Messages();
    }
    OutputTree out;
};

TEST_F(AssetListTest, GoodLinesBuildTheirFilesAndMistakesNameTheirLine) {
    // Prop lines: the extension picks the format, the texture lies beside the model once.
    EXPECT_TRUE(Build("image tex/a.bmp tile kind=sand size=8\n# a note\nsound SE/a.wav blip\n"
                      "model chara/a.mqo signpost texture=p.bmp\n"
                      "model chara/b.cob lantern texture=p.bmp height=300\n"
                      "model chara/c.rok barrel\nmodel chara/d.mx boulder seed=9\n")
                    .empty());
    EXPECT_EQ(out.Files().size(), 7u);
    for (const char* f : {"tex/a.bmp", "SE/a.wav", "chara/a.mqo", "chara/b.cob", "chara/c.rok",
                          "chara/d.mx", "chara/p.bmp"})
        EXPECT_TRUE(out.Has(f)) << f;
    const std::pair<const char*, const char*> mistakes[] = {
        {"\nimage tex/a.bmp tile colr=1\n", "assets.txt:2: unknown option colr"},
        {"image tex/a.png tile\n", "an image is .bmp or .dds"},
        {"image tex/a.bmp tile size=6\n", "multiple of 4"},
        {"mesh Q3D/a.x castle\n", "unknown mesh recipe castle"},
        {"sound SE/a.wav blip len=long\n", "option len is not a number"},
        {"model chara/a.rzo humanoid skin=pink\n", "option skin wants RRGGBB"},
        {"sprite tex/a.dds flower\n", "unknown asset kind sprite"},
        {"sound SE/a.wav blip\nsound SE/a.wav hit\n", "assets.txt:2: SE/a.wav is produced twice"},
        {"model chara/a.rok barrel texture=p.bmp\n",
         "assets.txt:1: rok files carry no textures: chara/a.rok"},
        {"model chara/a.obj barrel\n", "a prop model is a .rok"},
        {"model chara/a.rzo barrel\n", "made by the humanoid or beast recipe"},
        {"model chara/a.mqo crate\n", "unknown model recipe crate"},
        {"model chara/a.mqo barrel seed=2\n", "unknown option seed"},
        {"model chara/a.mqo barrel height=0\n", "height must be above 0"},
        {"model chara/a.mqo barrel texture=p.png\n", "is a .bmp file"},
        // A picture of the same name from another recipe is a clash, not a silent overwrite.
        {"image chara/p.bmp tile\nmodel chara/a.cob lantern texture=p.bmp\n",
         "chara/p.bmp is produced twice with different pictures"},
    };
    for (auto [list, message] : mistakes) EXPECT_TRUE(AnyContains(Build(list), message)) << list;
}

TEST_F(AssetListTest, NamedFilesMustBeBuilt) {
    OutputTree tree;
    tree.Add("chara/hero.qd", "hero.rzo\r\n1.0,\r\n0.0,\r\n200.0,\r\n");
    tree.Add("sChr/c0.qf",
             "Name\r\n1,1\r\n1,1,1,1,1,1,1,1,1,1,1,\r\n0\r\n0\r\n1,0,\r\n0,1,2,3,4,\r\nhero\r\n");
    tree.Add("Wea/w-0.qd", "NO\r\n");
    tree.Add("Wea/w-1.qd", "Sword\r\n255,255,255,255,\r\n100.0\r\n");
    tree.Add("wea/sword.x", "xof");
    tree.Require("Field/f.qf", "Field/grass.BMP");
    tree.Add("field/GRASS.bmp", "");  // the game looks files up without regard to case
    Diagnostics diag;
    CheckReferences(tree, diag, "not built");
    const auto& m = diag.Messages();
    EXPECT_EQ(m.size(), 2u);
    // Each at the line that names the file.
    EXPECT_TRUE(AnyContains(m, "chara/hero.qd:1: names chara/hero.rzo, which is not built"));
    EXPECT_TRUE(AnyContains(m, "sChr/c0.qf:8: names chara/face/hero.bmp, which is not built"));
}

// A whole content directory: a broken field fails the build and says where.
TEST_F(AssetListTest, BrokenSourcesFailTheBuild) {
    const fs::path dir = MakeTempDir("content_broken");
    fs::create_directories(dir / "fields");
    fs::create_directories(dir / "text/SCR");
    std::ofstream(dir / "fields/f.field") << "sky sky0_\nmesh 0 hut\n";
    std::ofstream(dir / "text/SCR/t.qd") << "@:scene//\n";
    // A script that names the broken one (said once, at t.qd), a sound that is not built (at the
    // source line and column, behind a note the build leaves out), a label without its "//".
    std::ofstream(dir / "text/SCR/u.qd") << "%% a note\n@:A//f1 t//\nf10 c11 3,boom//f10 ;\n";
    std::ofstream(dir / "text/SCR/v.qd") << "@:RUN c4 RUN//0\n";
    OutputTree tree;
    Diagnostics diag;
    EXPECT_FALSE(BuildContent(dir.string(), tree, diag));
    EXPECT_FALSE(AnyContains(diag.Messages(), "names SCR/t.qd"));
    EXPECT_TRUE(
        AnyContains(diag.Messages(), "text/SCR/u.qd:3:5: names SE/boom.wav, which is not built"));
    EXPECT_TRUE(AnyContains(diag.Messages(), "SCR/v.qd:1: label @:RUN without its closing //"));
    EXPECT_TRUE(
        AnyContains(diag.Messages(), "fields/f.field: names Q3D/hut.x, which is not built"));
    EXPECT_TRUE(
        AnyContains(diag.Messages(), "fields/f.field: names tex/sky0_0.bmp, which is not built"));
    EXPECT_TRUE(
        AnyContains(diag.Messages(), "SCR/t.qd:1: label name contains the command prefix 'c'"));
    fs::remove_all(dir);
}

// Both variants of the model file carry the same model (the readers scale positions differently).
TEST_F(AssetListTest, AsciiAndBinaryModelsLoadAlike) {
    ASSERT_TRUE(
        Build("model chara/a.rzo humanoid texture=t.bmp\nmodel chara/b.rzo humanoid texture=t.bmp "
              "format=binary\n")
            .empty());
    const fs::path dir = MakeTempDir("content_variants");
    ASSERT_TRUE(out.Write(dir.string(), "").ok);
    RZ_Model a, b;
    const std::string chara = (dir / "chara").string() + "/";
    a.SetDirectory(chara.c_str());
    b.SetDirectory(chara.c_str());
    ASSERT_TRUE(a.Load(nullptr, (chara + "a.rzo").c_str(), nullptr));
    ASSERT_TRUE(b.Load(nullptr, (chara + "b.rzo").c_str(), nullptr));
    ASSERT_EQ(a.vertices.size(), b.vertices.size());
    for (size_t i = 0; i < a.vertices.size(); ++i) {
        EXPECT_NEAR(a.vertices[i].position.y, b.vertices[i].position.y, 0.01f);
        EXPECT_EQ(a.vertices[i].bone1, b.vertices[i].bone1);
    }
    for (int bone = 0; bone < kRzMaxBones; ++bone) {
        ASSERT_EQ(a.GetBone(uint32_t(bone)) != nullptr, b.GetBone(uint32_t(bone)) != nullptr);
        if (!a.GetBone(uint32_t(bone))) continue;
        EXPECT_NEAR(a.GetBone(uint32_t(bone))->origin.x, b.GetBone(uint32_t(bone))->origin.x,
                    0.01f);
        EXPECT_EQ(a.GetBone(uint32_t(bone))->parent, b.GetBone(uint32_t(bone))->parent);
    }
    ASSERT_TRUE(a.HasAnimation(5) && b.HasAnimation(5));
    EXPECT_EQ(a.animations[5]->tracks[1]->keys.size(), b.animations[5]->tracks[1]->keys.size());
    fs::remove_all(dir);
}

}  // namespace

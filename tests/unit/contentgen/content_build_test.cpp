// The whole data set built from content/: deterministic and incremental. (That every file loads is
// the end-to-end data check's; what the files look like, the play-through's pictures'.)
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "build_content.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

class ContentBuild : public HeadlessHostTest {
protected:
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
    }

    static OutputTree* tree_;
    static bool built_;
};

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
    const fs::path dir = MakeTempDir("content_incremental");
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
    fs::remove_all(dir);
}

}  // namespace

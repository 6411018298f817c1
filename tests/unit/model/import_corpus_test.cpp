// Real files written by Metasequoia and trueSpace users: they must load through RZ_Model::Load
// with the counts they declare and without a single message box.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "base/message_box.h"
#include "base/sjis.h"
#include "import_test_util.h"

using ::testing::HasSubstr;

namespace {

class ImportCorpus : public ModelTest {
protected:
    // Loads a corpus file with its own folder as the texture directory.
    bool LoadCorpus(const std::string& folder, const std::string& utf8Name) {
        model->SetDirectory(ToSjis(folder + "/").c_str());
        return model->Load(device.get(), ToSjis(folder + "/" + utf8Name).c_str(), nullptr);
    }
    size_t FaceCount() const {
        size_t n = 0;
        for (const RZ_Mesh& m : model->meshes) n += m.faces.size();
        return n;
    }
};

struct Expected {
    const char* file;
    size_t meshes, vertices, faces;
    int materials, textures;
};

}  // namespace

TEST_F(ImportCorpus, MetasequoiaDocumentsLoadWithTheirDeclaredCounts) {
    const std::string dir = CorpusDir("mqo");
    SKIP_WITHOUT_CORPUS(dir);
    const Expected files[] = {
        {"d-chan.mqo", 7, 376, 403, 3, 0},           {"d-chan2.mqo", 13, 430, 438, 3, 0},
        {"d-chan3.mqo", 7, 376, 403, 3, 0},          {"dsan.mqo", 3, 1825, 1792, 10, 0},
        {"ワイルドDさん.mqo", 3, 1825, 1792, 10, 1},
    };
    for (const Expected& e : files) {
        SCOPED_TRACE(e.file);
        ASSERT_TRUE(LoadCorpus(dir, e.file)) << RZ_LastError.detail;
        EXPECT_EQ(model->meshes.size(), e.meshes);
        EXPECT_EQ(model->vertices.size(), e.vertices);
        EXPECT_EQ(FaceCount(), e.faces);
        EXPECT_EQ(model->materialCount, e.materials);
        int textures = 0;
        for (const RZ_Material& m : model->materials) textures += m.texture != nullptr;
        EXPECT_EQ(textures, e.textures);
        EXPECT_EQ(model->skinned.size(), e.vertices);
        model->Draw(device.get(), 1.0f);
    }
    // The Shift-JIS object names survive as they are.
    ASSERT_TRUE(LoadCorpus(dir, "d-chan2.mqo"));
    EXPECT_EQ(ToUtf8(model->meshes[1].name), "sdef:右目");
    EXPECT_EQ(model->meshes[7].visible, 0);
    // d-chan3 is d-chan with its vertices stored as binary blocks.
    ASSERT_TRUE(LoadCorpus(dir, "d-chan.mqo"));
    const std::vector<RZ_Vertex> text = model->vertices;
    ASSERT_TRUE(LoadCorpus(dir, "d-chan3.mqo"));
    ASSERT_EQ(model->vertices.size(), text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const Vector3 a = model->vertices[i].position, b = text[i].position;
        EXPECT_LT(std::abs(a.x - b.x) + std::abs(a.y - b.y) + std::abs(a.z - b.z), 1e-3f) << i;
    }
    EXPECT_TRUE(g_MessageBoxLog.empty());
}

TEST_F(ImportCorpus, TrueSpaceTextFilesLoadAndBinaryOnesAreRefused) {
    const std::string dir = CorpusDir("cob");
    SKIP_WITHOUT_CORPUS(dir);
    const Expected files[] = {
        {"molecule_ascii.cob", 1, 114, 128, 1, 0},
        {"spider_4_3_ascii.cob", 1, 762, 1368, 4, 0},
        {"spider_6_6_ascii.cob", 1, 762, 1368, 4, 0},
    };
    for (const Expected& e : files) {
        SCOPED_TRACE(e.file);
        ASSERT_TRUE(LoadCorpus(dir, e.file)) << RZ_LastError.detail;
        EXPECT_EQ(model->meshes.size(), e.meshes);
        EXPECT_EQ(model->vertices.size(), e.vertices);
        EXPECT_EQ(FaceCount(), e.faces);
        EXPECT_EQ(model->materialCount, e.materials);
        model->Draw(device.get(), 1.0f);
    }
    for (const char* binary : {"molecule.cob", "spider_4_3.cob", "spider_6_6.cob"}) {
        SCOPED_TRACE(binary);
        EXPECT_FALSE(LoadCorpus(dir, binary));
        EXPECT_EQ(RZ_LastError.code, 3);
        EXPECT_THAT(RZ_LastError.detail, HasSubstr("binary"));
        ExpectReset();
    }
    EXPECT_TRUE(g_MessageBoxLog.empty());
}

// Real files written by Metasequoia and trueSpace users: they must load through RZ_Model::Load
// with the counts they declare and without a single message box.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <tuple>

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
    const char* folder;
    const char* file;
    size_t meshes, vertices, faces;
    int materials, textures;
};

}  // namespace

TEST_F(ImportCorpus, DocumentsLoadWithTheirDeclaredCountsAndBinaryTrueSpaceFilesAreRefused) {
    const std::string mqo = CorpusDir("mqo"), cob = CorpusDir("cob");
    SKIP_WITHOUT_CORPUS(mqo);
    SKIP_WITHOUT_CORPUS(cob);
    const Expected files[] = {
        {"mqo", "d-chan.mqo", 7, 376, 403, 3, 0},
        {"mqo", "d-chan2.mqo", 13, 430, 438, 3, 0},
        {"mqo", "d-chan3.mqo", 7, 376, 403, 3, 0},
        {"mqo", "dsan.mqo", 3, 1825, 1792, 10, 0},
        {"mqo", "ワイルドDさん.mqo", 3, 1825, 1792, 10, 1},
        {"cob", "molecule_ascii.cob", 1, 114, 128, 1, 0},
        {"cob", "spider_4_3_ascii.cob", 1, 762, 1368, 4, 0},
        {"cob", "spider_6_6_ascii.cob", 1, 762, 1368, 4, 0},
    };
    for (const Expected& e : files) {
        SCOPED_TRACE(e.file);
        ASSERT_TRUE(LoadCorpus(e.folder[0] == 'm' ? mqo : cob, e.file)) << RZ_LastError.detail;
        EXPECT_EQ(std::tuple(model->meshes.size(), model->vertices.size(), FaceCount(),
                             model->materialCount, model->skinned.size()),
                  std::tuple(e.meshes, e.vertices, e.faces, e.materials, e.vertices));
        int textures = 0;
        for (const RZ_Material& m : model->materials) textures += m.texture != nullptr;
        EXPECT_EQ(textures, e.textures);
        model->Draw(device.get(), 1.0f);
    }
    for (const char* binary : {"molecule.cob", "spider_4_3.cob", "spider_6_6.cob"}) {
        SCOPED_TRACE(binary);
        EXPECT_FALSE(LoadCorpus(cob, binary));
        EXPECT_EQ(RZ_LastError.code, 3);
        EXPECT_THAT(RZ_LastError.detail, HasSubstr("binary"));
        ExpectReset();
    }
    // The Shift-JIS object names survive as they are.
    ASSERT_TRUE(LoadCorpus(mqo, "d-chan2.mqo"));
    EXPECT_EQ(ToUtf8(model->meshes[1].name), "sdef:右目");
    EXPECT_EQ(model->meshes[7].visible, 0);
    // d-chan3 is d-chan with its vertices stored as binary blocks.
    ASSERT_TRUE(LoadCorpus(mqo, "d-chan.mqo"));
    const std::vector<RZ_Vertex> text = model->vertices;
    ASSERT_TRUE(LoadCorpus(mqo, "d-chan3.mqo"));
    ASSERT_EQ(model->vertices.size(), text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const Vector3 a = model->vertices[i].position, b = text[i].position;
        EXPECT_LT(std::abs(a.x - b.x) + std::abs(a.y - b.y) + std::abs(a.z - b.z), 1e-3f) << i;
    }
    EXPECT_TRUE(g_MessageBoxLog.empty());
}

#pragma once
// A data directory with the character fixtures (character files, party status files, a skin
// picture and a weapon mesh), a device over a recording backend as g_pd3dDevice, and builders of
// small skinned models that the tests save into the chara folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/message_box.h"
#include "app/paths.h"
#include "gfx/d3d.h"
#include "gfx/device.h"
#include "gfx/recording_backend.h"
#include "gfx/rz_image.h"
#include "model/rz_model.h"
#include "test_support.h"
#include "world/character.h"
#include "world/party.h"

// One animation: a name and the frames at which bone 1 has a key (x offset = frame).
struct MotionSpec {
    int slot;
    std::string name;
    std::vector<int> frames;
};

// Root, then the named bones in slots 1, 2, ... under it; every animation keys bone 1 only, so
// the play time of a motion is that one track's.
inline void BuildModel(RZ_Model& m, const std::vector<std::string>& boneNames,
                       const std::vector<MotionSpec>& motions, bool textured = false) {
    m.Reset();
    for (size_t i = 0; i < boneNames.size(); ++i) {
        const int slot = int(i) + 1;
        m.bones[slot] = std::make_unique<RZ_Bone>();
        m.bones[slot]->SetName(boneNames[i].c_str());
        m.bones[slot]->origin = Vector3{0.0f, float(slot), 0.0f};
        for (uint8_t& c : m.bones[0]->children) {
            if (c == 0) {
                c = uint8_t(slot);
                break;
            }
        }
    }
    // One triangle on bone 1 so the model has something to draw.
    m.vertices = {RZ_Vertex{{0, 0, 0}, 1, 0, 1.0f}, RZ_Vertex{{1, 0, 0}, 1, 0, 1.0f},
                  RZ_Vertex{{0, 1, 0}, 1, 0, 1.0f}};
    m.skinned = {m.vertices[0].position, m.vertices[1].position, m.vertices[2].position};
    m.normals.assign(3, Vector3{});
    m.uvs = {RZ_TexCoord{0, 0}, RZ_TexCoord{1, 0}, RZ_TexCoord{0, 1}};
    RZ_Mesh mesh;
    mesh.name = "body";
    RZ_Face face;
    face.cornerCount = 3;
    for (uint16_t k = 0; k < 3; ++k) face.vertexIndex[k] = face.uvIndex[k] = k;
    mesh.faces.push_back(face);
    m.meshes.push_back(mesh);
    m.materialCount = 1;
    if (textured) m.materials[0].sourceName = "skin.bmp";
    for (const MotionSpec& spec : motions) {
        auto anim = std::make_unique<RZ_Animation>();
        anim->name = spec.name;
        anim->tracks[1] = std::make_unique<RZ_KeyTrack>();
        for (int f : spec.frames)
            anim->tracks[1]->AddKey(f, Vector3{float(f), 0, 0}, Quaternion{0, 0, 0, 1},
                                    Vector3{1, 1, 1});
        m.animations[spec.slot] = std::move(anim);
    }
}

class CharacterTest : public HeadlessHostTest {
protected:
    RecordingBackend backend;
    std::unique_ptr<GfxDevice> device;
    GfxDevice* savedDevice = nullptr;
    std::string dir;
    FILE* diag = nullptr;

    void SetUp() override {
        HeadlessHostTest::SetUp();
        backend.keep = false;
        device = std::make_unique<GfxDevice>(&backend);
        savedDevice = g_pd3dDevice;
        g_pd3dDevice = device.get();
        namespace fs = std::filesystem;
        dir = MakeTempDir("chara");
        fs::copy(FixturesDir() + "/characters", dir, fs::copy_options::recursive);
        fs::create_directories(fs::path(dir) / "wea");
        fs::copy(FixturesDir() + "/field/Q3D/box.x", fs::path(dir) / "wea" / "box.x");
        fs::copy(FixturesDir() + "/field/Q3D/crate.bmp", fs::path(dir) / "wea" / "crate.bmp");
        fs::copy(FixturesDir() + "/field/Field/grass.bmp", fs::path(dir) / "chara" / "skin.bmp");
        SetDataDirectory(dir);
        diag = std::tmpfile();  // keeps the model loader's progress lines out of the output
        g_RzDiagStream = diag;
        ResetCharacters();
        ResetParty();
    }
    void TearDown() override {
        ResetCharacters();
        ResetParty();
        EXPECT_EQ(device->LiveTextureCount(), 0u);
        g_RzDiagStream = nullptr;
        if (diag) std::fclose(diag);
        g_pd3dDevice = savedDevice;
        device.reset();
        std::filesystem::remove_all(dir);
        HeadlessHostTest::TearDown();
    }

    // Saves a model under chara\<name>.
    void SaveModel(const std::string& name, const std::vector<std::string>& bones,
                   const std::vector<MotionSpec>& motions, bool textured = false) {
        RZ_Model m;
        BuildModel(m, bones, motions, textured);
        ASSERT_TRUE(
            m.Save((std::string(GetBasePath()) + "chara\\" + name).c_str(), RZ_SaveFormat::Ascii));
        ClearPathCache();
    }
    void WriteFile(const std::string& relative, const std::string& bytes) {
        std::ofstream(std::filesystem::path(dir) / relative, std::ios::binary) << bytes;
        ClearPathCache();
    }
    // Message texts (UTF-8) in the order they were shown.
    static std::vector<std::string> Messages() {
        std::vector<std::string> texts;
        for (const MessageBoxRecord& r : g_MessageBoxLog) texts.push_back(r.text);
        return texts;
    }
};

// The play time of a character's current motion (bone 1's track in the models above).
inline int32_t MotionTime(const Character& c) {
    return c.model.GetAnimationTime();
}

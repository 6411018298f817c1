// What a skinned character costs: a 32-bone, 2,000-vertex model with five meshes, four
// materials and a looping walk, drawn on the recording backend (Draw skins, recomputes the
// normals and hands every face to the device), and loaded from the binary and the ASCII
// variants of the RZ object format.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "base/diagnostics.h"
#include "base/host.h"
#include "base/null_host.h"
#include "base/paths.h"
#include "gfx/device.h"
#include "gfx/recording_backend.h"
#include "gfx/rz_image.h"
#include "model/rz_model.h"
#include "platform/iconv_codec.h"

namespace fs = std::filesystem;

namespace {

constexpr int kLimbs = 5;          // spine, two arms, two legs
constexpr int kBonesPerLimb = 6;   // 1 hip bone + 5 x 6 = 31 bones under the root
constexpr int kRings = 20;         // rings along each limb
constexpr int kRingVertices = 20;  // 5 x 20 x 20 = 2,000 vertices
constexpr int kMaterials = 4;
constexpr int kWalkFrames = 40;

Quaternion AxisAngle(float x, float y, float z, float radians) {
    const float s = std::sin(radians / 2);
    return Quaternion{x * s, y * s, z * s, std::cos(radians / 2)};
}

RZ_Bone& AddBone(RZ_Model& m, int slot, int parent, Vector3 origin, const std::string& name) {
    m.bones[slot] = std::make_unique<RZ_Bone>();
    RZ_Bone& b = *m.bones[slot];
    b.parent = static_cast<uint8_t>(parent);
    b.origin = origin;
    b.range = 10.0f;
    b.SetName(name.c_str());
    for (uint8_t& c : m.bones[parent]->children) {
        if (c == 0) {
            c = static_cast<uint8_t>(slot);
            break;
        }
    }
    return b;
}

// A character of five tubes hanging from a hip bone; each tube follows a chain of six bones,
// every ring bound to the two bones it lies between.
void BuildCharacter(RZ_Model& m) {
    AddBone(m, 1, 0, Vector3{0, 100, 0}, "hips");
    const Vector3 directions[kLimbs] = {
        {0, 1, 0}, {-1, 0.3f, 0}, {1, 0.3f, 0}, {-0.2f, -1, 0}, {0.2f, -1, 0}};
    const float length = 60.0f;
    for (int limb = 0; limb < kLimbs; ++limb) {
        const Vector3& d = directions[limb];
        for (int k = 0; k < kBonesPerLimb; ++k) {
            int slot = 2 + limb * kBonesPerLimb + k;
            int parent = k == 0 ? 1 : slot - 1;
            float t = length * k / kBonesPerLimb;
            AddBone(m, slot, parent, Vector3{d.x * t, 100 + d.y * t, d.z * t},
                    "limb" + std::to_string(limb) + "_" + std::to_string(k));
        }
    }

    for (int limb = 0; limb < kLimbs; ++limb) {
        const Vector3& d = directions[limb];
        const uint16_t first = static_cast<uint16_t>(m.vertices.size());
        for (int ring = 0; ring < kRings; ++ring) {
            float along = float(ring) / (kRings - 1);  // 0 .. 1 along the limb
            float bonePos = along * (kBonesPerLimb - 1);
            int b0 = int(bonePos);
            int b1 = b0 + 1 < kBonesPerLimb ? b0 + 1 : b0;
            float radius = 6.0f - 3.0f * along;
            for (int i = 0; i < kRingVertices; ++i) {
                float a = 2.0f * float(M_PI) * i / kRingVertices;
                RZ_Vertex v;
                v.position = Vector3{d.x * length * along + radius * std::cos(a),
                                     100 + d.y * length * along + radius * std::sin(a) * 0.5f,
                                     d.z * length * along + radius * std::sin(a)};
                v.bone0 = static_cast<uint8_t>(2 + limb * kBonesPerLimb + b0);
                v.bone1 = b1 != b0 ? static_cast<uint8_t>(2 + limb * kBonesPerLimb + b1) : 0;
                v.weight = 1.0f - (bonePos - float(b0));
                m.vertices.push_back(v);
                m.uvs.push_back(RZ_TexCoord{float(i) / kRingVertices, along});
            }
        }
        RZ_Mesh mesh;
        mesh.name = "limb" + std::to_string(limb);
        auto at = [first](int ring, int i) {
            return static_cast<uint16_t>(first + ring * kRingVertices + (i % kRingVertices));
        };
        // Quads between the rings, the material changing in bands along the limb.
        for (int ring = 0; ring + 1 < kRings; ++ring) {
            for (int i = 0; i < kRingVertices; ++i) {
                RZ_Face f;
                f.cornerCount = 4;
                const uint16_t c[4] = {at(ring, i), at(ring, i + 1), at(ring + 1, i + 1),
                                       at(ring + 1, i)};
                for (int k = 0; k < 4; ++k) f.vertexIndex[k] = f.uvIndex[k] = c[k];
                f.material = static_cast<uint8_t>((limb + ring / 5) % kMaterials);
                mesh.faces.push_back(f);
            }
        }
        // Triangle fans closing both ends.
        for (int end = 0; end < 2; ++end) {
            int ring = end ? kRings - 1 : 0;
            for (int i = 1; i + 1 < kRingVertices; ++i) {
                RZ_Face f;
                f.cornerCount = 3;
                const uint16_t c[3] = {at(ring, 0), at(ring, i), at(ring, i + 1)};
                for (int k = 0; k < 3; ++k) f.vertexIndex[k] = f.uvIndex[k] = c[k];
                f.material = static_cast<uint8_t>(limb % kMaterials);
                mesh.faces.push_back(f);
            }
        }
        m.meshes.push_back(std::move(mesh));
    }

    m.materialCount = kMaterials;
    for (int i = 0; i < kMaterials; ++i) {
        m.materials[i].red = 0.25f * float(i + 1);
        m.materials[i].green = 0.5f;
        m.materials[i].blue = 1.0f - 0.2f * float(i);
    }

    // A walk: every bone swings about its own axis in four keys over 40 frames.
    m.CreateAnimation(0, "walk");
    for (int b = 1; b < kRzMaxBones; ++b) {
        RZ_KeyTrack& track = *m.animations[0]->tracks[b];
        for (int k = 1; k <= 4; ++k) {
            float swing = (k % 2 ? 0.4f : -0.4f) * (1.0f + 0.05f * float(b));
            track.AddKey(k * kWalkFrames / 4, Vector3{0, 0.5f * float(k % 2), 0},
                         AxisAngle(b % 3 == 0, b % 3 == 1, b % 3 == 2, swing), Vector3{1, 1, 1});
        }
    }
    m.SetCurrentAnimation(0);
    m.ResetAnimation();
}

// The host the model library needs, a device over a counting recorder, and a data directory
// that holds the model in both file variants.
struct ModelData {
    IconvCodec codec;
    HeadlessDialogs dialogs;
    RecordingBackend backend;
    std::unique_ptr<GfxDevice> device;
    std::string dir;
    std::unique_ptr<RZ_Model> model;
    GfxTexture* textures[kMaterials] = {};

    ModelData() {
        g_Host.codec = &codec;
        dialogs.quiet = true;
        g_Host.dialogs = &dialogs;
        backend.keep = false;
        device = std::make_unique<GfxDevice>(&backend);
        SetLogFile("");  // the loader's progress lines stay out of the figures
        dir = (fs::temp_directory_path() / "gh02-model-bench").string();
        fs::create_directories(dir);
        SetDataDirectory(dir);
        model = std::make_unique<RZ_Model>();
        BuildCharacter(*model);
        if (!model->Save(Path("walker_bin.rzo").c_str(), RZ_SaveFormat::Binary) ||
            !model->Save(Path("walker_txt.rzo").c_str(), RZ_SaveFormat::Ascii))
            std::fprintf(stderr, "the model could not be written to %s\n", dir.c_str());
        // Drawn with real textures, so the device switches them between materials.
        for (int i = 0; i < kMaterials; ++i) {
            device->CreateTexture(64, 64, 1, 0, PixelFormat::A8R8G8B8, Pool::Managed, &textures[i]);
            model->materials[i].texture = textures[i];
        }
    }
    ~ModelData() {
        model.reset();  // releases the material textures
        device.reset();
        fs::remove_all(dir);
    }
    static std::string Path(const char* name) { return std::string(GetBasePath()) + name; }
};

ModelData& Data() {
    static ModelData data;
    return data;
}

void Step(RZ_Model& m) {
    if (m.AdvanceAnimation(1)) m.ResetAnimation();
}

// One frame of a walking character: the pose moves a frame, then Draw skins, recomputes the
// normals and draws every face.
void BM_ModelDraw(benchmark::State& state) {
    ModelData& d = Data();
    RZ_Model& m = *d.model;
    uint64_t before = d.backend.drawCount;
    for (auto _ : state) {
        Step(m);
        m.Draw(d.device.get(), 1.0f);
    }
    state.counters["draws_per_model"] =
        double(d.backend.drawCount - before) / double(state.iterations());
    state.counters["vertices"] = double(m.vertices.size());
    state.counters["bones"] = double(m.BoneCount());
}
BENCHMARK(BM_ModelDraw)->Unit(benchmark::kMicrosecond);

// The parts of that frame on their own.
void BM_ModelAdvanceAnimation(benchmark::State& state) {
    RZ_Model& m = *Data().model;
    for (auto _ : state) Step(m);
}
BENCHMARK(BM_ModelAdvanceAnimation)->Unit(benchmark::kMicrosecond);

void BM_ModelSkinAndNormals(benchmark::State& state) {
    RZ_Model& m = *Data().model;
    for (auto _ : state) {
        Step(m);
        m.UpdateSkin();
        m.UpdateNormals();
    }
}
BENCHMARK(BM_ModelSkinAndNormals)->Unit(benchmark::kMicrosecond);

void Load(benchmark::State& state, const char* name) {
    ModelData& d = Data();
    const std::string path = ModelData::Path(name);
    state.counters["bytes"] = double(fs::file_size(fs::path(d.dir) / name));
    RZ_Model m;
    for (auto _ : state) {
        if (!m.Load(d.device.get(), path.c_str(), nullptr)) {
            state.SkipWithError("the model did not load");
            break;
        }
    }
    // A figure for a file that came back incomplete would mean nothing.
    size_t faces = 0, expected = 0;
    for (const RZ_Mesh& mesh : m.meshes) faces += mesh.faces.size();
    for (const RZ_Mesh& mesh : d.model->meshes) expected += mesh.faces.size();
    if (m.vertices.size() != d.model->vertices.size() || faces != expected ||
        m.BoneCount() != d.model->BoneCount() || !m.HasAnimation(0))
        state.SkipWithError("the loaded model differs from the one written");
    state.counters["vertices"] = double(m.vertices.size());
}

void BM_ModelLoadBinary(benchmark::State& state) {
    Load(state, "walker_bin.rzo");
}
BENCHMARK(BM_ModelLoadBinary)->Unit(benchmark::kMicrosecond);

void BM_ModelLoadAscii(benchmark::State& state) {
    Load(state, "walker_txt.rzo");
}
BENCHMARK(BM_ModelLoadAscii)->Unit(benchmark::kMicrosecond);

}  // namespace

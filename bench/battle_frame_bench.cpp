// What a battle frame costs: BattleFrame as the game runs it with eight fighters animating
// (8 bones, 8 box meshes each, a looping stance), the battle ground (a box mesh scaled by 40),
// the sky, a weapon trail being sampled and drawn, the party's three status lines and sixteen
// damage labels in the air, on the recording backend (the device's own cost) and on the OpenGL
// backend offscreen (finished with glFinish).
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/modes.h"
#include "app/shell.h"
#include "base/host.h"
#include "base/paths.h"
#include "battle/battle.h"
#include "bench_device.h"
#include "gfx/d3d.h"
#include "gfx/text.h"
#include "gfx/texture_slots.h"
#include "platform/freetype_rasterizer.h"
#include "platform/iconv_codec.h"
#include "world/character.h"
#include "world/field_camera.h"
#include "world/field_tables.h"
#include "world/party.h"
#include "world/projection.h"
#include "world/scene_render.h"

namespace fs = std::filesystem;

namespace {

constexpr int kBones = 8;

const char* const kBoxX = R"(xof 0303txt 0032
Mesh Box {
  8;
  -1;0;-1;, 1;0;-1;, 1;2;-1;, -1;2;-1;, -1;0;1;, 1;0;1;, 1;2;1;, -1;2;1;;
  12;
  3;0,3,2;, 3;0,2,1;, 3;4,5,6;, 3;4,6,7;, 3;0,4,7;, 3;0,7,3;,
  3;1,2,6;, 3;1,6,5;, 3;3,7,6;, 3;3,6,2;, 3;0,1,5;, 3;0,5,4;;
}
)";

// The codec and the glyph source, installed once for the whole run.
struct TextHost {
    IconvCodec codec;
    FreeTypeRasterizer rasterizer;
    TextHost() {
        g_Host.codec = &codec;
        SetGlyphRasterizer(&rasterizer);
    }
};

// A figure of kBones boxes in a chain, the top one the weapon bone, with a looping stance.
void BuildFigure(RZ_Model& m) {
    m.Reset();
    for (int b = 1; b <= kBones; ++b) {
        m.bones[b] = std::make_unique<RZ_Bone>();
        m.bones[b]->SetName(b == kBones ? "wea_b" : b == kBones - 1 ? "head_b" : "bone");
        m.bones[b]->origin = Vector3{0, 40.0f * b, 0};
        m.bones[b]->parent = static_cast<uint8_t>(b - 1);
        m.bones[b - 1]->children[0] = static_cast<uint8_t>(b);
        const uint16_t first = static_cast<uint16_t>(m.vertices.size());
        for (int k = 0; k < 8; ++k) {
            RZ_Vertex v;
            v.position = Vector3{(k & 1) ? 15.0f : -15.0f, 40.0f * b + ((k & 2) ? 35.0f : 0.0f),
                                 (k & 4) ? 15.0f : -15.0f};
            v.bone0 = static_cast<uint8_t>(b);
            m.vertices.push_back(v);
            m.uvs.push_back(RZ_TexCoord{float(k & 1), float((k >> 1) & 1)});
        }
        RZ_Mesh mesh;
        mesh.name = "part";
        const int quads[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                 {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
        for (const auto& q : quads) {
            RZ_Face f;
            f.cornerCount = 4;
            for (int c = 0; c < 4; ++c) f.vertexIndex[c] = f.uvIndex[c] = uint16_t(first + q[c]);
            mesh.faces.push_back(f);
        }
        m.meshes.push_back(std::move(mesh));
    }
    for (int slot : {kMotionStand, kMotionBattleStance}) {
        auto& a = m.animations[slot] = std::make_unique<RZ_Animation>();
        a->name = "btl_stance";
        for (int b = 1; b <= kBones; ++b) {
            a->tracks[b] = std::make_unique<RZ_KeyTrack>();
            for (int f = 0; f <= 64; f += 16) {
                const float r = 0.3f * std::sin(f * 0.1f + b);
                a->tracks[b]->AddKey(f, Vector3{}, Quaternion{0, std::sin(r), 0, std::cos(r)},
                                     Vector3{1, 1, 1});
            }
        }
    }
}

// A battle in the middle of a fight: everyone standing, labels rising, a blade swinging.
struct BattleScene {
    std::string dir = (fs::temp_directory_path() / "gh02_battle_bench").string();

    BattleScene() {
        fs::create_directories(fs::path(dir) / "btlFld");
        std::ofstream(fs::path(dir) / "btlFld" / "fld1.x") << kBoxX;
        SetDataDirectory(dir);
        ClearPathCache();
        StartFieldTables();
        ResetCharacters();
        ResetParty();
        g_pBattle = std::make_unique<Battle>();
        Battle& b = *g_pBattle;
        LoadBattleField();
        for (int i = kFirstEnemySlot; i < kBattleFighterCount; ++i)
            g_Fighters[i] = new FighterRecord();
        for (int i = 0; i < kBattleFighterCount; ++i) {
            FighterRecord& f = *g_Fighters[i];
            f.SetName("Fighter");
            f.maxHp = f.hp = 999;
            f.maxMp = f.mp = 99;
            Character& c = g_Characters[i];
            BuildFigure(c.model);
            c.active = 1;
            c.weaponBone = c.model.bones[kBones].get();
            c.headBone = c.model.bones[kBones - 1].get();
            c.bladeLength = 600.0f;
            b.home[i] = i < kFirstEnemySlot ? Vector3{float((i - 1) * 896), 0, 1024}
                                            : Vector3{float((i - 5) * 448), 0, -1024};
            c.position = b.home[i];
            b.alive[i] = 1;
            b.shownHp[i] = f.hp;
            b.shownMp[i] = f.mp;
            c.SetMotion(i < kFirstEnemySlot ? kMotionBattleStance : kMotionStand, 1);
        }
        b.hudVisible = 1;
        b.frameHandler = NullFrameHook;  // a phase that changes nothing
        for (int n = 0; n < kDamageLabelCount; ++n) {
            DamageLabel& l = b.labels[n];
            l.life = 1 + n * 2;
            l.colour = 0xFFFFFF;
            l.position = b.home[n % kBattleFighterCount];
            std::snprintf(l.text, sizeof l.text, "%d", 100 + 37 * n);
        }
        g_Camera.target = Vector3{0, 512, 0};
        g_Camera.angle = 0.3f;
        g_Camera.distance = 3500.0f;
        g_Camera.eye.y = 1500.0f;
        UpdateCameraEye();
        SetBattleProjection();
        UseCameraForScene();
        g_FrameTime = 17;
        g_TrailSampling = 1;
    }
    ~BattleScene() {
        g_TrailSampling = 0;
        ResetWeaponTrail();
        g_pBattle.reset();
        ResetParty();
        ResetCharacters();
        ReleaseFieldTables();
        fs::remove_all(dir);
    }
    // Keeps the labels in the air and the trail swinging, as a long fight would.
    void KeepBusy() {
        for (DamageLabel& l : g_pBattle->labels)
            if (l.life <= 1) l.life = kDamageLabelLife;
        if (g_WeaponTrail.count == 0 || g_WeaponTrail.count + 40 >= kTrailPointCount)
            StartWeaponTrail(kDefaultTrailColour, 1);
    }
};

void DrawBattleFrame() {
    GfxDevice* d = g_pd3dDevice;
    d->Clear(kClearTarget | kClearZBuffer, 0, 1.0f, 0);
    d->BeginScene();
    BattleFrame();
    d->EndScene();
    d->Present();
}

void RunFrames(benchmark::State& state, BenchDevice::Kind kind) {
    BenchDevice device;
    if (!device.Start(state, kind)) return;
    static TextHost text;
    CreateGameFont(18);
    BattleScene scene;
    scene.KeepBusy();
    DrawBattleFrame();  // uploads the glyphs once, as the game's first frames do
    device.Finish();
    device.StartCounting();
    for (auto _ : state) {
        scene.KeepBusy();
        DrawBattleFrame();
        device.Finish();
    }
    device.Report(state);
}

void BM_BattleFrame_Recording(benchmark::State& state) {
    RunFrames(state, BenchDevice::kRecording);
}
BENCHMARK(BM_BattleFrame_Recording)->Unit(benchmark::kMicrosecond);

void BM_BattleFrame_OpenGL(benchmark::State& state) {
    RunFrames(state, BenchDevice::kOpenGl);
}
// Real time: a software rasteriser does part of the work on threads of its own.
BENCHMARK(BM_BattleFrame_OpenGL)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

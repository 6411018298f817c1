// What a field frame costs: the sky, the 961 ground quads with a texture and lighting, ten cell
// objects (a 12-triangle box each), 24 billboards and four animated characters (8 bones, 8 box
// meshes, a looping walk), drawn as the field frame draws them, on the recording backend (the
// device's own cost) and on the OpenGL backend offscreen (finished with glFinish). The scripted
// variants run the whole field frame as the game does (FieldFrame: input, camera, scene, talk
// windows, the field script) with a field script that keeps three talk windows typing and turns
// a character every frame.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/shell.h"
#include "base/host.h"
#include "base/paths.h"
#include "base/sjis.h"
#include "bench_device.h"
#include "field/field_frame.h"
#include "field/field_script.h"
#include "field/game_state.h"
#include "gfx/d3d.h"
#include "gfx/text.h"
#include "gfx/texture_slots.h"
#include "platform/freetype_rasterizer.h"
#include "platform/iconv_codec.h"
#include "script/script_runner.h"
#include "ui/talk_window.h"
#include "world/character.h"
#include "world/field_tables.h"
#include "world/scene_render.h"

namespace fs = std::filesystem;

namespace {

constexpr int kCharacters = 4;
constexpr int kBones = 8;

// A closed box of 8 corners and 12 triangles, without texture.
const char* const kBoxX = R"(xof 0303txt 0032
Mesh Box {
  8;
  -1;0;-1;, 1;0;-1;, 1;2;-1;, -1;2;-1;, -1;0;1;, 1;0;1;, 1;2;1;, -1;2;1;;
  12;
  3;0,3,2;, 3;0,2,1;, 3;4,5,6;, 3;4,6,7;, 3;0,4,7;, 3;0,7,3;,
  3;1,2,6;, 3;1,6,5;, 3;3,7,6;, 3;3,6,2;, 3;0,1,5;, 3;0,5,4;;
}
)";

SceneView g_view;
SceneView ReadView() {
    return g_view;
}

GfxTexture* Solid(uint32_t argb, uint32_t size) {
    GfxTexture* t = nullptr;
    if (g_pd3dDevice->CreateTexture(size, size, 1, 0, PixelFormat::A8R8G8B8, Pool::Managed, &t) !=
        kOk)
        return nullptr;
    LockedRect r;
    if (t->LockRect(0, &r) == kOk) {
        for (uint32_t y = 0; y < size; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(r.bits) + y * r.pitch);
            for (uint32_t x = 0; x < size; ++x) row[x] = argb ^ ((x ^ y) & 8 ? 0x00101010 : 0);
        }
        t->UnlockRect(0);
    }
    return t;
}

// A figure of kBones boxes, one per bone in a chain, with a looping sway.
void BuildFigure(RZ_Model& m) {
    m.Reset();
    for (int b = 1; b <= kBones; ++b) {
        m.bones[b] = std::make_unique<RZ_Bone>();
        m.bones[b]->SetName(b == kBones ? "wea_b" : ("bone" + std::to_string(b)).c_str());
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
        mesh.name = "part" + std::to_string(b);
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
    auto& walk = m.animations[0] = std::make_unique<RZ_Animation>();
    walk->name = "fld_walk";
    for (int b = 1; b <= kBones; ++b) {
        walk->tracks[b] = std::make_unique<RZ_KeyTrack>();
        for (int f = 0; f <= 64; f += 16) {
            const float a = 0.2f * std::sin(f * 0.1f + b);
            walk->tracks[b]->AddKey(f, Vector3{}, Quaternion{0, std::sin(a), 0, std::cos(a)},
                                    Vector3{1, 1, 1});
        }
    }
}

// The field as a player sees it in the middle of a level: ground, objects, pictures, people.
struct FieldScene {
    std::string dir = (fs::temp_directory_path() / "gh02_field_bench").string();
    GfxTexture* pictures[4] = {};

    FieldScene() {
        fs::create_directories(fs::path(dir) / "Q3D");
        std::ofstream(fs::path(dir) / "Q3D" / "box.x") << kBoxX;
        SetDataDirectory(dir);
        ClearPathCache();
        g_pGameState = new GameState;
        StartFieldTables();
        QFldInfo& f = *g_pGameState->fieldInfo;
        f.groundTexture[0] = Solid(0xFF308030, 64);
        f.groundTexture[1] = Solid(0xFF806040, 64);
        for (int x = 0; x < 32; ++x)
            for (int r = 0; r < 32; ++r) {
                f.height[x][r] = int16_t(200 * std::sin(x * 0.4) * std::cos(r * 0.3));
                f.groundImage[x][r] = uint8_t((x + r) % 2);
                f.cellFlags[x][r] = (x * 7 + r) % 5 == 0 ? 0x80 : 0;
            }
        g_pGameState->groundLighting = 1;
        for (int k = 0; k < kFieldObjectCount; ++k) {
            g_FieldMeshes[k]->load("box", "Q3D\\");
            g_FieldObjects[k].mesh = g_FieldMeshes[k].get();
            g_FieldObjects[k].scale = Vector3{100, 100, 100};
            f.cellFlags[14 + k % 5][10 + k / 5 * 3] = uint8_t(k + 1);
        }
        for (int s = 1; s <= 5; ++s)
            g_TextureSlots[s] = TextureSlot{Solid(0xFF6080C0, 128), 128, 128};
        for (int i = 0; i < 4; ++i) pictures[i] = Solid(0xFF20A020 + 0x200000 * i, 64);
        for (int i = 0; i < kBillboardCount; ++i) {
            Billboard& b = g_Billboards[i];
            ResetBillboard(b);
            g_TextureSlots[kBillboardFirstSlot + i] = TextureSlot{pictures[i % 4], 64, 64};
            b.image = &g_TextureSlots[kBillboardFirstSlot + i];
            b.position = Vector3{12000.0f + 400.0f * (i % 8), 0, -9000.0f - 900.0f * (i / 8)};
            b.widthScale = b.heightScale = 4.0f;
        }
        ResetCharacters();
        for (int c = 0; c < kCharacters; ++c) {
            Character& ch = g_Characters[c];
            BuildFigure(ch.model);
            ch.active = 1;
            ch.SetMotion(0, 1);
            ch.position = Vector3{15000.0f + 300.0f * c, 0, -8000.0f};
            ch.weaponBone = ch.model.bones[kBones].get();
        }
        g_view.eye = Vector3{15872, 1200, -4000};
        g_view.target = Vector3{15872, 300, -9000};
        g_view.view.LookAt(g_view.eye, g_view.target, Vector3{0, 1, 0});
        const float ys = 1.0f / std::tan(0.7853982f / 2.0f), zn = 192.0f, zf = 20000.0f;
        g_view.projection = Matrix44{};
        g_view.projection.m[0][0] = ys * 0.75f;
        g_view.projection.m[1][1] = ys;
        g_view.projection.m[2][2] = zf / (zf - zn);
        g_view.projection.m[2][3] = 1.0f;
        g_view.projection.m[3][2] = -zn * zf / (zf - zn);
        g_pd3dDevice->SetTransform(TransformType::View, g_view.view);
        g_pd3dDevice->SetTransform(TransformType::Projection, g_view.projection);
        SetSceneViewSource(&ReadView);
        g_FrameTime = 17;
    }
    ~FieldScene() {
        SetSceneViewSource(nullptr);
        ResetCharacters();
        delete g_pGameState;
        g_pGameState = nullptr;
        ReleaseFieldTables();
        for (int s = 1; s <= 5; ++s) {
            if (g_TextureSlots[s].texture) g_TextureSlots[s].texture->Release();
            g_TextureSlots[s] = TextureSlot{};
        }
        for (int i = 0; i < kBillboardCount; ++i)
            g_TextureSlots[kBillboardFirstSlot + i] = TextureSlot{};
        for (GfxTexture* t : pictures)
            if (t) t->Release();
        fs::remove_all(dir);
    }
};

void DrawFieldFrame() {
    GfxDevice* d = g_pd3dDevice;
    d->Clear(kClearTarget | kClearZBuffer, 0, 1.0f, 0);
    d->BeginScene();
    DrawGround();
    DrawCharacters();
    DrawBillboards();
    d->SetRenderState(RenderState::CullMode, Cull::CounterClockwise);
    d->EndScene();
    d->Present();
}

// The codec and the glyph source the talk windows draw with, installed once for the run.
void InstallText() {
    static IconvCodec codec;
    static FreeTypeRasterizer rasterizer;
    g_Host.codec = &codec;
    SetGlyphRasterizer(&rasterizer);
}

// Every 24 frames the three windows get a two-line text anew (about 90 bytes: 24 frames of
// typing) at characters 1-3; every frame character 1 turns by 2 degrees.
std::string TalkingScript() {
    const std::string line = ToSjis(
        "「この先の森には、夜になると魔物が出るらしい。」\\n宝箱を開けた！ 100 Gold と "
        "薬草を手に入れた。");
    std::string s = "@:TOP//";
    for (int w = 0; w < 3; ++w)
        s += "c3 " + line + "//=f0 " + std::to_string(w) + ",1f4 " + std::to_string(w) + "," +
             std::to_string(w + 1) + ",";
    s += "c1 0,0,=c1 1,24,=@:WAIT//c6 1,4,2,+c1 0,1,+c2 0,<<1,#c5 WAIT//1c4 TOP//1";
    return s;
}

void DrawScriptedFrame() {
    GfxDevice* d = g_pd3dDevice;
    d->Clear(kClearTarget | kClearZBuffer, 0, 1.0f, 0);
    d->BeginScene();
    FieldFrame();
    d->EndScene();
    d->Present();
}

void RunFrames(benchmark::State& state, BenchDevice::Kind kind, bool scripted) {
    BenchDevice device;
    if (!device.Start(state, kind)) return;
    FieldScene scene;
    if (scripted) {
        InstallText();
        QScrOrg& s = g_pGameState->fieldScript;
        const std::string text = TalkingScript();
        std::memset(s.text, 0, sizeof s.text);
        std::memcpy(s.text, text.data(), std::min(text.size(), sizeof s.text - 1));
        s.pc = 0;
        s.aux = 0;
        s.running = 1;
    }
    void (*frame)() = scripted ? DrawScriptedFrame : DrawFieldFrame;
    frame();  // uploads the textures once, as the game's first frame does
    device.Finish();
    device.StartCounting();
    for (auto _ : state) {
        frame();
        device.Finish();
    }
    device.Report(state);
    if (scripted) ResetTalkWindows();
}

void BM_FieldFrame_Recording(benchmark::State& state) {
    RunFrames(state, BenchDevice::kRecording, false);
}
BENCHMARK(BM_FieldFrame_Recording)->Unit(benchmark::kMicrosecond);

void BM_FieldFrameScripted_Recording(benchmark::State& state) {
    RunFrames(state, BenchDevice::kRecording, true);
}
BENCHMARK(BM_FieldFrameScripted_Recording)->Unit(benchmark::kMicrosecond);

// Real time: a software rasteriser does part of the work on threads of its own.
void BM_FieldFrame_OpenGL(benchmark::State& state) {
    RunFrames(state, BenchDevice::kOpenGl, false);
}
BENCHMARK(BM_FieldFrame_OpenGL)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_FieldFrameScripted_OpenGL(benchmark::State& state) {
    RunFrames(state, BenchDevice::kOpenGl, true);
}
BENCHMARK(BM_FieldFrameScripted_OpenGL)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

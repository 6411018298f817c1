#include "world/field_info.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "base/diagnostics.h"
#include "base/game_file.h"
#include "base/item_reader.h"
#include "base/message_box.h"
#include "base/paths.h"
#include "base/sjis.h"
#include "gfx/d3d.h"
#include "gfx/device.h"
#include "gfx/image_file.h"
#include "gfx/texture.h"
#include "gfx/texture_slots.h"
#include "gfx/x_mesh_holder.h"
#include "world/field_tables.h"

char g_FieldName[kFieldNameSize] = {};

namespace {

// Far beyond any field file (about 30 KB); the rest of a larger file is not read.
constexpr size_t kMaxFieldFileBytes = 16u << 20;
constexpr int kCells = kFieldGridSize * kFieldGridSize;
// Billboard image numbers pick texture slot m + 6; a slot past the table is refused.
constexpr int kLowestBillboardImage = -kBillboardFirstSlot;
constexpr int kHighestBillboardImage = 57;

// The message shows the whole path: the data directory is native text, the rest Shift-JIS.
std::string MessagePath(const std::string& base, const std::string& rest) {
    return ToSjis(base) + rest;
}

template <typename T>
using Grid = T[kFieldGridSize][kFieldGridSize];

// The file lists row 0 first, x = 0 to 31 in each row: value k is corner (k % 32, k / 32).
// Each value kept in the low bits a cell holds; one that does not fit them is named.
template <typename T, typename Store>
bool ReadGrid(ItemReader& r, const char* section, Grid<T>& grid, int64_t low, int64_t high,
              Store store) {
    for (int k = 0; k < kCells; ++k) {
        int32_t value = 0;
        if (!r.ReadNth(section, k, "%d,", &value)) return false;
        r.Fits(section, value, low, high);
        grid[k % kFieldGridSize][k / kFieldGridSize] = store(value);
    }
    return true;
}

uint8_t Low8(int32_t v) {
    return static_cast<uint8_t>(static_cast<uint32_t>(v));
}

bool ReadBillboards(ItemReader& r) {
    const char* section = "ビルボード";
    for (int i = 0; i < kBillboardCount; ++i) {
        Billboard& b = g_Billboards[i];
        int32_t on = 0, image = 0;
        std::string file;
        if (!r.ReadNth(section, i, "%d,", &on) || !r.ReadNth(section, i, "%d,", &image))
            return false;
        if (!r.ReadNth(section, i, "%f,%f,%f,", &b.position.x, &b.position.y, &b.position.z) ||
            !r.ReadNth(section, i, "%f,%f,", &b.widthScale, &b.heightScale) ||
            !r.ReadNth(section, i, "%d,%d,%d,%d,", &b.red, &b.green, &b.blue, &b.alpha) ||
            !r.ReadNth(section, i, "%s\n", &file))
            return false;
        // A billboard that is off keeps whatever image it pointed at.
        if (on != 0) {
            if (image >= kLowestBillboardImage && image <= kHighestBillboardImage) {
                b.image = &g_TextureSlots[image + kBillboardFirstSlot];
            } else {
                RZ_MsgBox(SJIS("溢れとりまんがな！！"),
                          "billboard " + std::to_string(i) + " of the field names image " +
                              std::to_string(image) + ", outside the billboard images");
                b.image = &g_TextureSlots[1];
            }
        }
        const ExpectedMissing unused(MarksUnusedEntry(file));
        LoadTextureSlot(g_TextureSlots[i + kBillboardFirstSlot], ("tex\\" + file).c_str());
    }
    return true;
}

bool ReadLights(ItemReader& r) {
    const char* section = "ライト";
    for (int i = 0; i < kFieldLightCount; ++i) {
        int32_t unused = 0, enable = 0;
        float px = 0, py = 0, pz = 0, red = 0, green = 0, blue = 0, range = 0;
        if (!r.ReadNth(section, i, "%d,", &unused) || !r.ReadNth(section, i, "%d,", &enable))
            return false;
        // Switched even when the slot has no light any more.
        if (g_pd3dDevice) g_pd3dDevice->LightEnable(uint32_t(i + 1), enable != 0);
        if (!r.ReadNth(section, i, "%f,%f,%f,", &px, &py, &pz) ||
            !r.ReadNth(section, i, "%f,%f,%f,", &red, &green, &blue) ||
            !r.ReadNth(section, i, "%f,", &range))
            return false;
        if (!g_FieldLights[i]) continue;
        MakePointLight(i);
        Light& light = *g_FieldLights[i];
        light.position = DeviceVector{px, py, pz};
        light.diffuse = ColorValue{red, green, blue, 0.0f};
        light.ambient = ColorValue{red, green, blue, 0.0f};
        light.range = range;
        if (g_pd3dDevice) g_pd3dDevice->SetLight(uint32_t(i + 1), light);
    }
    return true;
}

bool ReadMeshes(ItemReader& r) {
    const char* section = "メッシュ";
    for (int i = 0; i < kFieldMeshCount; ++i) {
        std::string name;
        if (!r.ReadNth(section, i, "%s\n", &name)) return false;
        FieldObject& o = g_FieldObjects[i];
        // Object i stands for mesh i of its field: a mesh that loads is bound to it, so the
        // cells that name the object show it. A name that loads nothing keeps the reference.
        if (g_FieldMeshes[i]) {
            const ExpectedMissing unused(MarksUnusedEntry(name));
            g_FieldMeshes[i]->load(name.c_str(), "Q3D\\");
            if (g_FieldMeshes[i]->mesh) o.mesh = g_FieldMeshes[i].get();
        }
        if (!r.ReadNth(section, i, "%d,", &o.kind) ||
            !r.ReadNth(section, i, "%f,%f,%f,", &o.position.x, &o.position.y, &o.position.z) ||
            !r.ReadNth(section, i, "%f,%f,%f,", &o.rotation.x, &o.rotation.y, &o.rotation.z) ||
            !r.ReadNth(section, i, "%f,%f,%f,", &o.scale.x, &o.scale.y, &o.scale.z))
            return false;
    }
    return true;
}

}  // namespace

QFldInfo::~QFldInfo() {
    ReleaseGroundTextures();
}

void QFldInfo::ReleaseGroundTextures() {
    for (GfxTexture*& t : groundTexture) {
        if (t) t->Release();
        t = nullptr;
    }
}

void QFldInfo::load(const char* name, int32_t* groundLighting) {
    // The name may be g_FieldName itself (the reload after a battle).
    std::string fieldName(name ? name : "");
    if (fieldName.size() >= size_t(kFieldNameSize)) fieldName.resize(kFieldNameSize - 1);
    std::memcpy(g_FieldName, fieldName.c_str(), fieldName.size() + 1);

    const std::string base = GetBasePath();
    const std::string rest = "Field\\" + fieldName + ".qf";
    const FileRead file = ReadGameFile(base + rest, kMaxFieldFileBytes);
    if (!file.Ok()) {
        RZ_MsgBox("QFldInfo::load:error!!!!\n" + MessagePath(base, rest),
                  "the field file " + ShownPath(MessagePath(base, rest)) + " cannot be read");
        return;
    }
    loadText(file.bytes, MessagePath(base, rest), groundLighting);
}

bool QFldInfo::loadText(std::string_view text, const std::string& pathSjis,
                        int32_t* groundLighting) {
    // Field files were read in text mode: Ctrl-Z ends the file.
    ItemReader r(text, "QFldInfo::load:error!!!!", pathSjis);

    int32_t lighting = 0;
    if (!r.ReadNth("地面のライティング", 0, "%d,", &lighting)) return false;
    if (groundLighting) *groundLighting = lighting;

    // "%s," takes the name up to whitespace, so a comma written right behind it stays in it.
    std::string sky;
    if (!r.ReadNth("空の名前", 0, "%s,", &sky)) return false;
    for (int n = 0; n < kSkyImages; ++n)
        LoadTextureSlot(g_TextureSlots[n + 1],
                        ("tex\\" + sky + std::to_string(n) + ".bmp").c_str());

    for (int i = 0; i < kGroundTextureCount; ++i) {
        std::string name;
        if (!r.ReadNth("地面の画像名", i, "%s\n", &name)) return false;
        loadGroundTexture(i, name.c_str());
    }

    if (!ReadGrid(r, "高さ", height, INT16_MIN, UINT16_MAX, [](int32_t v) {
            return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(v)));
        }))
        return false;
    if (!ReadGrid(r, "セルのフラグ", cellFlags, 0, 255, [](int32_t v) {
            uint8_t flags = Low8(v);
            // Only ten field objects exist: a larger object number stands for none.
            if ((flags & kCellObjectMask) > kMaxCellObject) flags &= uint8_t(~kCellObjectMask);
            return flags;
        }))
        return false;
    if (!ReadGrid(r, "地面の画像番号", groundImage, 0, 255, Low8)) return false;
    if (!ReadGrid(r, "セルのイベント", cellEvent, 0, 255, Low8)) return false;
    if (!ReadGrid(r, "カメラの選択", cameraSelect, 0, 255, Low8)) return false;

    if (!ReadBillboards(r) || !ReadLights(r) || !ReadMeshes(r)) return false;

    for (int i = 0; i < kCameraSlopeCount; ++i) {
        CameraSlope& s = cameraSlope[i];
        if (!r.ReadNth("カメラの傾き", i, "%f,%f,%f,", &s.heightRate, &s.distanceRate, &s.third))
            return false;
    }
    return true;
}

int QFldInfo::loadGroundTexture(int index, const char* name) {
    if (index < 0 || index >= kGroundTextureCount) return 0;
    GfxTexture*& entry = groundTexture[index];
    if (entry) {
        entry->Release();
        entry = nullptr;
    }
    const std::string path = std::string(GetBasePath()) + "Field\\" + (name ? name : "") + ".BMP";
    // A missing file is named where its path is looked up, a folder or a damaged picture by the
    // texture reader.
    const ExpectedMissing unused(MarksUnusedEntry(name ? name : ""));
    return CreateTextureFromFile(g_pd3dDevice, path, &entry) != kErrNotFound;
}

GfxTexture* QFldInfo::GroundTextureAt(int x, int row) const {
    if (x < 0 || x >= kFieldGridSize || row < 0 || row >= kFieldGridSize) return nullptr;
    return groundTexture[groundImage[x][row]];
}

int QFldInfo::CellObjectAt(int x, int row) const {
    if (x < 0 || x >= kFieldGridSize || row < 0 || row >= kFieldGridSize) return -1;
    int n = cellFlags[x][row] & kCellObjectMask;
    return (n == 0 || n > kMaxCellObject) ? -1 : n - 1;
}

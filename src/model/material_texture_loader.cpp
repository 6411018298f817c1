#include "model/material_texture_loader.h"

#include <string>

#include "base/diagnostics.h"
#include "base/host.h"
#include "base/message_box.h"
#include "base/sjis.h"
#include "gfx/image_file.h"
#include "gfx/texture.h"
#include "model/rz_last_error.h"
#include "model/rz_model.h"

namespace {

bool HasBmpExtension(const std::string& name) {
    if (name.size() < 4) return false;
    std::string ext = name.substr(name.size() - 4);
    for (char& c : ext) c = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
    return ext == ".bmp";
}

uint32_t EngineCreateTexture(GfxDevice* device, const char* fileName, float alphaValue,
                             GfxTexture** outTexture, PixelFormat format, uint32_t levels,
                             int32_t alphaMode, uint32_t colourKey) {
    const uint32_t size = RZ_CreateTextureFromFile(device, fileName, alphaValue, outTexture, format,
                                                   levels, alphaMode, colourKey);
    if (size != 0 || !device || !outTexture || HasBmpExtension(fileName)) return size;
    // Modelling programs also name PNG, TGA and JPEG textures, which the library loader does
    // not read; the engine's general image reader does.
    GfxTexture* texture = nullptr;
    if (CreateTextureFromFile(device, fileName, &texture) != kOk || !texture) return 0;
    *outTexture = texture;
    return (texture->Width() << 16) | (texture->Height() & 0xFFFF);
}

bool EngineTextureDialog(void*, char* pathBuffer) {
    return RZ_OpenFileDlgForTexture(pathBuffer);
}

MaterialTextureCreateFn g_CreateTexture = EngineCreateTexture;
TextureFileDialogFn g_TextureDialog = EngineTextureDialog;

// The text behind the last backslash. A backslash that is the second byte of a double-byte
// character is not a separator.
std::string LastComponent(const std::string& path) {
    size_t start = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        const auto c = static_cast<unsigned char>(path[i]);
        if (IsSjisLeadByte(c)) {
            ++i;
        } else if (c == '\\') {
            start = i + 1;
        }
    }
    return path.substr(start);
}

bool TryLoad(GfxDevice* device, const std::string& path, GfxTexture** texture) {
    if (!g_CreateTexture) return false;
    return g_CreateTexture(device, path.c_str(), 0.6f, texture, PixelFormat::R5G6B5, 1, 1, 0) != 0;
}

}  // namespace

void SetMaterialTextureLoader(MaterialTextureCreateFn create, TextureFileDialogFn dialog) {
    g_CreateTexture = create ? create : EngineCreateTexture;
    g_TextureDialog = dialog ? dialog : EngineTextureDialog;
}

void LoadMaterialTexture(RZ_Model& model, GfxDevice* device, const char* fileName, int index,
                         void* ownerWindow) {
    if (index < 0 || index >= kRzMaxMaterials || !fileName) return;
    RZ_Material& entry = model.materials[index];
    if (!entry.textureName.empty()) return;
    // A texture loaded under an empty name (a path that ends in a backslash) leaves the name
    // empty: a later texture of the same material takes its place.
    if (entry.texture) {
        entry.texture->Release();
        entry.texture = nullptr;
    }

    const std::string given = fileName;
    const std::string component = LastComponent(given);
    std::string candidate =
        model.directory[0] == '\0' ? component : std::string(model.directory) + component;
    bool loaded = TryLoad(device, candidate, &entry.texture);
    if (!loaded) {
        candidate = given;
        while (true) {
            if (TryLoad(device, candidate, &entry.texture)) {
                loaded = true;
                break;
            }
            const int answer = ShowMessageBox(
                SJIS("読込みｴﾗｰ"),
                RZ_FormatSjis(SJIS("ﾌｧｲﾙ%sが読込めません！正しいﾊﾟｽを指定しますか？"), component),
                MB_YESNO | MB_ICONQUESTION,
                "the texture " + ShownPath(candidate) + " of the model cannot be read");
            char picked[kTexturePathSize] = {};
            if (answer != IDYES || !g_TextureDialog || !g_TextureDialog(ownerWindow, picked)) {
                break;
            }
            picked[kTexturePathSize - 1] = '\0';
            candidate = picked;
        }
    }
    if (!loaded) {
        if (entry.texture) entry.texture->Release();
        entry.texture = nullptr;
        return;
    }
    entry.textureName = candidate;
}

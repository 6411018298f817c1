#include "gfx/rz_texture.h"

#include <algorithm>
#include <cstring>

#include "base/host.h"
#include "base/sjis.h"
#include "gfx/device.h"
#include "gfx/rz_image.h"
#include "gfx/texture.h"

namespace {

void LogFailure(const char* text, int32_t hr) {
    RZ_Log(text);
    RZ_Log(std::to_string(hr));
}

uint8_t TargetType(PixelFormat format) {
    switch (format) {
        case PixelFormat::A4R4G4B4:
            return kRzArgb4444;
        case PixelFormat::R5G6B5:
            return kRzRgb565;
        case PixelFormat::R3G3B2:
            return kRzRgb332;
        default:
            return kRzArgb8888;
    }
}

// Copies the image into every level: a level smaller than the image receives its top-left part.
// Rows never run past the level's pitch or the image (a format whose pixels are narrower than
// the image's gets a cut row, not an overrun).
bool FillLevels(GfxTexture* tex, const RZ_Image& img) {
    uint32_t bpp = RZ_Image::BytesPerPixel(img.type);
    for (uint32_t level = 0; level < tex->GetLevelCount(); ++level) {
        uint32_t w = 0, h = 0;
        tex->GetLevelDesc(level, &w, &h);
        LockedRect rect;
        int32_t hr = tex->LockRect(level, &rect);
        if (hr != kOk) {
            LogFailure("サーフェスのロックに失敗しました！", hr);
            return false;
        }
        size_t levelBytes = tex->LevelData(level).size();
        size_t rowBytes =
            std::min<size_t>({size_t(w) * bpp, size_t(img.width) * bpp, size_t(rect.pitch)});
        uint32_t rows = std::min(h, img.height);
        auto* dst = static_cast<uint8_t*>(rect.bits);
        for (uint32_t y = 0; y < rows && size_t(y) * rect.pitch + rowBytes <= levelBytes; ++y)
            std::memcpy(dst + size_t(y) * rect.pitch, &img.pixels[size_t(y) * img.stride * bpp],
                        rowBytes);
        hr = tex->UnlockRect(level);
        if (hr != kOk) {
            LogFailure("サーフェスのアンロックに失敗しました！", hr);
            return false;
        }
    }
    return true;
}

}  // namespace

uint32_t RZ_CreateTextureFromFile(GfxDevice* device, const std::string& sjisFileName,
                                  float alphaValue, GfxTexture** outTexture, PixelFormat format,
                                  uint32_t levels, int alphaMode, uint32_t colourKey) {
    RZ_Log("fname = " + ToUtf8(sjisFileName));
    if (outTexture) *outTexture = nullptr;
    if (!device || !outTexture) return 0;
    RZ_Image img;
    if (!RZ_ReadBmp(sjisFileName, &img)) return 0;
    RZ_ConvertImage(&img, TargetType(format));
    RZ_ApplyAlpha(&img, alphaMode, alphaValue, colourKey);

    GfxTexture* staging = nullptr;
    int32_t hr =
        device->CreateTexture(img.width, img.height, levels, 0, format, Pool::SystemMem, &staging);
    if (hr != kOk) {
        LogFailure("ｼｽﾃﾑﾒﾓﾘ上にﾃｸｽﾁｬｰﾘｿｰｽを作成するのに、失敗しました！", hr);
        return 0;
    }
    // The staging copy is needed only for the upload; it goes on every road out.
    struct Staging {
        GfxTexture* t;
        ~Staging() { t->Release(); }
    } keep{staging};
    if (!FillLevels(staging, img)) return 0;

    hr = device->CreateTexture(img.width, img.height, levels, 0, format, Pool::Default, outTexture);
    if (hr != kOk) {
        LogFailure("テスクチャーリソースの作成に失敗しました！", hr);
        return 0;
    }
    hr = device->UpdateTexture(staging, *outTexture);
    if (hr != kOk) {
        LogFailure("ﾃﾞﾊﾞｲｽ上のﾃｸｽﾁｬｰﾘｿｰｽへのコピーに失敗しました！", hr);
        (*outTexture)->Release();
        *outTexture = nullptr;
        return 0;
    }
    return img.width << 16 | img.height;
}

bool RZ_OpenFileDlgForTexture(char* pathBuffer) {
    RZ_Log("RZ_OpenFileDlgForTexture()");
    if (!pathBuffer) return false;
    pathBuffer[0] = '\0';
    std::string native;
    if (!g_Host.dialogs || !g_Host.dialogs->OpenImageFile(native) || native.empty()) return false;
    std::string sjis = ToSjis(native);
    if (sjis.size() >= kTexturePathSize) {
        RZ_Log("path is too long: " + native);
        return false;
    }
    std::memcpy(pathBuffer, sjis.c_str(), sjis.size() + 1);
    return true;
}

#include "gfx/texture_slots.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <utility>

#include "base/ascii.h"
#include "base/diagnostics.h"
#include "base/little_endian.h"
#include "base/paths.h"
#include "gfx/d3d.h"
#include "gfx/image_file.h"
#include "gfx/texture.h"

TextureSlot g_TextureSlots[kTextureSlotCount];

namespace {

// By slot: slots live in global tables, so their addresses stay.
std::map<const TextureSlot*, std::string> g_SlotNames;

}  // namespace

void LoadTextureSlot(TextureSlot& slot, const char* fileName) {
    if (slot.texture) {
        slot.texture->Release();
        slot.texture = nullptr;
    }
    slot.width = 0;
    slot.height = 0;
    g_SlotNames[&slot] = fileName ? fileName : "";

    std::string path = std::string(GetBasePath()) + (fileName ? fileName : "");
    const std::string ext = AsciiLower(path.substr(path.size() >= 3 ? path.size() - 3 : 0));
    const bool dds = ext == "dds";

    FILE* f = OpenGameFile(path, "rb");
    if (!f) {
        // A missing file has been named where its path matched nothing.
        std::error_code ec;
        const std::string native = ResolveGamePath(path);
        if (!native.empty() && std::filesystem::is_directory(native, ec))
            DiagnoseOnce(SourcePlace{ShownPath(path)},
                         "cannot use the image: a folder, not a file");
        return;
    }
    // The sizes come from the header: a DDS keeps the height first at 12, a BMP info header
    // the width at 18. A file too short for them leaves 0 x 0.
    unsigned char head[26];
    size_t got = std::fread(head, 1, sizeof head, f);
    size_t at = dds ? 12 : 18;
    // The name says where the sizes are; a picture of another kind under it gives other bytes.
    const bool ddsHead = got >= 4 && std::memcmp(head, "DDS ", 4) == 0;
    const bool bmpHead = got >= 2 && head[0] == 'B' && head[1] == 'M';
    if (got > 0 && ((dds && !ddsHead) || (ext == "bmp" && !bmpHead)))
        DiagnoseOnce(SourcePlace{ShownPath(path)},
                     std::string("not a ") + (dds ? "DDS" : "BMP") +
                         " picture as its name says (its size is read where one keeps it)");
    if (got >= at + 8) {
        slot.width = ReadU32(head + at);
        slot.height = ReadU32(head + at + 4);
        if (dds) std::swap(slot.width, slot.height);
        // A top-down BMP stores its height negated; the picture is as high as its magnitude.
        bool bmp = head[0] == 'B' && head[1] == 'M';
        if (!dds && bmp && static_cast<int32_t>(slot.height) < 0) slot.height = 0u - slot.height;
    }
    std::fclose(f);

    // The texture may fail (the slot then stays empty) while the header sizes are kept.
    CreateTextureFromFile(g_pd3dDevice, path, &slot.texture);
}

void ClearTextureSlots() {
    for (TextureSlot& slot : g_TextureSlots) slot.texture = nullptr;
}

void ReleaseTextureSlots() {
    for (TextureSlot& slot : g_TextureSlots) {
        if (slot.texture) {
            slot.texture->Release();
            slot.texture = nullptr;
        }
    }
}

void EmptyTextureSlot(TextureSlot& slot) {
    if (slot.texture) slot.texture->Release();
    slot = TextureSlot{};
    g_SlotNames.erase(&slot);
}

const std::string& TextureSlotName(const TextureSlot& slot) {
    static const std::string kNone;
    const auto it = g_SlotNames.find(&slot);
    return it == g_SlotNames.end() ? kNone : it->second;
}

#include "gfx/texture_slots.h"

#include <gtest/gtest.h>
#include <stb_image.h>

#include <cstring>
#include <filesystem>
#include <set>

#include "base/message_box.h"
#include "bmp_test_file.h"
#include "dds_test_file.h"
#include "gfx/texture.h"
#include "gfx_test_files.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

class TextureSlotTest : public GfxDataTest {
protected:
    void SetUp() override {
        GfxDataTest::SetUp();
        ClearTextureSlots();
    }
    void TearDown() override {
        ReleaseTextureSlots();
        GfxDataTest::TearDown();
    }
    // A DDS of w x h in X8R8G8B8.
    void WriteDds(const std::string& name, uint32_t w, uint32_t h, bool usable = true) {
        DdsSpec s{.width = w, .height = h};
        if (!usable) s.r = s.g = s.b = 0;
        Write(name, MakeDds(s, Sequence(size_t(w) * h * 4)));
    }
};

// A 24-bit BMP of w x h (bottom-up when h > 0).
std::vector<uint8_t> Bmp(int32_t w, int32_t h) {
    return MakeBmp(
        BmpSpec{.width = w, .height = h},
        std::vector<uint8_t>((uint32_t(w) * 3 + 3) / 4 * 4 * uint32_t(std::abs(h)), 0x7F));
}

}  // namespace

TEST_F(TextureSlotTest, SizesComeFromTheHeaderChosenByTheLowerCasedExtension) {
    // The DDS header holds the height first; the extension is compared in lower case.
    for (const char* name : {"UP.DDS", "mixed.DdS"}) {
        WriteDds(name, 16, 4);
        TextureSlot slot;
        LoadTextureSlot(slot, name);
        EXPECT_EQ(slot.width, 16u) << name;
        EXPECT_EQ(slot.height, 4u) << name;
        ASSERT_NE(slot.texture, nullptr) << name;
        slot.texture->Release();
    }
    Write("down.bmp", Bmp(5, -2));  // top-down: the height is stored negated
    TextureSlot& b = g_TextureSlots[1];
    LoadTextureSlot(b, "DOWN.BMP");
    EXPECT_EQ(b.height, 2u);
    // Without a device only the header is read.
    g_pd3dDevice = nullptr;
    LoadTextureSlot(g_TextureSlots[3], "down.bmp");
    g_pd3dDevice = &device;
    EXPECT_EQ(g_TextureSlots[3].texture, nullptr);
    EXPECT_EQ(g_TextureSlots[3].width, 5u);
}

TEST_F(TextureSlotTest, FailuresLeaveTheSlotEmptyQuietlyKeepingOnlyAReadableHeaderSize) {
    WriteDds("a.dds", 8, 4);
    WriteDds("odd.dds", 12, 6, /*usable=*/false);
    Write("short.dds", {'D', 'D', 'S', ' ', 124, 0, 0, 0, 7, 0, 0, 0, 9, 0, 0});
    Write("short.bmp", {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0});
    // name -> the height left in the slot
    const std::pair<const char*, uint32_t> cases[] = {
        {"tex\\missing.bmp", 0}, {"odd.dds", 6}, {"short.dds", 0}, {"short.bmp", 0}};
    for (auto [name, height] : cases) {
        TextureSlot& slot = g_TextureSlots[5];
        LoadTextureSlot(slot, "a.dds");
        ASSERT_NE(slot.texture, nullptr);
        LoadTextureSlot(slot, name);  // the old texture is released first
        EXPECT_EQ(slot.texture, nullptr) << name;
        EXPECT_EQ(slot.height, height) << name;
        EXPECT_EQ(device.LiveTextureCount(), 0u) << name;
    }
    EXPECT_TRUE(g_MessageBoxLog.empty());
}

namespace {

struct Reference {
    std::vector<uint32_t> argb;  // A8R8G8B8, alpha 255 when the file has none
    int width = 0, height = 0;
    bool alpha = false;
};

bool StbReads(const std::vector<uint8_t>& file, Reference* out) {
    int comp = 0;
    stbi_uc* p =
        stbi_load_from_memory(file.data(), int(file.size()), &out->width, &out->height, &comp, 4);
    if (!p) return false;
    out->alpha = comp == 2 || comp == 4;
    out->argb.resize(size_t(out->width) * out->height);
    for (size_t i = 0; i < out->argb.size(); ++i)
        out->argb[i] = uint32_t(out->alpha ? p[i * 4 + 3] : 255) << 24 | p[i * 4] << 16 |
                       p[i * 4 + 1] << 8 | p[i * 4 + 2];
    stbi_image_free(p);
    return true;
}

// Largest difference of one channel between the texture's first level and the reference.
int Difference(const GfxTexture* t, const Reference& ref) {
    if (t->Width() != uint32_t(ref.width) || t->Height() != uint32_t(ref.height)) return 999;
    int worst = 0;
    for (int y = 0; y < ref.height; ++y) {
        for (int x = 0; x < ref.width; ++x) {
            uint32_t got, want = ref.argb[size_t(y) * ref.width + x];
            std::memcpy(&got, t->LevelData(0).data() + y * t->LevelPitch(0) + x * 4, 4);
            if (t->Format() == PixelFormat::X8R8G8B8) got |= 0xFF000000;
            for (int s = 0; s < 32; s += 8)
                worst = std::max(worst, std::abs(int((got >> s) & 255) - int((want >> s) & 255)));
        }
    }
    return worst;
}

}  // namespace

// Every BMP of the corpus goes the slot's road. Where stb_image reads a file too, both agree
// pixel for pixel; files only the engine reads (data offsets, 56-byte headers, OS/2 2, odd
// masks) must show the picture of a sibling file stb_image reads; broken ones get no texture.
TEST_F(TextureSlotTest, CorpusBitmapsLoadAsStbImageReadsThemOrAreRefused) {
    std::string corpus = CorpusDir("");
    SKIP_WITHOUT_CORPUS(CorpusDir("bmp"));
    SetDataDirectory(corpus);
    fs::path bmp = fs::path(corpus) / "bmp";
    struct Sibling {
        const char* name;
        const char* sameAs;
        int tolerance;
    };
    const Sibling siblings[] = {
        {"V3_R5_G6_B5_Top_Down.bmp", "Info_R8_G8_B8.bmp", 0},
        {"V3_A4_R4_G4_B4.bmp", "Info_A8_R8_G8_B8.bmp", 0},
        {"pal8offs.bmp", "pal8.bmp", 0},
        {"pal8os2v2-16.bmp", "pal8.bmp", 0},
        {"rgb16-565pal.bmp", "rgb16-565.bmp", 0},
        {"rgb24largepal.bmp", "rgb24.bmp", 0},
        {"rgb32-111110.bmp", "rgb24.bmp", 1},
        {"rgba32h56.bmp", "rgba32.bmp", 0},
        {"rgba32-61754.bmp", "rgba32.bmp", 8},
    };
    // stb_image takes colours from an uninitialised palette for these.
    const std::set<std::string> stbUnreliable = {"Core_1_Bit.bmp", "pal8badindex.bmp",
                                                 "pal8os2sp.bmp"};
    const std::set<std::string> mustRefuse = {
        "badbitcount.bmp", "badheadersize.bmp", "badpalettesize.bmp", "badplanes.bmp",
        "badrle.bmp",      "badwidth.bmp",      "reallybig.bmp",      "rletopdown.bmp",
        "shortfile.bmp",   "rle_overflow.bmp",  "pal4rlecut.bmp",     "pal8oversizepal.bmp",
        "rgb24jpeg.bmp",   "rgb24png.bmp",      "rgb24rle24.bmp"};
    auto load = [&](const std::string& name) {
        TextureSlot& slot = g_TextureSlots[9];
        LoadTextureSlot(slot, ("bmp\\" + name).c_str());
        return slot.texture;
    };

    int agreed = 0;
    for (const auto& entry : fs::directory_iterator(bmp)) {
        std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        std::vector<uint8_t> file = ReadAll(entry.path());
        GfxTexture* t = load(name);
        if (mustRefuse.count(name)) {
            EXPECT_EQ(t, nullptr);
            continue;
        }
        Reference ref;
        if (!StbReads(file, &ref) || stbUnreliable.count(name)) continue;
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->Format(), ref.alpha ? PixelFormat::A8R8G8B8 : PixelFormat::X8R8G8B8);
        EXPECT_EQ(Difference(t, ref), 0);
        // For plain info headers the slot's size is the header's (height as its magnitude).
        if ((file[14] | file[15] << 8) >= 40) {
            EXPECT_EQ(g_TextureSlots[9].width, uint32_t(ref.width));
            EXPECT_EQ(g_TextureSlots[9].height, uint32_t(ref.height));
        }
        ++agreed;
    }
    EXPECT_GE(agreed, 45);

    for (const Sibling& s : siblings) {
        SCOPED_TRACE(s.name);
        Reference ref;
        ASSERT_TRUE(StbReads(ReadAll(bmp / s.sameAs), &ref));
        GfxTexture* t = load(s.name);
        ASSERT_NE(t, nullptr);
        EXPECT_LE(Difference(t, ref), s.tolerance);
    }
    EXPECT_TRUE(g_MessageBoxLog.empty());
}

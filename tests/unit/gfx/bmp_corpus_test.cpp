// Every BMP of the corpus goes once through each of the engine's two bitmap readers: the texture
// slot's road (any bitmap) and the model texture reader (8 and 24 bits only). Where stb_image
// reads a file too, both agree with it pixel for pixel; files only the engine reads (data offsets,
// 56-byte headers, OS/2 2, odd masks) must show the picture of a sibling file stb_image reads;
// broken ones are refused, by the model texture reader with a line of its own.
#include <stb_image.h>

#include <set>

#include "base/message_box.h"
#include "gfx/rz_image.h"
#include "gfx/texture.h"
#include "gfx_test_files.h"

namespace fs = std::filesystem;

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

// The model texture reader's pixels that differ from the reference (after widening to 32 bits).
int RzWrongPixels(RZ_Image& img, const Reference& ref) {
    RZ_ConvertImage(&img, kRzArgb8888);
    if (img.width != uint32_t(ref.width) || img.height != uint32_t(ref.height)) return -1;
    int wrong = 0;
    for (int y = 0; y < ref.height; ++y)
        for (int x = 0; x < ref.width; ++x) {
            uint32_t got;
            std::memcpy(&got, img.pixels.data() + (size_t(y) * img.stride + x) * 4, 4);
            wrong += got != ref.argb[size_t(y) * ref.width + x];
        }
    return wrong;
}

class BmpCorpus : public TextureSlotDataTest {};

}  // namespace

TEST_F(BmpCorpus, BothReadersLoadWhatStbImageReadsAndRefuseBrokenFiles) {
    const std::string corpus = CorpusDir("");
    SKIP_WITHOUT_CORPUS(CorpusDir("bmp"));
    SetDataDirectory(corpus);
    const fs::path bmp = fs::path(corpus) / "bmp";
    // stb_image takes colours from an uninitialised palette for these.
    const std::set<std::string> stbUnreliable = {"Core_1_Bit.bmp", "pal8badindex.bmp",
                                                 "pal8os2sp.bmp"};
    const std::set<std::string> slotRefuses = {
        "badbitcount.bmp", "badheadersize.bmp", "badpalettesize.bmp", "badplanes.bmp",
        "badrle.bmp",      "badwidth.bmp",      "reallybig.bmp",      "rletopdown.bmp",
        "shortfile.bmp",   "rle_overflow.bmp",  "pal4rlecut.bmp",     "pal8oversizepal.bmp",
        "rgb24jpeg.bmp",   "rgb24png.bmp",      "rgb24rle24.bmp"};
    const std::set<std::string> brokenButReadByStb = {"shortfile.bmp", "badpalettesize.bmp"};
    auto slotLoad = [&](const std::string& name) {
        LoadTextureSlot(g_TextureSlots[9], ("bmp\\" + name).c_str());
        return g_TextureSlots[9].texture;
    };

    int slotAgreed = 0, rzLoaded = 0, rzRefused = 0;
    for (const auto& entry : fs::directory_iterator(bmp)) {
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        const std::vector<uint8_t> file = ReadAll(entry.path());
        Reference ref;
        const bool stbRead = StbReads(file, &ref), stb = stbRead && !stbUnreliable.count(name);

        GfxTexture* t = slotLoad(name);
        if (slotRefuses.count(name)) {
            EXPECT_EQ(t, nullptr);
        } else if (stb) {
            ASSERT_NE(t, nullptr);
            EXPECT_EQ(t->Format(), ref.alpha ? PixelFormat::A8R8G8B8 : PixelFormat::X8R8G8B8);
            EXPECT_EQ(Difference(t, ref), 0);
            // For plain info headers the slot's size is the header's (height as its magnitude).
            if ((file[14] | file[15] << 8) >= 40) {
                EXPECT_EQ(g_TextureSlots[9].width, uint32_t(ref.width));
                EXPECT_EQ(g_TextureSlots[9].height, uint32_t(ref.height));
            }
            ++slotAgreed;
        }

        const uint32_t headerSize = file[14] | file[15] << 8;
        const uint32_t bits = file[28] | file[29] << 8, compression = file[30];
        const bool plain = headerSize >= 40 && (bits == 8 || bits == 24) && compression == 0;
        RZ_Image img;
        bool rzOk = false;
        const std::string said =
            VerboseLines([&] { rzOk = RZ_ReadBmpFromMemory(file.data(), file.size(), &img); });
        if (!rzOk) {
            ++rzRefused;
            EXPECT_TRUE(said.find(" is not support!\n") != std::string::npos ||
                        said.find("\nbmp ") != std::string::npos)
                << said;
            EXPECT_FALSE(plain && stbRead && !brokenButReadByStb.count(name))
                << "a good file refused";
        } else {
            ++rzLoaded;
            EXPECT_TRUE(plain);
            if (stb) {
                EXPECT_EQ(RzWrongPixels(img, ref), 0);
            }
        }
    }
    EXPECT_GE(slotAgreed, 45);
    EXPECT_GE(rzLoaded, 20);
    EXPECT_GE(rzRefused, 40);

    const struct {
        const char* name;
        const char* sameAs;
        int tolerance;
    } siblings[] = {
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
    for (const auto& s : siblings) {
        SCOPED_TRACE(s.name);
        Reference ref;
        ASSERT_TRUE(StbReads(ReadAll(bmp / s.sameAs), &ref));
        GfxTexture* t = slotLoad(s.name);
        ASSERT_NE(t, nullptr);
        EXPECT_LE(Difference(t, ref), s.tolerance);
    }
    EXPECT_TRUE(g_MessageBoxLog.empty());
}

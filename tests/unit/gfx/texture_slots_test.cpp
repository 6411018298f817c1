#include "base/message_box.h"
#include "gfx_test_files.h"

namespace fs = std::filesystem;

namespace {

class TextureSlotTest : public TextureSlotDataTest {
protected:
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
        EXPECT_EQ(std::tuple(slot.width, slot.height), std::tuple(16u, 4u)) << name;
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

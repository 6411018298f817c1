#include <string>

#include "app/message_box.h"
#include "app/sjis.h"
#include "app/ui_textures.h"
#include "battle/menu_list.h"
#include "battle_ui_test.h"
#include "sound/null_audio.h"
#include "sound/sound.h"

namespace {

class MenuListTest : public BattleUiTest {
protected:
    void SetUp() override {
        BattleUiTest::SetUp();
        ClearList(list);
        ReleaseDataTables();
    }
    void TearDown() override {
        ReleaseDataTables();
        BattleUiTest::TearDown();
    }
    // Entries with these texts from 0 on ("" leaves a hole).
    void Fill(std::initializer_list<const char*> texts) {
        int i = 0;
        for (const char* t : texts) {
            std::snprintf(list.entries[i].text, kListTextSize, "%s", t);
            list.entries[i++].value = 0;
        }
    }
    MenuList list;
};

}  // namespace

TEST_F(MenuListTest, CursorSkipsEmptyEntriesAndWrapsBothWays) {
    Fill({"a", "", "c", "d", "", ""});
    list.cursor = 0;
    MoveCursor(list, 1, 6);
    EXPECT_EQ(list.cursor, 2);
    MoveCursor(list, 1, 6);
    EXPECT_EQ(list.cursor, 3);
    MoveCursor(list, 1, 6);  // the last used entry: round to the first
    EXPECT_EQ(list.cursor, 0);
    MoveCursor(list, -1, 6);  // and back round to the last
    EXPECT_EQ(list.cursor, 3);
    // Only the first `count` entries take part.
    MoveCursor(list, 1, 3);
    EXPECT_EQ(list.cursor, 0);
    // Nothing to go to: the cursor stays, also for counts outside the list.
    ClearList(list);
    list.cursor = 5;
    MoveCursor(list, 1, 32);
    MoveCursor(list, -1, 99);
    MoveCursor(list, 1, -4);
    EXPECT_EQ(list.cursor, 5);
    // A cursor left outside the counted part comes back in on the next move.
    Fill({"a", "b"});
    list.cursor = 31;
    MoveCursor(list, 1, 32);
    EXPECT_EQ(list.cursor, 0);
    list.cursor = 31;
    MoveCursor(list, -1, 2);
    EXPECT_EQ(list.cursor, 1);
}

TEST_F(MenuListTest, KeysMoveTheCursorWithASoundAndSetTheRepeatDelay) {
    SoundBufferDesc desc;
    desc.bufferBytes = 4;
    desc.format = {WAVE_FORMAT_PCM, 1, 22050, 22050, 1, 8};
    const uint8_t samples[4] = {128, 128, 128, 128};
    NullSoundBuffer click(desc, samples, sizeof samples);
    ISoundBuffer* saved = g_SeSlots[0];
    g_SeSlots[0] = &click;

    Fill({"a", "b", "c"});
    int32_t timer = 500;
    ListInput(list, 3, timer);  // no key
    EXPECT_EQ(timer, 500);
    EXPECT_EQ(click.playCount, 0);

    g_KeyDown = kKeyPressed;
    ListInput(list, 3, timer);
    EXPECT_EQ(list.cursor, 1);
    EXPECT_EQ(timer, -128);
    EXPECT_EQ(click.playCount, 1);
    g_KeyDown = kKeyHeld;
    ListInput(list, 3, timer);
    EXPECT_EQ(list.cursor, 2);
    EXPECT_EQ(timer, 0);
    // Up wins over Down; released keys do nothing.
    g_KeyUp = kKeyHeld;
    ListInput(list, 3, timer);
    EXPECT_EQ(list.cursor, 1);
    g_KeyUp = kKeyReleased;
    g_KeyDown = kKeyReleased;
    timer = 90;
    ListInput(list, 3, timer);
    EXPECT_EQ(list.cursor, 1);
    EXPECT_EQ(timer, 90);
    EXPECT_EQ(click.playCount, 3);
    g_SeSlots[0] = saved;
}

TEST_F(MenuListTest, EntriesGoIntoTheFirstHoleUntilThe33rdIsRefused) {
    Fill({"a", "", "c"});
    AddListEntry(list, "b", 7);
    EXPECT_STREQ(list.entries[1].text, "b");
    EXPECT_EQ(list.entries[1].value, 7);
    for (int i = 3; i < kListEntryCount; ++i) AddListEntry(list, "x", i);
    EXPECT_TRUE(g_MessageBoxLog.empty());
    AddListEntry(list, "over", 99);
    ASSERT_EQ(g_MessageBoxLog.size(), 1u);
    EXPECT_EQ(g_MessageBoxLog[0].text, "List over!!");
    EXPECT_EQ(g_MessageBoxLog[0].caption, "Harlo tumesto");
    for (const MenuListEntry& e : list.entries) EXPECT_STRNE(e.text, "over");

    // Texts are cut to 23 bytes, never through a double-byte character.
    ClearList(list);
    AddListEntry(list, std::string(22, 'a') + SJIS("香"), 1);
    EXPECT_EQ(std::string(list.entries[0].text), std::string(22, 'a'));
    AddListEntry(list, std::string(40, 'b'), 1);
    EXPECT_EQ(std::string(list.entries[1].text), std::string(23, 'b'));
}

TEST_F(MenuListTest, FillsFromNamesAndTechniqueRecords) {
    const char names[3][kTableNameSize] = {"Alma", "", "Cid"};
    list.cursor = 2;
    FillList(list, names, 3);
    EXPECT_EQ(list.cursor, 0);
    EXPECT_STREQ(list.entries[0].text, "Alma");
    EXPECT_STREQ(list.entries[1].text, "");
    EXPECT_STREQ(list.entries[2].text, "Cid");

    TechniqueTable table;
    ASSERT_TRUE(ParseTechniqueTable("Attack hit 0 1\nFire burn 12 8\nHeal mend 30 0\n", table));
    const uint8_t numbers[3] = {2, 1, 200};  // 200: past the table, an empty entry
    FillTechniqueList(list, table, numbers, 3);
    EXPECT_STREQ(list.entries[0].text, "Heal");
    EXPECT_EQ(list.entries[0].value, 30);
    EXPECT_STREQ(list.entries[1].text, "Fire");
    EXPECT_EQ(list.entries[1].value, 12);
    EXPECT_STREQ(list.entries[2].text, "");
    FillTechniqueNumbers(list, table, numbers, 3);
    EXPECT_STREQ(list.entries[1].text, "Fire");
    EXPECT_EQ(list.entries[1].value, 1);
    // A table that never loaded gives empty names.
    FillTechniqueList(list, TechniqueTableAt(4), numbers, 3);
    EXPECT_STREQ(list.entries[0].text, "");
}

TEST_F(MenuListTest, LayoutMeasuresTheCountedEntriesFromFirst) {
    Fill({"abcdefghij", "abc", "", "abcde"});
    LayoutList(list, 4);
    EXPECT_EQ(list.w, 9 * 10 + 8);
    EXPECT_EQ(list.h, 20 * 3 + 4);
    list.first = 1;
    LayoutList(list, 2);  // "abc" and the hole
    EXPECT_EQ(list.w, 9 * 3 + 8);
    EXPECT_EQ(list.h, 24);
    list.first = 2;
    LayoutList(list, 1);  // only the hole: one byte wide
    EXPECT_EQ(list.w, 17);
    EXPECT_EQ(list.h, 4);
}

TEST_F(MenuListTest, PlainListDrawsBoxCursorBarAndTexts) {
    Fill({"Yes", "No"});
    list.x = 100, list.y = 50, list.w = 60, list.h = 44, list.cursor = 1;
    DrawList(list, 2);
    auto rects = Rects();
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_FLOAT_EQ(rects[0].x, 100);
    EXPECT_FLOAT_EQ(rects[0].y, 50);
    EXPECT_FLOAT_EQ(rects[0].w, 60);
    EXPECT_FLOAT_EQ(rects[0].h, 44);
    const uint32_t box[4] = {0xC000D200, 0xC000D200, 0x80DCDC00, 0x80DCDC00};
    const uint32_t bar[4] = {0xA0C000C0, 0x80800080, 0xA0C000C0, 0x80800080};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(rects[0].corners[k], box[k]) << k;
        EXPECT_EQ(rects[1].corners[k], bar[k]) << k;
    }
    EXPECT_FLOAT_EQ(rects[1].y, 50 + 3 + 20);
    EXPECT_FLOAT_EQ(rects[1].h, 20);
    auto texts = Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1].text, "No");
    EXPECT_EQ(texts[1].x, 104);
    EXPECT_EQ(texts[1].y, 74);
}

TEST_F(MenuListTest, PagedListSlidesInAndShowsTextsFromTheSecondStep) {
    Fill({"Attack", "Magic"});
    list.entries[1].value = 12;
    list.y = 200, list.w = 80, list.h = 44, list.page = 3;

    DrawPagedList(list, 1, 2, 1);
    auto rects = Rects();
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_FLOAT_EQ(rects[0].x, 0);
    EXPECT_FLOAT_EQ(rects[0].y, 156);
    EXPECT_FLOAT_EQ(rects[0].w, 20);  // a quarter of the width at step 1
    EXPECT_FLOAT_EQ(rects[1].w, (80 + 15) / 4.0f);
    auto texts = Texts();
    ASSERT_EQ(texts.size(), 1u);         // only the title
    EXPECT_EQ(texts[0].text, "PAGE:3");  // "PAGE:  3": spaces leave no box to read back
    EXPECT_EQ(texts[0].colour, 0xFFC8C8FFu);
    EXPECT_EQ(texts[0].x, -8);
    EXPECT_EQ(texts[0].y, 188);

    rec->draws.clear();
    DrawPagedList(list, 4, 2, 1);
    texts = Texts();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[1].text, "Attack");
    EXPECT_EQ(texts[1].x, 16);
    EXPECT_EQ(texts[1].y, 160);
    EXPECT_EQ(texts[2].text, "Magic");
    // " 12": only non-zero values, placed by the height (plus the space's 8 pixels).
    EXPECT_EQ(texts[3].text, "12");
    EXPECT_EQ(texts[3].x, 44 - 30 + 8);
    EXPECT_EQ(texts[3].y, 180);

    // Unpaged: the menu picture instead of the page number, and no values.
    g_UiTextures[1] = TextureSlot{nullptr, 128, 64};
    rec->draws.clear();
    DrawPagedList(list, 4, 2, 0);
    EXPECT_EQ(Texts().size(), 2u);
    bool sawPicture = false;
    for (const auto& d : rec->draws) {
        const auto& v = rec->Vertex<ScreenVertex>(d, 0);
        if (d.state.Rs(RenderState::CullMode) == uint32_t(Cull::CounterClockwise) &&
            !d.state.texture && v.x == 16 && v.y == 188 && v.v > 0.2f)
            sawPicture = true;  // (0, 13) of a 64-high picture
    }
    EXPECT_TRUE(sawPicture);
    g_UiTextures[1] = TextureSlot{};
}

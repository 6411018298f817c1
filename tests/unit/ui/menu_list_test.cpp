#include <cstdio>
#include <string>
#include <tuple>

#include "base/message_box.h"
#include "base/sjis.h"
#include "text_draw_test.h"
#include "ui/menu_list.h"

namespace {

class MenuListTest : public TextDrawTest {
protected:
    void SetUp() override {
        TextDrawTest::SetUp();
        ClearList(list);
    }
    // Entries with these texts from 0 on ("" leaves a hole).
    void Fill(std::initializer_list<const char*> texts) {
        int i = 0;
        for (const char* t : texts) std::snprintf(list.entries[i++].text, kListTextSize, "%s", t);
    }
    MenuList list;
};

}  // namespace

TEST_F(MenuListTest, CursorSkipsEmptyEntriesAndWrapsBothWays) {
    Fill({"a", "", "c", "d", "", ""});
    MoveCursor(list, 1, 6);
    EXPECT_EQ(list.cursor, 2);
    MoveCursor(list, 1, 3);  // only the first `count` entries take part
    EXPECT_EQ(list.cursor, 0);
    list.cursor = 31;  // a cursor outside the counted part comes back in
    MoveCursor(list, -1, 2);
    EXPECT_EQ(list.cursor, 0);
    // Nothing to go to: the cursor stays, whatever the count.
    ClearList(list);
    list.cursor = 5;
    MoveCursor(list, 1, 32);
    MoveCursor(list, -1, 99);
    MoveCursor(list, 1, -4);
    EXPECT_EQ(list.cursor, 5);
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
    for (const MenuListEntry& e : list.entries) EXPECT_STRNE(e.text, "over");
    // Texts are cut to 23 bytes, never through a double-byte character.
    ClearList(list);
    AddListEntry(list, std::string(22, 'a') + SJIS("香"), 1);
    EXPECT_EQ(std::string(list.entries[0].text), std::string(22, 'a'));
}

TEST_F(MenuListTest, TechniqueListsTakeNamesAndNumbersFromTheTable) {
    TechniqueTable table;
    ASSERT_TRUE(ParseTechniqueTable("Attack hit 0 1\nFire burn 12 8\nHeal mend 30 0\n", table));
    const uint8_t numbers[3] = {2, 1, 200};  // 200: past the table, an empty entry
    FillTechniqueList(list, table, numbers, 3);
    EXPECT_EQ(std::tuple(std::string(list.entries[0].text), list.entries[0].value,
                         std::string(list.entries[2].text)),
              std::tuple("Heal", 30, ""));
}

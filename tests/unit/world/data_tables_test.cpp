#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "base/message_box.h"
#include "base/paths.h"
#include "base/sjis.h"
#include "test_support.h"
#include "world/data_tables.h"

namespace {

class DataTablesTest : public HeadlessHostTest {
protected:
    void SetUp() override {
        HeadlessHostTest::SetUp();
        ReleaseDataTables();
    }
    void TearDown() override {
        ReleaseDataTables();
        HeadlessHostTest::TearDown();
    }
};

}  // namespace

TEST_F(DataTablesTest, LinesAreRecordsAndFieldsKeepTheirLowBitsOrStayBlank) {
    TechniqueTable t;
    // No line break after the last line: still three records.
    ASSERT_TRUE(ParseTechniqueTable("Attack hit 0 1\nSpell cast 300 8\nGuard hold -1 272", t));
    ASSERT_EQ(t.Count(), 3);
    // Windows line ends and Ctrl-Z read as the files were always read.
    TechniqueTable w;
    ASSERT_TRUE(
        ParseTechniqueTable("Attack hit 0 1\r\nSpell cast 300 8\r\n\x1Ajunk junk 9 9\n", w));
    EXPECT_EQ(w.Count(), 2);
    // 300 modulo 256, -1 as 255.
    EXPECT_EQ(std::tuple(t[1].number, t[1].flags, t[2].number),
              std::tuple(44, kTechniqueOpensList, 255));

    // An empty file still has one record, never filled.
    ASSERT_TRUE(ParseTechniqueTable("", t));
    ASSERT_EQ(t.Count(), 1);
    EXPECT_STREQ(t[0].name, "");

    // A field that cannot be read stays blank, and the next record reads on from there.
    ASSERT_TRUE(ParseTechniqueTable("Fire burn x 8\nIce\n", t));
    ASSERT_EQ(t.Count(), 2);
    EXPECT_EQ(std::tuple(std::string(t[0].description), std::string(t[1].name)),
              std::tuple("burn", "x"));

    // Goods keep the low 16 bits.
    DataTable<GoodsRecord> g;
    ASSERT_TRUE(ParseGoods("Herb heal 10 70000\nAntidote cure -5 -40000\n", g));
    EXPECT_EQ(std::tuple(g[0].fourth, g[1].fourth), std::tuple(70000 - 65536, -40000 + 65536));
}

TEST_F(DataTablesTest, LongNamesAndTextsAreCutToTheirFieldsOnCharacterBoundaries) {
    TechniqueTable t;
    const std::string kana = SJIS("あ");  // two bytes
    std::string name = "a";
    for (int i = 0; i < 12; ++i) name += kana;  // 25 bytes; 20 would split a character
    const std::string text(100, 'd');
    ASSERT_TRUE(ParseTechniqueTable(name + " " + text + " 5 6\n", t));
    EXPECT_EQ(std::string(t[0].name), "a" + std::string(name, 1, 18));
    EXPECT_EQ(std::string(t[0].description), std::string(62, 'd'));
    EXPECT_EQ(std::tuple(t[0].number, t[0].flags), std::tuple(5, 6));  // still read behind them
}

TEST_F(DataTablesTest, LoadersReadTheDataDirectoryAndReportMissingTables) {
    SetDataDirectory(FixturesDir() + "/tables");
    LoadDataTables();  // tables 1 to 5 are missing: five reports, the rest loads
    ASSERT_EQ(g_MessageBoxLog.size(), 5u);
    g_MessageBoxLog.clear();

    const TechniqueTable& t = TechniqueTables[0];
    ASSERT_EQ(t.Count(), 4);
    EXPECT_EQ(std::string(t[0].name), SJIS("たたかう"));

    EXPECT_FALSE(LoadTechniqueTable(1));
    ASSERT_EQ(g_MessageBoxLog.size(), 1u);
    EXPECT_EQ(g_MessageBoxLog[0].text, "ワザデータ読み込み、ミステイク！！");
    EXPECT_TRUE(TechniqueTables[1].Empty());
    EXPECT_STREQ(TechniqueTables[1][0].name, "");  // safe to read: blank records
    EXPECT_FALSE(LoadTechniqueTable(6));           // no such table: nothing read, nothing said
    EXPECT_EQ(g_MessageBoxLog.size(), 1u);
}

TEST_F(DataTablesTest, AHugeFileKeepsTheFirstRecordsAndSaysSo) {
    std::string text;
    for (int i = 0; i < kMaxTableRecords + 10; ++i) text += "n d " + std::to_string(i) + " 0\n";
    TechniqueTable t;
    EXPECT_FALSE(ParseTechniqueTable(text, t));
    EXPECT_EQ(t.Count(), kMaxTableRecords);
    EXPECT_EQ(t[kMaxTableRecords - 1].number, uint8_t(kMaxTableRecords - 1));
}

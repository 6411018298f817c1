// A broken data file is named on the diagnostics channel with what is wrong and where, once
// however often it is loaded; the loaders go on as before (their boxes are their own tests').
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "base/diagnostics.h"
#include "base/game_file.h"
#include "base/item_reader.h"
#include "base/paths.h"
#include "base/report_once.h"
#include "model/rz_model.h"
#include "script/qscr_org.h"
#include "test_support.h"
#include "world/character.h"
#include "world/data_tables.h"

namespace fs = std::filesystem;

namespace {

// How many diagnosed lines hold both texts.
int Lines(const std::string& a, const std::string& b) {
    int n = 0;
    for (const std::string& line : DiagnosedFaults())
        n += line.find(a) != std::string::npos && line.find(b) != std::string::npos;
    return n;
}

class BrokenFilesTest : public HeadlessHostTest {
protected:
    void SetUp() override {
        HeadlessHostTest::SetUp();
        SetFaultsOnStandardError(false);
        dir_ = MakeTempDir("broken_files");
        SetDataDirectory(dir_);
    }
    void TearDown() override {
        ReleaseDataTables();
        ResetReportedOnce();
        ClearDiagnosedFaults();
        SetFaultsOnStandardError(true);
        HeadlessHostTest::TearDown();
        fs::remove_all(dir_);
    }
    // The file at `path` holds `bytes`; null bytes make it a folder.
    void Put(const std::string& path, const char* bytes, size_t size) {
        const fs::path p = fs::path(dir_) / path;
        fs::remove_all(p);
        fs::create_directories(p.parent_path());
        if (bytes)
            std::ofstream(p, std::ios::binary).write(bytes, std::streamsize(size));
        else
            fs::create_directories(p);
        ClearPathCache();
    }
    std::string dir_;
};

}  // namespace

TEST_F(BrokenFilesTest, EachBrokenFileIsNamedOnceAtItsPlace) {
    const std::function<void()> goods = [] { LoadGoods(); };
    const std::function<void()> techniques = [] { LoadTechniqueTable(0); };
    const std::function<void()> character = [] { Character().LoadCharacter("x"); };
    const std::function<void()> model = [] {
        RZ_Model m;
        m.Load(nullptr, (std::string(GetBasePath()) + "chara\\x.rzo").c_str(), nullptr);
    };
    const std::function<void()> script = [] { QScrOrg().Load("x"); };
    const struct {
        const char* path;
        std::string bytes;  // "/" : a folder
        const std::function<void()>& load;
        const char* where;  // the place the line starts with
        const char* what;
        int lines = 1;  // 2: said by the loader's box, at each load
    } cases[] = {
        {"Datas/GzDatas.qd", "herb heals 30 0\r\nwater m", goods,
         "Datas/GzDatas.qd:2:1:", "cut short"},
        {"Datas/GzDatas.qd", "herb heals 30\r\nwater mp 0 0\r\n", goods,
         "Datas/GzDatas.qd:1:1:", "3 of its 4 fields"},
        {"Datas/GzDatas.qd", "herb heals 40000 0\r\n", goods,
         "Datas/GzDatas.qd:1:1:", "40000 is out of range (-32768 to 32767)"},
        {"Datas/GzDatas.qd", "", goods, "Datas/GzDatas.qd", "the table is empty"},
        {"Datas/GzDatas.qd", "/", goods, "Datas/GzDatas.qd", "cannot be read", 2},
        {"Datas/WzDatas_0.qd", "fire burns 99999999999 8\r\n", techniques,
         "Datas/WzDatas_0.qd:1:12:", "32-bit"},
        {"Datas/WzDatas_0.qd", "fire bu\x01rns 1 8\r\n", techniques,
         "Datas/WzDatas_0.qd:1:8:", "control byte 0x01"},
        {"chara/x.qd", "x.rzo\r\n-1.0,\r\n0.0,\r\n100.0,\r\n", character,
         "chara/x.qd:2:1:", "-1 is out of range (at least 0)"},
        {"chara/x.rzo", "", model, "chara/x.rzo", "the model cannot be loaded"},
        {"chara/x.rzo", "/", model, "chara/x.rzo", "a folder, not a file"},
        {"SCR/x.qd", std::string("c1 1,0,\0junk#\r\n", 15), script,
         "SCR/x.qd:1:8:", "a NUL byte ends the script"},
        {"SCR/x.qd", "", script, "SCR/x.qd", "the script is empty"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " / " + c.what);
        Put(c.path, c.bytes == "/" ? nullptr : c.bytes.data(), c.bytes.size());
        ResetReportedOnce();
        ClearDiagnosedFaults();
        c.load();
        c.load();
        EXPECT_EQ(Lines(c.where, c.what), c.lines)
            << (DiagnosedFaults().empty() ? std::string("nothing said")
                                          : DiagnosedFaults().front());
        fs::remove_all(fs::path(dir_) / c.path);
    }
}

TEST_F(BrokenFilesTest, ItemsNameWhatTheirRecordCannotHold) {
    const std::string path = std::string(GetBasePath()) + "sChr\\c9.qf";
    ItemReader in("300,\r\n7,99999999999,\r\nabcdefgh\r\n2", "head", path, 2);
    int32_t byte = 0, small = 0, wrapped = 0;
    std::string word;
    ASSERT_TRUE(in.Read("stat", "%d,", &byte));
    EXPECT_EQ(in.Byte("stat", byte), uint8_t(300 & 0xFF));
    ASSERT_TRUE(in.Read("pair", "%d,%d,", &small, &wrapped));
    EXPECT_TRUE(in.Fits("pair", small, 0, 10));
    ASSERT_TRUE(in.Read("word", "%s", &word));
    in.Cut("word", word, 4);
    EXPECT_EQ(Lines("sChr/c9.qf:2:1:", "stat 300 is out of range (0 to 255)"), 1);
    EXPECT_EQ(Lines("sChr/c9.qf:3:3:", "32-bit"), 1);
    EXPECT_EQ(Lines("sChr/c9.qf:4:1:", "word is 8 bytes long; only the first 4 are kept"), 1);
    EXPECT_EQ(Lines("sChr/c9.qf:5:1:", "cut short"), 1);
    EXPECT_EQ(DiagnosedFaults().size(), 4u);
    // A clean text says nothing; lines may end with a carriage return alone.
    ClearDiagnosedFaults();
    EXPECT_TRUE(CheckDataText("a\r\nb\r\n\x1A\x01", path));
    EXPECT_TRUE(CheckDataText("a\rb\r", path));
    EXPECT_TRUE(CheckDataText("", path));
    EXPECT_TRUE(DiagnosedFaults().empty());
}

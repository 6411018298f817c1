// Loading a script file. (Scripts as authors write them, in Shift-JIS with CR LF and in
// subfolders, are loaded by every end-to-end run.)
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>

#include "base/paths.h"
#include "script_test_util.h"

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class ScriptLoad : public ScriptTest {
protected:
    void SetUp() override {
        ScriptTest::SetUp();
        dir = MakeTempDir("script");
        fs::create_directories(fs::path(dir) / "SCR");
        SetDataDirectory(dir);
    }
    void TearDown() override {
        fs::remove_all(dir);
        ScriptTest::TearDown();
    }
    void Write(const std::string& name, const std::string& bytes) {
        std::ofstream(fs::path(dir) / "SCR" / name, std::ios::binary) << bytes;
        ClearPathCache();
    }
    std::string Text() const { return std::string(s.text); }
    std::string dir;
};

}  // namespace

TEST_F(ScriptLoad, AppendsTheEndCommandAndKeepsTheScriptState) {
    Write("a.qd", "c1 0,1,+#\r\n;\r\nlone\rcr\x1A after end of file");
    s.pc = 77;
    s.running = 1;
    s.iv[2] = 5;
    std::strcpy(s.str, "kept");
    EXPECT_TRUE(s.Load("a"));
    EXPECT_EQ(Text(), "c1 0,1,+#\n;\nlone\rcrc0");  // read as Windows text mode reads it
    EXPECT_EQ(std::tuple(s.pc, s.running, s.iv[2], std::string(s.str), s.EndOfText()),
              std::tuple(0, 1, 5, "kept", 19));
    EXPECT_THAT(BoxTexts(), IsEmpty());

    // A shorter script replaces all of the longer one.
    Write("b.qd", "");
    EXPECT_TRUE(s.Load("b"));
    EXPECT_EQ(Text(), "c0");
    // A NUL inside the file ends the script there, as the end command is appended at it.
    Write("nul.qd", std::string("ab\0@:L//x", 9));
    EXPECT_TRUE(s.Load("nul"));
    EXPECT_EQ(std::tuple(Text(), s.EndOfText()), std::tuple("abc0", 2));
}

TEST_F(ScriptLoad, MissingFileNamesTheScriptAndKeepsTheOldText) {
    Write("a.qd", "@:A//#");
    ASSERT_TRUE(s.Load("a"));
    s.pc = 3;
    EXPECT_FALSE(s.Load("nope"));
    EXPECT_EQ(std::tuple(s.pc, Text()), std::tuple(0, "@:A//#c0"));
    ASSERT_EQ(g_MessageBoxLog.size(), 1u);
    EXPECT_EQ(g_MessageBoxLog[0].text, "QScrOrg:Reading error!:\nnope");
}

TEST_F(ScriptLoad, LongFilesAreCutSoTheEndCommandFits) {
    const int32_t room = QScrOrg::kMaxFileText;  // 4093
    Write("fits.qd", std::string(room, 'x'));
    EXPECT_TRUE(s.Load("fits"));
    EXPECT_EQ(std::string(s.text + room, 2), "c0");
    for (size_t size : {size_t(room + 1), size_t(4096), size_t(100000)}) {
        g_MessageBoxLog.clear();
        Write("long.qd", std::string(size, 'y'));
        EXPECT_TRUE(s.Load("long"));
        EXPECT_EQ(Text(), std::string(room, 'y') + "c0") << size;
        EXPECT_THAT(BoxTexts(), ElementsAre("うお！？"));
    }
    // CR LF pairs count as one byte, as in text mode: 4093 lines fit exactly.
    g_MessageBoxLog.clear();
    std::string lines;
    for (int i = 0; i < room; ++i) lines += "\r\n";
    Write("crlf.qd", lines);
    EXPECT_TRUE(s.Load("crlf"));
    EXPECT_EQ(Text(), std::string(room, '\n') + "c0");
    EXPECT_THAT(BoxTexts(), IsEmpty());
}

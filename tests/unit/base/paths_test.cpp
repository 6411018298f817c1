#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/paths.h"
#include "base/sjis.h"
#include "test_support.h"

namespace fs = std::filesystem;

class PathsTest : public HeadlessHostTest {};

TEST_F(PathsTest, BasePathIsTheDirectoryWithItsBackslash) {
    EXPECT_EQ(CutToBasePath("D:\\a\\b\\game.exe"), "D:\\a\\b\\");
    EXPECT_EQ(CutToBasePath("/opt/gh02/gh02"), "/opt/gh02/");
    EXPECT_EQ(CutToBasePath("game.exe"), "");
    g_Host.executableDir = "/opt/gh02";
    EXPECT_STREQ(GetBasePath(), "/opt/gh02\\");
    SetDataDirectory("/srv/data/");
    EXPECT_STREQ(GetBasePath(), "/srv/data\\");
}

TEST_F(PathsTest, ComponentsMatchWithoutCaseAndShiftJisTrailBytesStayInTheName) {
    std::string dir = MakeTempDir("paths");
    // "表" is 0x95 0x5C in Shift-JIS: its trail byte is a backslash.
    fs::create_directories(fs::path(dir) / "SCR" / "表");
    std::ofstream(fs::path(dir) / "SCR" / "表" / "Test.QD") << "x";
    SetDataDirectory(dir);
    std::string game = std::string(GetBasePath()) + "scr\\" + ToSjis("表") + "\\test.qd";
    ASSERT_EQ(ToSjis("表"), "\x95\x5C");
    std::string native = ResolveGamePath(game);
    EXPECT_EQ(native, (fs::path(dir) / "SCR" / "表" / "Test.QD").string());
    FILE* f = OpenGameFile(game, "rb");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    EXPECT_EQ(ResolveGamePath(std::string(GetBasePath()) + "SCR\\missing.qd"), "");
    fs::remove_all(dir);
}

// Whole-file reads: every way a read can end, and the text a text-mode read gives.
#include "base/game_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/paths.h"
#include "test_support.h"

namespace fs = std::filesystem;

class GameFileTest : public HeadlessHostTest {};

TEST_F(GameFileTest, EachWayAReadEndsIsToldApart) {
    const std::string dir = MakeTempDir("game_file");
    fs::create_directories(fs::path(dir) / "Datas" / "Sub");
    std::ofstream(fs::path(dir) / "Datas" / "Ten.qd", std::ios::binary) << "0123456789";
    SetDataDirectory(dir);
    const std::string base = GetBasePath();
    struct Case {
        const char* path;
        size_t limit;
        LongFile longer;
        FileStatus status;
        const char* bytes;
    } cases[] = {
        {"datas\\ten.QD", 10, LongFile::kRefuse, FileStatus::kRead, "0123456789"},
        {"Datas\\Ten.qd", 4, LongFile::kCut, FileStatus::kRead, "0123"},
        {"Datas\\Ten.qd", 9, LongFile::kRefuse, FileStatus::kTooLong, ""},
        {"Datas\\Ten.qd", 0, LongFile::kCut, FileStatus::kRead, ""},
        {"Datas\\None.qd", 10, LongFile::kCut, FileStatus::kMissing, ""},
        {"Datas\\sub", 10, LongFile::kCut, FileStatus::kDirectory, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " limit " + std::to_string(c.limit));
        const FileRead r = ReadGameFile(base + c.path, c.limit, c.longer);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.bytes, c.bytes);
        EXPECT_EQ(r.size, r.status == FileStatus::kMissing || r.status == FileStatus::kDirectory
                              ? 0u
                              : 10u);
    }
    const FileRead native = ReadNativeFile((fs::path(dir) / "Datas" / "Ten.qd").string(), 99);
    EXPECT_EQ(native.bytes, "0123456789");
    EXPECT_EQ(ReadNativeFile(dir + "/datas/ten.qd", 99).status, FileStatus::kMissing);
}

TEST(TextMode, CtrlZEndsTheTextAndOnlyCrLfLosesItsCr) {
    const struct {
        std::string raw, text;
    } cases[] = {
        {"a\r\nb\r\n", "a\nb\n"},
        {"a\r\r\nb", "a\r\nb"},
        {"a\rb\r", "a\rb\r"},
        {std::string("x\r\x1A\ny\0z", 7), "x\r"},
        {std::string("n\0l\r\n", 5), std::string("n\0l\n", 4)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TextModeText(c.raw), c.text);
        EXPECT_EQ(UpToCtrlZ(c.raw), c.raw.substr(0, c.raw.find('\x1A')));
    }
}

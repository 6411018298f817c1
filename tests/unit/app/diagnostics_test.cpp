#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "base/debug_message.h"
#include "base/message_box.h"
#include "base/sjis.h"
#include "test_support.h"

namespace fs = std::filesystem;

class DiagnosticsTest : public HeadlessHostTest {};

TEST_F(DiagnosticsTest, DebugMessageStaysInsideItsBufferAndEmptiesAfterUse) {
    DebugMessage m;
    for (int i = 0; i < 50; ++i) m.Append("0123456789");
    EXPECT_EQ(std::string(m.Text()).size(), size_t(DebugMessage::kCapacity - 1));
    m.ShowBox();
    EXPECT_STREQ(m.Text(), "");
    ASSERT_EQ(g_MessageBoxLog.size(), 1u);

    fs::path old = fs::current_path();
    std::string dir = MakeTempDir("qdlog");
    fs::current_path(dir);
    m.Append("hp=");
    m.AppendInt(-42);
    m.WriteLog();
    m.AppendFloat(1.5f);
    m.WriteLog();
    fs::current_path(old);
    std::ifstream log(fs::path(dir) / "QdLog.qf");
    std::stringstream text;
    text << log.rdbuf();
    EXPECT_EQ(text.str(), "hp=-421.500000");  // appended, no line ends
    EXPECT_STREQ(m.Text(), "");
    fs::remove_all(dir);
}

TEST_F(DiagnosticsTest, ErrorBoxesCarryTheirCaptions) {
    EXPECT_FALSE(ErrorBox(SJIS("読めません")));
    ASSERT_EQ(g_MessageBoxLog.size(), 1u);
    EXPECT_EQ(g_MessageBoxLog[0].caption, "エラー発生");
    EXPECT_EQ(g_MessageBoxLog[0].text, "読めません");
    EXPECT_EQ(ShowMessageBox("", "?", MB_YESNO | MB_ICONQUESTION), IDNO);  // headless answers No
}

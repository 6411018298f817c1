#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "base/debug_message.h"
#include "base/diagnostics.h"
#include "base/message_box.h"
#include "base/paths.h"
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
    EXPECT_EQ(ReadFileBytes(dir + "/QdLog.qf"), "hp=-421.500000");  // appended, no line ends
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

namespace {

SourcePlace g_Place;
SourcePlace PlaceForTest() {
    return g_Place;
}

}  // namespace

// A box names where the engine stood in its data and says in English what is wrong, beside the
// game's own text, on standard error and in the log; the box keeps the game's text. Progress
// lines go to the log only; a question without an explanation is no fault.
TEST_F(DiagnosticsTest, BoxesAndProgressLinesGoToTheLogWithTheirPlace) {
    const fs::path dir = MakeTempDir("gh02log");
    SetLogFile((dir / "state" / "gh02.log").string());
    ClearDiagnosedFaults();
    const std::string text = "@:A//c1 0,\nc4 NOWHERE//0";
    g_Place = PlaceInText(text, text.find("c4"), "SCR/test.qd");
    EXPECT_EQ(g_Place.line, 2);
    EXPECT_EQ(g_Place.column, 1);
    const PlaceFinder saved = SetPlaceFinder(PlaceForTest);
    RZ_MsgBox(SJIS("ラベルがねぇよ:\nNOWHERE"), "no label NOWHERE after this jump");
    LogProgress("fname = tex\\a.bmp");
    ShowMessageBox("", SJIS("辺データを読込みますか？"), MB_YESNO);
    SetPlaceFinder(saved);
    EXPECT_EQ(RunningPlace().file, "");
    Diagnose("", 0, 0, "no place");

    ASSERT_EQ(g_MessageBoxLog.size(), 2u);
    EXPECT_EQ(g_MessageBoxLog[0].text, "ラベルがねぇよ:\nNOWHERE");
    const std::string fault =
        "SCR/test.qd:2:1: no label NOWHERE after this jump (the game says: [Harlo tumesto] "
        "ラベルがねぇよ: NOWHERE)";
    EXPECT_EQ(DiagnosedFaults(), (std::deque<std::string>{fault, "gh02: no place"}));
    EXPECT_EQ(
        ReadFileBytes(dir / "state" / "gh02.log"),
        fault + "\nfname = tex\\a.bmp\nquestion: 辺データを読込みますか？\n" + "gh02: no place\n");

    // Paths in messages are the data folder's, with '/'.
    SetDataDirectory("/data");
    EXPECT_EQ(ShownPath("/data\\SCR\\mori.qd"), "SCR/mori.qd");
    EXPECT_EQ(ShownPath("SE\\c0.wav"), "SE/c0.wav");
    SetDataDirectory("");

    // A log grown past its limit is kept as gh02.log.1 when the next run opens it.
    std::ofstream(dir / "big.log") << std::string(kMaxLogBytes + 1, 'x');
    SetLogFile((dir / "big.log").string());
    LogProgress("new run");
    EXPECT_EQ(ReadFileBytes(dir / "big.log"), "new run\n");
    EXPECT_EQ(fs::file_size(dir / "big.log.1"), kMaxLogBytes + 1);
    SetLogFile(DefaultLogPath());
    fs::remove_all(dir);
}

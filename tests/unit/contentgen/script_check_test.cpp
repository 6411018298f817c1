// Scripts read as their runners read them, and checked against the data they name before the
// game plays them.
#include <gtest/gtest.h>

#include <string>

#include "check/data_files.h"
#include "check/reference_check.h"
#include "check/script_check.h"
#include "check/script_scan.h"
#include "test_support.h"

namespace {

bool HasProblem(const std::vector<ScriptProblem>& problems, const std::string& text) {
    for (const ScriptProblem& p : problems)
        if (p.what.find(text) != std::string::npos) return true;
    return false;
}

std::string Joined(const std::vector<std::string>& messages) {
    std::string all;
    for (const std::string& m : messages) all += m + "\n";
    return all;
}

TEST(ScriptScan, ArgumentsAreConsumedAsTheRunnerConsumesThem) {
    // Text and labels hold prefix characters of the field runner; they must not count as
    // commands, while an 'e' or 'w' is plain text to it.
    const ScriptScan s =
        ScanScript("@:A//c3 fish#c//=c5 A//1f0 0,1;w1 e0 f8 6,0,0,c2 0,<<1,", ScriptRunner::Field);
    EXPECT_TRUE(s.problems.empty()) << s.problems.front().what;
    ASSERT_EQ(s.commands.size(), 5u);
    EXPECT_EQ(s.commands[0].args, (std::vector<std::string>{"fish#c", "="}));
    EXPECT_EQ(s.commands[1].args, (std::vector<std::string>{"A", "1"}));
    EXPECT_EQ(s.commands[2].args, (std::vector<std::string>{"0", "1"}));
    EXPECT_EQ(s.commands[3].args, (std::vector<std::string>{"6", "0", "0"}));
    EXPECT_EQ(s.commands[4].args, (std::vector<std::string>{"0", "<", "<", "1"}));
    EXPECT_EQ(s.labels.at("A"), (std::vector<size_t>{0}));

    const ScriptScan w = ScanScript("w4 0,100,95,60,0,0,f2 x//w0 ;", ScriptRunner::Technique);
    ASSERT_EQ(w.commands.size(), 2u);
    EXPECT_EQ(w.commands[0].args.size(), 6u);
    EXPECT_EQ(w.commands[1].number, 0);

    // A word where a number belongs, a command letter without a number, a missing blank.
    EXPECT_TRUE(HasProblem(ScanScript("c6 1,0,far,=", ScriptRunner::Field).problems,
                           "\"c6 1,0,far,=\": its arguments do not read as c6 wants them"));
    EXPECT_TRUE(HasProblem(ScanScript("cat", ScriptRunner::Field).problems, "no number"));
    EXPECT_TRUE(HasProblem(ScanScript("f10", ScriptRunner::Field).problems, "no blank"));
}

class ScriptCheckTest : public HeadlessHostTest {
protected:
    void SetUp() override {
        HeadlessHostTest::SetUp();
        out.Add("BGM/BGMData.qd", "# name file\r\nfield1 field1.flac\r\nbtl0 b.flac 0\r\n");
        out.Add("SE/hit.wav", "");
        out.Add("chara/elder.qd", "");
        out.Add("sChr/e0.qf", "x");  // names chara/x.qd
        out.Add("chara/x.qd", "");
        for (int n = 0; n < 6; ++n) out.Add("tex/sky0_" + std::to_string(n) + ".bmp", "");
        // A field whose map holds events 0 and 3 (event bytes 1 and 4).
        std::string qf = "0,\nsky0_\n";
        for (int i = 0; i < 32; ++i) qf += "none\n";
        for (int section = 0; section < 5; ++section)
            for (int i = 0; i < 1024; ++i)
                qf += section == 3 && i == 40 ? "1," : section == 3 && i == 41 ? "4," : "0,";
        out.Add("Field/baske0.qf", qf);
        out.Add("Field/far.qf", qf);
    }
    std::vector<std::string> Check() {
        Diagnostics diag;
        CheckScripts(out, diag);
        CheckReferences(out, diag, "not built");
        return diag.Messages();
    }
    DataFiles out;
};

TEST_F(ScriptCheckTest, FieldScriptsMeetTheirFieldsAndNameOnlyBuiltFiles) {
    out.Add("SCR/test.qd",
            "c26 field1//c28 btl0//f11 1,elder//c11 3,hit//f12 0,-1,-1,-1,-1,c4 END//0\r\n"
            "@:PLACE0//@:PLACE3//@:SPEAK1//f2 far//f1 far//\r\n@:END//f10 ;");
    out.Add("SCR/far.qd", "@:PLACE0//@:PLACE3//c5 PLACE0//1f10 ;");
    EXPECT_TRUE(Check().empty()) << Joined(Check());

    out = DataFiles();
    SetUp();
    out.Add("SCR/test.qd",
            "c26 march//f11 2,elder//f11 3,stranger//c11 3,boom//f12 0,7,-1,-1,-1,"
            "c4 END//1c5 NOWHERE//0c19 5,-900,0,=c1 -5,1,=c6 -2,0,5,=@:END//@:PLACE0//f2 far//"
            "f1 gone//");
    out.Add("SCR/far.qd", "@:PLACE3//");
    out.Add("Datas/MnuDatas.qd", "a x\r\nb y\r\n");
    out.Add("Datas/MnuActions.qd", "0 script NOWHERE\r\n1 script END\r\n3 items\r\n");
    const std::vector<std::string> m = Check();
    EXPECT_TRUE(AnyContains(m, "names music that the music list lacks")) << Joined(m);
    EXPECT_TRUE(AnyContains(m, "\"c4 END//1\" finds no label END before it"));
    EXPECT_TRUE(AnyContains(m, "finds no label NOWHERE after it"));
    // Negative numbers read variables: fv[899] and iv[4] do not exist, c6 knows only -1.
    EXPECT_TRUE(AnyContains(m, "\"c19 5,-900,0,=\" reads float variable 899"));
    EXPECT_TRUE(AnyContains(m, "\"c1 -5,1,=\" reads integer variable 4"));
    EXPECT_TRUE(AnyContains(m, "\"c6 -2,0,5,=\" names a character with a number below -1"));
    EXPECT_TRUE(AnyContains(m, "field baske0 has event 3 but the script has no label PLACE3"));
    EXPECT_TRUE(AnyContains(m, "\"f11 2,elder//\" places a character without a label SPEAK2"));
    EXPECT_TRUE(AnyContains(m, "names chara/stranger.qd, which is not built"));
    EXPECT_TRUE(AnyContains(m, "names SE/boom.wav, which is not built"));
    EXPECT_TRUE(AnyContains(m, "names sChr/e7.qf, which is not built"));
    EXPECT_TRUE(AnyContains(m, "names SCR/gone.qd, which is not built"));
    // The menu's entries are the built menu table's; their labels are the field scripts'.
    EXPECT_TRUE(AnyContains(m, "entry 3 is not on the menu (0-1) of Datas/MnuDatas.qd"));
    EXPECT_TRUE(AnyContains(m, "no field script has the label NOWHERE"));
    EXPECT_FALSE(AnyContains(m, "the label END"));
    // "far" is paired with the script that is not built: nothing more to say about it.
    EXPECT_FALSE(AnyContains(m, "field far"));
}

TEST_F(ScriptCheckTest, EveryTechniqueAFighterCanStartIsBuilt) {
    // Command table: plain attack, a technique category, an immediate command (flag 16).
    out.Add("Datas/WzDatas_0.qd", "Attack a 0 4\r\nArts b 0 8\r\nCover c 0 16\r\n");
    // Commands 0, 1, 2; knows techniques 1 and 3 of category 1; weapon 1; default action 2.
    out.Add("sChr/c0.qf",
            "Hero\r\n10,1\r\n1,1,1,1,1,1,1,1,1,1,1,\r\n0\r\n2\r\n1,0,\r\n0,1,2,0,0,\r\n"
            "0,0,0,0,0,0,0,0,\r\n10,0,0,0,0,0,0,0,\r\n0,0,0,0,0,0,0,0,\r\n0,0,0,0,0,0,0,0,\r\n"
            "0,0,0,0,0,0,0,0,\r\n0,0,0,0,0,0,0,0,\r\nhero\r\n");
    out.Add("sChr/e1.qf",
            "Slime\r\n5,0\r\n1,1,1,1,1,1,1,1,1,1,1,\r\n0\r\n4\r\n0,0,\r\n-1,\r\nslime\r\n");
    out.Add("SCR/bEv/ev0.qd", "@:INING//e0 ;@:START//e0 ;@:WIN//e0 ;");
    const std::vector<std::string> m = Check();
    for (const char* script : {"m2", "w0", "w1", "w3", "s2", "m4"})
        EXPECT_TRUE(
            AnyContains(m, std::string("names SCR/wz/") + script + ".qd, which is not built"))
            << script << "\n"
            << Joined(m);
    EXPECT_FALSE(AnyContains(m, "SCR/wz/w2.qd"));
    EXPECT_TRUE(AnyContains(m, "sChr/c0.qf: names Wea/w-1.qd"));
    EXPECT_TRUE(AnyContains(m, "sChr/e1.qf: names Wea/w-0.qd"));
    EXPECT_TRUE(AnyContains(m, "has no label G_O, which every battle starts"));
}

}  // namespace

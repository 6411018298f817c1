#include <gtest/gtest.h>

#include <cstring>

#include "app/shell.h"
#include "field/field_script.h"
#include "field/game_state.h"
#include "runner_test_util.h"
#include "world/party.h"

TEST_F(RunnerTest, FrameEndsAtHashAndContinuesBehindIt) {
    Set("c1 0,5,=#c1 0,1,+#;");
    Frame();
    EXPECT_EQ(s.iv[0], 5);
    EXPECT_EQ(s.running, 1);
    Frame();
    EXPECT_EQ(s.iv[0], 6);
    Frame();
    EXPECT_EQ(s.running, 0);

    // Without ";" the appended "c0" (no blank behind its number) ends the script in one frame.
    Run("xyz c1 1,2,=");
    EXPECT_EQ(s.iv[1], 2);
    EXPECT_EQ(s.running, 0);
    EXPECT_EQ(Reports(), 0u);
}

// Each script starts from iv = {3, 4, 7, 0}; the variable it changes and the value it ends with.
TEST_F(RunnerTest, IntegerArithmeticComparisonsAndReferences) {
    const struct {
        const char* script;
        int var;
        int32_t value;
    } cases[] = {
        {"c1 0,7,=c1 1,3,=c1 0,-2,+;", 0, 10},  // iv[0] += iv[1]
        {"c1 0,-7,=c1 0,2,/;", 0, 0},           // a reference past the table reads 0
        {"c1 3,7,=c1 3,-2,*c1 3,1,+;", 3, 29},
        {"c1 0,-4,=c1 0,-3,-c1 0,2,/;", 0, -3},  // (0 - 7) / 2, truncated toward zero
        {"c1 0,0,/c1 1,9,?;", 0, 3},             // division by 0 and unknown operators do nothing
        {"c1 0,0,/c1 1,9,?;", 1, 4},
        {"c1 0,2147483647,=c1 0,2,*;", 0, -2},  // wraps instead of overflowing
        {"c2 0,<<1,;", 2, 1},
        {"c2 0,>=1,;", 2, 0},  // only the first character counts
        {"c2 0,==0,;", 2, 1},
        {"c2 0,?=1,;", 2, 7},
        {"c2 0,<<9,c13 4,;", 2, 7},  // variables past the table: reported, nothing changes
    };
    for (const auto& c : cases) {
        s.iv[0] = 3, s.iv[1] = 4, s.iv[2] = 7, s.iv[3] = 0;
        Run(c.script);
        EXPECT_EQ(s.iv[c.var], c.value) << c.script;
    }
    EXPECT_EQ(Reports(), 2u);
}

TEST_F(RunnerTest, RandomModuloIVar1) {
    s.iv[1] = 6;
    for (int i = 0; i < 50; ++i) {
        Run("c1 0,0,R;");
        EXPECT_GE(s.iv[0], 0);
        EXPECT_LT(s.iv[0], 6);
    }
    s.iv[0] = 42;
    s.iv[1] = 0;
    Run("c1 0,0,R;");
    EXPECT_EQ(s.iv[0], 42);
    ASSERT_EQ(Reports(), 1u);
    Run("c1 0,0,R;");  // the same position is reported once
    EXPECT_EQ(Reports(), 1u);
}

TEST_F(RunnerTest, JumpsAndLoops) {
    // The loop of the script-format example: counts to iv[1] in one frame.
    s.iv[1] = 5;
    Run("c1 0,0,=@:LOOP//c1 0,1,+c2 0,<<1,c5 LOOP//1;");
    EXPECT_EQ(s.iv[0], 5);
    EXPECT_EQ(s.running, 0);

    // A false condition consumes the direction and goes on behind it.
    s.iv[2] = 0;
    Run("c5 X//9c1 3,4,=;@:X//");
    EXPECT_EQ(s.iv[3], 4);

    EXPECT_EQ(Reports(), 0u);
}

TEST_F(RunnerTest, FloatArithmetic) {
    Run("c19 0,2.5,0,=c19 0,4,0,*c19 1,90,1,=c19 2,-1,0,=c19 2,0,0,/;");
    EXPECT_FLOAT_EQ(s.fv[0], 10.0f);
    EXPECT_NEAR(s.fv[1], 1.5708f, 1e-4f);
    EXPECT_FLOAT_EQ(s.fv[2], 10.0f);  // -1 reads fv[0]; the division by 0 is skipped
    Run("c19 6,1,0,=;");
    EXPECT_EQ(Reports(), 1u);
}

TEST_F(RunnerTest, EveryFrameEnds) {
    // A jump onto itself never reaches "#": the frame is cut and reported once.
    Run("@:A//c4 A//1#");
    EXPECT_EQ(s.running, 1);
    EXPECT_EQ(s.stepping, 0);
    EXPECT_EQ(Reports(), 1u);
    // A command number at the very end of the text, with no blank and no terminator.
    std::memset(s.text, 'x', sizeof s.text);
    std::memcpy(s.text + QScrOrg::kTextSize - 3, "c12", 3);
    s.pc = 0;
    s.running = 1;
    RunScriptLoop(s, "full", nullptr);
    EXPECT_EQ(s.running, 0);
    // Unknown numbers and characters are skipped; their arguments read as plain text.
    Run("c99 5,c1 0,3,=;");
    EXPECT_EQ(s.iv[0], 3);
}

class FieldRunnerTest : public RunnerTest {
protected:
    void SetUp() override {
        RunnerTest::SetUp();
        g_pGameState = &state;
    }
    void TearDown() override {
        g_pGameState = nullptr;
        RunnerTest::TearDown();
    }
    GameState state;
};

TEST_F(FieldRunnerTest, PipeEndsFrameAndFieldCommandsRun) {
    QScrOrg& f = state.fieldScript;
    SetText(f, "c1 0,1,+|f3 20,c1 0,1,+;c0");  // f3 on a character outside the table
    f.running = 1;
    RunFieldScript();
    EXPECT_EQ(f.iv[0], 1);
    RunFieldScript();
    EXPECT_EQ(f.iv[0], 2);
    EXPECT_EQ(f.running, 0);
    EXPECT_EQ(Reports(), 1u);
}

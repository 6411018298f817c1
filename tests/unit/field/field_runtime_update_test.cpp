// The field frame's input (walking, talking, the confirm key, the menu key) and the fades
// between the field, the menu screen and a battle.
#include "field_runtime_fixture.h"

namespace {

void TestFieldFrame() {}
void TestMenuFrame() {}

class FieldUpdateTest : public FieldRuntimeTest {
protected:
    void SetUp() override {
        FieldRuntimeTest::SetUp();
        SetScript("@:SPEAK1//one#@:SPEAK2//two#c0");
        g_FieldFrameProc = TestFieldFrame;
        g_MenuScreenFrameProc = TestMenuFrame;
    }
    void TearDown() override {
        g_FieldFrameProc = g_MenuScreenFrameProc = nullptr;
        FieldRuntimeTest::TearDown();
    }
    static void Frames(int n) {
        for (int i = 0; i < n; ++i) FieldUpdate();
    }
    // Calls the field handler until it changes; returns how many calls that took.
    int RunHandler(FrameProc handler) {
        State().fieldHandler = handler;
        int calls = 0;
        while (State().fieldHandler == handler && calls < 100) {
            handler();
            ++calls;
        }
        return calls;
    }
};

TEST_F(FieldUpdateTest, ArrowsWalkRelativeToTheCamera) {
    g_Camera.angle = 0.3f;
    const float up = 0.3f + 180.0f * kDegToRad;
    const Vector3 start = Leader().position;
    Hold(VK_UP);
    Frames(1);  // pressed, not yet held
    EXPECT_EQ(Leader().position.x, start.x);
    Frames(1);
    EXPECT_FLOAT_EQ(Leader().rotation.y, up);
    EXPECT_NEAR(Leader().position.x, start.x + TaylorSin(up) * 16.0f, 0.01f);
    Hold(VK_LEFT);
    Hold(VK_RIGHT);
    Frames(2);
    EXPECT_FLOAT_EQ(Leader().rotation.y, up - 0.785375f);  // Left is asked first
}

TEST_F(FieldUpdateTest, ShiftTalksOnlyWhenHeldAfterTheDelay) {
    Leader().rotation.y = 90.0f * kDegToRad;
    AddCharacter(2, Leader().position.x + 250.0f, Leader().position.z);
    g_ActionTimer = 0;
    Hold(VK_SHIFT);
    Hold(VK_UP);
    Frames(4);  // held from the second frame, but 80 ms pass only on the fifth
    EXPECT_EQ(Script().running, 0);
    const Vector3 start = Leader().position;
    Frames(1);
    EXPECT_EQ(ScriptRest(), "two");
    EXPECT_EQ(Script().running, 1);
    EXPECT_EQ(Leader().position.x, start.x);  // the confirm key never walks
}

TEST_F(FieldUpdateTest, FieldFadeInGivesInputBackOnlyAfterACover) {
    g_FieldInputEnabled = 0;
    g_ResumeScriptAfterFade = 1;
    EXPECT_EQ(RunHandler(FieldFadeIn), 1);  // never covered: the script gives the input
    EXPECT_EQ(g_FieldInputEnabled, 0);
    EXPECT_EQ(Script().running, 1);
    g_FadeAlpha = 255;
    EXPECT_EQ(RunHandler(FieldFadeIn), 8);
    EXPECT_EQ(g_FieldInputEnabled, 1);
}

}  // namespace

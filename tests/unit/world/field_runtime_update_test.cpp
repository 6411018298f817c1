// The field frame's input: walking with the arrows, talking, conversations and lists waiting
// for the confirm key, the menu key; and the fades between the field, the menu screen and a
// battle.
#include <cmath>
#include "app/sjis.h"
#include "field_runtime_fixture.h"

#include "math/math_scalar.h"

namespace {

int g_fieldFrames = 0;
int g_menuFrames = 0;
void TestFieldFrame() {
    ++g_fieldFrames;
}
void TestMenuFrame() {
    ++g_menuFrames;
}

}  // namespace

class FieldUpdateTest : public FieldRuntimeTest {
protected:
    void SetUp() override {
        FieldRuntimeTest::SetUp();
        SetScript("@:SPEAK1//one#@:SPEAK2//two#c0");
    }
    // Runs frames with the keys as they are now.
    void Frames(int n) {
        for (int i = 0; i < n; ++i) FieldUpdate();
    }
    void OpenTalk(const char* text, int32_t shown) {
        SetTalkText(g_TalkWindows[0], text, kTalkStaysOpen);
        g_TalkWindows[0].shown = shown;
    }
};

TEST_F(FieldUpdateTest, ArrowsWalkRelativeToTheCameraAndSwitchTheWalkMotion) {
    g_Camera.angle = 0.3f;
    const Vector3 start = Leader().position;
    Hold(VK_UP);
    Frames(1);  // pressed: not held yet
    EXPECT_EQ(Leader().position.x, start.x);
    Frames(1);
    const float f = 0.3f + 180.0f * kDegToRad;
    EXPECT_FLOAT_EQ(Leader().rotation.y, f);
    EXPECT_NEAR(Leader().position.x, start.x + TaylorSin(f) * 16.0f, 0.01f);
    EXPECT_NEAR(Leader().position.z, start.z + TaylorCos(f) * 16.0f, 0.01f);
    EXPECT_EQ(State().walkAnimating, 1);
    ReleaseAll();
    Frames(1);
    EXPECT_EQ(State().walkAnimating, 0);

    struct Case {
        std::vector<int> keys;
        float facing;
    };
    const Case cases[] = {
        {{VK_UP, VK_LEFT}, 0.3f + 180.0f * kDegToRad - 0.785375f},
        {{VK_UP, VK_RIGHT}, 0.3f + 180.0f * kDegToRad + 0.785375f},
        {{VK_DOWN}, 0.3f},
        {{VK_DOWN, VK_LEFT}, 0.3f + 0.785375f},
        {{VK_DOWN, VK_RIGHT, VK_LEFT}, 0.3f + 0.785375f},  // Left is asked first
        {{VK_LEFT}, 0.3f + 90.0f * kDegToRad},
        {{VK_RIGHT}, 0.3f - 90.0f * kDegToRad},
        {{VK_UP, VK_DOWN}, 0.3f + 180.0f * kDegToRad},
    };
    for (const Case& c : cases) {
        ReleaseAll();
        Frames(1);
        for (int vk : c.keys) Hold(vk);
        Frames(2);
        EXPECT_FLOAT_EQ(Leader().rotation.y, c.facing) << c.keys.size();
    }
}

TEST_F(FieldUpdateTest, InputOffOnlyCountsTheActionTimer) {
    g_FieldInputEnabled = 0;
    g_ActionTimer = -128;
    Hold(VK_UP);
    Frames(3);
    EXPECT_EQ(g_ActionTimer, -128 + 48);
    EXPECT_EQ(g_KeyUp, kKeyUp);  // not even polled
    g_ActionTimer = 9990;
    Frames(2);
    EXPECT_EQ(g_ActionTimer, 10006);  // grows only while below 9999
}

TEST_F(FieldUpdateTest, ShiftHeldTalksOnceTheDelayHasPassed) {
    Leader().rotation.y = 90.0f * kDegToRad;
    AddCharacter(2, Leader().position.x + 250.0f, Leader().position.z);
    g_ActionTimer = 0;
    Hold(VK_SHIFT);
    Hold(VK_UP);
    Frames(2);  // held, but 32 ms since the last action
    EXPECT_EQ(Script().running, 0);
    const Vector3 start = Leader().position;
    State().walkAnimating = 1;
    Frames(3);  // 80 ms reached on the fifth frame
    EXPECT_EQ(ScriptRest(), "two");
    EXPECT_EQ(Script().running, 1);
    EXPECT_EQ(State().walkAnimating, 0);
    EXPECT_EQ(Leader().position.x, start.x);  // the confirm key never walks

    // Nobody in front: nothing starts, and still no walking.
    SetScript("@:SPEAK2//two#c0");
    g_Characters[2].active = 0;
    Frames(1);
    EXPECT_EQ(Script().running, 0);
    EXPECT_EQ(Leader().position.x, start.x);
}

TEST_F(FieldUpdateTest, TalkWindowWaitsForTheWholeTextAndTheConfirmKey) {
    OpenTalk("hello", 1);
    Hold(VK_UP);
    const Vector3 start = Leader().position;
    Frames(2);
    EXPECT_EQ(Leader().position.x, start.x);  // an open window stops walking
    EXPECT_EQ(g_ActionTimer, 0);
    Hold(VK_SHIFT);
    Frames(2);
    EXPECT_EQ(Script().running, 0);  // still typing
    g_TalkWindows[0].shown = 3;      // 6 bytes shown of 5
    Frames(1);
    EXPECT_EQ(Script().running, 1);
}

TEST_F(FieldUpdateTest, ChoiceListAnswersWithShiftAndMovesWithTheArrows) {
    MenuList& list = State().messageWindow;
    AddListEntry(list, "yes", 1);
    AddListEntry(list, "no", 2);
    list.open = 1;
    OpenTalk("which?", 3);
    g_ActionTimer = -128;  // as the list command leaves it
    Hold(VK_DOWN);
    Frames(3);
    EXPECT_EQ(list.cursor, 0);  // 80 ms not reached yet: nothing moves
    Frames(10);
    EXPECT_EQ(list.cursor, 1);
    ReleaseAll();
    Frames(1);
    g_ActionTimer = 100;
    Hold(VK_SHIFT);
    // The first frame only presses Shift, and the open talk window puts the timer back to 0;
    // the answer comes on the frame the 80 ms are reached again with Shift held.
    Frames(5);
    EXPECT_EQ(list.open, 1);
    Frames(1);
    EXPECT_EQ(list.open, 0);
    EXPECT_EQ(Script().running, 1);
    EXPECT_EQ(g_ActionTimer, 0);
    EXPECT_EQ(list.cursor, 1);
}

TEST_F(FieldUpdateTest, ReturnOpensTheMenuScreenFade) {
    g_ModeNow = g_ModeNext = 1;
    Hold(VK_RETURN);
    Hold(VK_UP);
    const Vector3 start = Leader().position;
    Frames(2);
    EXPECT_EQ(State().fieldHandler, &MenuFadeOut);
    EXPECT_EQ(g_FieldInputEnabled, 0);
    EXPECT_EQ(g_ModeNow, 0);
    EXPECT_EQ(g_ModeNext, 0);
    EXPECT_EQ(g_ActionTimer, 0);
    EXPECT_EQ(Leader().position.x, start.x);
}

class FieldTransitionTest : public FieldRuntimeTest {
protected:
    void SetUp() override {
        FieldRuntimeTest::SetUp();
        g_FieldFrameProc = TestFieldFrame;
        g_MenuScreenFrameProc = TestMenuFrame;
        g_FrameProc = TestFieldFrame;
    }
    void TearDown() override {
        g_FieldFrameProc = g_MenuScreenFrameProc = nullptr;
        FieldRuntimeTest::TearDown();
    }
    // Runs the field handler until it changes; returns how many calls that took.
    int RunHandler(FrameProc handler, int limit = 100) {
        State().fieldHandler = handler;
        int calls = 0;
        while (State().fieldHandler == handler && calls < limit) {
            handler();
            ++calls;
        }
        return calls;
    }
};

TEST_F(FieldTransitionTest, EncounterFadesToBlackThenRequestsTheBattle) {
    g_FadeR = 200;
    g_FadeAlpha = 90;
    StartEncounter();
    EXPECT_EQ(g_EncounterPending, 1);
    int calls = 0;
    while (State().fieldHandler == &EncounterFadeOut && calls < 100) {
        EncounterFadeOut();
        ++calls;
        if (calls == 1) {
            EXPECT_EQ(g_FadeR, 0);
            EXPECT_EQ(g_FadeAlpha, 0);
        }
        if (State().fieldHandler == &EncounterFadeOut) {
            EXPECT_EQ(g_ModeChangeRequest, 0);
        }
    }
    EXPECT_EQ(calls, 17);  // 0, then 16 a frame past 254
    EXPECT_EQ(g_FadeAlpha, 255);
    EXPECT_EQ(g_ModeNow, 1);
    EXPECT_EQ(g_ModeNext, 0);
    EXPECT_EQ(g_ModeChangeRequest, 1);
    EXPECT_EQ(g_TransitionCounter, 17);
    EXPECT_EQ(State().fieldHandler, &NullFrameHook);
}

TEST_F(FieldTransitionTest, MenuScreenOpensAndClosesUnderTheFade) {
    AddListEntry(State().messageWindow, "old", 5);
    OpenMenuScreen();
    EXPECT_EQ(RunHandler(MenuFadeOut), 8);
    EXPECT_EQ(g_FadeAlpha, 255);
    EXPECT_EQ(g_FrameProc, &TestMenuFrame);
    EXPECT_EQ(g_ModeNow, 0);
    EXPECT_EQ(g_FieldInputEnabled, 1);
    EXPECT_EQ(State().fieldHandler, &FieldFadeIn);
    // Seven entries for the cursor, the old ones gone.
    const MenuList& list = State().messageWindow;
    for (int k = 0; k < 7; ++k) {
        EXPECT_EQ(std::string(list.entries[k].text), SJIS("香")) << k;
        EXPECT_EQ(list.entries[k].value, 1);
    }
    EXPECT_EQ(list.entries[7].text[0], '\0');

    EXPECT_EQ(RunHandler(FieldFadeIn), 8);
    EXPECT_EQ(g_FadeAlpha, 0);

    CloseMenuScreen();
    EXPECT_EQ(g_FieldInputEnabled, 0);
    EXPECT_EQ(RunHandler(MenuFadeOut), 8);
    EXPECT_EQ(g_FrameProc, &TestFieldFrame);
    EXPECT_EQ(g_ModeNow, 1);
}

TEST_F(FieldTransitionTest, FieldFadeInGivesInputBackOnlyAfterACover) {
    g_FieldInputEnabled = 0;
    g_FadeAlpha = 255;
    g_ResumeScriptAfterFade = 1;
    EXPECT_EQ(RunHandler(FieldFadeIn), 8);
    EXPECT_EQ(g_FadeAlpha, 0);
    EXPECT_EQ(g_FieldInputEnabled, 1);
    EXPECT_EQ(Script().running, 1);
    EXPECT_EQ(State().fieldHandler, &NullFrameHook);

    // A field entered without a cover waits for its script to give the input.
    g_FieldInputEnabled = 0;
    g_ResumeScriptAfterFade = 0;
    Script().running = 0;
    g_FadeAlpha = 0;
    EXPECT_EQ(RunHandler(FieldFadeIn), 1);
    EXPECT_EQ(g_FieldInputEnabled, 0);
    EXPECT_EQ(Script().running, 0);
}

TEST_F(FieldTransitionTest, HandlersWithoutAGameStateDoNothingHarmful) {
    delete g_pGameState;
    g_pGameState = nullptr;
    g_FadeAlpha = 250;
    MenuFadeOut();
    FieldFadeIn();
    StartEncounter();
    FieldUpdate();
    MoveCharacter(0, 10.0f, 0.0f);
    EXPECT_EQ(g_EncounterPending, 1);
    EXPECT_FLOAT_EQ(GroundHeight(100.0f, -100.0f), 0.0f);
}

TEST_F(FieldRuntimeTest, FreeCameraMovesByFrameTime) {
    g_FrameTime = 20;  // 32 units or 2 degrees a frame
    g_Camera.target = Vector3{1000.0f, 200.0f, -1000.0f};
    g_KeyUp = kKeyHeld;
    FreeCamera();
    EXPECT_FLOAT_EQ(g_Camera.eye.y, 3032.0f);
    g_KeyUp = kKeyUp;
    g_KeyLeft = kKeyHeld;
    FreeCamera();
    EXPECT_FLOAT_EQ(g_Camera.angle, 2.0f * kDegToRad);
    EXPECT_NEAR(g_Camera.eye.x, 1000.0f + std::sin(g_Camera.angle) * 2000.0f, 0.01f);

    Hold(VK_CONTROL);
    FreeCamera();  // Ctrl pressed, not held yet: the plain arrows still turn
    g_KeyLeft = kKeyUp;
    g_KeyRight = kKeyHeld;
    g_KeyDown = kKeyHeld;
    FreeCamera();
    EXPECT_FLOAT_EQ(g_Camera.target.x, 1032.0f);
    EXPECT_FLOAT_EQ(g_Camera.target.y, 168.0f);
    ReleaseAll();
    FreeCamera();
    Hold(VK_SHIFT);
    FreeCamera();
    FreeCamera();
    EXPECT_FLOAT_EQ(g_Camera.distance, 2032.0f);  // Shift with Down backs off
}

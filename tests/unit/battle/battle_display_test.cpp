#include <algorithm>
#include <cstring>

#include "battle_test_util.h"
#include "gfx/text.h"
#include "world/scene_view.h"

namespace {

// With identity view and projection a world point (x, y, 0) lands on the screen at
// ((x + 1) x 320, (1 - y) x 240).
SceneView IdentityView() {
    return SceneView{};
}

class BattleDisplayTest : public BattleTest {
protected:
    void SetUp() override {
        BattleTest::SetUp();
        SetSceneViewSource(&IdentityView);
        g_TextRect = TextRect{0, 0, 640, 480};
    }
    void TearDown() override {
        SetSceneViewSource(nullptr);
        BattleTest::TearDown();
    }
    DamageLabel& Label(int n, const char* text, float x, float y, int life = kDamageLabelLife) {
        DamageLabel& l = B().labels[n];
        l.life = life;
        l.colour = 0x00FF00;
        l.position = Vector3{x, y, 0.0f};
        std::snprintf(l.text, sizeof l.text, "%s", text);
        return l;
    }
    // The characters a frame of labels drew, with their pen positions.
    std::vector<Text> Drawn() {
        rec->Reset();
        DrawLabels();
        return ColouredTexts();
    }
    static std::string Trim(const std::string& s) {
        const size_t a = s.find_first_not_of(' ');
        return a == std::string::npos ? "" : s.substr(a);
    }
};

}  // namespace

TEST_F(BattleDisplayTest, LabelsRiseCharacterByCharacterWithTheirBounce) {
    Label(0, "12", 0.0f, 0.0f);  // screen (320, 240): x 320 - 10, y 240 - 18
    auto t = Drawn();            // life 32: only the first character, lifted by 4
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].text, "1");
    EXPECT_FLOAT_EQ(t[0].x, 310.0f);
    EXPECT_FLOAT_EQ(t[0].y, 222.0f - 4.0f);
    EXPECT_EQ(t[0].colour & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(B().labels[0].life, 31);

    t = Drawn();  // life 31: offsets 6 and 4
    ASSERT_EQ(t.size(), 2u);
    EXPECT_FLOAT_EQ(t[0].y, 222.0f - 6.0f);
    EXPECT_EQ(t[1].text, "2");
    EXPECT_FLOAT_EQ(t[1].x, 320.0f);
    EXPECT_FLOAT_EQ(t[1].y, 222.0f - 4.0f);

    B().labels[0].life = 22;  // p = 0 and 1: offsets 2 and 3
    t = Drawn();
    EXPECT_FLOAT_EQ(t[0].y, 222.0f - 2.0f);
    EXPECT_FLOAT_EQ(t[1].y, 222.0f - 3.0f);
    B().labels[0].life = 21;  // p = -1 rests, p = 0 still bounces
    t = Drawn();
    EXPECT_FLOAT_EQ(t[0].y, 222.0f);
    EXPECT_FLOAT_EQ(t[1].y, 222.0f - 2.0f);
    B().labels[0].life = 1;  // the last frame frees the label
    EXPECT_EQ(Drawn().size(), 2u);
    EXPECT_EQ(B().labels[0].life, 0);
    EXPECT_TRUE(Drawn().empty());
}

TEST_F(BattleDisplayTest, LabelsStayOnTheScreenAndDrawAtMostEightCharacters) {
    struct Case {
        float wx, wy;
        float x, y;
    } const cases[] = {
        {-1.0f, 0.0f, 0.0f, 222.0f},            // left edge: x 0
        {1.0f, 0.0f, 640.0f - 20.0f, 222.0f},   // right edge: 640 - 10n
        {0.0f, 1.0f, 310.0f, 0.0f},             // top: y 0
        {0.0f, -1.0f, 310.0f, 480.0f - 18.0f},  // bottom, sy = 480: still sy - 18
        {0.0f, -1.5f, 310.0f, 462.0f},          // below the screen: 462
        {-1e30f, 1e30f, 0.0f, 0.0f},            // far off: no overflow
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.wx << ", " << c.wy);
        Label(0, "99", c.wx, c.wy, 21);  // life 21: the first character rests
        auto t = Drawn();
        ASSERT_FALSE(t.empty());
        EXPECT_FLOAT_EQ(t[0].x, c.x);
        EXPECT_FLOAT_EQ(t[0].y, c.y);
    }

    Label(0, "CRITICAL!", 0.0f, 0.0f, 20);
    auto t = Drawn();
    std::string shown;
    for (const Text& x : t) shown += x.text;
    EXPECT_EQ(shown, "CRITICAL");     // the ninth character stays out, as the game shows it
    EXPECT_FLOAT_EQ(t[0].x, 280.0f);  // centred on 8: 320 - 40
}

TEST_F(BattleDisplayTest, StatusLinesStepTheShownPointsAndColourThem) {
    B().hudVisible = 1;
    FighterRecord& f = *g_Fighters[1];
    f.hp = 70;
    B().shownHp[1] = 120;
    B().hpStep[1] = 15;
    const int expected[] = {105, 90, 70};  // the third step comes within 16 and snaps
    for (int shown : expected) {
        rec->Reset();
        DrawStatusPanel();
        EXPECT_EQ(B().shownHp[1], shown);
    }
    EXPECT_EQ(B().hpStep[1], 0);
    auto has = [&](const std::string& text, uint32_t colour) {
        auto t = ColouredTexts();
        return std::any_of(t.begin(), t.end(), [&](const Text& x) {
            return Trim(x.text) == text && (x.colour & 0xFFFFFF) == colour;
        });
    };
    EXPECT_TRUE(has("70", 0xFFFFFF));
    EXPECT_TRUE(has("Hero1", 0xFFFFFF));
    // A sixth or more is white, less is yellow, nothing is red; magic points show the real
    // number in the shown number's colour.
    f.hp = B().shownHp[1] = 19;
    f.mp = 4;
    B().shownMp[1] = 30;
    rec->Reset();
    DrawStatusPanel();
    EXPECT_TRUE(has("19", 0xDCDC00));
    EXPECT_TRUE(has("4", 0xFFFFFF));
    f.hp = B().shownHp[1] = 0;
    rec->Reset();
    DrawStatusPanel();
    EXPECT_TRUE(has("0", 0xC80000));

    // A record without points shows no line; the panel is off until the fade-in ends.
    g_Fighters[2]->maxHp = 0;
    rec->Reset();
    DrawStatusPanel();
    EXPECT_FALSE(has("Hero2", 0xFFFFFF));
    B().hudVisible = 0;
    rec->Reset();
    DrawStatusPanel();
    EXPECT_TRUE(ColouredTexts().empty());
}

TEST_F(BattleDisplayTest, BattleMessageIsCentredWhileItsCounterRuns) {
    std::snprintf(B().message, sizeof B().message, "Fire");
    B().messageCounter = 0;
    rec->Reset();
    DrawBattleMessage();
    EXPECT_TRUE(rec->draws.empty());
    B().messageCounter = 5;
    DrawBattleMessage();
    auto t = Texts();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].text, "Fire");
    EXPECT_FLOAT_EQ(t[0].x, 302.0f);  // 320 - 4 x 4.5
    EXPECT_FLOAT_EQ(t[0].y, 7.0f);
}

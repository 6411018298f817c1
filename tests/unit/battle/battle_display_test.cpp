
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
    void Label(const char* text, float x, float y, int life = kDamageLabelLife) {
        DamageLabel& l = B().labels[0];
        l.life = life;
        l.colour = 0x00FF00;
        l.position = Vector3{x, y, 0.0f};
        std::snprintf(l.text, sizeof l.text, "%s", text);
    }
    // The characters a frame of labels drew, with their pen positions.
    std::vector<Text> Drawn() {
        rec->Reset();
        DrawLabels();
        return ColouredTexts();
    }
};

}  // namespace

TEST_F(BattleDisplayTest, LabelsRiseCharacterByCharacterWithTheirBounce) {
    Label("12", 0.0f, 0.0f);  // screen (320, 240): x 320 - 10, y 240 - 18
    auto t = Drawn();         // life 32: only the first character, lifted by 4
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].text, "1");
    EXPECT_FLOAT_EQ(t[0].x, 310.0f);
    EXPECT_FLOAT_EQ(t[0].y, 222.0f - 4.0f);
    t = Drawn();  // life 31: offsets 6 and 4
    ASSERT_EQ(t.size(), 2u);
    EXPECT_FLOAT_EQ(t[0].y, 222.0f - 6.0f);
    EXPECT_FLOAT_EQ(t[1].x, 320.0f);
    EXPECT_FLOAT_EQ(t[1].y, 222.0f - 4.0f);
    B().labels[0].life = 1;  // the last frame frees the label
    EXPECT_EQ(Drawn().size(), 2u);
    EXPECT_TRUE(Drawn().empty());
}

TEST_F(BattleDisplayTest, LabelsStayOnTheScreenAndDrawAtMostEightCharacters) {
    struct Case {
        float wx, wy;
        float x, y;
    } const cases[] = {
        {-1.0f, 0.0f, 0.0f, 222.0f},           // left edge: x 0
        {1.0f, 0.0f, 640.0f - 20.0f, 222.0f},  // right edge: 640 - 10n
        {0.0f, 1.0f, 310.0f, 0.0f},            // top: y 0
        {0.0f, -1.5f, 310.0f, 462.0f},         // below the screen: 462
        {-1e30f, 1e30f, 0.0f, 0.0f},           // far off: no overflow
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.wx << ", " << c.wy);
        Label("99", c.wx, c.wy, 21);  // life 21: the first character rests
        auto t = Drawn();
        ASSERT_FALSE(t.empty());
        EXPECT_FLOAT_EQ(t[0].x, c.x);
        EXPECT_FLOAT_EQ(t[0].y, c.y);
    }
    Label("CRITICAL!", 0.0f, 0.0f, 20);
    std::string shown;
    for (const Text& x : Drawn()) shown += x.text;
    EXPECT_EQ(shown, "CRITICAL");  // the ninth character stays out, as the game shows it
}

TEST_F(BattleDisplayTest, StatusLinesStepTheShownPointsAndColourThem) {
    B().hudVisible = 1;
    FighterRecord& f = *g_Fighters[1];
    f.hp = 70;
    B().shownHp[1] = 120;
    B().hpStep[1] = 15;
    for (int shown : {105, 90, 70}) {  // the third step comes within 16 and snaps
        rec->Reset();
        DrawStatusPanel();
        EXPECT_EQ(B().shownHp[1], shown);
    }
    // A sixth or more is white, less is yellow, nothing is red.
    auto colourOf = [&](int hp) {
        f.hp = B().shownHp[1] = hp;
        rec->Reset();
        DrawStatusPanel();
        for (const Text& x : ColouredTexts())
            if (x.text.find_first_not_of(' ') != std::string::npos &&
                x.text.substr(x.text.find_first_not_of(' ')) == std::to_string(hp))
                return x.colour & 0xFFFFFF;
        return 0u;
    };
    EXPECT_EQ(colourOf(70), 0xFFFFFFu);
    EXPECT_EQ(colourOf(19), 0xDCDC00u);
    EXPECT_EQ(colourOf(0), 0xC80000u);
}

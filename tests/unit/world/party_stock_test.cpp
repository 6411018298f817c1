// What the party carries and how it is put together: counts kept within 0-99, items used with a
// battle's clamps, weapons swapped with the bag, the order of the four places, and the file that
// says what the menu entries do.
#include <gtest/gtest.h>

#include <tuple>

#include "base/message_box.h"
#include "test_support.h"
#include "world/data_tables.h"
#include "world/inventory.h"
#include "world/menu_actions.h"
#include "world/party.h"

namespace {

class PartyStockTest : public HeadlessHostTest {
protected:
    void SetUp() override {
        HeadlessHostTest::SetUp();
        ResetParty();
        ResetInventory();
        g_MessageBoxLog.clear();
        // herb +30 hp, water +10 mp, a key that does nothing here, a poison -50 hp
        ParseGoods("herb heals 30 0\nwater mp 0 10\nkey opens 0 0\npoison hurts -50 0\n", Goods);
    }
    void TearDown() override {
        ReleaseDataTables();
        ResetInventory();
        ResetParty();
        HeadlessHostTest::TearDown();
    }
};

FighterRecord Member(int32_t hp, int32_t maxHp, int32_t mp, int32_t maxMp) {
    FighterRecord f;
    f.hp = hp;
    f.maxHp = maxHp;
    f.mp = mp;
    f.maxMp = maxMp;
    return f;
}

}  // namespace

TEST_F(PartyStockTest, CountsStayWithinNoneAndNinetyNine) {
    Stock s(4);
    EXPECT_EQ(s.Add(1, 60), 60);
    EXPECT_EQ(s.Add(1, 60), kStockMax);
    EXPECT_EQ(s.Add(1, -200), 0);
    EXPECT_EQ(s.Add(1, INT64_MIN / 2), 0);
    EXPECT_EQ(s.Add(4, 1), 0);  // outside the stock: nothing held, nothing kept
    EXPECT_EQ(s.Add(-1, 1), 0);
    s.Add(3, 2);
    s.Add(0, 1);
    EXPECT_EQ(s.Held(), (std::vector<std::pair<int32_t, int32_t>>{{0, 1}, {3, 2}}));
}

TEST_F(PartyStockTest, ItemsApplyTheirPointsWithTheBattlesClampsAndAreUsedUp) {
    for (auto [goods, count] : {std::pair{0, 2}, {1, 1}, {2, 1}, {3, 1}})
        g_GoodsStock.Add(goods, count);
    FighterRecord a = Member(100, 120, 0, 20);
    EXPECT_EQ(UseGoods(0, a), UseResult::kUsed);
    EXPECT_EQ(a.hp, 120);  // not past the maximum
    EXPECT_EQ(g_GoodsStock.Count(0), 1);
    EXPECT_EQ(UseGoods(0, a), UseResult::kNothingToDo);  // full: nothing used
    EXPECT_EQ(g_GoodsStock.Count(0), 1);
    EXPECT_EQ(UseGoods(1, a), UseResult::kUsed);
    EXPECT_EQ(a.mp, 10);
    EXPECT_EQ(UseGoods(1, a), UseResult::kNoneHeld);  // the last one went
    EXPECT_EQ(UseGoods(2, a), UseResult::kNothingHere);
    EXPECT_EQ(g_GoodsStock.Count(2), 1);
    FighterRecord down = Member(20, 120, 0, 0);
    EXPECT_EQ(UseGoods(3, down), UseResult::kUsed);
    EXPECT_EQ(down.hp, 0);  // not below nothing
    FighterRecord b = Member(0, 50, 0, 0);
    EXPECT_EQ(UseGoods(0, b), UseResult::kUsed);  // a member who is down gets up, as in battle
    EXPECT_EQ(b.hp, 30);
    // Records outside the table are never used, whatever is counted for them.
    g_GoodsStock.Add(7, 3);
    EXPECT_EQ(UseGoods(7, b), UseResult::kNoneHeld);
    EXPECT_EQ(UseGoods(-1, b), UseResult::kNoneHeld);
}

TEST_F(PartyStockTest, AWeaponPutOnSendsTheOldOneToTheBag) {
    FighterRecord& harlo = g_PartyMembers[0];
    harlo.weapon = 1;
    EXPECT_EQ(EquipWeapon(harlo, 2), EquipResult::kNotOwned);
    g_WeaponStock.Add(2, 1);
    EXPECT_EQ(EquipWeapon(harlo, 2), EquipResult::kEquipped);
    EXPECT_EQ(std::tuple(harlo.weapon, g_WeaponStock.Count(2), g_WeaponStock.Count(1)),
              std::tuple(2, 0, 1));
    EXPECT_EQ(EquipWeapon(harlo, 1), EquipResult::kEquipped);  // and back
    EXPECT_EQ(g_WeaponStock.Held(), (std::vector<std::pair<int32_t, int32_t>>{{2, 1}}));
    g_WeaponStock.Add(1, 1);
    EXPECT_EQ(EquipWeapon(harlo, 1), EquipResult::kSame);
    // A bag with 99 of the old weapon, or an old weapon the bag cannot count, keeps it on.
    g_WeaponStock.Add(1, 200);
    EXPECT_EQ(EquipWeapon(harlo, 2), EquipResult::kBagFull);
    harlo.weapon = 300;
    EXPECT_EQ(EquipWeapon(harlo, 2), EquipResult::kBagFull);
    EXPECT_EQ(std::tuple(harlo.weapon, g_WeaponStock.Count(2)), std::tuple(300, 1));
}

TEST_F(PartyStockTest, PlacesSwapAnyMemberInOrOutAndBindTheFighters) {
    using Places = std::array<int32_t, kPartyPlaceCount>;
    EXPECT_EQ(PartyPlaces(), (Places{1, 0, 3, 2}));  // order (1, 0, 3); member 2 stays back
    g_PartyMembers[0].hp = 0;                        // a member who is down can be moved out
    ASSERT_TRUE(SwapPartyPlaces(1, 3));
    EXPECT_EQ(PartyPlaces(), (Places{1, 2, 3, 0}));
    EXPECT_EQ(g_Fighters[1], &g_PartyMembers[2]);
    ASSERT_TRUE(SwapPartyPlaces(0, 2));
    EXPECT_EQ(PartyPlaces(), (Places{3, 2, 1, 0}));
    EXPECT_EQ(g_Fighters[0], &g_PartyMembers[3]);
    EXPECT_FALSE(SwapPartyPlaces(0, 4));
    EXPECT_FALSE(SwapPartyPlaces(-1, 0));
    EXPECT_EQ(PartyPlaces(), (Places{3, 2, 1, 0}));
    // An order entry outside the party is an empty place that can be filled.
    g_PartyOrder[1] = 9;
    EXPECT_EQ(PartyPlaces(), (Places{3, -1, 1, 0}));
    ASSERT_TRUE(SwapPartyPlaces(1, 3));
    EXPECT_EQ(PartyPlaces(), (Places{3, 0, 1, 2}));
}

TEST_F(PartyStockTest, MenuActionsReadEachLineAndNameWhatCannotBeUsed) {
    const MenuActions a = ParseMenuActions(
        "# what the entries do\n"
        "0 items\n"
        "1   techniques   # a comment\n"
        "3 script SHOP DOOR\n"
        "6 close\n"
        "2 fly\n"          // line 6
        "7 items\n"        // line 7
        "1 order\n"        // line 8
        "x items\n"        // line 9
        "4 script\n"       // line 10
        "5 save now\n"     // line 11
        "4 script A//B\n"  // line 12
        "-1 items\n",      // line 13
        7);
    EXPECT_EQ(std::tuple(a.entries[0].action, a.entries[1].action, a.entries[3].action,
                         a.entries[6].action),
              std::tuple(MenuAction::kItems, MenuAction::kTechniques, MenuAction::kScript,
                         MenuAction::kClose));
    EXPECT_EQ(std::tuple(a.entries[3].label, a.entries[3].line), std::tuple("SHOP DOOR", 4));
    for (int e : {2, 4, 5}) EXPECT_EQ(a.entries[size_t(e)].action, MenuAction::kNone) << e;
    EXPECT_EQ(a.problems, (std::vector<std::string>{
                              "line 6: unknown action \"fly\"",
                              "line 7: entry 7 is not on the menu (0-6)",
                              "line 8: entry 1 was given on line 3",
                              "line 9: an entry number, not \"x\"",
                              "line 10: \"script\" without a label",
                              "line 11: \"save\" takes nothing after it",
                              "line 12: a label cannot hold \"//\"",
                              "line 13: entry -1 is not on the menu (0-6)",
                          }));
    // A shorter menu table has fewer entries to give.
    EXPECT_EQ(ParseMenuActions("4 order\n", 3).problems,
              std::vector<std::string>{"line 1: entry 4 is not on the menu (0-2)"});
}

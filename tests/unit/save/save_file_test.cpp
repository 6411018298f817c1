// Save files: what a good save gives back, why a bad one is refused, and that a failed write
// leaves the old save as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "save/save_file.h"
#include "save/save_slots.h"
#include "test_support.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

const json kBody = {{"field", "mori"}, {"pos", {16384.5, -0.25, -12288.0}}, {"pc", 120}};

SaveSummary Summary() {
    SaveSummary s;
    s.fieldName = "mori";
    s.leaderName = "ハーロ";
    s.leaderHp = 80;
    s.leaderMaxHp = 120;
    s.playTimeMs = 123456;
    s.savedAt = "2026-12-07 10:00";
    return s;
}

void WriteAll(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class SaveSlotsTest : public ::testing::Test {
protected:
    std::string dir = MakeTempDir("saves");
    void SetUp() override {
        SetSaveGameName("demo");
        SetSaveDirectory(dir);
    }
    void TearDown() override {
        SetSaveDirectory("");
        SetSaveGameName("gh02");
    }
};

}  // namespace

TEST(SaveFile, AGoodSaveGivesBackItsBodyAndSummary) {
    const DecodedSave d = DecodeSave(EncodeSave("demo", Summary(), kBody), "demo");
    ASSERT_TRUE(d.ok) << d.reason;
    EXPECT_EQ(d.body, kBody);
    EXPECT_EQ(d.summary.leaderName, "ハーロ");
    EXPECT_EQ(d.summary.playTimeMs, 123456u);
    EXPECT_EQ(d.summary.savedAt, "2026-12-07 10:00");
}

TEST(SaveFile, BrokenSavesAreRefusedWithTheirReason) {
    const std::string good = EncodeSave("demo", Summary(), kBody);
    json newer = json::parse(good);
    newer["version"] = kSaveFormatVersion + 1;
    json changed = json::parse(good);
    changed["body"]["pc"] = 121;  // edited without a new checksum
    json noBody = json::parse(good);
    noBody.erase("body");
    struct Case {
        const char* what;
        std::string text;
        const char* reason;
    } const cases[] = {
        {"empty", "", "empty file"},
        {"truncated", good.substr(0, good.size() / 2), "not a save (broken or cut short)"},
        {"garbage", std::string(64, '\x81'), "not a save (broken or cut short)"},
        {"other JSON", R"({"format": "something else"})", "not a save"},
        {"other game", EncodeSave("another", Summary(), kBody), "from another game (another)"},
        {"newer", newer.dump(), "made by a newer version (format 2)"},
        {"checksum", changed.dump(), "damaged (checksum does not match)"},
        {"no body", noBody.dump(), "no game in it"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const DecodedSave d = DecodeSave(c.text, "demo");
        EXPECT_FALSE(d.ok);
        EXPECT_EQ(d.reason, c.reason);
        EXPECT_TRUE(d.body.is_null());
    }
}

TEST_F(SaveSlotsTest, SlotsListWhatTheyHoldAndTheLatestIsFound) {
    std::string reason;
    ASSERT_TRUE(WriteSaveSlot(0, EncodeSave("demo", Summary(), kBody), reason)) << reason;
    WriteAll(SaveSlotPath(2), EncodeSave("demo", Summary(), kBody).substr(0, 40));
    ASSERT_TRUE(WriteSaveSlot(5, EncodeSave("demo", Summary(), kBody), reason)) << reason;
    fs::last_write_time(SaveSlotPath(0), fs::file_time_type::clock::now() - std::chrono::hours(1));

    const std::vector<SaveSlotInfo> slots = ListSaveSlots();
    ASSERT_EQ(slots.size(), size_t(kSaveSlotCount));
    EXPECT_EQ(slots[0].state, SlotState::kReadable);
    EXPECT_EQ(slots[0].summary.fieldName, "mori");
    EXPECT_EQ(slots[1].state, SlotState::kEmpty);
    EXPECT_EQ(slots[2].state, SlotState::kUnreadable);
    EXPECT_EQ(slots[2].reason, "not a save (broken or cut short)");
    EXPECT_EQ(LatestSaveSlot(), 5);
    EXPECT_FALSE(ReadSaveSlot(kSaveSlotCount).ok);
    EXPECT_EQ(ReadSaveFile(dir + "/nothing.json").reason, "no such file");
}

TEST_F(SaveSlotsTest, AFailedWriteKeepsTheOldSave) {
    std::string reason;
    const std::string old = EncodeSave("demo", Summary(), kBody);
    ASSERT_TRUE(WriteSaveSlot(1, old, reason));
    // The temporary file cannot be made (a folder stands in its place), as in a folder that
    // refuses new files.
    fs::create_directory(SaveSlotPath(1) + ".tmp");
    EXPECT_FALSE(WriteSaveSlot(1, "new", reason));
    EXPECT_NE(reason.find("cannot write"), std::string::npos) << reason;
    EXPECT_EQ(ReadFileBytes(SaveSlotPath(1)), old);
    fs::remove(SaveSlotPath(1) + ".tmp");
    ASSERT_TRUE(WriteSaveSlot(1, "new", reason)) << reason;
    EXPECT_EQ(ReadFileBytes(SaveSlotPath(1)), "new");
    EXPECT_FALSE(fs::exists(SaveSlotPath(1) + ".tmp"));
}

TEST_F(SaveSlotsTest, TheSaveFolderFollowsTheUsersDataFolder) {
    SetSaveDirectory("");
    {
        ScopedEnv xdg("XDG_DATA_HOME", "/data/x");
        EXPECT_EQ(SaveDirectory(), "/data/x/gh02/demo/saves");
        ScopedEnv relative("XDG_DATA_HOME", "relative");  // not absolute: ignored
        ScopedEnv home("HOME", "/home/p");
        EXPECT_EQ(SaveDirectory(), "/home/p/.local/share/gh02/demo/saves");
    }
    SetSaveDirectory(dir);
    EXPECT_EQ(SaveSlotPath(0), dir + "/slot01.json");
}

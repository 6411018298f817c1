#include "app/save_game.h"

#include <cstdlib>
#include <cstring>
#include <ctime>

#include "app/world_reset.h"
#include "base/parse_int.h"
#include "base/paths.h"
#include "base/sjis.h"
#include "world/field_info.h"
#include "world/party.h"
#include "world/play_time.h"
#include "world/title_file.h"

namespace {

// The local date and time a save records. SOURCE_DATE_EPOCH (seconds since 1970), when it is
// set, stands in for the clock, so that a run can be repeated to the pixel (tests, with TZ).
std::string LocalTime() {
    std::time_t now = std::time(nullptr);
    if (const char* fixed = std::getenv("SOURCE_DATE_EPOCH")) {
        int64_t seconds = 0;
        if (ParseWholeInt(fixed, seconds) && seconds >= 0) now = std::time_t(seconds);
    }
    char text[32] = {};
    if (const std::tm* t = std::localtime(&now))
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", t);
    return text;
}

LoadableGame Check(const DecodedSave& save) {
    LoadableGame game;
    if (!save.ok) {
        game.reason = save.reason;
        return game;
    }
    std::string why;
    if (!SnapshotFromJson(save.body, game.snapshot, why)) {
        game.reason = "damaged (" + why + ")";
        return game;
    }
    game.ok = true;
    return game;
}

}  // namespace

void ChooseSaveGameName() {
    const TitleFile* title = DataSetTitle();
    SetSaveGameName(title && !title->saveName.empty() ? title->saveName
                                                      : "gh02-" + Crc32Hex(DataDirectory()));
}

SaveSummary CurrentSaveSummary() {
    SaveSummary s;
    s.fieldName = ToUtf8(std::string(g_FieldName, strnlen(g_FieldName, sizeof g_FieldName)));
    if (const FighterRecord* leader = g_Fighters[0]) {
        s.leaderName =
            ToUtf8(std::string(leader->name, strnlen(leader->name, sizeof leader->name)));
        s.leaderHp = leader->hp;
        s.leaderMaxHp = leader->maxHp;
    }
    s.playTimeMs = g_PlayTimeMs;
    s.savedAt = LocalTime();
    return s;
}

bool SaveGame(int32_t slot, std::string& reason) {
    reason = WhyNoSnapshot();
    if (!reason.empty()) return false;
    const std::string text =
        EncodeSave(SaveGameName(), CurrentSaveSummary(), SnapshotToJson(TakeSnapshot()));
    if (!WriteSaveSlot(slot, text, reason)) return false;
    g_UnsavedProgress = false;
    return true;
}

LoadableGame ReadGameFromSlot(int32_t slot) {
    return Check(ReadSaveSlot(slot));
}

LoadableGame ReadGameFromFile(const std::string& nativePath) {
    return Check(ReadSaveFile(nativePath));
}

void StartLoadedGame(const LoadableGame& game) {
    ResetGameWorld();
    ApplySnapshot(game.snapshot);
}

#include "battle/enemy_file.h"

#include <string>

#include "app/paths.h"
#include "app/sjis.h"
#include "battle/battle.h"
#include "gfx/msgbox.h"
#include "world/character.h"
#include "world/character_text_reader.h"
#include "world/party.h"

namespace {

uint8_t Low8(int32_t v) {
    return static_cast<uint8_t>(static_cast<uint32_t>(v));
}

}  // namespace

bool ReadEnemyStatusText(FighterRecord& r, std::string_view text, const std::string& pathSjis,
                         std::string& characterName) {
    characterName.clear();
    CharacterTextReader in(text, "ReadEnemST:", pathSjis);

    std::string name;
    if (!in.Read("名前", "%s\n", &name)) return false;
    r.SetName(name);
    if (!in.Read("最大HP・最大MP", "%d,%d\n", &r.maxHp, &r.maxMp)) return false;
    RestoreStatus(r);
    for (int i = 0; i < kFighterStatCount; ++i) {
        int32_t v = 0;
        if (!in.Read("能力値 " + std::to_string(i), "%d,", &v)) return false;
        r.stats[i] = Low8(v);
    }
    in.Read("能力値の行末", "\n");
    int32_t statusByte = 0, defaultAction = 0;
    if (!in.Read("状態", "%d\n", &statusByte)) return false;
    r.statusByte = Low8(statusByte);
    if (!in.Read("通常の行動", "%d\n", &defaultAction)) return false;
    r.defaultAction = Low8(defaultAction);
    if (!in.Read("武器・防具", "%d,%d,\n", &r.weapon, &r.guard)) return false;

    // An enemy knows only what its file lists: every word starts at 0.
    int32_t* words = &r.techniques[0][0];
    for (int i = 0; i < kEnemyTechniqueWords; ++i) words[i] = 0;
    for (int i = 0; i < kEnemyTechniqueWords; ++i) {
        int32_t v = 0;
        if (!in.Read("技 " + std::to_string(i), "%d,", &v)) return false;
        if (v == -1) break;
        words[i] = v;
    }
    in.SkipLine();  // a 49th word goes with the rest of the line

    std::string character;
    if (!in.Read("キャラクター名", "%s\n", &character)) return false;
    characterName = character;
    return true;
}

void ReadEnemST(int32_t fighter, int32_t enemy) {
    // Only the enemy slots read enemy files: a party member's record is never overwritten.
    if (fighter < kFirstEnemySlot || fighter >= kFighterCount) return;
    const std::string base = GetBasePath();
    const std::string rest = "sChr\\e" + std::to_string(enemy) + ".qf";
    std::string text;
    if (!ReadGameTextFile(base + rest, text)) {
        RZ_MsgBox(SJIS("ReadEnemST:ファイルが無い"));
        return;
    }
    if (!g_Fighters[fighter]) g_Fighters[fighter] = new FighterRecord();
    std::string character;
    if (ReadEnemyStatusText(*g_Fighters[fighter], text, ToSjis(base) + rest, character))
        g_Characters[fighter].LoadCharacter(character.c_str());
}

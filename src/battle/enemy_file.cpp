#include "battle/enemy_file.h"

#include <string>

#include "base/diagnostics.h"
#include "base/message_box.h"
#include "base/paths.h"
#include "base/sjis.h"
#include "battle/battle.h"
#include "world/character.h"
#include "world/character_text_reader.h"
#include "world/party.h"

bool ReadEnemyStatusText(FighterRecord& r, std::string_view text, const std::string& pathSjis,
                         std::string& characterName) {
    characterName.clear();
    ItemReader in(text, "ReadEnemST:", pathSjis);

    // An enemy starts with full points, also when its file breaks off after the maxima.
    const bool whole = ReadFighterStatusHead(in, r);
    RestoreStatus(r);
    if (!whole) return false;

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
        RZ_MsgBox(SJIS("ReadEnemST:ファイルが無い"),
                  "the enemy status file " + ShownPath(base + rest) + " cannot be read");
        return;
    }
    if (!g_Fighters[fighter]) g_Fighters[fighter] = new FighterRecord();
    std::string character;
    if (ReadEnemyStatusText(*g_Fighters[fighter], text, ToSjis(base) + rest, character))
        g_Characters[fighter].LoadCharacter(character.c_str());
}

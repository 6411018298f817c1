#include "world/party.h"

#include <cstring>
#include <string>
#include <utility>

#include "base/diagnostics.h"
#include "base/message_box.h"
#include "base/paths.h"
#include "base/sjis.h"
#include "world/character_text_reader.h"

FighterRecord g_PartyMembers[kPartyMemberCount];
FighterRecord* g_Fighters[kFighterCount] = {};
int32_t g_PartyOrder[kPartyFighterCount] = {1, 0, 3};
char g_FaceNames[kPartyMemberCount][kFaceNameSize] = {};

namespace {

bool ValidMember(int member) {
    return member >= 0 && member < kPartyMemberCount;
}

}  // namespace

void BindPartyFighters() {
    for (int i = 0; i < kPartyFighterCount; ++i) {
        const int32_t member = g_PartyOrder[i];
        g_Fighters[i] = ValidMember(member) ? &g_PartyMembers[member] : nullptr;
    }
}

std::array<int32_t, kPartyPlaceCount> PartyPlaces() {
    std::array<int32_t, kPartyPlaceCount> places;
    places.fill(-1);
    bool named[kPartyMemberCount] = {};
    for (int i = 0; i < kPartyFighterCount; ++i) {
        const int32_t member = g_PartyOrder[i];
        if (!ValidMember(member)) continue;
        places[size_t(i)] = member;
        named[member] = true;
    }
    for (int m = 0; m < kPartyMemberCount; ++m)
        if (!named[m]) {
            places[kPartyFighterCount] = m;
            break;
        }
    return places;
}

bool SwapPartyPlaces(int32_t a, int32_t b) {
    if (a < 0 || a >= kPartyPlaceCount || b < 0 || b >= kPartyPlaceCount) return false;
    std::array<int32_t, kPartyPlaceCount> places = PartyPlaces();
    std::swap(places[size_t(a)], places[size_t(b)]);
    for (int i = 0; i < kPartyFighterCount; ++i) g_PartyOrder[i] = places[size_t(i)];
    BindPartyFighters();
    return true;
}

void FreeEnemyFighters() {
    for (int i = kPartyFighterCount; i < kFighterCount; ++i) {
        delete g_Fighters[i];
        g_Fighters[i] = nullptr;
    }
}

void ResetParty() {
    FreeEnemyFighters();
    for (FighterRecord& r : g_PartyMembers) r = FighterRecord{};
    std::memset(g_FaceNames, 0, sizeof g_FaceNames);
    g_PartyOrder[0] = 1;
    g_PartyOrder[1] = 0;
    g_PartyOrder[2] = 3;
    BindPartyFighters();
}

bool ReadPartyStatusText(int member, std::string_view text, const std::string& pathSjis) {
    if (!ValidMember(member)) return false;
    FighterRecord& r = g_PartyMembers[member];
    ItemReader in(text, "QReadsChrData:", pathSjis);

    if (!ReadFighterStatusHead(in, r)) return false;
    for (int i = 0; i < kFighterCommandCount; ++i) {
        int32_t v = 0;
        if (!in.Read("コマンド " + std::to_string(i), "%d,", &v)) return false;
        r.commands[i] = in.Byte("コマンド " + std::to_string(i), v);
    }
    in.Read("コマンドの行末", "\n");
    for (int c = 0; c < kTechniqueCategoryCount; ++c) {
        for (int w = 0; w < kTechniqueWordCount; ++w) {
            if (!in.Read("技 " + std::to_string(c) + "-" + std::to_string(w), "%d,",
                         &r.techniques[c][w]))
                return false;
        }
        in.SkipLine();  // words past the eighth go with the rest of the line
    }
    std::string face;
    if (!in.Read("顔の名前", "%s\n", &face)) return false;
    in.Cut("顔の名前", face, kFaceNameSize - 1);
    const std::string fitted = FitSjis(face, kFaceNameSize);
    std::memset(g_FaceNames[member], 0, kFaceNameSize);
    std::memcpy(g_FaceNames[member], fitted.data(), fitted.size());
    return true;
}

void QReadsChrData(int member) {
    if (!ValidMember(member)) return;
    const std::string base = GetBasePath();
    const std::string rest = "sChr\\c" + std::to_string(member) + ".qf";
    std::string text;
    if (!ReadGameTextFile(base + rest, text)) {
        RZ_MsgBox(SJIS("QReadsChrData:ファイルが無い"),
                  "the party member's status file " + ShownPath(base + rest) + " cannot be read");
        return;
    }
    ReadPartyStatusText(member, text, ToSjis(base) + rest);
}

void LoadPartyStatus() {
    for (int m = 0; m < kPartyMemberCount; ++m) {
        QReadsChrData(m);
        FighterRecord& r = g_PartyMembers[m];
        RestoreStatus(r);
        r.stats[kStatAttack] = r.stats[kStatBaseAttack];
        r.stats[kStatDefence] = r.stats[kStatBaseDefence];
    }
}

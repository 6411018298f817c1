#include <cstring>
#include <string>

#include "app/modes.h"
#include "app/state_dump_sections.h"
#include "battle/battle.h"
#include "world/character.h"
#include "world/party.h"

namespace {

const char* PhaseName(FrameProc proc) {
    struct Named {
        FrameProc proc;
        const char* name;
    };
    static const Named kPhases[] = {
        {BattleIntro, "Intro"},
        {AdvanceGauges, "Gauges"},
        {CommandSelect, "CommandSelect"},
        {TechniqueSelect, "TechniqueSelect"},
        {TargetOpening, "TargetOpening"},
        {TargetSelect, "TargetSelect"},
        {TargetConfirming, "TargetConfirming"},
        {ActionRunning, "ActionRunning"},
        {EventRunning, "EventRunning"},
        {EndCheck, "EndCheck"},
        {VictoryFadeOut, "VictoryFadeOut"},
        {DefeatFadeOut, "DefeatFadeOut"},
        {NullFrameHook, "NullFrameHook"},
    };
    for (const Named& n : kPhases)
        if (n.proc == proc) return n.name;
    return proc ? "other" : "none";
}

nlohmann::json Fighter(const Battle& b, int i) {
    nlohmann::json j = {
        {"alive", b.alive[i]},
        {"gauge", b.gauge[i]},
        {"action", b.action[i]},
        {"target", b.target[i]},
        {"running", b.running[i]},
        {"shownHp", b.shownHp[i]},
        {"shownMp", b.shownMp[i]},
        {"pendingAmount", b.pendingAmount[i]},
        {"pendingStat", b.pendingStat[i]},
        {"hitMark", b.hitMark[i]},
        {"statusBits", b.statusBits[i]},
        {"trailColour", b.trailColour[i]},
        {"home", {b.home[i].x, b.home[i].y, b.home[i].z}},
    };
    const Character& c = g_Characters[i];
    j["position"] = {c.position.x, c.position.y, c.position.z};
    j["active"] = c.active;
    j["motion"] = c.model.GetCurrentAnimation();
    if (const FighterRecord* f = g_Fighters[i]) {
        j["name"] = DumpText(f->name, sizeof f->name);
        j["hp"] = f->hp;
        j["maxHp"] = f->maxHp;
        j["mp"] = f->mp;
        j["maxMp"] = f->maxMp;
        j["stats"] = nlohmann::json::array();
        for (uint8_t s : f->stats) j["stats"].push_back(s);
    }
    return j;
}

}  // namespace

nlohmann::json DumpBattle() {
    const Battle* b = g_pBattle.get();
    if (!b) return nullptr;
    nlohmann::json j;
    j["battleFrame"] = g_FrameProc == BattleFrame;
    j["phase"] = PhaseName(b->frameHandler);
    j["returnPhase"] = PhaseName(b->returnHandler);
    j["actor"] = b->actor;
    j["actionKind"] = b->actionKind;
    j["category"] = b->category;
    j["targetSide"] = b->targetSide;
    j["hudVisible"] = b->hudVisible;
    j["messageCounter"] = b->messageCounter;
    j["message"] = DumpText(b->message, sizeof b->message);
    j["outcome"] = b->outcome;
    const MenuList& list = b->menuList;
    nlohmann::json entries = nlohmann::json::array();
    for (const MenuListEntry& e : list.entries)
        if (e.text[0] != '\0') entries.push_back(DumpText(e.text, sizeof e.text));
    j["menu"] = {{"open", list.open}, {"cursor", list.cursor}, {"x", list.x},       {"y", list.y},
                 {"w", list.w},       {"h", list.h},           {"entries", entries}};
    nlohmann::json fighters = nlohmann::json::array();
    for (int i = 0; i < kBattleFighterCount; ++i) fighters.push_back(Fighter(*b, i));
    j["fighters"] = fighters;
    nlohmann::json labels = nlohmann::json::array();
    for (const DamageLabel& l : b->labels) {
        if (l.life <= 0) continue;
        labels.push_back({{"life", l.life},
                          {"colour", l.colour},
                          {"text", DumpText(l.text, sizeof l.text)},
                          {"position", {l.position.x, l.position.y, l.position.z}}});
    }
    j["labels"] = labels;
    return j;
}

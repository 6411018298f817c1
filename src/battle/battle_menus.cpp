// The party member's turn: the command menu, the technique menu of a category and the target
// list, each sliding in over four frames before it takes keys.
#include "base/frame.h"
#include "base/keys.h"
#include "base/sjis_text.h"
#include "battle/battle.h"
#include "gfx/sprite.h"
#include "script/camera_motion.h"
#include "sound/sound.h"
#include "ui/help_line.h"
#include "ui/menu_list.h"
#include "ui/ui_textures.h"
#include "world/character.h"
#include "world/data_tables.h"
#include "world/field_camera.h"
#include "world/input_gate.h"
#include "world/mode_words.h"
#include "world/party.h"
#include "world/scene_marker.h"
#include "world/scene_view.h"

namespace {

constexpr int32_t kMenuSlideSteps = 4;  // the box is whole, and takes keys, from this step on
constexpr int32_t kTargetDelay = 3;     // frames before the target list fills or is confirmed
constexpr int32_t kHomeCameraFrame = 16;
constexpr int32_t kMenuLeft = 16;
// The box hangs 16 pixels below the help strip at the top of the screen.
constexpr int32_t kMenuTop = 26 + 16;
constexpr int32_t kHelpX = 16;
constexpr int32_t kPartySide = 0;
constexpr int32_t kEnemySide = kFirstEnemySlot;

// The list's bottom edge (its y) follows from its height, so that its top stays put.
void PlaceMenu(MenuList& list) {
    list.x = kMenuLeft;
    list.y = kMenuTop + list.h;
}

int32_t CursorIn(const MenuList& list, int32_t count) {
    return list.cursor >= 0 && list.cursor < count ? list.cursor : 0;
}

// The box, the marker over the actor and the help line of one menu frame; the slide counts on.
void DrawMenuFrame(Battle& b, int32_t count, int32_t paged, const char* help) {
    if (g_TransitionCounter < kMenuSlideSteps) g_TransitionCounter += 1;
    DrawPagedList(b.menuList, g_TransitionCounter, count, paged);
    DrawActorMarker(b.markerAngle, b.actor);
    if (b.messageCounter != 0) DrawHelpLine(help, kHelpX);
}

// Keys count once the box is whole and the action delay has passed.
bool MenuTakesKeys() {
    return g_TransitionCounter >= kMenuSlideSteps && g_ActionTimer >= kActionDelayMs;
}

int32_t TargetCount(const Battle& b) {
    return b.targetSide == kEnemySide ? kBattleFighterCount - kFirstEnemySlot : kPartyFighterCount;
}

// The names of one side; an enemy that is down has an empty line, which the cursor skips.
void FillTargetList(Battle& b) {
    const TechniqueRecord& r = TechniqueTableAt(b.category)[b.action[b.actor]];
    b.targetSide = (r.flags & kTechniqueAimsAtEnemies) ? kEnemySide : kPartySide;
    const int32_t count = TargetCount(b);
    char names[kBattleFighterCount - kFirstEnemySlot][kTableNameSize] = {};
    for (int32_t k = 0; k < count; ++k) {
        const int32_t i = b.targetSide + k;
        const FighterRecord* f = g_Fighters[i];
        if (!f || (b.targetSide == kEnemySide && b.alive[i] == 0)) continue;
        CopySjisField(names[k], kTableNameSize, std::string_view(f->name, sizeof f->name));
    }
    FillList(b.menuList, names, count);
    LayoutList(b.menuList, count);
    PlaceMenu(b.menuList);
    // Start on someone who can be chosen rather than on an empty line.
    if (b.menuList.entries[0].text[0] == '\0') MoveCursor(b.menuList, 1, count);
}

void DrawTargetCursor(const Battle& b) {
    const int32_t i = b.menuList.cursor + b.targetSide;
    if (!IsFighter(i)) return;
    const Character& c = g_Characters[i];
    Vector3 p = c.position;
    if (c.headBone) p.Add(c.headBone->worldPosition);
    const ScreenPoint s = ProjectToScreen(p.x, p.y, p.z);
    DrawSprite(float(s.x) - 32.0f, float(s.y) - 16.0f, g_UiTextures[0], 0, 0, 32, 32);
}

const char* TargetName(const Battle& b) {
    const int32_t i = b.menuList.cursor + b.targetSide;
    return IsFighter(i) && g_Fighters[i] ? g_Fighters[i]->name : "";
}

}  // namespace

void OpenCommandMenu(int32_t fighter) {
    Battle* b = g_pBattle.get();
    if (!b || !IsFighter(fighter) || !g_Fighters[fighter]) return;
    b->actor = fighter;
    b->fromTechniqueList = 0;
    g_TransitionCounter = 0;
    b->category = 0;
    b->statusBits[fighter] = 0;
    FillTechniqueList(b->menuList, TechniqueTableAt(0), g_Fighters[fighter]->commands,
                      kFighterCommandCount);
    LayoutList(b->menuList, kFighterCommandCount);
    PlaceMenu(b->menuList);
    b->menuList.open = 1;
    b->menuList.cursor = 0;
    b->messageCounter = 1;
    b->frameHandler = CommandSelect;
    HoldArrowsOver();
}

void CommandSelect() {
    Battle* pb = g_pBattle.get();
    if (!pb || !IsFighter(pb->actor) || !g_Fighters[pb->actor]) return;
    Battle& b = *pb;
    const FighterRecord& actor = *g_Fighters[b.actor];
    const TechniqueTable& commands = TechniqueTableAt(0);
    DrawMenuFrame(b, kFighterCommandCount, 0,
                  commands[actor.commands[CursorIn(b.menuList, kFighterCommandCount)]].description);
    if (g_TransitionCounter < kMenuSlideSteps) return;
    b.menuFrames += 1;
    if (b.menuFrames == kHomeCameraFrame) {
        g_Camera.handler = NullFrameHook;
        ResetCameraToHome();
    }
    if (!MenuTakesKeys()) return;
    ListInput(b.menuList, kFighterCommandCount, g_ActionTimer);
    if (g_KeyShift != kKeyHeld) return;

    const int32_t c = actor.commands[CursorIn(b.menuList, kFighterCommandCount)];
    const uint8_t flags = commands[c].flags;
    b.category = c;
    if (flags & kTechniqueImmediate) {
        if (c == 3) b.statusBits[b.actor] |= kCoverBit;
        PlaySound(g_SeSlots[0]);
        b.actionKind = kActionImmediate;
        b.action[b.actor] = c;
        b.menuList.cursor = 0;
        b.targetSide = kEnemySide;
        ConfirmTarget();
    } else if (flags & kTechniqueOpensList) {
        PlaySound(g_SeSlots[0]);
        b.actionKind = kActionTechnique;
        OpenTechniqueMenu();
    } else {
        b.action[b.actor] = actor.defaultAction;
        b.actionKind = kActionPlain;
        OpenTargetMenu();
        PlaySound(g_SeSlots[0]);
    }
}

void OpenTechniqueMenu() {
    Battle* b = g_pBattle.get();
    if (!b || !IsFighter(b->actor)) return;
    const FighterRecord* actor = g_Fighters[b->actor];
    const TechniqueTable& table = TechniqueTableAt(b->category);
    b->fromTechniqueList = 1;
    ClearList(b->menuList);
    for (int32_t k = 0; k < kTechniqueMenuLines; ++k) {
        const TechniqueRecord& r = table[k];
        if (actor && actor->KnowsTechnique(b->category, k)) {
            // A nameless record still takes its line, so that line k stays technique k.
            AddListEntry(b->menuList, r.name[0] ? r.name : " ", r.number);
            b->listTechniques[k] = k;
        } else {
            AddListEntry(b->menuList, " ", 0);
            b->listTechniques[k] = 0;
        }
    }
    LayoutList(b->menuList, kTechniqueMenuLines);
    PlaceMenu(b->menuList);
    g_TransitionCounter = 0;
    b->frameHandler = TechniqueSelect;
    HoldArrowsOver();
}

void TechniqueSelect() {
    Battle* pb = g_pBattle.get();
    if (!pb || !IsFighter(pb->actor)) return;
    Battle& b = *pb;
    const int32_t line = CursorIn(b.menuList, kTechniqueMenuLines);
    const int32_t t = b.listTechniques[line];
    DrawMenuFrame(b, kTechniqueMenuLines, 1, TechniqueTableAt(b.category)[t].description);
    if (!MenuTakesKeys()) return;
    ListInput(b.menuList, kTechniqueMenuLines, g_ActionTimer);
    const int32_t chosen = CursorIn(b.menuList, kTechniqueMenuLines);
    const FighterRecord* actor = g_Fighters[b.actor];
    if (g_KeyShift == kKeyHeld) {
        // A blank line stands for a technique the fighter does not know: nothing to use.
        if (!actor || !actor->KnowsTechnique(b.category, chosen)) return;
        b.action[b.actor] = b.listTechniques[chosen];
        OpenTargetMenu();
        PlaySound(g_SeSlots[0]);
    } else if (g_KeyCtrl == kKeyHeld) {
        OpenCommandMenu(b.actor);
    }
}

void OpenTargetMenu() {
    Battle* b = g_pBattle.get();
    if (!b) return;
    g_TransitionCounter = 0;
    b->frameHandler = TargetOpening;
    HoldArrowsOver();
}

void TargetOpening() {
    Battle* b = g_pBattle.get();
    if (!b) return;
    g_TransitionCounter += 1;
    DrawActorMarker(b->markerAngle, b->actor);
    if (g_TransitionCounter < kTargetDelay) return;
    FillTargetList(*b);
    b->frameHandler = TargetSelect;
}

void TargetSelect() {
    Battle* pb = g_pBattle.get();
    if (!pb) return;
    Battle& b = *pb;
    const int32_t count = TargetCount(b);
    DrawMenuFrame(b, count, 0, TargetName(b));
    DrawTargetCursor(b);
    if (!MenuTakesKeys()) return;
    ListInput(b.menuList, count, g_ActionTimer);
    if (g_KeyShift == kKeyHeld) {
        PlaySound(g_SeSlots[0]);
        g_TransitionCounter = 0;
        b.frameHandler = TargetConfirming;
    } else if (g_KeyCtrl == kKeyHeld) {
        PlaySound(g_SeSlots[1]);
        if (b.fromTechniqueList)
            OpenTechniqueMenu();
        else
            OpenCommandMenu(b.actor);
    }
}

void TargetConfirming() {
    Battle* pb = g_pBattle.get();
    if (!pb) return;
    Battle& b = *pb;
    g_TransitionCounter += 1;
    if (g_TransitionCounter < kTargetDelay) {
        // The box slides out again.
        DrawPagedList(b.menuList, kMenuSlideSteps - g_TransitionCounter, TargetCount(b), 0);
        DrawActorMarker(b.markerAngle, b.actor);
        return;
    }
    if (!ConfirmTarget()) {
        g_TransitionCounter = kMenuSlideSteps;
        b.frameHandler = TargetSelect;
    }
}

bool ConfirmTarget() {
    Battle* b = g_pBattle.get();
    if (!b || !IsFighter(b->actor)) return false;
    const int32_t cursor = b->menuList.cursor;
    if (cursor < 0 || cursor >= kListEntryCount || b->menuList.entries[cursor].text[0] == '\0')
        return false;
    const int32_t target = cursor + b->targetSide;
    if (!IsFighter(target)) return false;
    b->target[b->actor] = target;
    b->menuList.open = 0;
    StartAction(b->actor);
    return true;
}

#pragma once
#include <cstdint>
#include <memory>

#include "base/frame.h"
#include "math/vector3.h"
#include "script/camera_motion.h"
#include "script/qscr_org.h"
#include "ui/menu_list.h"
#include "world/encounters.h"

// The battle object: one fight between the three party fighters (slots 0-2) and up to five
// enemies (slots 3-7). Fighter slot i is character slot i and g_Fighters[i]. It exists while a
// battle runs, created and deleted by the mode change.

constexpr int32_t kBattleFighterCount = 8;
constexpr int32_t kFirstEnemySlot = 3;
constexpr int32_t kGaugeFull = 5000;
constexpr int32_t kGaugePasses = 5;
constexpr int32_t kDamageLabelCount = 16;
constexpr int32_t kDamageLabelLife = 32;
constexpr int32_t kDamageCap = 9999;
constexpr int32_t kTechniqueMenuLines = 5;
constexpr int32_t kBattleMessageSize = 128;
constexpr int32_t kLabelTextSize = 10;
constexpr uint32_t kDefaultTrailColour = 0xC00000FFu;
constexpr uint32_t kCoverBit = 2u;  // statusBits: the fighter covers the others of its side

// Kinds of the chosen action; they pick the technique script's letter ("m", "w", "i", "s").
constexpr int32_t kActionPlain = 0;
constexpr int32_t kActionTechnique = 1;
constexpr int32_t kActionImmediate = 3;

struct DamageLabel {
    int32_t life = 0;     // frames left; 0 = free
    uint32_t colour = 0;  // RGB
    Vector3 position;     // world
    char text[12] = {};
};

// The battle's home camera is the record the scripted camera returns to (HomeCamera of
// script/camera_motion.h: target, orbit angle, orbit distance, eye y); g_pHomeCamera points at
// the battle's while a battle exists.

struct Battle {
    int32_t alive[kBattleFighterCount] = {};   // 1: takes part and stands
    int32_t gauge[kBattleFighterCount] = {};   // 0-5000; acts at 5000
    int32_t action[kBattleFighterCount] = {};  // technique number it will use
    int32_t target[kBattleFighterCount] = {};  // fighter it acts on
    int32_t actionKind = kActionPlain;
    int32_t actor = 0;       // the party fighter whose menus are open
    int32_t targetSide = 0;  // 0 party, 3 enemies: first fighter of the target list
    uint8_t fromTechniqueList = 0;
    FrameProc frameHandler = nullptr;  // the battle's phase
    Vector3 home[kBattleFighterCount];
    DamageLabel labels[kDamageLabelCount];
    MenuList menuList;
    QScrOrg techniqueScript;
    int32_t running[kBattleFighterCount] = {};  // running back to its home
    QScrOrg eventScript;
    FrameProc returnHandler = nullptr;  // the phase an event returns to
    int32_t hudVisible = 0;
    int32_t messageCounter = 0;  // frames the message stays; also gates the help line
    char message[kBattleMessageSize] = {};
    int32_t pendingAmount[kBattleFighterCount] = {};  // negative: damage
    int32_t pendingStat[kBattleFighterCount] = {};    // 0 hp, 1 mp, 2-10 that stats entry
    char labelText[kBattleFighterCount][kLabelTextSize] = {};
    uint32_t labelColour[kBattleFighterCount] = {};
    uint8_t hitMark[kBattleFighterCount] = {};
    uint32_t criticalFlags[kBattleFighterCount] = {};  // bit 0: the last hit was critical
    int32_t shownHp[kBattleFighterCount] = {};
    int32_t hpStep[kBattleFighterCount] = {};
    int32_t shownMp[kBattleFighterCount] = {};
    int32_t mpStep[kBattleFighterCount] = {};
    HomeCamera homeCamera;
    int32_t listTechniques[kTechniqueMenuLines] = {};
    uint32_t statusBits[kBattleFighterCount] = {};
    uint32_t trailColour[kBattleFighterCount] = {};
    int32_t menuFrames = 0;
    int32_t category = 0;  // command chosen: the technique table and technique set row
    // Set to 1 when an event ends, to 0 when a technique ends (the scripts test it through
    // their own commands).
    int32_t eventDone = 0;
    float markerAngle = 0.0f;  // turn of the marker over the acting party member, degrees
    // How the fight was decided once EndCheck has started its closing event (-1 the party is
    // down, 1 the enemies are); 0 before.
    int32_t outcome = 0;
};

extern std::unique_ptr<Battle> g_pBattle;  // null outside battles

// Start and frame.
void StartBattle();
void LoadBattleField();
void BattleFrame();
void BattleInput();
void MoveFighters();
void DrawStatusPanel();
void DrawLabels();
// The help line with `message` centred, drawn while messageCounter is not 0 (events and actions).
void DrawBattleMessage();

// Phases (values of frameHandler).
void BattleIntro();
void AdvanceGauges();  // the Gauges phase
void CommandSelect();
void TechniqueSelect();
void TargetSelect();
void ActionRunning();
void EventRunning();  // the event frame
void EndCheck();

// Menus and actions.
void OpenCommandMenu(int32_t fighter);
void StartAction(int32_t fighter);
// The technique menu of the actor's category, and the target list (its side chosen by the
// action's flags). The target list is filled once the box has slid for three frames.
void OpenTechniqueMenu();
void OpenTargetMenu();
void TargetOpening();     // phase: the three frames before the target list is filled
void TargetConfirming();  // phase: the three frames between Shift and the confirmed target
// target[actor] = cursor + targetSide, menu hidden and the action started, when the entry under
// the cursor names someone; false (nothing changed) on an empty entry.
bool ConfirmTarget();

// Points below a sixth of their maximum: the low stance and the yellow numbers. The sixth is
// exact (7 of 42 is not low; 1 of 7 is), as on the status menu screen.
inline bool LowPoints(int64_t value, int32_t maxValue) {
    return double(value) < double(maxValue) / 6.0;
}

// True for a fighter number 0-7: other numbers are ignored wherever they come from.
inline bool IsFighter(int32_t f) {
    return f >= 0 && f < kBattleFighterCount;
}

// Hits and their display.
void ComputeHit(int32_t kind, int32_t attacker, int32_t target, int32_t power,
                int32_t criticalThreshold, int32_t hitThreshold, int32_t stat,
                int32_t ignoreDefence);
void ApplyPending(int32_t fighter);
void ApplyHit(int32_t fighter);
int32_t AddDamageLabel(int32_t fighter);  // the label's number, -1 when none was free
void ShowCritical(int32_t fighter);
void SetStance(int32_t fighter);
void ReactToHit(int32_t fighter);
// -1 the party is down, 1 the enemies are down, 0 the fight goes on.
int32_t BattleOutcome();

// Battle scripts: the event script at a label, the technique script of a fighter, and one
// frame of each runner.
void StartEvent(QScrOrg& script, const char* label);
void LoadEventScript(int32_t number);
void LoadTechniqueScript(QScrOrg& script, int32_t fighter);
void RunBattleEvent();
void RunTechnique();

// End of the battle (values of frameHandler once the fight is decided).
void VictoryFadeOut();
void DefeatFadeOut();

// The files that complete a fighter for a battle: "sChr\e<n>.qf" fills enemy slot 3-7's
// fighter record and loads its character; "Wea\w-<n>.qd" equips character slot `fighter` with
// the weapon (slot 0, also its trail colour and blade length) or guard (slot 1) its record names.
void ReadEnemST(int32_t fighter, int32_t enemy);
void LoadWeapon(int32_t fighter, int32_t slot);

#include "field/field_transitions.h"

#include <string>

#include "base/frame.h"
#include "base/keys.h"
#include "base/sjis.h"
#include "field/field_runtime.h"
#include "field/game_state.h"
#include "field/menu_page_look.h"
#include "field/menu_pages.h"
#include "sound/bgm.h"
#include "world/character.h"
#include "world/menu_actions.h"
#include "world/mode_words.h"
#include "world/party.h"
#include "world/play_time.h"

FrameProc g_FieldFrameProc = nullptr;
FrameProc g_MenuScreenFrameProc = nullptr;

namespace {

void SetFieldHandler(FrameProc handler) {
    if (g_pGameState) g_pGameState->fieldHandler = handler;
}

void EnterMenuScreen() {
    LoadMenuFaces();
    ResetMenuScreenState();
    if (g_pGameState) {
        MenuList& list = g_pGameState->messageWindow;
        ClearList(list);
        // The list only carries the cursor over the seven menu entries; the screen draws the
        // entries' names itself.
        for (int k = 0; k < kMenuEntryCount; ++k) AddListEntry(list, SJIS("香"), 1);
    }
    if (g_MenuScreenFrameProc) g_FrameProc = g_MenuScreenFrameProc;
}

}  // namespace

void StartEncounter() {
    g_UnsavedProgress = true;
    g_FieldInputEnabled = 0;
    g_EncounterPending = 1;
    g_Characters[0].motionFlags = 0;
    g_TransitionCounter = 0;
    SetFieldHandler(EncounterFadeOut);
    PlayBgm(g_BattleMusicName);
}

void OpenMenuScreen() {
    HoldArrowsOver();
    g_ModeNow = 0;
    g_ModeNext = 0;
    g_FieldInputEnabled = 0;
    SetFieldHandler(MenuFadeOut);
}

void CloseMenuScreen() {
    g_ModeNext = 1;
    g_FieldInputEnabled = 0;
    SetFieldHandler(MenuFadeOut);
}

void EncounterFadeOut() {
    if (g_TransitionCounter == 0) {
        g_FadeR = g_FadeG = g_FadeB = 0;
        g_FadeAlpha = 0;
    } else {
        g_FadeAlpha += 16;
    }
    g_TransitionCounter += 1;
    if (g_FadeAlpha > 254) {
        g_FadeAlpha = 255;
        g_ModeNow = 1;
        g_ModeNext = 0;
        g_ModeChangeRequest = 1;
        SetFieldHandler(NullFrameHook);
    }
}

void MenuFadeOut() {
    g_FadeAlpha += 32;
    if (g_FadeAlpha <= 255) return;
    g_FadeAlpha = 255;
    SetFieldHandler(FieldFadeIn);
    g_FieldInputEnabled = 1;
    if (g_ModeNext == 0)
        EnterMenuScreen();
    else if (g_ModeNext == 1 && g_FieldFrameProc)
        g_FrameProc = g_FieldFrameProc;
    if (g_ModeNext == 1) RunChosenMenuLabel();
    g_ModeNow = g_ModeNext;
}

void FieldFadeIn() {
    const int32_t before = g_FadeAlpha;
    g_FadeAlpha -= 32;
    if (g_FadeAlpha > 0) return;
    g_FadeAlpha = 0;
    SetFieldHandler(NullFrameHook);
    if (before != 0) g_FieldInputEnabled = 1;
    if (g_ResumeScriptAfterFade && g_pGameState) g_pGameState->fieldScript.running = 1;
}

#include "world/mode_words.h"

#include <cstring>

int32_t g_ModeNow;
int32_t g_ModeNext;
int32_t g_ModeChangeRequest;
int32_t g_EncounterPending;
int32_t g_TransitionCounter;
char g_BattleMusicName[kMusicNameSize] = "btl0";
uint8_t g_ResumeScriptAfterFade;

void ResetModeWords() {
    g_ModeNow = g_ModeNext = g_ModeChangeRequest = 0;
    g_EncounterPending = g_TransitionCounter = 0;
    std::memset(g_BattleMusicName, 0, sizeof g_BattleMusicName);
    std::strcpy(g_BattleMusicName, "btl0");
    g_ResumeScriptAfterFade = 0;
}

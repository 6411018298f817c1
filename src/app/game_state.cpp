#include "app/game_state.h"

GameState* g_pGameState = nullptr;
char g_FieldName[kFieldNameSize] = {};

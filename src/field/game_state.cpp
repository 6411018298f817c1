#include "field/game_state.h"

GameState* g_pGameState = nullptr;

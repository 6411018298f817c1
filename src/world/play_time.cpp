#include "world/play_time.h"

uint64_t g_PlayTimeMs = 0;
bool g_UnsavedProgress = false;

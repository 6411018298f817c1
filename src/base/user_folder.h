#pragma once
#include <string>

// The player's own folder of one kind for this program, after the XDG base-directory rules:
// "$<variable>/gh02" when the variable holds an absolute path, else "$HOME/<underHome>/gh02".
// Empty when neither is set. e.g. UserFolder("XDG_STATE_HOME", ".local/state").
std::string UserFolder(const char* variable, const char* underHome);

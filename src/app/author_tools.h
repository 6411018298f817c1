#pragma once
#include <string>

// Tools for content authors, run instead of the game: each returns the process exit code.

// Prints a model as the engine loaded it, as JSON on standard output (1 when it failed to load).
int RunModelInfo(const std::string& nativePath);
// Loads every file under a data directory that the engine has a loader for, with that loader,
// and prints one line per failure (1 when any failed).
int RunCheckData(const std::string& nativeDir);

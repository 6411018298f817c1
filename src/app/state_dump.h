#pragma once
#include <nlohmann/json.hpp>
#include <string>

// The engine state as JSON, keyed by the engine's own names, for headless runs and tests.
nlohmann::json DumpState();
// Writes DumpState() to a native path; false when the file cannot be written.
bool WriteStateDump(const std::string& nativePath);

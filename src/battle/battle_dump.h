#pragma once
#include <nlohmann/json.hpp>

// The battle for the state dump: null outside battles; otherwise its phase, per-fighter values
// with their status records, the labels in use and the menu.
nlohmann::json DumpBattle();

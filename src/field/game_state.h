#pragma once
#include <cstdint>
#include <memory>

#include "base/frame.h"
#include "script/qscr_org.h"
#include "ui/menu_list.h"
#include "world/field_info.h"

// The record of the field and the menu screen; it exists while either runs and is deleted for
// a battle.
struct GameState {
    int32_t walkAnimating = 0;   // the party leader plays the walk motion
    int32_t groundLighting = 0;  // lighting switch while the ground is drawn (from the field file)
    QScrOrg fieldScript;         // its running flag says whether the field script runs
    int32_t lastCellX = 0;       // the cell of the last step that started nothing
    int32_t lastCellRow = 0;
    std::unique_ptr<QFldInfo> fieldInfo = std::make_unique<QFldInfo>();  // created empty
    FrameProc fieldHandler = nullptr;  // the field's transition handler
    // The field's choice list and the menu screen's cursor; its `open` is the field's
    // messageOpen (a list is waiting for the player).
    MenuList messageWindow;
};

extern GameState* g_pGameState;  // owning; null while a battle runs

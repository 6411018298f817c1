#include "field/save_screen.h"

#include "base/keys.h"
#include "base/sjis.h"
#include "field/slot_entries.h"
#include "gfx/sprite.h"
#include "save/save_slots.h"
#include "world/input_gate.h"

SaveScreen g_SaveScreen;
bool (*g_WriteGameToSlot)(int32_t slot, std::string& reason) = nullptr;

namespace {

// The reason as the screen shows it: the save folder's path left out, the file's name kept.
std::string ShortReason(std::string reason) {
    const std::string folder = SaveDirectory() + "/";
    for (size_t at; (at = reason.find(folder)) != std::string::npos;)
        reason.erase(at, folder.size());
    return reason;
}

void WriteInto(int32_t slot) {
    std::string reason = "nothing writes saves here";
    const bool written = g_WriteGameToSlot && g_WriteGameToSlot(slot, reason);
    const std::string number = SlotNumber(slot);
    SlotList& list = g_SaveScreen.list;
    if (!written) {
        list.message = number + SJIS(" に　記録できません：") + ToSjis(ShortReason(reason));
        return;
    }
    list.slots = SaveSlotEntries();
    list.message = number + SJIS(" に　記録しました。");
}

}  // namespace

void OpenSaveScreen() {
    g_SaveScreen.open = true;
    HoldArrowsOver();
    g_SaveScreen.list = SlotList{SaveSlotEntries(), 0, SJIS("どこに　記録しますか？")};
}

void CloseSaveScreen() {
    g_SaveScreen = SaveScreen();
}

void SaveScreenInput() {
    switch (SlotListInput(g_SaveScreen.list, g_ActionTimer)) {
        case SlotListKey::kChoose:
            WriteInto(g_SaveScreen.list.cursor);
            break;
        case SlotListKey::kBack:
            CloseSaveScreen();
            break;
        case SlotListKey::kNone:
            break;
    }
}

void DrawSaveScreen() {
    if (!g_SaveScreen.open) return;
    DrawScreenRect(0, 0, 640, 480, 0x80000000u);
    DrawSlotList(g_SaveScreen.list);
}

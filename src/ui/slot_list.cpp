#include "ui/slot_list.h"

#include "base/keys.h"
#include "ui/help_line.h"
#include "ui/menu_keys.h"
#include "ui/menu_list.h"
#include "ui/menu_look.h"

namespace {

constexpr float kBoxX = 40, kBoxW = 560, kBoxH = 46;
constexpr int kTop = 40, kPitch = 54;

void Text(const std::string& text, int x, int y, uint32_t rgb) {
    DrawMenuText(text.c_str(), x, y, rgb);
}

}  // namespace

std::string SlotNumber(int32_t slot) {
    return "No." + std::to_string(int64_t(slot) + 1);
}

SlotListKey SlotListInput(SlotList& list, int32_t& timer) {
    if (!ReadMenuKeys(timer)) return SlotListKey::kNone;
    if (g_KeyShift == kKeyPressed || g_KeyCtrl == kKeyPressed) {
        timer = kMenuKeyHoldBack;
        return g_KeyShift == kKeyPressed ? SlotListKey::kChoose : SlotListKey::kBack;
    }
    const int32_t step = ListArrowStep(timer);
    const int32_t count = int32_t(list.slots.size());
    if (step != 0 && count > 0) list.cursor = ((list.cursor + step) % count + count) % count;
    return SlotListKey::kNone;
}

void DrawSlotList(const SlotList& list) {
    DrawHelpLine(list.message.c_str());
    for (size_t i = 0; i < list.slots.size(); ++i) {
        const SlotListEntry& e = list.slots[i];
        const int y = kTop + kPitch * int(i);
        const int x = int(kBoxX);
        DrawEntryBox(kBoxX, float(y), kBoxW, kBoxH,
                     int32_t(i) == list.cursor ? EntryBoxLook::kChosen : EntryBoxLook::kOther);
        Text(SlotNumber(int32_t(i)), x + 8, y + 4, 0xFFFFFF);
        const uint32_t colour = e.look == SlotLook::kFilled  ? 0xFFFFFF
                                : e.look == SlotLook::kEmpty ? 0xB4B4B4
                                                             : 0xDCDC00;
        Text(e.heading, x + 64, y + 4, colour);
        Text(e.note, x + 400, y + 4, colour);
        Text(e.detail, x + 64, y + 24, colour);
    }
}

#include "field/slot_entries.h"

#include <cstdio>

#include "base/sjis.h"
#include "save/save_slots.h"

namespace {

SlotListEntry EntryOf(const SaveSlotInfo& info) {
    SlotListEntry e;
    switch (info.state) {
        case SlotState::kEmpty:
            e.look = SlotLook::kEmpty;
            e.heading = SJIS("ーー　空き　ーー");
            break;
        case SlotState::kUnreadable:
            e.look = SlotLook::kUnreadable;
            e.heading = SJIS("読めない記録");
            e.detail = ToSjis(info.reason);
            break;
        case SlotState::kReadable: {
            const SaveSummary& s = info.summary;
            e.look = SlotLook::kFilled;
            e.heading = ToSjis(s.fieldName);
            e.note = ToSjis(s.savedAt);
            char points[48];
            std::snprintf(points, sizeof points, "  HP %d/%d  ", int(s.leaderHp),
                          int(s.leaderMaxHp));
            e.detail = ToSjis(s.leaderName) + points + PlayTimeText(s.playTimeMs);
            break;
        }
    }
    return e;
}

}  // namespace

std::string PlayTimeText(uint64_t ms) {
    const uint64_t seconds = ms / 1000;
    char text[32];
    std::snprintf(text, sizeof text, "%llu:%02u:%02u",
                  static_cast<unsigned long long>(seconds / 3600), unsigned(seconds / 60 % 60),
                  unsigned(seconds % 60));
    return text;
}

std::vector<SlotListEntry> SaveSlotEntries() {
    std::vector<SlotListEntry> entries;
    for (const SaveSlotInfo& info : ListSaveSlots()) entries.push_back(EntryOf(info));
    return entries;
}

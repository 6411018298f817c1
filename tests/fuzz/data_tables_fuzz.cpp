// Data tables come from authors and modders: any text must read into bounded, terminated records
// and give blank records outside the table. The first byte picks the table kind, or a talk window
// typing the text (every text must type out and close, whatever escapes and bytes it holds).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "battle/data_tables.h"
#include "battle/menu_list.h"
#include "battle/talk_window.h"

namespace {

template <size_t N>
void CheckField(const char (&field)[N]) {
    if (strnlen(field, N) >= N) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 4) {
        case 0: {
            TechniqueTable t;
            ParseTechniqueTable(text, t);
            if (t.Count() < 1 || t.Count() > kMaxTableRecords) __builtin_trap();
            for (int32_t i = -1; i <= t.Count(); ++i) {
                CheckField(t[i].name);
                CheckField(t[i].description);
            }
            // The battle's menus read names by numbers from other data.
            uint8_t numbers[32];
            for (int i = 0; i < 32; ++i) numbers[i] = uint8_t(i * 7 + data[0]);
            MenuList list;
            FillTechniqueList(list, t, numbers, 32);
            for (const MenuListEntry& e : list.entries) CheckField(e.text);
            LayoutList(list, 32);
            if (list.w > 9 * 23 + 8) __builtin_trap();
            break;
        }
        case 1: {
            DataTable<MenuEntryRecord> t;
            ParseMenuEntries(text, t);
            for (int32_t i = -1; i <= t.Count(); ++i) {
                CheckField(t[i].name);
                CheckField(t[i].help);
            }
            break;
        }
        case 2: {
            TalkWindow w;
            SetTalkText(w, text, 3);
            if (w.text[kTalkTextSize - 1] != '\0') __builtin_trap();
            LayoutTalkWindow(w);
            if (w.x < 0 && w.w <= 640) __builtin_trap();
            // 127 bytes type out in at most 32 frames, then the window stays 3 more.
            int frames = 0;
            while (w.open != 0 && frames < 40) {
                DrawTalkWindow(w);
                ++frames;
            }
            if (w.open != 0) __builtin_trap();
            break;
        }
        default: {
            DataTable<GoodsRecord> t;
            ParseGoods(text, t);
            for (int32_t i = -1; i <= t.Count(); ++i) {
                CheckField(t[i].name);
                CheckField(t[i].description);
            }
            break;
        }
    }
    return 0;
}

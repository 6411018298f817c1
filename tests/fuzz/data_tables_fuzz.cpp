// Data tables come from authors and modders: any text must read into bounded, terminated records
// and give blank records outside the table. The first byte picks the table kind, or a talk window
// typing the text (every text must type out and close, whatever escapes and bytes it holds).
#include <string_view>

#include "fuzz_common.h"
#include "ui/menu_list.h"
#include "ui/talk_window.h"
#include "world/data_tables.h"

namespace {

// Every record from one before the table to one past it reads terminated fields.
template <typename Table, typename... Fields>
void CheckRecords(const Table& t, Fields... fields) {
    for (int32_t i = -1; i <= t.Count(); ++i)
        fuzz::Check((fuzz::Terminated(t[i].*fields) && ...), "field without its NUL");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 4) {
        case 0: {
            TechniqueTable t;
            ParseTechniqueTable(text, t);
            fuzz::Check(t.Count() >= 1 && t.Count() <= kMaxTableRecords, "record count");
            CheckRecords(t, &TechniqueRecord::name, &TechniqueRecord::description);
            // The battle's menus read names by numbers from other data.
            uint8_t numbers[32];
            for (int i = 0; i < 32; ++i) numbers[i] = uint8_t(i * 7 + data[0]);
            MenuList list;
            FillTechniqueList(list, t, numbers, 32);
            for (const MenuListEntry& e : list.entries)
                fuzz::Check(fuzz::Terminated(e.text), "entry");
            LayoutList(list, 32);
            fuzz::Check(list.w <= 9 * 23 + 8, "list wider than its longest text");
            break;
        }
        case 1: {
            DataTable<MenuEntryRecord> t;
            ParseMenuEntries(text, t);
            CheckRecords(t, &MenuEntryRecord::name, &MenuEntryRecord::help);
            break;
        }
        case 2: {
            TalkWindow w;
            SetTalkText(w, text, 3);
            fuzz::Check(w.text[kTalkTextSize - 1] == '\0', "talk text");
            LayoutTalkWindow(w);
            fuzz::Check(w.x >= 0 || w.w > 640, "window off the screen");
            // 127 bytes type out in at most 32 frames, then the window stays 3 more.
            int frames = 0;
            while (w.open != 0 && frames < 40) {
                DrawTalkWindow(w);
                ++frames;
            }
            fuzz::Check(w.open == 0, "window never closed");
            break;
        }
        default: {
            DataTable<GoodsRecord> t;
            ParseGoods(text, t);
            CheckRecords(t, &GoodsRecord::name, &GoodsRecord::description);
            break;
        }
    }
    return 0;
}

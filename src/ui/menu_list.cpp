#include "ui/menu_list.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/keys.h"
#include "base/message_box.h"
#include "base/sjis_text.h"
#include "gfx/sprite.h"
#include "gfx/text.h"
#include "sound/sound.h"
#include "ui/ui_textures.h"

namespace {

constexpr int32_t kLineHeight = 20;

int32_t ListCount(int32_t count) {
    return std::clamp(count, 0, kListEntryCount);
}

bool IsUsed(const MenuListEntry& e) {
    return e.text[0] != '\0';
}

// Entry texts are NUL-terminated inside their field whoever wrote them; this copy makes sure.
struct EntryText {
    explicit EntryText(const MenuListEntry& e) {
        size_t n = strnlen(e.text, sizeof e.text);
        std::memcpy(text, e.text, n);
        text[n] = '\0';
    }
    char text[kListTextSize + 1];
};

void SetEntry(MenuListEntry& e, std::string_view text, int32_t value) {
    CopySjisField(e.text, sizeof e.text, text);
    e.value = value;
}

std::string_view NameOf(const char* field) {
    return std::string_view(field, strnlen(field, kTableNameSize));
}

void FillTechniques(MenuList& list, const TechniqueTable& table, const uint8_t* numbers,
                    int32_t count, bool valueIsNumber) {
    ClearList(list);
    if (!numbers) return;
    count = ListCount(count);
    for (int32_t i = 0; i < count; ++i) {
        const TechniqueRecord& r = table[numbers[i]];
        SetEntry(list.entries[i], NameOf(r.name), valueIsNumber ? numbers[i] : r.number);
    }
}

// A position for the text calls, kept inside int for any list the game could hold.
int TextPos(int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, -(int64_t(1) << 30), int64_t(1) << 30));
}

}  // namespace

void ClearList(MenuList& list) {
    for (MenuListEntry& e : list.entries) {
        std::memset(e.text, 0, sizeof e.text);
        e.value = 0;
    }
    list.first = 0;
    list.cursor = 0;
}

void AddListEntry(MenuList& list, std::string_view text, int32_t value) {
    for (MenuListEntry& e : list.entries) {
        if (!IsUsed(e)) {
            SetEntry(e, text, value);
            return;
        }
    }
    RZ_MsgBox("List over!!", "a list has more entries than its window holds");
}

void FillList(MenuList& list, const char (*names)[kTableNameSize], int32_t count) {
    ClearList(list);
    if (!names) return;
    count = ListCount(count);
    for (int32_t i = 0; i < count; ++i) SetEntry(list.entries[i], NameOf(names[i]), 0);
}

void FillTechniqueList(MenuList& list, const TechniqueTable& table, const uint8_t* numbers,
                       int32_t count) {
    FillTechniques(list, table, numbers, count, false);
}

void FillTechniqueNumbers(MenuList& list, const TechniqueTable& table, const uint8_t* numbers,
                          int32_t count) {
    FillTechniques(list, table, numbers, count, true);
}

void LayoutList(MenuList& list, int32_t count) {
    size_t longest = 0;
    int32_t used = 0;
    const int64_t first = list.first;
    for (int64_t i = std::max<int64_t>(first, 0);
         i < std::min<int64_t>(first + std::max(count, 0), kListEntryCount); ++i) {
        const MenuListEntry& e = list.entries[i];
        longest = std::max(longest, strnlen(e.text, sizeof e.text));
        if (IsUsed(e)) ++used;
    }
    list.w = 9 * int32_t(std::max<size_t>(longest, 1)) + 8;
    list.h = kLineHeight * used + 4;
}

void MoveCursor(MenuList& list, int32_t direction, int32_t count) {
    count = ListCount(count);
    const int64_t start = int64_t(list.cursor) + direction;
    auto found = [&](int32_t i) {
        if (!IsUsed(list.entries[i])) return false;
        list.cursor = i;
        return true;
    };
    if (direction >= 0) {
        for (int64_t i = std::max<int64_t>(start, 0); i < count; ++i)
            if (found(int32_t(i))) return;
        for (int32_t i = 0; i < count; ++i)
            if (found(i)) return;
    } else {
        for (int64_t i = std::min<int64_t>(start, count - 1); i >= 0; --i)
            if (found(int32_t(i))) return;
        for (int32_t i = count - 1; i >= 0; --i)
            if (found(i)) return;
    }
}

int32_t ListArrowStep(int32_t& actionTimer) {
    int32_t key = kKeyUp, direction = 0;
    if (g_KeyUp == kKeyPressed || g_KeyUp == kKeyHeld) {
        key = g_KeyUp;
        direction = -1;
    } else if (g_KeyDown == kKeyPressed || g_KeyDown == kKeyHeld) {
        key = g_KeyDown;
        direction = 1;
    } else {
        return 0;
    }
    PlaySound(g_SeSlots[0]);
    // A fresh press waits 208 ms before it repeats, a held key 80 ms.
    actionTimer = key == kKeyPressed ? -128 : 0;
    return direction;
}

void ListInput(MenuList& list, int32_t count, int32_t& actionTimer) {
    const int32_t direction = ListArrowStep(actionTimer);
    if (direction != 0) MoveCursor(list, direction, count);
}

void DrawList(const MenuList& list, int32_t count) {
    static const uint32_t kBox[4] = {0xC000D200, 0xC000D200, 0x80DCDC00, 0x80DCDC00};
    static const uint32_t kBar[4] = {0xA0C000C0, 0x80800080, 0xA0C000C0, 0x80800080};
    const float x = float(list.x), y = float(list.y);
    DrawGradientRect(x, y, float(list.w), float(list.h), kBox);
    DrawGradientRect(x, y + 3 + float(kLineHeight) * float(list.cursor), float(list.w),
                     float(kLineHeight), kBar);
    count = ListCount(count);
    for (int32_t i = 0; i < count; ++i)
        DrawShadowText(EntryText(list.entries[i]).text, TextPos(int64_t(list.x) + 4),
                       TextPos(int64_t(list.y) + 4 + kLineHeight * i), 255, 255, 255);
}

void DrawPagedList(const MenuList& list, int32_t step, int32_t count, int32_t paged) {
    static const uint32_t kBox[4] = {0x80A000A0, 0xC00000C8, 0x80A000A0, 0xC00000C8};
    static const uint32_t kBar[4] = {0x80FFFF00, 0x80FFFF00, 0xC0FFFF00, 0x80FFFF00};
    // The battle counts its steps up to 4 and stops there.
    const float f = float(std::clamp(step, 0, 4)) / 4.0f;
    const int64_t top = int64_t(list.y) - list.h;
    DrawGradientRect(0, float(top), float(list.w) * f, float(list.h), kBox);

    const float titleX = 32 * f - 16, titleY = float(list.y) - 12;
    if (paged == 0) {
        DrawSprite(titleX, titleY, g_UiTextures[1], 0, 13, 64, 10);
    } else {
        char title[32];
        std::snprintf(title, sizeof title, "PAGE:%3d", list.page);
        DrawShadowText(title, int(titleX), TextPos(int64_t(list.y) - 12), 200, 200, 255);
    }

    DrawGradientRect(0, float(top + 3 + int64_t(kLineHeight) * list.cursor),
                     float(int64_t(list.w) + 15) * f, float(kLineHeight), kBar);
    if (step <= 1) return;
    count = ListCount(count);
    for (int32_t i = 0; i < count; ++i) {
        const int lineY = TextPos(top + 4 + kLineHeight * i);
        DrawShadowText(EntryText(list.entries[i]).text, 16, lineY, 255, 255, 255);
        if (paged != 0 && list.entries[i].value != 0) {
            char value[16];
            std::snprintf(value, sizeof value, "%3d", list.entries[i].value);
            // Placed by the list's height, not its width: the battle's menus line up so.
            DrawShadowText(value, TextPos(int64_t(list.h) - 30), lineY, 255, 255, 255);
        }
    }
}

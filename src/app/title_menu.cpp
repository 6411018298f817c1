#include "app/title_menu.h"

#include <cstdio>
#include <string>

#include "app/game_start.h"
#include "app/save_game.h"
#include "app/settings_screen.h"
#include "app/state_dump_sections.h"
#include "base/diagnostics.h"
#include "base/frame.h"
#include "base/keys.h"
#include "base/message_box.h"
#include "base/message_queue.h"
#include "base/paths.h"
#include "base/sjis.h"
#include "base/sjis_text.h"
#include "field/slot_entries.h"
#include "gfx/d3d.h"
#include "gfx/device.h"
#include "gfx/sprite.h"
#include "gfx/text.h"
#include "gfx/texture_slots.h"
#include "save/save_slots.h"
#include "sound/bgm.h"
#include "sound/sound.h"
#include "ui/help_line.h"
#include "ui/menu_keys.h"
#include "ui/menu_list.h"
#include "ui/menu_look.h"
#include "ui/slot_list.h"
#include "ui/ui_textures.h"
#include "world/title_file.h"

namespace {

// The texture slot the title's picture is shown from; a game empties every slot as it starts.
constexpr int kPictureSlot = kTextureSlotCount - 1;

struct TitleMenu {
    bool open = false;
    // Carries the cursor over the entries shown, each with its TitleEntry as value; an entry
    // that cannot be chosen has no text.
    MenuList entries;
    int32_t count = 0;     // entries shown
    int32_t latest = -1;   // the slot Continue takes up, -1 none
    bool loading = false;  // the slot list is shown
    SlotList slots;
    std::string message;  // in the help strip over the entries; empty: no strip
    int32_t timer = 0;    // the action timer of the title's keys
};

TitleMenu g_TitleMenu;

// The line of the title file that named what is being loaded, as the running place.
int g_TitleLine = 0;

SourcePlace TitleLinePlace() {
    return {ShownPath(std::string(GetBasePath()) + kTitleFilePath), g_TitleLine};
}

class TitlePlace {
public:
    explicit TitlePlace(int line) : saved_(SetPlaceFinder(TitleLinePlace)) { g_TitleLine = line; }
    ~TitlePlace() { SetPlaceFinder(saved_); }
    TitlePlace(const TitlePlace&) = delete;
    TitlePlace& operator=(const TitlePlace&) = delete;

private:
    PlaceFinder saved_;
};

// The data set's text of an entry, else the engine's.
const std::string& TitleEntryText(int entry) {
    const TitleFile* file = DataSetTitle();
    if (file && !file->entries[size_t(entry)].empty()) return file->entries[size_t(entry)];
    switch (entry) {
        case kTitleNewGame:
            return SJIS("はじめから");
        case kTitleContinue:
            return SJIS("つづきから");
        case kTitleLoad:
            return SJIS("記録を　えらぶ");
        case kTitleSettings:
            return SJIS("せってい");
        default:
            return SJIS("おわる");
    }
}

void Open(TitleMenu& t) {
    t = TitleMenu();
    t.open = true;
    const TitleFile* file = DataSetTitle();
    if (file && !file->problems.empty()) {
        std::string text = std::string(kTitleFilePath) + ":";
        for (const std::string& p : file->problems) text += "\n" + p;
        RZ_MsgBox(text);
    }
    // What the title file names is its own: a picture or music that cannot be had is named at
    // the line that gave it.
    if (file && !file->picture.empty()) {
        const TitlePlace at(file->pictureLine);
        LoadTextureSlot(g_TextureSlots[kPictureSlot], file->picture.c_str());
    }
    // The help strip's mark and the cursor's sound, as on the field.
    LoadTextureSlot(g_UiTextures[1], "tex\\use0.dds");
    LoadSoundEffect(0, "SE\\c0.wav");
    if (file) {
        const TitlePlace at(file->musicLine);
        PlayBgm(file->music);
    }
    t.latest = LatestSaveSlot();
    // The settings entry only when the title file names it, so that a title without it looks
    // and moves as it always has.
    const bool settings = file && !file->entries[kTitleSettings].empty();
    for (int k : {kTitleNewGame, kTitleContinue, kTitleLoad, kTitleSettings, kTitleQuit}) {
        if (k == kTitleSettings && !settings) continue;
        MenuListEntry& e = t.entries.entries[t.count++];
        if (k != kTitleContinue || t.latest >= 0) CopySjisField(e.text, kListTextSize, "*");
        e.value = k;
    }
    t.entries.cursor = t.latest >= 0 ? kTitleContinue : kTitleNewGame;
}

// Takes up the slot's game; false with the reason in `message` when it cannot be read.
bool TakeUp(int32_t slot, std::string& message) {
    const LoadableGame game = ReadGameFromSlot(slot);
    if (!game.ok) {
        message = SlotNumber(slot) + SJIS(" は　読めません：") + ToSjis(game.reason);
        return false;
    }
    CloseTitleMenu();
    StartLoadedGame(game);
    return true;
}

// False once the title has given way to a game.
bool Choose(TitleMenu& t, int entry) {
    switch (entry) {
        case kTitleNewGame:
            CloseTitleMenu();
            g_FrameProc = StartupFrame;
            return false;
        case kTitleContinue:
            return !TakeUp(t.latest, t.message);
        case kTitleLoad:
            t.loading = true;
            HoldArrowsOver();
            t.slots = SlotList{SaveSlotEntries(), t.latest >= 0 ? t.latest : 0,
                               SJIS("どの　記録を　読みますか？")};
            return true;
        case kTitleSettings:
            OpenSettingsScreen();
            PlaySound(g_SeSlots[0]);
            return true;
        default:
            g_MessageQueue.Post(WM_CLOSE, 0, 0);
            return true;
    }
}

bool SlotListKeys(TitleMenu& t) {
    SlotList& list = t.slots;
    switch (SlotListInput(list, t.timer)) {
        case SlotListKey::kChoose: {
            if (list.slots.empty()) return true;
            const SlotListEntry& e = list.slots[size_t(list.cursor)];
            if (e.look == SlotLook::kFilled) return !TakeUp(list.cursor, list.message);
            list.message = SlotNumber(list.cursor) + (e.look == SlotLook::kEmpty
                                                          ? SJIS(" は　空いています。")
                                                          : SJIS(" は　読めません：") + e.detail);
            return true;
        }
        case SlotListKey::kBack:
            t.loading = false;
            return true;
        case SlotListKey::kNone:
            return true;
    }
    return true;
}

// The title's keys; false once it has given way to a game.
bool Keys(TitleMenu& t) {
    if (t.loading) return SlotListKeys(t);
    if (SettingsScreenOpen()) {
        SettingsScreenInput();
        if (!SettingsScreenOpen()) t.timer = kMenuKeyHoldBack;
        return true;
    }
    if (!ReadMenuKeys(t.timer)) return true;
    if (g_KeyShift == kKeyPressed) {
        t.timer = kMenuKeyHoldBack;
        return Choose(t, t.entries.entries[t.entries.cursor].value);
    }
    ListInput(t.entries, t.count, t.timer);
    return true;
}

void Draw(const TitleMenu& t) {
    if (SettingsScreenOpen()) {
        DrawMenuBackground();
        DrawSettingsScreen();
        return;
    }
    if (g_TextureSlots[kPictureSlot].texture) {
        DrawWholePicture(0, 0, g_TextureSlots[kPictureSlot], 640, 480);
    } else {
        DrawMenuBackground();
    }
    if (t.loading) {
        DrawScreenRect(0, 0, 640, 480, 0x80000000u);
        DrawSlotList(t.slots);
        return;
    }
    if (!t.message.empty()) DrawHelpLine(t.message.c_str());
    for (int i = 0; i < t.count; ++i) {
        const int y = 320 + 30 * i;
        DrawEntryBox(220, float(y), 200, 24,
                     i == t.entries.cursor ? EntryBoxLook::kChosen : EntryBoxLook::kOther);
        const MenuListEntry& e = t.entries.entries[i];
        const int grey = e.text[0] ? 255 : 150;
        DrawShadowText(TitleEntryText(e.value).c_str(), 236, y + 3, grey, grey, grey);
    }
}

}  // namespace

void TitleFrame() {
    // What the drawing changes is put back, so that a new game starts from the device and the
    // text rectangle as a fresh program has them.
    GfxDevice* dev = g_pd3dDevice;
    const DeviceState device = dev ? dev->State() : DeviceState();
    const TextRect textRect = g_TextRect;
    if (!g_TitleMenu.open) Open(g_TitleMenu);
    if (!Keys(g_TitleMenu)) return;
    Draw(g_TitleMenu);
    if (dev) dev->RestoreState(device);
    g_TextRect = textRect;
}

void CloseTitleMenu() {
    g_TitleMenu = TitleMenu();
}

nlohmann::json DumpTitleMenu() {
    const TitleMenu& t = g_TitleMenu;
    if (!t.open) return nullptr;
    nlohmann::json entries = nlohmann::json::array();
    for (int i = 0; i < t.count; ++i) {
        const MenuListEntry& e = t.entries.entries[i];
        entries.push_back(
            {{"text", ToUtf8(TitleEntryText(e.value))}, {"choosable", e.text[0] != '\0'}});
    }
    return {{"cursor", t.entries.cursor},
            {"entries", entries},
            {"message", ToUtf8(t.message)},
            {"slotList", t.loading ? DumpSlotList(t.slots) : nlohmann::json(nullptr)}};
}

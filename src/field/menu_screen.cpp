#include "field/menu_screen.h"

#include <cstdio>

#include "base/frame.h"
#include "base/host.h"
#include "base/keys.h"
#include "field/field_runtime.h"
#include "field/field_transitions.h"
#include "field/game_state.h"
#include "field/menu_page_look.h"
#include "field/menu_pages.h"
#include "field/save_screen.h"
#include "gfx/d3d.h"
#include "gfx/device.h"
#include "gfx/texture_slots.h"
#include "ui/help_line.h"
#include "ui/menu_list.h"
#include "ui/menu_look.h"
#include "ui/talk_window.h"
#include "world/data_tables.h"
#include "world/mode_words.h"
#include "world/party.h"

namespace {

constexpr uint32_t kRed = 0xC80000;
constexpr uint32_t kYellow = 0xDCDC00;

void DrawFighter(int i, const FighterRecord& f) {
    const int x = 64;
    const int y = 60 + 128 * i;
    DrawMemberFace(g_PartyOrder[i], float(x), float(y), 100, 100);
    DrawMemberStatus(f, x + 132, y);
}

bool PressedOrHeld(int32_t cell) {
    return cell == kKeyPressed || cell == kKeyHeld;
}

}  // namespace

uint32_t PointsColour(int32_t value, int32_t maxValue, int32_t hp) {
    if (hp == 0) return kRed;
    return double(value) >= double(maxValue) / 6.0 ? kMenuWhite : kYellow;
}

void DrawPicture(float x, float y, int32_t slot, float w, float h) {
    if (slot < 0 || slot >= kTextureSlotCount) return;
    DrawWholePicture(x, y, g_TextureSlots[slot], w, h);
}

void MenuInput() {
    if (g_ActionTimer < kActionTimerCap) g_ActionTimer += int32_t(g_FrameTime);
    if (g_FieldInputEnabled == 0 || g_ActionTimer < kActionDelayMs) return;
    UpdateKey(VK_SHIFT, g_KeyShift);
    UpdateKey(VK_CONTROL, g_KeyCtrl);
    UpdateKey(VK_UP, g_KeyUp);
    UpdateKey(VK_DOWN, g_KeyDown);
    UpdateKey(VK_LEFT, g_KeyLeft);
    UpdateKey(VK_RIGHT, g_KeyRight);
    // Back from a page, Shift and Ctrl count again once they have been let go.
    MenuScreenState& m = g_MenuScreen;
    if (m.keysHeld && !PressedOrHeld(g_KeyShift) && !PressedOrHeld(g_KeyCtrl)) m.keysHeld = false;
    GameState* gs = g_pGameState;
    if (!m.keysHeld && g_KeyCtrl == kKeyHeld) {
        if (g_ModeNow == 0) CloseMenuScreen();
    } else if (!m.keysHeld && gs && g_KeyShift == kKeyHeld &&
               ChooseMenuEntry(gs->messageWindow.cursor)) {
        // The entry acted; an entry that does nothing leaves the arrows to the list.
    } else if (gs) {
        ListInput(gs->messageWindow, kListEntryCount, g_ActionTimer);
    }
}

void MenuScreenFrame() {
    const OverMenuScreen& over = g_SettingsOverMenu;
    const bool page = g_MenuScreen.page != MenuPage::kMain;
    if (over.isOpen && over.isOpen())
        over.input();
    else if (g_SaveScreen.open)
        SaveScreenInput();
    else if (page)
        MenuPageInput();
    else
        MenuInput();
    DrawMenuBackground();
    GfxDevice* dev = g_pd3dDevice;
    if (dev) {
        dev->SetTextureStageState(0, TextureStageState::MagFilter, TextureFilter::Point);
        dev->SetTextureStageState(0, TextureStageState::MinFilter, TextureFilter::Point);
        dev->SetTextureStageState(0, TextureStageState::AddressU, TextureAddress::Clamp);
        dev->SetTextureStageState(0, TextureStageState::AddressV, TextureAddress::Clamp);
    }
    GameState* gs = g_pGameState;
    if (over.isOpen && over.isOpen()) {
        over.draw();
    } else if (g_MenuScreen.page != MenuPage::kMain) {
        DrawMenuView(BuildMenuView());
    } else {
        const int32_t cursor = gs ? gs->messageWindow.cursor : 0;
        // The menu record keeps its help text 21 bytes in.
        DrawHelpLine(MenuEntries[cursor].help);
        for (int i = 0; i < kPartyFighterCount; ++i)
            if (const FighterRecord* f = g_Fighters[i]) DrawFighter(i, *f);
        for (int k = 0; k < kMenuEntriesShown; ++k) {
            const int y = 60 + 28 * k;
            DrawEntryBox(500, float(y), 140, 22,
                         k == cursor ? EntryBoxLook::kChosen : EntryBoxLook::kOther);
            DrawMenuText(MenuEntries[k].name, 502, y + 2, kMenuWhite);
        }
    }
    if (dev) dev->SetRenderState(RenderState::CullMode, Cull::CounterClockwise);
    DrawTalkWindows();
    if (!gs) return;
    if (gs->messageWindow.open) DrawList(gs->messageWindow, kListEntryCount);
    if (g_SaveScreen.open) DrawSaveScreen();
    if (gs->fieldHandler) gs->fieldHandler();
}

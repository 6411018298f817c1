#include "field/menu_screen.h"

#include <cstdio>

#include "base/frame.h"
#include "base/host.h"
#include "base/keys.h"
#include "field/field_runtime.h"
#include "field/field_transitions.h"
#include "field/game_state.h"
#include "gfx/d3d.h"
#include "gfx/device.h"
#include "gfx/sprite.h"
#include "gfx/text.h"
#include "gfx/texture_slots.h"
#include "ui/help_line.h"
#include "ui/menu_list.h"
#include "ui/talk_window.h"
#include "ui/ui_textures.h"
#include "world/data_tables.h"
#include "world/mode_words.h"
#include "world/party.h"

namespace {

constexpr uint32_t kRed = 0xC80000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kYellow = 0xDCDC00;

void ShadowText(const char* text, int x, int y, uint32_t rgb) {
    DrawShadowText(text, x, y, int(rgb >> 16 & 255), int(rgb >> 8 & 255), int(rgb & 255));
}

void DrawFighter(int i, const FighterRecord& f) {
    const int x = 64;
    const int y = 60 + 128 * i;
    const uint32_t c1 = PointsColour(f.hp, f.maxHp, f.hp);
    DrawPicture(float(x), float(y), kFaceSlotFirst + i, 100, 100);
    ShadowText(f.name, x + 132, y, kWhite);
    char buf[32];
    DrawSprite(float(x + 132), float(y + 22), g_UiTextures[1], 0, 32, 46, 13);
    std::snprintf(buf, sizeof buf, "%2d", int(f.stats[0]));
    ShadowText(buf, x + 182, y + 20, c1);
    DrawSprite(float(x + 132), float(y + 42), g_UiTextures[1], 0, 0, 23, 13);
    std::snprintf(buf, sizeof buf, "%4d/%4d", f.hp, f.maxHp);
    ShadowText(buf, x + 172, y + 40, c1);
    const uint32_t c2 = PointsColour(f.mp, f.maxMp, f.hp);
    DrawSprite(float(x + 132), float(y + 62), g_UiTextures[1], 23, 0, 24, 13);
    std::snprintf(buf, sizeof buf, "%4d/%4d", f.mp, f.maxMp);
    ShadowText(buf, x + 172, y + 60, c2);
}

}  // namespace

uint32_t PointsColour(int32_t value, int32_t maxValue, int32_t hp) {
    if (hp == 0) return kRed;
    return double(value) >= double(maxValue) / 6.0 ? kWhite : kYellow;
}

void DrawPicture(float x, float y, int32_t slot, float w, float h) {
    GfxDevice* dev = g_pd3dDevice;
    if (!dev || slot < 0 || slot >= kTextureSlotCount) return;
    ScreenVertex v[4];
    FillScreenVertex(v[0], x, y, 0.0f, 0.0f, 0.0f, 0xFFFFFFFF);
    FillScreenVertex(v[1], x + w, y, 0.0f, 1.0f, 0.0f, 0xFFFFFFFF);
    FillScreenVertex(v[2], x, y + h, 0.0f, 0.0f, 1.0f, 0xFFFFFFFF);
    FillScreenVertex(v[3], x + w, y + h, 0.0f, 1.0f, 1.0f, 0xFFFFFFFF);
    const ScreenVertex tris[6] = {v[0], v[1], v[2], v[2], v[1], v[3]};
    dev->SetRenderState(RenderState::AlphaBlendEnable, 0);
    dev->SetRenderState(RenderState::CullMode, Cull::CounterClockwise);
    dev->SetRenderState(RenderState::ZEnable, 0);
    dev->SetTexture(0, g_TextureSlots[slot].texture);
    dev->SetVertexShader(kFvfScreenVertex);
    dev->DrawPrimitiveUP(PrimitiveType::TriangleList, 2, tris, sizeof(ScreenVertex));
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
    // Shift is read but choosing an entry does nothing yet.
    if (g_KeyCtrl == kKeyHeld) {
        if (g_ModeNow == 0) CloseMenuScreen();
    } else if (g_pGameState) {
        ListInput(g_pGameState->messageWindow, kListEntryCount, g_ActionTimer);
    }
}

void MenuScreenFrame() {
    MenuInput();
    static constexpr uint32_t kBackground[4] = {0xFFC8C8C8, 0xFFA000A0, 0xFFA000A0, 0xFFC8C8C8};
    DrawGradientRect(0, 0, 640, 480, kBackground);
    GfxDevice* dev = g_pd3dDevice;
    if (dev) {
        dev->SetTextureStageState(0, TextureStageState::MagFilter, TextureFilter::Point);
        dev->SetTextureStageState(0, TextureStageState::MinFilter, TextureFilter::Point);
        dev->SetTextureStageState(0, TextureStageState::AddressU, TextureAddress::Clamp);
        dev->SetTextureStageState(0, TextureStageState::AddressV, TextureAddress::Clamp);
    }
    GameState* gs = g_pGameState;
    const int32_t cursor = gs ? gs->messageWindow.cursor : 0;
    // The menu record keeps its help text 21 bytes in.
    DrawHelpLine(MenuEntries[cursor].help);
    for (int i = 0; i < kPartyFighterCount; ++i)
        if (const FighterRecord* f = g_Fighters[i]) DrawFighter(i, *f);
    static constexpr uint32_t kChosen[4] = {0xD2A000C8, 0xD20000C8, 0xD20000C8, 0xD2A000C8};
    static constexpr uint32_t kOther[4] = {0xC8C8C800, 0x3000C800, 0xC800C800, 0x30C8C800};
    for (int k = 0; k < kMenuEntriesShown; ++k) {
        const int y = 60 + 28 * k;
        DrawGradientRect(500, float(y), 140, 22, k == cursor ? kChosen : kOther);
        ShadowText(MenuEntries[k].name, 502, y + 2, kWhite);
    }
    if (dev) dev->SetRenderState(RenderState::CullMode, Cull::CounterClockwise);
    DrawTalkWindows();
    if (!gs) return;
    if (gs->messageWindow.open) DrawList(gs->messageWindow, kListEntryCount);
    if (gs->fieldHandler) gs->fieldHandler();
}

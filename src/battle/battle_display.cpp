// The battle's 2D displays: the rising damage labels, the party's status lines and the help
// strip with the menus' help or the battle message.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "battle/battle.h"
#include "gfx/d3d.h"
#include "gfx/device.h"
#include "gfx/sprite.h"
#include "gfx/text.h"
#include "ui/help_line.h"
#include "ui/ui_textures.h"
#include "world/party.h"
#include "world/scene_view.h"

namespace {

constexpr int32_t kScreenW = 640;
constexpr int32_t kScreenH = 480;
constexpr int32_t kLabelChars = 8;  // a label draws at most this many characters
constexpr int32_t kLabelCharW = 10;
constexpr int32_t kLabelRise = 18;
// The bounce of a label's characters: p = life + k - 22 in 0-10 lifts character k by this.
constexpr int32_t kBounce[11] = {2, 3, 2, 0, 4, 6, 7, 8, 7, 6, 4};
constexpr int32_t kBounceStart = 22;

constexpr int32_t kPanelX = 350;
constexpr int32_t kPanelY = 405;
constexpr int32_t kPanelLine = 24;
constexpr int32_t kSnapDistance = 16;

void Outline(const char* text, int x, int y, uint32_t rgb) {
    DrawOutlineText(text, x, y, int(rgb >> 16 & 255), int(rgb >> 8 & 255), int(rgb & 255));
}

// The shown value moves by its step toward the real one and snaps to it once near.
void StepShown(int32_t& shown, int32_t& step, int32_t value) {
    const int64_t moved = int64_t(shown) - step;
    shown = int32_t(std::max<int64_t>(INT32_MIN, std::min<int64_t>(moved, INT32_MAX)));
    const int64_t gap = int64_t(shown) - value;
    if (gap >= -kSnapDistance && gap <= kSnapDistance) {
        shown = value;
        step = 0;
    }
}

void DrawFighterLine(Battle& b, int32_t i, const FighterRecord& f) {
    StepShown(b.shownHp[i], b.hpStep[i], f.hp);
    StepShown(b.shownMp[i], b.mpStep[i], f.mp);
    int x = kPanelX;
    const int y = kPanelY + kPanelLine * i;
    char text[48];
    std::snprintf(text, sizeof text, "%12.23s", f.name);
    Outline(text, x, y, 0xFFFFFF);
    x += 120;

    const uint32_t under[4] = {0xFF0000A0, 0xFF0000A0, 0xFF0000A0, 0xFF0000A0};
    DrawGradientRect(float(x - 1), float(y + 17), 148, 4, under);
    const uint32_t shade[4] = {0xFFFFFF00, 0xFFFF4000, 0xFFFFFF00, 0xFFFF4000};
    DrawGradientRect(float(x), float(y + 18), 146, 2, shade);

    DrawSprite(float(x), float(y), g_UiTextures[1], 0, 0, 23, 13);
    std::snprintf(text, sizeof text, "%4d", b.shownHp[i]);
    const uint32_t hpColour = b.shownHp[i] == 0                   ? 0xC80000
                              : !LowPoints(b.shownHp[i], f.maxHp) ? 0xFFFFFF
                                                                  : 0xDCDC00;
    Outline(text, x + 35, y, hpColour);
    x += 80;

    DrawSprite(float(x), float(y), g_UiTextures[1], 23, 0, 24, 13);
    // The number is the real one; only its colour follows the shown one.
    std::snprintf(text, sizeof text, "%3d", f.mp);
    Outline(text, x + 36, y, !LowPoints(b.shownMp[i], f.maxMp) ? 0xFFFFFF : 0xDCDC00);
}

}  // namespace

void DrawLabels() {
    Battle* b = g_pBattle.get();
    if (!b) return;
    for (DamageLabel& l : b->labels) {
        if (l.life <= 0) continue;
        const ScreenPoint s = ProjectToScreen(l.position.x, l.position.y, l.position.z);
        const int32_t n = int32_t(strnlen(l.text, kLabelChars));
        const int64_t sx = s.x, sy = s.y;
        int64_t x;
        if (sx - 5 * n < 0)
            x = 0;
        else if (sx + 5 * n <= kScreenW)
            x = sx - 5 * n;
        else
            x = kScreenW - kLabelCharW * n;
        int64_t y;
        if (sy - kLabelRise < 0)
            y = 0;
        else if (sy <= kScreenH)
            y = sy - kLabelRise;
        else
            y = kScreenH - kLabelRise;
        const int32_t life = l.life;
        l.life -= 1;
        for (int32_t k = 0; k < n && life + k < kDamageLabelLife + 1; ++k) {
            const int32_t p = life + k - kBounceStart;
            const int32_t o = p >= 0 && p <= 10 ? kBounce[p] : 0;
            const char one[2] = {l.text[k], '\0'};
            Outline(one, int(x + kLabelCharW * k), int(y - o), l.colour);
        }
    }
}

void DrawStatusPanel() {
    Battle* b = g_pBattle.get();
    if (!b) return;
    if (GfxDevice* dev = g_pd3dDevice) {
        dev->SetTextureStageState(0, TextureStageState::MagFilter, TextureFilter::Point);
        dev->SetTextureStageState(0, TextureStageState::MinFilter, TextureFilter::Point);
        dev->SetRenderState(RenderState::AlphaBlendEnable, 0);
        dev->SetRenderState(RenderState::CullMode, Cull::CounterClockwise);
        dev->SetTexture(0, nullptr);
    }
    if (b->menuList.open && b->actor >= 0 && b->actor < kFirstEnemySlot) {
        const uint32_t bar[4] = {0xC00000C8, 0x600000C8, 0xC00000C8, 0x600000C8};
        DrawGradientRect(float(kPanelX), float(kPanelY - 2 + kPanelLine * b->actor), 290, 24, bar);
    }
    if (!b->hudVisible) return;
    for (int32_t i = 0; i < kFirstEnemySlot; ++i) {
        const FighterRecord* f = g_Fighters[i];
        if (f && f->maxHp != 0) DrawFighterLine(*b, i, *f);
    }
}

void DrawBattleMessage() {
    const Battle* b = g_pBattle.get();
    if (!b || b->messageCounter == 0) return;
    const size_t length = strnlen(b->message, sizeof b->message);
    DrawHelpLine(b->message, int(320.0 - double(length) * 4.5));
}

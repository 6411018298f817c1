#include "app/quit_box.h"

#include <cstring>
#include <vector>

#include "app/game_start.h"
#include "app/quit.h"
#include "app/state_dump_sections.h"
#include "app/title_menu.h"
#include "base/frame.h"
#include "base/host.h"
#include "base/keys.h"
#include "base/sjis.h"
#include "gfx/d3d.h"
#include "gfx/device.h"
#include "gfx/sprite.h"
#include "gfx/text.h"
#include "gfx/texture.h"
#include "sound/sound.h"
#include "ui/menu_list.h"
#include "ui/talk_window.h"
#include "world/input_gate.h"
#include "world/play_time.h"

bool g_AskBeforeQuitting = true;

namespace {

constexpr int32_t kYes = 0;
constexpr int32_t kNo = 1;

struct QuitBox {
    bool open = false;
    TalkWindow question;
    MenuList answers;
    TextureSlot still;  // the picture the game showed last, behind the box
    // The box's own key cells: the game's cells stay as they were for when it goes on.
    int32_t up = 0, down = 0, shift = 0, ctrl = 0;
    int32_t timer = 0;
};

QuitBox g_Box;

// The box's keys, polled as the game polls its own.
struct BoxKey {
    int virtualKey;
    int32_t QuitBox::*cell;
};
constexpr BoxKey kBoxKeys[] = {{VK_UP, &QuitBox::up},
                               {VK_DOWN, &QuitBox::down},
                               {VK_SHIFT, &QuitBox::shift},
                               {VK_CONTROL, &QuitBox::ctrl}};

// The last picture as a texture; an empty slot where the backend cannot read its pixels back.
TextureSlot TakeStill() {
    std::vector<uint32_t> pixels;
    GfxDevice* dev = g_pd3dDevice;
    GfxTexture* texture = nullptr;
    if (!dev || !g_pD3D || !g_pD3D->ReadPixels(pixels) ||
        dev->CreateTexture(kTargetWidth, kTargetHeight, 1, 0, PixelFormat::A8R8G8B8, Pool::Managed,
                           &texture) != 0 ||
        !texture)
        return {};
    LockedRect rect;
    if (texture->LockRect(0, &rect) == 0) {
        for (int y = 0; y < kTargetHeight; ++y)
            std::memcpy(static_cast<uint8_t*>(rect.bits) + size_t(y) * size_t(rect.pitch),
                        &pixels[size_t(y) * kTargetWidth], size_t(kTargetWidth) * 4);
        texture->UnlockRect(0);
    }
    return {texture, kTargetWidth, kTargetHeight};
}

bool Pressed(int32_t cell) {
    return cell == kKeyPressed;
}

void Draw(QuitBox& box) {
    GfxDevice* dev = g_pd3dDevice;
    const DeviceState device = dev ? dev->State() : DeviceState();
    const TextRect textRect = g_TextRect;
    if (box.still.texture) DrawSprite(0, 0, box.still, 0, 0, kTargetWidth, kTargetHeight);
    DrawScreenRect(0, 0, float(kTargetWidth), float(kTargetHeight), 0x60000000u);
    DrawTalkWindow(box.question);
    DrawList(box.answers, 2);
    if (dev) dev->RestoreState(device);
    g_TextRect = textRect;
}

}  // namespace

bool QuitNeedsAsking() {
    const bool playing = g_FrameProc && g_FrameProc != TitleFrame && g_FrameProc != StartupFrame;
    return g_AskBeforeQuitting && playing && g_UnsavedProgress;
}

void OpenQuitBox() {
    CloseQuitBox();
    QuitBox& box = g_Box;
    box.open = true;
    SetTalkText(box.question,
                SJIS("ゲームを　おわりますか？\\n記録していない　ところは　なくなります。\\e"),
                kTalkStaysOpen);
    LayoutTalkWindow(box.question);
    PlaceTalkWindow(box.question, (kTargetWidth - box.question.w) / 2, 180);
    box.question.shown = TalkTextLength(box.question);  // shown whole at once
    AddListEntry(box.answers, SJIS("はい"), kYes);
    AddListEntry(box.answers, SJIS("いいえ"), kNo);
    LayoutList(box.answers, 2);
    box.answers.x = box.question.x + 16;
    box.answers.y = box.question.y + box.question.h;
    box.answers.open = 1;
    box.answers.cursor = kNo;
    box.still = TakeStill();
    for (const BoxKey& k : kBoxKeys) {
        UpdateKey(k.virtualKey, box.*k.cell);
        HoldKeyOver(box.*k.cell);
    }
}

void CloseQuitBox() {
    if (g_Box.still.texture) g_Box.still.texture->Release();
    g_Box = QuitBox();
}

bool QuitBoxOpen() {
    return g_Box.open;
}

void QuitBoxFrame() {
    QuitBox& box = g_Box;
    if (box.timer < kActionTimerCap) box.timer += int32_t(g_FrameTime);
    if (box.timer >= kActionDelayMs) {
        for (const BoxKey& k : kBoxKeys) UpdateKey(k.virtualKey, box.*k.cell);
        if (Pressed(box.shift)) {
            if (box.answers.cursor == kYes) {
                CloseQuitBox();
                EndGame();
                return;
            }
            CloseQuitBox();
            return;
        }
        if (Pressed(box.ctrl)) {
            CloseQuitBox();
            return;
        }
        const int32_t to = Pressed(box.up) ? kYes : Pressed(box.down) ? kNo : box.answers.cursor;
        if (to != box.answers.cursor) {
            box.answers.cursor = to;
            PlaySound(g_SeSlots[0]);
        }
    }
    Draw(box);
}

nlohmann::json DumpQuitBox() {
    const QuitBox& box = g_Box;
    if (!box.open) return nullptr;
    return {{"cursor", box.answers.cursor},
            {"question", DumpText(box.question.text, sizeof box.question.text)}};
}

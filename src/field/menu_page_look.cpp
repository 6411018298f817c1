#include "field/menu_page_look.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "field/menu_pages.h"
#include "field/menu_screen.h"
#include "gfx/sprite.h"
#include "gfx/texture_slots.h"
#include "ui/help_line.h"
#include "ui/menu_look.h"
#include "ui/ui_textures.h"
#include "world/party.h"

namespace {

constexpr uint32_t kGrey = 0x969696;
constexpr uint32_t kHeading = 0xC8C8FF;
// The lines at the right: a box each, as many as fit above the bottom edge.
constexpr int kLineX = 216, kLineW = 400, kLineTop = 70, kLinePitch = 26, kLinesShown = 15;
// Values end at the box's right edge, a byte of text taking about 9 pixels.
constexpr int kValueRight = kLineX + kLineW - 8, kValueByteWidth = 9;

TextureSlot g_Faces[kPartyMemberCount];

}  // namespace

void LoadMenuFaces() {
    for (int m = 0; m < kPartyMemberCount; ++m) {
        if (!g_FaceNames[m][0]) {
            EmptyTextureSlot(g_Faces[m]);
            continue;
        }
        const std::string file = std::string("chara\\face\\") + g_FaceNames[m] + ".bmp";
        LoadTextureSlot(g_Faces[m], file.c_str());
    }
}

void ReleaseMenuFaces() {
    for (TextureSlot& face : g_Faces) EmptyTextureSlot(face);
}

void DrawMemberFace(int32_t member, float x, float y, float w, float h) {
    if (member >= 0 && member < kPartyMemberCount) DrawWholePicture(x, y, g_Faces[member], w, h);
}

void DrawMemberStatus(const FighterRecord& f, int x, int y) {
    const uint32_t c1 = PointsColour(f.hp, f.maxHp, f.hp);
    DrawMenuText(f.name, x, y, kMenuWhite);
    char buf[32];
    DrawSprite(float(x), float(y + 22), g_UiTextures[1], 0, 32, 46, 13);
    std::snprintf(buf, sizeof buf, "%2d", int(f.stats[kStatBonus]));
    DrawMenuText(buf, x + 50, y + 20, c1);
    DrawSprite(float(x), float(y + 42), g_UiTextures[1], 0, 0, 23, 13);
    std::snprintf(buf, sizeof buf, "%4d/%4d", f.hp, f.maxHp);
    DrawMenuText(buf, x + 40, y + 40, c1);
    const uint32_t c2 = PointsColour(f.mp, f.maxMp, f.hp);
    DrawSprite(float(x), float(y + 62), g_UiTextures[1], 23, 0, 24, 13);
    std::snprintf(buf, sizeof buf, "%4d/%4d", f.mp, f.maxMp);
    DrawMenuText(buf, x + 40, y + 60, c2);
}

void DrawMenuView(const MenuView& view) {
    DrawHelpLine(view.help.c_str());
    DrawEntryBox(24, 36, 176, 22, EntryBoxLook::kChosen);
    DrawMenuText(view.title.c_str(), 32, 38, kMenuWhite);
    if (view.member >= 0 && view.member < kPartyMemberCount) {
        DrawMemberFace(view.member, 50, 76, 100, 100);
        DrawMemberStatus(g_PartyMembers[view.member], 40, 190);
    }
    const int count = int(view.lines.size());
    const int first =
        std::clamp(view.cursor - (kLinesShown - 1), 0, std::max(0, count - kLinesShown));
    for (int i = first; i < count && i < first + kLinesShown; ++i) {
        const MenuViewLine& line = view.lines[size_t(i)];
        const int y = kLineTop + kLinePitch * (i - first);
        if (line.heading) {
            DrawMenuText(line.text.c_str(), kLineX, y + 4, kHeading);
            continue;
        }
        const EntryBoxLook look = i == view.cursor ? EntryBoxLook::kChosen
                                  : line.marked    ? EntryBoxLook::kMarked
                                                   : EntryBoxLook::kOther;
        DrawEntryBox(float(kLineX), float(y), float(kLineW), 22, look);
        const uint32_t colour = line.grey ? kGrey : kMenuWhite;
        DrawMenuText(line.text.c_str(), kLineX + 8, y + 2, colour);
        DrawMenuText(line.value.c_str(), kValueRight - kValueByteWidth * int(line.value.size()),
                     y + 2, colour);
    }
}

#pragma once
#include <cstdint>

#include "world/fighter_record.h"

struct MenuView;

// How the menu screen draws the party and its pages: the members' faces, a member's name and
// points as the screen shows them beside a face, and a page of lines.

// The four party members' face pictures ("chara\face\<face name>.bmp"), by member, loaded
// when the menu screen opens; the field's texture slots are left to the field.
void LoadMenuFaces();
void ReleaseMenuFaces();
// Member m's face stretched to w x h at (x, y); nothing for a member outside 0-3.
void DrawMemberFace(int32_t member, float x, float y, float w, float h);
// The member's name at (x, y) and under it Lv, HP and MP with their label pictures, in the
// colours of PointsColour.
void DrawMemberStatus(const FighterRecord& f, int x, int y);
// A page: the help strip, its title, the member at the left, the lines at the right (as many as
// fit, the cursor's among them).
void DrawMenuView(const MenuView& view);

#pragma once

// The help strip at the top of the screen: a blue band under a green line, the help mark at its
// left and a text at x (16 on the menus; the battle centres its messages). The menu screen, the
// battle, the save screen and the title menu show it.
void DrawHelpLine(const char* text, int x = 16);

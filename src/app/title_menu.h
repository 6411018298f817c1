#pragma once
#include <nlohmann/json.hpp>

// The title menu of a data set with a title file (world/title_file.h): its picture over the whole
// screen, its music, and four entries. New game starts a new game (StartupFrame); Continue takes
// up the readable save made last (it cannot be chosen without one, and the cursor starts on it
// when there is one); Load shows the slot list, where Shift takes up a readable slot and Ctrl
// goes back; Quit ends the program as the game's own "end" does. Up and Down move, Shift
// chooses. The play time does not count here, and the title leaves the graphics device and the
// text rectangle as it found them, so a new game starts from what a fresh program has.

// The first frame handler of a data set with a title; it opens the title on its first frame.
void TitleFrame();
// Closed: the slot list, the picture and the music are forgotten (the world reset; choosing).
void CloseTitleMenu();
// The state dump's view: null when the title is not shown; else its cursor, its entries and
// the slot list while it is shown.
nlohmann::json DumpTitleMenu();

#include "gfx/msgbox.h"

#include "app/host.h"
#include "app/message_box.h"

int RZ_MsgBox(const std::string& textSjis) {
    return ShowMessageBox("Harlo tumesto", textSjis, MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST);
}

#include "app/mode_change.h"

#include "app/host.h"
#include "app/message_queue.h"
#include "app/mode_words.h"
#include "app/sjis.h"
#include "gfx/msgbox.h"

void QModeChange() {
    if (g_ModeNow == 1 && g_ModeNext == 0) {
        // Field to battle: the battle object takes over from the game state. The battle is not
        // part of the engine yet, so the field stays and the request is dropped.
    } else if (g_ModeNow == 0 && g_ModeNext == 1) {
        // Battle to field: rebuilds the game state where the battle ends. Nothing to do until
        // battles exist.
    } else if (g_ModeNext == 2) {
        g_MessageQueue.Post(WM_CLOSE, 0, 0);
    } else {
        RZ_MsgBox(SJIS("QModeChange:error\nないっす"));
    }
    g_ModeChangeRequest = 0;
}

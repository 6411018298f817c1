#include "platform/sdl_dialogs.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

int SdlDialogs::MessageBox(const std::string& caption, const std::string& text, uint32_t flags) {
    std::fprintf(stderr, "gh02: message box [%s] %s\n", caption.c_str(), text.c_str());
    SDL_MessageBoxButtonData buttons[2];
    int count = 0;
    if (flags & MB_YESNO) {
        buttons[count++] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"};
        buttons[count++] = {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"};
    } else {
        buttons[count++] = {
            SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK,
            "OK"};
    }
    SDL_MessageBoxData data{};
    data.flags =
        (flags & 0xF0) == MB_ICONEXCLAMATION ? SDL_MESSAGEBOX_WARNING : SDL_MESSAGEBOX_INFORMATION;
    data.window = owner;
    data.title = caption.c_str();
    data.message = text.c_str();
    data.numbuttons = count;
    data.buttons = buttons;
    int pressed = -1;
    if (SDL_ShowMessageBox(&data, &pressed) != 0 || pressed < 0)
        return (flags & MB_YESNO) ? IDNO : IDOK;
    return pressed;
}

bool SdlDialogs::OpenImageFile(std::string& path) {
    path.clear();
    if (std::system("command -v zenity >/dev/null 2>&1") != 0) {
        std::fprintf(stderr, "gh02: no file dialog available (install zenity)\n");
        return false;
    }
    FILE* p = popen(
        "zenity --file-selection --title='GH02' --file-filter='*.bmp *.BMP' "
        "--file-filter='*' 2>/dev/null",
        "r");
    if (!p) return false;
    char buffer[4096];
    if (std::fgets(buffer, sizeof buffer, p)) path = buffer;
    int status = pclose(p);
    while (!path.empty() && (path.back() == '\n' || path.back() == '\r')) path.pop_back();
    return status == 0 && !path.empty();
}

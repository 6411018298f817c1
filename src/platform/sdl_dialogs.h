#pragma once
#include "base/host.h"

struct SDL_Window;

// Message boxes over SDL (they block, as the game expects) and the open-file dialog through
// zenity where it is installed. Each box is also written to standard error.
class SdlDialogs : public IDialogs {
public:
    SDL_Window* owner = nullptr;
    int MessageBox(const std::string& caption, const std::string& text, uint32_t flags) override;
    bool OpenImageFile(std::string& path) override;
};

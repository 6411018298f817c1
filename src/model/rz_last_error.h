#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include "gfx/rz_image.h"

// The library's last-error record: what the last failing load left behind, for diagnosis.
// Nothing in the game shows it; `--model-info` prints it.
struct RZ_ErrorRecord {
    int32_t code = 0;     // 0 none, 1 internal, 2 file not found, 3 invalid format
    std::string message;  // Shift-JIS
    int32_t line = 0;     // source line that recorded it
    std::string source;   // "rz_model" for the model loader
    std::string detail;   // why a file was refused (plain ASCII, for authors); may be empty
};

extern RZ_ErrorRecord RZ_LastError;

// Overwrites the whole record.
void RZ_SetLastError(int32_t code, std::string messageSjis, int32_t line, const char* source,
                     std::string detail = {});
// The fixed text of a code (Shift-JIS).
const std::string& RZ_ErrorCodeText(int32_t code);

// "%s" in a Shift-JIS template replaced by arg ('%' never occurs inside a Shift-JIS character).
std::string RZ_FormatSjis(const std::string& templateSjis, std::string_view arg);

// One progress or failure line of the libraries (RZ_Log).
inline void RZ_DiagLine(std::string_view line) {
    RZ_Log(line);
}

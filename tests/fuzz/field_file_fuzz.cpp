// Field files come from authors and modders: any text must load as far as it reads, without
// reaching past a table. The data directory is empty, so every picture and mesh is missing.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "app/game_state.h"
#include "app/host.h"
#include "app/null_host.h"
#include "app/paths.h"
#include "gfx/d3d.h"
#include "gfx/device.h"
#include "gfx/recording_backend.h"
#include "gfx/texture_slots.h"
#include "world/field_info.h"
#include "world/field_tables.h"

namespace {

void SetUpOnce() {
    static RecordingBackend backend;
    static HeadlessDialogs dialogs;
    static GfxDevice device(&backend);
    backend.keep = false;
    dialogs.quiet = true;
    g_Host.dialogs = &dialogs;
    g_pd3dDevice = &device;
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "gh02-field-fuzz";
    std::filesystem::create_directories(dir);
    SetDataDirectory(dir.string());
    g_pGameState = new GameState;
    StartFieldTables();
}

bool InSlots(const TextureSlot* slot) {
    return slot == nullptr || (slot >= g_TextureSlots && slot < g_TextureSlots + kTextureSlotCount);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool ready = (SetUpOnce(), true);
    (void)ready;
    QFldInfo& field = *g_pGameState->fieldInfo;
    field.loadText(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz");
    for (int x = 0; x < kFieldGridSize; ++x) {
        for (int row = 0; row < kFieldGridSize; ++row) {
            if ((field.cellFlags[x][row] & kCellObjectMask) > kMaxCellObject) __builtin_trap();
            int object = field.CellObjectAt(x, row);
            if (object < -1 || object >= kFieldObjectCount) __builtin_trap();
            if (field.groundImage[x][row] >= kGroundTextureCount &&
                field.GroundTextureAt(x, row) != nullptr)
                __builtin_trap();
        }
    }
    for (const Billboard& b : g_Billboards)
        if (!InSlots(b.image)) __builtin_trap();
    return 0;
}

// Field files come from authors and modders: any text must load as far as it reads, without
// reaching past a table. The data directory is empty, so every picture and mesh is missing.
#include <string_view>

#include "base/paths.h"
#include "base/report_once.h"
#include "field/game_state.h"
#include "fuzz_common.h"
#include "gfx/d3d.h"
#include "gfx/texture_slots.h"
#include "world/field_info.h"
#include "world/field_tables.h"

namespace {

void SetUpOnce() {
    fuzz::QuietHost();
    g_pd3dDevice = fuzz::Device();
    fuzz::DataDir("field-fuzz", {});
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
            const int object = field.CellObjectAt(x, row);
            fuzz::Check((field.cellFlags[x][row] & kCellObjectMask) <= kMaxCellObject &&
                            object >= -1 && object < kFieldObjectCount,
                        "cell object outside the table");
            fuzz::Check(field.groundImage[x][row] < kGroundTextureCount ||
                            field.GroundTextureAt(x, row) == nullptr,
                        "ground image outside the table");
        }
    }
    for (const Billboard& b : g_Billboards) fuzz::Check(InSlots(b.image), "billboard image");
    fuzz::FreshRun::Forget();
    return 0;
}

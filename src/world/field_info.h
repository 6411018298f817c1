#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class GfxTexture;

constexpr int kFieldNameSize = 128;
// The field now loaded; the field is loaded again by this name after a battle.
extern char g_FieldName[kFieldNameSize];

// Grid corner (x, row) lies at world (x * 1024, height, -row * 1024); both run 0 to 31.
constexpr int kFieldGridSize = 32;
// Ground cells a side: the last row and column of corners only close the cells before them.
constexpr int kGroundCells = kFieldGridSize - 1;
constexpr float kFieldCellSize = 1024.0f;
constexpr int kGroundTextureCount = 32;
// The sky images tex\<sky><n>.bmp, n = 0 to 5, go into texture slots 1-6.
constexpr int kSkyImages = 6;
constexpr int kCameraSlopeCount = 16;
// cellFlags: object number + 1 in bits 0-5, blocked for walking, ground split the other way.
constexpr uint8_t kCellObjectMask = 0x3F;
constexpr uint8_t kCellBlocked = 0x40;
constexpr uint8_t kCellSplitOther = 0x80;
// cellEvent: place-trigger number + 1 in bits 0-6; bit 7 hides the cell's ground quad.
constexpr uint8_t kCellEventMask = 0x7F;
constexpr uint8_t kCellNoGround = 0x80;
// Object numbers past the ten field objects are dropped as the file is read.
constexpr int kMaxCellObject = 10;
// A field file writes "none" for an unused ground picture, billboard image or mesh. The name is
// still looked up as written (a data set may hold such a file); its absence is no fault.
inline bool MarksUnusedEntry(std::string_view name) {
    return name == "none";
}

// How far the camera rises and backs off per unit the player moves.
struct CameraSlope {
    float heightRate = 0.0f;
    float distanceRate = 0.0f;
    float third = 0.0f;  // read and kept, never used
};

// The loaded field: its grids and ground textures. The field file also fills the world tables
// of field_tables.h, the sky's texture slots and the game state's ground lighting.
struct QFldInfo {
    int16_t height[kFieldGridSize][kFieldGridSize] = {};  // [x][row]
    uint8_t cellFlags[kFieldGridSize][kFieldGridSize] = {};
    uint8_t groundImage[kFieldGridSize][kFieldGridSize] = {};  // index into groundTexture
    uint8_t cellEvent[kFieldGridSize][kFieldGridSize] = {};
    // Low nibble: slope entry for moving along x; high nibble: along z.
    uint8_t cameraSelect[kFieldGridSize][kFieldGridSize] = {};
    CameraSlope cameraSlope[kCameraSlopeCount];
    // Entries 0-31 come from the field file. The table has one entry per 8-bit ground image
    // number, the rest always null, so any number a file gives picks a texture or none.
    GfxTexture* groundTexture[256] = {};

    QFldInfo() = default;
    ~QFldInfo();
    QFldInfo(const QFldInfo&) = delete;
    QFldInfo& operator=(const QFldInfo&) = delete;

    // Reads "<base>Field\<name>.qf" and sets g_FieldName to name; the file's ground lighting
    // switch goes to *groundLighting (the game state's) when given. A missing file is reported
    // and changes nothing else. A short or damaged file stops at the first value it cannot
    // read, reported once with the file's path; what came before it stays loaded.
    void load(const char* name, int32_t* groundLighting = nullptr);
    // The reading itself, on the file's text (`path` only for the report). False when it
    // stopped early.
    bool loadText(std::string_view text, const std::string& pathSjis,
                  int32_t* groundLighting = nullptr);
    // Loads "<base>Field\<name>.BMP" into groundTexture[index]: 1 when the file exists and was
    // handed to the texture loader, 0 when it does not (the entry is then empty).
    int loadGroundTexture(int index, const char* name);

    // The ground texture of cell (x, row); null outside the grid or without one.
    GfxTexture* GroundTextureAt(int x, int row) const;
    // The field object standing in cell (x, row), 0-9, or -1 for none or outside the grid.
    int CellObjectAt(int x, int row) const;

private:
    void ReleaseGroundTextures();
};

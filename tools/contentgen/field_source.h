#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "source_text.h"

// A field as its author writes it: a short header (ground lighting, sky, ground images,
// billboards, lights, meshes, camera slopes) and layered 32 x 32 text maps. docs/content.md
// describes the syntax; FieldSource holds the result in the field file's own terms.

constexpr int kGrid = 32;

struct FieldBillboardSource {
    int on = 0;
    int image = 0;
    float position[3] = {-8192.0f, 0.0f, -8192.0f};
    float widthScale = 1.0f, heightScale = 1.0f;
    int colour[4] = {255, 255, 255, 255};  // red, green, blue, alpha
    std::string file = "none";
};

struct FieldLightSource {
    int enable = 0;
    float position[3] = {-8192.0f, 0.0f, 0.0f};
    float colour[3] = {0.0f, 0.0f, 0.0f};
    float range = 0.0f;
};

struct FieldMeshSource {
    std::string name = "none";
    int kind = 0;
    float position[3] = {0.0f, 0.0f, 0.0f};
    float rotation[3] = {0.0f, 0.0f, 0.0f};  // radians, as the file holds them
    float scale[3] = {1.0f, 1.0f, 1.0f};
};

struct FieldSlopeSource {
    float heightRate = 0.0f, distanceRate = 0.0f, third = 0.0f;
};

struct FieldSource {
    int groundLighting = 0;
    std::string sky = "sky0_";
    std::string ground[32];
    // Grids indexed [row][x], in the order the file lists them.
    int32_t height[kGrid][kGrid] = {};
    uint8_t cellFlags[kGrid][kGrid] = {};
    uint8_t groundImage[kGrid][kGrid] = {};
    uint8_t cellEvent[kGrid][kGrid] = {};
    uint8_t cameraSelect[kGrid][kGrid] = {};
    FieldBillboardSource billboards[24];
    FieldLightSource lights[20];
    FieldMeshSource meshes[10];
    FieldSlopeSource slopes[16];

    FieldSource() {
        for (std::string& g : ground) g = "none";
    }
};

// Parses a field source; false (with errors in diag naming file and line) when it is wrong.
bool ParseFieldSource(std::string_view text, const std::string& fileName, FieldSource& out,
                      Diagnostics& diag);

// The field file the game reads: sections in their fixed order, CR LF line ends.
std::string WriteFieldFile(const FieldSource& field);

// The game's degree-to-radian factor.
constexpr float kDegToRad = 0.0174533f;

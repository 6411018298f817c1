#pragma once
#include <cstdint>

#include "gfx/backend.h"

// What a draw needs from the fixed-function program, reduced to the choices that change the
// program's code. Draws whose states reduce to the same key share one compiled program; the
// rest of the state (matrices, lights, material, texture factor, alpha reference) goes in as
// uniforms.
struct GlShaderKey {
    // Texture stage operation meaning "the channel keeps the diffuse colour".
    static constexpr uint8_t kKeep = 1;

    bool pretransformed = false;  // screen vertices; otherwise transformed by the matrices
    bool lighting = false;        // per-vertex lighting (never for screen vertices)
    bool flatShade = false;       // colours from the first vertex of each triangle
    bool sampleTexture = false;   // the stage reads a bound texture
    bool snapTexel = false;       // point sampling as if snapped to 1/256 of a texel
    bool readsSpecular = false;   // the specular colour is used at all
    bool addSpecular = false;     // specular added after the stage
    uint8_t colorOp = kKeep;      // 2..14, or kKeep
    uint8_t alphaOp = kKeep;
    uint8_t colorArgs[2] = {};  // select (0 diffuse, 2 texture, 3 factor, 4 specular) | 16 | 32
    uint8_t alphaArgs[2] = {};
    uint8_t alphaFunc = 0;  // 1..7, 0 when every fragment passes

    // The source an argument selects, without its complement (16) and alpha (32) bits.
    static constexpr uint8_t Select(uint8_t arg) { return arg & 15; }

    uint64_t Bits() const;
    bool operator==(const GlShaderKey& o) const { return Bits() == o.Bits(); }
};

// The key of a draw with `state`; `textured` says whether a texture is bound and uploaded.
GlShaderKey ShaderKeyFor(const DeviceState& state, bool textured);

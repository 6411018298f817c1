#pragma once
#include <cstdint>

// Little-endian numbers inside binary files (pictures, models), read byte by byte.
inline uint32_t ReadU16(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8;
}

inline uint32_t ReadU32(const uint8_t* p) {
    return ReadU16(p) | ReadU16(p + 2) << 16;
}

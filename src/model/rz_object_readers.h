#pragma once
#include <cstddef>
#include <cstdint>

#include "model/rz_object_reader.h"

class RzContentSink;

// The two variants of the RZ object format, reading the whole file (header included) into the
// sink. False when the sink refused something or the file ended early (sink.error says which).
bool ReadRzAscii(const uint8_t* data, size_t size, RzContentSink& sink);
bool ReadRzBinary(const uint8_t* data, size_t size, RzContentSink& sink);

// Whether a vertex weight is a share of its first bone (0 to 1, with the slack of rounding).
inline bool IsShare(float weight) {
    return weight >= -1e-3f && weight <= 1.0f + 1e-3f;
}

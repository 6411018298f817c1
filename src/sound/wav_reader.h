#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "sound/audio_device.h"

// Reads a RIFF WAVE file held in memory. Every read is bounded by the bytes given; chunk sizes
// are never trusted beyond them.

enum class WaveError {
    kNone,
    kNoRiff,         // not a RIFF file of form "WAVE"
    kNoFormatChunk,  // no "fmt " chunk
    kShortFormat,    // fewer than 18 bytes after the format chunk's header
    kNotPcm,         // neither PCM nor extensible PCM
    kCannotAscend,   // the format chunk runs past the end of the file
    kNoDataChunk,    // no "data" chunk after the format chunk
    kShortData,      // the data chunk runs past the end of the file
};

struct WaveData {
    PcmFormat format;  // always tagged PCM; extensible PCM is reported as PCM
    uint32_t formatChunkSize = 0;
    const uint8_t* samples = nullptr;  // points into the bytes given to ParseWave
    uint32_t size = 0;                 // the data chunk's size
};

WaveError ParseWave(const uint8_t* bytes, size_t size, WaveData& out);

// The error box text of each failure, in Shift-JIS.
const std::string& WaveErrorText(WaveError error);

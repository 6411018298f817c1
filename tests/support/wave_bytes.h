#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Builds RIFF WAVE files byte by byte, so each test states exactly what its file holds.

using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}

inline void Put32(Bytes& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

// A format record of `recordSize` bytes (16, 18 or 40). With 40 the tag should be 0xFFFE and
// `subFormat` the first word of the sub-format (1 PCM, 3 float).
inline Bytes FormatRecord(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                          size_t recordSize = 16, uint16_t subFormat = 1) {
    uint16_t align = uint16_t(channels * ((bits + 7) / 8));
    Bytes b;
    Put16(b, tag);
    Put16(b, channels);
    Put32(b, rate);
    Put32(b, rate * align);
    Put16(b, align);
    Put16(b, bits);
    if (recordSize >= 18) Put16(b, recordSize == 40 ? 22 : 0);
    if (recordSize == 40) {
        Put16(b, bits);
        Put32(b, channels == 1 ? 4 : 3);
        const uint8_t guidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                      0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
        Put16(b, subFormat);
        b.insert(b.end(), guidTail, guidTail + 14);
    }
    return b;
}

struct WaveBuilder {
    Bytes body;  // everything after "WAVE"

    // A chunk; claimedSize replaces the true size in the header (for lying files). An odd
    // payload gets its pad byte unless noPad.
    WaveBuilder& Chunk(const char* id, const Bytes& payload, int64_t claimedSize = -1,
                       bool noPad = false) {
        body.insert(body.end(), id, id + 4);
        Put32(body, claimedSize >= 0 ? uint32_t(claimedSize) : uint32_t(payload.size()));
        body.insert(body.end(), payload.begin(), payload.end());
        if ((payload.size() & 1) && !noPad) body.push_back(0);
        return *this;
    }

    Bytes Build(int64_t riffSize = -1) const {
        Bytes b = {'R', 'I', 'F', 'F'};
        Put32(b, riffSize >= 0 ? uint32_t(riffSize) : uint32_t(body.size() + 4));
        b.insert(b.end(), {'W', 'A', 'V', 'E'});
        b.insert(b.end(), body.begin(), body.end());
        return b;
    }
};

inline Bytes Ramp(size_t n, uint8_t start = 1) {
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) b[i] = uint8_t(start + i);
    return b;
}

// A file of a format record and a data chunk, nothing else.
inline Bytes SimpleWave(const Bytes& format, const Bytes& data) {
    return WaveBuilder().Chunk("fmt ", format).Chunk("data", data).Build();
}

// A plain 16-bit PCM file with the given samples.
inline Bytes PcmWave(uint16_t channels, uint32_t rate, const std::vector<int16_t>& samples) {
    Bytes data;
    for (int16_t s : samples) Put16(data, uint16_t(s));
    return SimpleWave(FormatRecord(1, channels, rate, 16), data);
}

#include "sound/wav_reader.h"

#include <cstring>

#include "base/sjis.h"

namespace {

uint16_t Le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t Le32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

// The sub-format of extensible PCM: {00000001-0000-0010-8000-00AA00389B71}.
constexpr uint8_t kPcmSubFormat[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                       0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

struct Chunk {
    uint64_t dataStart = 0;  // offset of the chunk's first data byte
    uint32_t size = 0;       // as the header claims
};

// Walks sub-chunks from `from` until one named `id`. Chunks are word aligned: an odd size is
// followed by a pad byte. The walk ends where a header no longer fits in the file. The RIFF size
// is not trusted: writers that stream leave it 0 or too large.
bool FindChunk(const uint8_t* bytes, size_t size, uint64_t from, const char* id, Chunk& out) {
    uint64_t pos = from;
    while (pos + 8 <= size) {
        uint32_t chunkSize = Le32(bytes + pos + 4);
        if (std::memcmp(bytes + pos, id, 4) == 0) {
            out.dataStart = pos + 8;
            out.size = chunkSize;
            return true;
        }
        pos += 8 + uint64_t(chunkSize) + (chunkSize & 1);
    }
    return false;
}

}  // namespace

WaveError ParseWave(const uint8_t* bytes, size_t size, WaveData& out) {
    out = WaveData{};
    if (!bytes || size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 ||
        std::memcmp(bytes + 8, "WAVE", 4) != 0)
        return WaveError::kNoRiff;

    // The format chunk is looked for by name: JUNK, bext or LIST chunks may come first.
    Chunk fmt;
    if (!FindChunk(bytes, size, 12, "fmt ", fmt)) return WaveError::kNoFormatChunk;

    // 18 bytes, the extended format record, whatever the chunk says: a plain 16-byte record
    // reads two bytes of what follows, which are ignored.
    if (size - fmt.dataStart < 18) return WaveError::kShortFormat;
    const uint8_t* f = bytes + fmt.dataStart;
    PcmFormat format;
    format.formatTag = Le16(f);
    format.channels = Le16(f + 2);
    format.samplesPerSec = Le32(f + 4);
    format.avgBytesPerSec = Le32(f + 8);
    format.blockAlign = Le16(f + 12);
    format.bitsPerSample = Le16(f + 14);

    if (format.formatTag == WAVE_FORMAT_EXTENSIBLE) {
        // Extensible PCM is ordinary PCM with a longer record; the sub-format sits at 24..40.
        bool pcm = fmt.size >= 40 && size - fmt.dataStart >= 40 &&
                   std::memcmp(f + 24, kPcmSubFormat, sizeof kPcmSubFormat) == 0;
        if (!pcm) return WaveError::kNotPcm;
        format.formatTag = WAVE_FORMAT_PCM;
    }
    if (format.formatTag != WAVE_FORMAT_PCM) return WaveError::kNotPcm;

    uint64_t fmtEnd = fmt.dataStart + fmt.size;
    if (fmtEnd > size) return WaveError::kCannotAscend;
    fmtEnd += fmt.size & 1;

    Chunk data;
    if (!FindChunk(bytes, size, fmtEnd, "data", data)) return WaveError::kNoDataChunk;
    if (data.size > size - data.dataStart) return WaveError::kShortData;

    out.format = format;
    out.formatChunkSize = fmt.size;
    out.samples = bytes + data.dataStart;
    out.size = data.size;
    return WaveError::kNone;
}

const std::string& WaveErrorText(WaveError error) {
    switch (error) {
        case WaveError::kNoRiff:
        case WaveError::kNoFormatChunk:
            return SJIS("ウエイブファイルが見つかりません");
        case WaveError::kShortFormat:
            return SJIS("ウエイブフォーマットを読み込めません");
        case WaveError::kNotPcm:
            return SJIS("不正なウエイブフォーマットです");
        case WaveError::kCannotAscend:
            return SJIS("ウエイブファイルにアクセスできません");
        case WaveError::kNoDataChunk:
            return SJIS("ウエイブファイルにデータがありません");
        case WaveError::kShortData:
            return SJIS("ウエイブデータ読み込みに失敗しました");
        case WaveError::kNone:
            break;
    }
    static const std::string none;
    return none;
}

#include "sound/wav_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "test_support.h"
#include "wave_bytes.h"

namespace {

// Parses from a heap block of exactly the file's size, so AddressSanitizer sees any read past it.
struct Parsed {
    WaveError error;
    WaveData wave;
    Bytes data;  // copy of the samples
};

Parsed Parse(const Bytes& file) {
    std::unique_ptr<uint8_t[]> exact(new uint8_t[file.size() ? file.size() : 1]);
    if (!file.empty()) std::memcpy(exact.get(), file.data(), file.size());
    Parsed p;
    p.error = ParseWave(exact.get(), file.size(), p.wave);
    if (p.error == WaveError::kNone) p.data.assign(p.wave.samples, p.wave.samples + p.wave.size);
    return p;
}

TEST(WavReader, AcceptsTheLayoutsOtherWritersProduce) {
    // The 16-byte record is read as 18 bytes (the extra two are the next chunk's name); tagged
    // files put JUNK/bext/LIST first with pad bytes; streaming writers leave the RIFF size 0 or
    // too large; an extensible record with a PCM sub-format is PCM.
    Bytes fmt16 = FormatRecord(1, 2, 22050, 16, 16);
    struct Case {
        const char* what;
        Bytes file;
        uint16_t blockAlign;
    } cases[] = {
        {"16-byte record", WaveBuilder().Chunk("fmt ", fmt16).Chunk("data", Ramp(8)).Build(), 4},
        {"18-byte record",
         WaveBuilder()
             .Chunk("fmt ", FormatRecord(1, 2, 22050, 16, 18))
             .Chunk("data", Ramp(8))
             .Build(),
         4},
        {"chunks first",
         WaveBuilder()
             .Chunk("JUNK", Bytes(28, 0))
             .Chunk("bext", Ramp(7))
             .Chunk("LIST", Ramp(5, 'a'))
             .Chunk("fmt ", FormatRecord(1, 1, 8000, 8))
             .Chunk("LIST", Ramp(3))
             .Chunk("data", Ramp(8))
             .Build(),
         1},
        {"riff size 0", WaveBuilder().Chunk("fmt ", fmt16).Chunk("data", Ramp(8)).Build(0), 4},
        {"riff size huge",
         WaveBuilder().Chunk("fmt ", fmt16).Chunk("data", Ramp(8)).Build(0xFFFFFFFF), 4},
        {"extensible pcm",
         WaveBuilder()
             .Chunk("fmt ", FormatRecord(0xFFFE, 2, 48000, 24, 40, 1))
             .Chunk("data", Ramp(8))
             .Build(),
         6},
    };
    for (const Case& c : cases) {
        Parsed p = Parse(c.file);
        ASSERT_EQ(p.error, WaveError::kNone) << c.what;
        EXPECT_EQ(p.wave.format.formatTag, WAVE_FORMAT_PCM) << c.what;
        EXPECT_EQ(p.wave.format.blockAlign, c.blockAlign) << c.what;
        EXPECT_EQ(p.data, Ramp(8)) << c.what;
    }
}

TEST(WavReader, RefusesEachBrokenPartWithItsOwnError) {
    Bytes fmt = FormatRecord(1, 1, 11025, 16);
    struct Case {
        const char* what;
        Bytes file;
        WaveError expected;
    } cases[] = {
        {"empty", {}, WaveError::kNoRiff},
        {"not RIFF", Bytes{'R', 'I', 'F', 'X', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}, WaveError::kNoRiff},
        {"not WAVE", Bytes{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '}, WaveError::kNoRiff},
        {"no fmt", WaveBuilder().Chunk("data", Ramp(4)).Build(), WaveError::kNoFormatChunk},
        {"fmt at the very end", WaveBuilder().Chunk("fmt ", fmt).Build(), WaveError::kShortFormat},
        {"float",
         WaveBuilder()
             .Chunk("fmt ", FormatRecord(3, 1, 44100, 32, 18))
             .Chunk("data", Ramp(4))
             .Build(),
         WaveError::kNotPcm},
        {"extensible float",
         WaveBuilder()
             .Chunk("fmt ", FormatRecord(0xFFFE, 1, 44100, 32, 40, 3))
             .Chunk("data", Ramp(8))
             .Build(),
         WaveError::kNotPcm},
        {"extensible without sub-format",
         WaveBuilder()
             .Chunk("fmt ", FormatRecord(0xFFFE, 1, 44100, 16, 18))
             .Chunk("data", Ramp(8))
             .Build(),
         WaveError::kNotPcm},
        {"fmt longer than the file",
         WaveBuilder()
             .Chunk("fmt ", FormatRecord(1, 1, 8000, 8, 18), 5000)
             .Chunk("data", Ramp(4))
             .Build(),
         WaveError::kCannotAscend},
        {"no data", WaveBuilder().Chunk("fmt ", fmt).Chunk("LIST", Ramp(4)).Build(),
         WaveError::kNoDataChunk},
        {"data cut short", WaveBuilder().Chunk("fmt ", fmt).Chunk("data", Ramp(6), 600).Build(),
         WaveError::kShortData},
        {"data of 4 GB",
         WaveBuilder().Chunk("fmt ", fmt).Chunk("data", Ramp(6), 0xFFFFFFFF).Build(),
         WaveError::kShortData},
        {"skipped chunk of 4 GB",
         WaveBuilder()
             .Chunk("fmt ", fmt)
             .Chunk("LIST", Ramp(2), 0xFFFFFFFF)
             .Chunk("data", Ramp(4))
             .Build(),
         WaveError::kNoDataChunk},
    };
    for (const Case& c : cases) EXPECT_EQ(Parse(c.file).error, c.expected) << c.what;
}

TEST(WavReader, EveryTruncationFailsCleanlyOrStaysInsideTheFile) {
    Bytes file = WaveBuilder()
                     .Chunk("JUNK", Ramp(3))
                     .Chunk("fmt ", FormatRecord(0xFFFE, 2, 44100, 16, 40, 1))
                     .Chunk("data", Ramp(40))
                     .Build();
    for (size_t n = 0; n <= file.size(); ++n) {
        Bytes cut(file.begin(), file.begin() + n);
        Parsed p = Parse(cut);
        if (n == file.size()) {
            EXPECT_EQ(p.error, WaveError::kNone);
        }
        if (p.error == WaveError::kNone) {
            EXPECT_EQ(p.data.size(), 40u) << n;
        }
    }
}

}  // namespace

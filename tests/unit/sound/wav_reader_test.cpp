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
    // Tagged files put JUNK/bext/LIST first with pad bytes; streaming writers leave the RIFF
    // size 0 or too large. (The record layouts themselves come with the corpus files.)
    const Bytes fmt16 = FormatRecord(1, 2, 22050, 16, 16);
    const struct {
        const char* what;
        Bytes file;
        uint16_t blockAlign;
    } cases[] = {
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
    };
    for (const auto& c : cases) {
        Parsed p = Parse(c.file);
        ASSERT_EQ(p.error, WaveError::kNone) << c.what;
        EXPECT_EQ(p.wave.format.formatTag, WAVE_FORMAT_PCM) << c.what;
        EXPECT_EQ(p.wave.format.blockAlign, c.blockAlign) << c.what;
        EXPECT_EQ(p.data, Ramp(8)) << c.what;
    }
}

// That no file, cut or whole, is read past its end is the wav-reader fuzz target's.
TEST(WavReader, RefusesEachBrokenPartWithItsOwnError) {
    const Bytes fmt = FormatRecord(1, 1, 11025, 16);
    const auto withData = [&](const Bytes& data, int64_t claimed) {
        return WaveBuilder().Chunk("fmt ", fmt).Chunk("data", data, claimed).Build();
    };
    const struct {
        const char* what;
        Bytes file;
        WaveError expected;
    } cases[] = {
        {"empty", {}, WaveError::kNoRiff},
        {"not RIFF", Bytes{'R', 'I', 'F', 'X', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}, WaveError::kNoRiff},
        {"no fmt", WaveBuilder().Chunk("data", Ramp(4)).Build(), WaveError::kNoFormatChunk},
        {"fmt at the very end", WaveBuilder().Chunk("fmt ", fmt).Build(), WaveError::kShortFormat},
        {"extensible without sub-format",
         SimpleWave(FormatRecord(0xFFFE, 1, 44100, 16, 18), Ramp(8)), WaveError::kNotPcm},
        {"fmt longer than the file",
         WaveBuilder().Chunk("fmt ", FormatRecord(1, 1, 8000, 8, 18), 5000).Build(),
         WaveError::kCannotAscend},
        {"no data", WaveBuilder().Chunk("fmt ", fmt).Chunk("LIST", Ramp(4)).Build(),
         WaveError::kNoDataChunk},
        {"data cut short", withData(Ramp(6), 600), WaveError::kShortData},
        {"data of 4 GB", withData(Ramp(6), 0xFFFFFFFF), WaveError::kShortData},
        {"skipped chunk of 4 GB",
         WaveBuilder()
             .Chunk("fmt ", fmt)
             .Chunk("LIST", Ramp(2), 0xFFFFFFFF)
             .Chunk("data", Ramp(4))
             .Build(),
         WaveError::kNoDataChunk},
    };
    for (const auto& c : cases) EXPECT_EQ(Parse(c.file).error, c.expected) << c.what;
}

}  // namespace

#include "sound/wav_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "app/sjis.h"
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

TEST(WavReader, PlainAndExtendedFormatRecordsLoad) {
    // The 16-byte record is read as 18 bytes: the two extra bytes are the "da" of the next
    // chunk's name, which must neither matter nor stop the data chunk being found.
    for (size_t record : {size_t(16), size_t(18)}) {
        Bytes file = WaveBuilder()
                         .Chunk("fmt ", FormatRecord(1, 2, 22050, 16, record))
                         .Chunk("data", Ramp(8))
                         .Build();
        Parsed p = Parse(file);
        ASSERT_EQ(p.error, WaveError::kNone) << record;
        EXPECT_EQ(p.wave.formatChunkSize, record);
        EXPECT_EQ(p.wave.format.formatTag, 1);
        EXPECT_EQ(p.wave.format.channels, 2);
        EXPECT_EQ(p.wave.format.samplesPerSec, 22050u);
        EXPECT_EQ(p.wave.format.avgBytesPerSec, 22050u * 4);
        EXPECT_EQ(p.wave.format.blockAlign, 4);
        EXPECT_EQ(p.wave.format.bitsPerSample, 16);
        EXPECT_EQ(p.data, Ramp(8));
    }
}

TEST(WavReader, FormatChunkIsFoundBehindOtherChunks) {
    // Broadcast and tagged files put JUNK, bext or LIST first; an odd-sized chunk has a pad byte.
    Bytes file = WaveBuilder()
                     .Chunk("JUNK", Bytes(28, 0))
                     .Chunk("bext", Ramp(7))
                     .Chunk("LIST", Ramp(5, 'a'))
                     .Chunk("fmt ", FormatRecord(1, 1, 8000, 8))
                     .Chunk("LIST", Ramp(3))
                     .Chunk("data", Ramp(5))
                     .Build();
    Parsed p = Parse(file);
    ASSERT_EQ(p.error, WaveError::kNone);
    EXPECT_EQ(p.wave.format.samplesPerSec, 8000u);
    EXPECT_EQ(p.data, Ramp(5));
}

TEST(WavReader, ExtensibleRecordCountsAsPcmOnlyWithPcmSubFormat) {
    Bytes pcm = WaveBuilder()
                    .Chunk("fmt ", FormatRecord(0xFFFE, 2, 48000, 24, 40, 1))
                    .Chunk("data", Ramp(12))
                    .Build();
    Parsed p = Parse(pcm);
    ASSERT_EQ(p.error, WaveError::kNone);
    EXPECT_EQ(p.wave.format.formatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(p.wave.format.bitsPerSample, 24);
    EXPECT_EQ(p.wave.format.blockAlign, 6);

    Bytes floats = WaveBuilder()
                       .Chunk("fmt ", FormatRecord(0xFFFE, 1, 44100, 32, 40, 3))
                       .Chunk("data", Ramp(8))
                       .Build();
    EXPECT_EQ(Parse(floats).error, WaveError::kNotPcm);

    // An extensible tag without room for the sub-format cannot be told PCM.
    Bytes cut = WaveBuilder()
                    .Chunk("fmt ", FormatRecord(0xFFFE, 1, 44100, 16, 18))
                    .Chunk("data", Ramp(8))
                    .Build();
    EXPECT_EQ(Parse(cut).error, WaveError::kNotPcm);
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

TEST(WavReader, RiffSizeIsNotTrusted) {
    // Streaming writers leave the RIFF size 0 or too large; the chunks inside still count.
    WaveBuilder w;
    w.Chunk("fmt ", FormatRecord(1, 1, 11025, 8, 18)).Chunk("data", Ramp(4));
    for (int64_t riff : {int64_t(0), int64_t(16478), int64_t(0xFFFFFFFF)}) {
        Parsed p = Parse(w.Build(riff));
        ASSERT_EQ(p.error, WaveError::kNone) << riff;
        EXPECT_EQ(p.data, Ramp(4));
    }
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

class WavReaderText : public HeadlessHostTest {};

TEST_F(WavReaderText, MessagesAreTheGameTexts) {
    EXPECT_EQ(ToUtf8(WaveErrorText(WaveError::kNoRiff)), "ウエイブファイルが見つかりません");
    EXPECT_EQ(ToUtf8(WaveErrorText(WaveError::kNoFormatChunk)), "ウエイブファイルが見つかりません");
    EXPECT_EQ(ToUtf8(WaveErrorText(WaveError::kShortFormat)),
              "ウエイブフォーマットを読み込めません");
    EXPECT_EQ(ToUtf8(WaveErrorText(WaveError::kNotPcm)), "不正なウエイブフォーマットです");
    EXPECT_EQ(ToUtf8(WaveErrorText(WaveError::kCannotAscend)),
              "ウエイブファイルにアクセスできません");
    EXPECT_EQ(ToUtf8(WaveErrorText(WaveError::kNoDataChunk)),
              "ウエイブファイルにデータがありません");
    EXPECT_EQ(ToUtf8(WaveErrorText(WaveError::kShortData)), "ウエイブデータ読み込みに失敗しました");
}

}  // namespace

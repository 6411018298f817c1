#include <gtest/gtest.h>
#include <sndfile.h>

#include "sound/bgm_list.h"
#include "sound/music_stream.h"
#include "sound_fixture.h"

namespace {

TEST(BgmList, ReadsEntriesDefaultsAndCommentsAndComparesDoubleByteNamesExactly) {
    BgmList list = ParseBgmList(
        "# music of the demo\n"
        "btl0  battle.ogg  44100 2646000\r\n"
        "field1\tfield1.flac   # loops whole\n"
        "\n"
        "win win.wav -1\n"
        "intro intro.ogg 500\n"
        "\x83\x41 a.ogg\n");
    ASSERT_EQ(list.entries.size(), 5u);
    EXPECT_TRUE(list.badLines.empty());
    ASSERT_NE(FindBgm(list, "BTL0"), nullptr);
    EXPECT_EQ(FindBgm(list, "BTL0")->loopEnd, 2646000);
    EXPECT_TRUE(FindBgm(list, "field1")->loop);
    EXPECT_FALSE(FindBgm(list, "win")->loop);
    // "ア" is 0x83 0x41 and "ャ" 0x83 0x61 in Shift-JIS: the second bytes differ only in the
    // ASCII case bit and must not be taken as the same name.
    EXPECT_NE(FindBgm(list, "\x83\x41"), nullptr);
    EXPECT_EQ(FindBgm(list, "\x83\x61"), nullptr);
}

TEST(BgmList, SkipsLinesItCannotReadAndNamesThem) {
    BgmList list = ParseBgmList(
        "lonely\n"                                 // 1: no file
        "a a.ogg x\n"                              // 2: not a number
        "b b.ogg 10 5\n"                           // 3: end before start
        "c c.ogg -2\n"                             // 4
        "d d.ogg 1 2 3\n"                          // 5: too many
        "e e.ogg 10 20\n"                          // 6: fine
        + std::string(200, 'n') + " long.ogg\n");  // 7: name too long
    EXPECT_EQ(list.badLines, (std::vector<int>{1, 2, 3, 4, 5, 7}));
    ASSERT_EQ(list.entries.size(), 1u);
    EXPECT_EQ(list.entries[0].name, "e");
    std::string many;
    for (int i = 0; i < 300; ++i) many += "m" + std::to_string(i) + " f.ogg\n";
    BgmList big = ParseBgmList(many);
    EXPECT_EQ(big.entries.size(), kMaxBgmEntries);
    EXPECT_EQ(big.badLines.size(), 300 - kMaxBgmEntries);
}

// Writes a track whose sample at frame i of channel c is i + 1000 c (wrapped to 16 bits).
void WriteTrack(const std::string& path, int format, int channels, int rate, int frames) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(f, nullptr) << sf_strerror(nullptr);
    std::vector<int16_t> s(size_t(frames) * channels);
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c) s[size_t(i) * channels + c] = int16_t(i + 1000 * c);
    sf_writef_short(f, s.data(), frames);
    sf_close(f);
}

int16_t SampleAt(const Bytes& b, size_t frame, int channels, int c) {
    size_t at = (frame * channels + c) * 2;
    return int16_t(b[at] | (b[at + 1] << 8));
}

class BgmTest : public SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        Write("BGM/BGMData.qd",
              "btl0 battle.wav 1000 3000\n"
              "win WIN.WAV -1\n"
              "field field.flac\n"
              "quad quad.wav 0 100\n"
              "gone missing.ogg\n"
              "late battle.wav 7000\n"
              "over battle.wav 100 9000\n");
        std::string bgm = dataDir + "/BGM/";
        WriteTrack(bgm + "battle.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 8000, 5000);
        WriteTrack(bgm + "WIN.WAV", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 8000, 600);
        WriteTrack(bgm + "field.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 2, 22050, 30000);
        WriteTrack(bgm + "quad.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 4, 8000, 400);
        ClearPathCache();
    }
    NullSoundBuffer* Music() { return static_cast<NullSoundBuffer*>(g_BgmBuffer); }
    void FeedAll() {
        for (int i = 0; i < 100; ++i) UpdateBgmLoop();
    }
};

TEST_F(BgmTest, TrackLoopsBetweenItsPointsWithTheLoopStartCopiedAfterItsEnd) {
    PlayBgm("btl0");
    ASSERT_NE(g_BgmBuffer, nullptr);
    EXPECT_EQ(g_BgmLoopStart, 2000u);  // frame 1000 of 2-byte frames
    EXPECT_TRUE(Music()->Looping());
    FeedAll();
    const Bytes& s = Music()->Samples();
    ASSERT_EQ(s.size(), 10000u);
    EXPECT_EQ(SampleAt(s, 0, 1, 0), 0);
    EXPECT_EQ(SampleAt(s, 3000, 1, 0), 1000);  // past the loop end: the loop's start again
    EXPECT_EQ(SampleAt(s, 4999, 1, 0), 2999);
    EXPECT_TRUE(g_MessageBoxLog.empty());
}

TEST_F(BgmTest, SameNameKeepsPlayingAnotherNameReplacesIt) {
    PlayBgm("btl0");
    ISoundBuffer* first = g_BgmBuffer;
    Music()->Advance(1234);
    PlayBgm("BTL0");
    PlayBgm("btl0");
    EXPECT_EQ(g_BgmBuffer, first);
    EXPECT_EQ(Music()->playCount, 1);
    PlayBgm("win");
    EXPECT_EQ(NullSoundBuffer::liveCount, 1);
    // A track that plays once is not looped and may be started again after it ended.
    EXPECT_FALSE(Music()->Looping());
    Music()->Advance(600 * 4);
    EXPECT_FALSE(Music()->IsPlaying());
    PlayBgm("win");
    EXPECT_TRUE(Music()->IsPlaying());
    // An empty name is silence.
    PlayBgm("");
    EXPECT_EQ(g_BgmBuffer, nullptr);
    EXPECT_EQ(NullSoundBuffer::liveCount, 0);
}

TEST_F(BgmTest, FlacAndManyChannelTracksDecodeToStereo) {
    PlayBgm("field");
    ASSERT_NE(g_BgmBuffer, nullptr);
    FeedAll();
    const SoundBufferDesc& d = Music()->Desc();
    EXPECT_EQ(d.format.channels, 2);
    // Whole-track loop: 30000 frames, then one second of the start again.
    EXPECT_EQ(g_BgmLoopEnd, 30000u * 4);
    ASSERT_EQ(Music()->Samples().size(), (30000u + 22050u) * 4);
    EXPECT_EQ(SampleAt(Music()->Samples(), 30005, 2, 0), 5);

    PlayBgm("quad");
    ASSERT_NE(g_BgmBuffer, nullptr);
    FeedAll();
    EXPECT_EQ(Music()->Desc().format.channels, 2);
    EXPECT_EQ(SampleAt(Music()->Samples(), 7, 2, 1), 1007);
    // A loop shorter than the copy's second: the copy is one loop long.
    EXPECT_EQ(Music()->Samples().size(), 200u * 4);
}

TEST_F(BgmTest, MissingListShowsItsMessageOnceMissingTracksAreOnlyLogged) {
    testing::internal::CaptureStderr();
    PlayBgm("gone");
    PlayBgm("nosuchname");
    std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(g_BgmBuffer, nullptr);
    EXPECT_TRUE(g_MessageBoxLog.empty());
    EXPECT_NE(log.find("nosuchname"), std::string::npos);

    std::filesystem::remove(dataDir + "/BGM/BGMData.qd");
    ResetBgm();
    ClearPathCache();
    PlayBgm("btl0");
    PlayBgm("win");
    ASSERT_EQ(g_MessageBoxLog.size(), 1u);
    EXPECT_EQ(g_MessageBoxLog[0].text, "Error to load BGMData!");
}

TEST_F(BgmTest, LoopPointsPastTheTrackAreNamedAtTheirLineAndPlayedAsTheTrackAllows) {
    testing::internal::CaptureStderr();
    PlayBgm("late");
    ASSERT_NE(g_BgmBuffer, nullptr);
    EXPECT_EQ(g_BgmLoopStart, 0u);
    PlayBgm("over");
    ASSERT_NE(g_BgmBuffer, nullptr);
    EXPECT_EQ(g_BgmLoopEnd, 5000u * 2);
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(
        log.find("BGMData.qd:6: music: \"late\" (battle.wav): its loop start 7000 is not before "
                 "the loop's end (5000)"),
        std::string::npos)
        << log;
    EXPECT_NE(log.find("BGMData.qd:7: music: \"over\" (battle.wav): its loop end 9000 lies past"),
              std::string::npos)
        << log;
}

TEST_F(BgmTest, ScriptVolumeAndFrequencyActOnlyOnMusicThatExists) {
    ChangeBgmBuffer(0, '=', -500);  // nothing to change, nothing happens
    EXPECT_EQ(GetBgmVolume(), 0);
    PlayBgm("btl0");
    ChangeBgmBuffer(0, '=', -500);
    ChangeBgmBuffer(0, '+', -300);
    EXPECT_EQ(GetBgmVolume(), -800);
    ChangeBgmBuffer(0, '+', -20000);  // a fade that overshoots stops at silence
    EXPECT_EQ(GetBgmVolume(), DSBVOLUME_MIN);

    uint32_t hz = 0;
    ChangeBgmBuffer(1, '+', 4000);
    g_BgmBuffer->GetFrequency(&hz);
    EXPECT_NEAR(Music()->Pitch(), 1.5f, 1e-6);
    ChangeBgmBuffer(1, '+', -100000);  // never below the lowest rate, never "original" by accident
    g_BgmBuffer->GetFrequency(&hz);
    EXPECT_EQ(hz, DSBFREQUENCY_MIN);
    ChangeBgmBuffer(1, '=', 0);
    g_BgmBuffer->GetFrequency(&hz);
    EXPECT_EQ(hz, 8000u);
}

TEST(MusicStream, OggVorbisDecodesToTheLengthItAnnounces) {
    std::string dir = MakeTempDir("ogg");
    std::string path = dir + "/t.ogg";
    WriteTrack(path, SF_FORMAT_OGG | SF_FORMAT_VORBIS, 2, 44100, 44100);
    MusicStream s;
    std::string error;
    ASSERT_TRUE(s.Open(path, false, 0, 0, &error)) << error;
    std::vector<uint8_t> out;
    while (!s.Done()) s.Decode(10000, out);
    EXPECT_EQ(out.size(), s.TotalBytes());
    EXPECT_EQ(s.TotalBytes(), 44100u * 4);
    EXPECT_FALSE(s.Open(dir + "/none.ogg", true, 0, 0, &error));
    EXPECT_FALSE(error.empty());
    std::filesystem::remove_all(dir);
}

}  // namespace

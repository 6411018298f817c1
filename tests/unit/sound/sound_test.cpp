#include <gtest/gtest.h>

#include <filesystem>

#include "sound_fixture.h"

namespace fs = std::filesystem;

namespace {

std::string LastText() {
    return g_MessageBoxLog.empty() ? "" : g_MessageBoxLog.back().text;
}
std::string LastCaption() {
    return g_MessageBoxLog.empty() ? "" : g_MessageBoxLog.back().caption;
}

Bytes Tone(size_t samples, int16_t base = 100) {
    std::vector<int16_t> s(samples);
    for (size_t i = 0; i < samples; ++i) s[i] = int16_t(base + i);
    return PcmWave(1, 22050, s);
}

TEST_F(SoundTest, LoadedSamplesPlayFromTheStartOnceEvenWhilePlaying) {
    Write("SE/c0.wav", Tone(50));
    ASSERT_TRUE(LoadWaveSound(&g_SeSlots[0], "SE\\c0.wav"));
    NullSoundBuffer* b = Null(g_SeSlots[0]);
    const Bytes& s = b->Samples();
    ASSERT_EQ(s.size(), 100u);
    EXPECT_EQ(s[98] | (s[99] << 8), 149);
    PlaySound(b);
    b->Advance(60);
    uint32_t pos = 0;
    b->GetCurrentPosition(&pos, nullptr);
    EXPECT_EQ(pos, 60u);
    PlaySound(b);
    b->GetCurrentPosition(&pos, nullptr);
    EXPECT_EQ(pos, 0u);
    EXPECT_TRUE(b->IsPlaying());
    EXPECT_FALSE(b->Looping());
    b->Advance(100);  // plays out once and stops
    EXPECT_FALSE(b->IsPlaying());
    PlaySound(nullptr);  // an empty slot is harmless
}

TEST_F(SoundTest, ReloadingASlotFreesTheOldSoundAndAFailedLoadKeepsIt) {
    Write("SE/a.wav", Tone(10, 1));
    Write("SE/b.wav", Tone(20, 2));
    ASSERT_TRUE(LoadWaveSound(&g_SeSlots[3], "SE\\a.wav"));
    ASSERT_TRUE(LoadWaveSound(&g_SeSlots[3], "SE\\b.wav"));
    EXPECT_EQ(NullSoundBuffer::liveCount, 1);
    EXPECT_EQ(g_SeSlots[3]->Desc().bufferBytes, 40u);
    EXPECT_FALSE(LoadWaveSound(&g_SeSlots[3], "SE\\missing.wav"));
    EXPECT_EQ(NullSoundBuffer::liveCount, 1);
    EXPECT_EQ(g_SeSlots[3]->Desc().bufferBytes, 40u);
    ReleaseSoundBuffer(&g_SeSlots[3]);
    EXPECT_EQ(g_SeSlots[3], nullptr);
    EXPECT_EQ(NullSoundBuffer::liveCount, 0);
}

TEST_F(SoundTest, FailuresShowTheirBoxes) {
    EXPECT_FALSE(LoadWaveSound(&g_SeSlots[0], "SE\\nothere.wav"));
    EXPECT_EQ(LastCaption(), "Error");
    EXPECT_EQ(LastText(), "ファイルオープンに失敗しました");

    Write("SE/float.wav", WaveBuilder()
                              .Chunk("fmt ", FormatRecord(3, 1, 44100, 32, 18))
                              .Chunk("data", Ramp(8))
                              .Build());
    EXPECT_FALSE(LoadWaveSound(&g_SeSlots[0], "SE\\float.wav"));
    EXPECT_EQ(LastCaption(), "エラー発生");
    EXPECT_EQ(LastText(), "不正なウエイブフォーマットです");

    // PCM by its tag but nothing a device can play: no channels; and an empty data chunk.
    Write(
        "SE/none.wav",
        WaveBuilder().Chunk("fmt ", FormatRecord(1, 0, 44100, 16)).Chunk("data", Ramp(8)).Build());
    Write("SE/empty.wav",
          WaveBuilder().Chunk("fmt ", FormatRecord(1, 1, 44100, 16)).Chunk("data", {}).Build());
    for (const char* name : {"SE\\none.wav", "SE\\empty.wav"}) {
        EXPECT_FALSE(LoadWaveSound(&g_SeSlots[0], name));
        EXPECT_EQ(LastCaption(), "エラー発生");
        EXPECT_EQ(LastText(), "サウンドバッファの生成に失敗しました") << name;
    }
    EXPECT_EQ(g_SeSlots[0], nullptr);
    EXPECT_EQ(g_MessageBoxLog.size(), 4u);
}

TEST_F(SoundTest, CurrentDirectoryComesFirstThenTheExecutablesDirectory) {
    Write("SE/c1.wav", Tone(10, 1));
    ASSERT_TRUE(LoadWaveSound(&g_SeSlots[1], "se\\C1.WAV"));  // found beside the executable
    EXPECT_EQ(g_SeSlots[1]->Desc().bufferBytes, 20u);

    std::string other = MakeTempDir("cwd");
    fs::create_directories(fs::path(other) / "SE");
    Bytes near = Tone(30, 7);
    std::ofstream(fs::path(other) / "SE" / "c1.wav", std::ios::binary)
        .write(reinterpret_cast<const char*>(near.data()), std::streamsize(near.size()));
    fs::path saved = fs::current_path();
    fs::current_path(other);
    ClearPathCache();
    bool ok = LoadWaveSound(&g_SeSlots[1], "SE\\c1.wav");
    fs::current_path(saved);
    fs::remove_all(other);
    ASSERT_TRUE(ok);
    EXPECT_EQ(g_SeSlots[1]->Desc().bufferBytes, 60u);
}

TEST_F(SoundTest, ReleaseFreesEverythingAndLeavesNoDevice) {
    Write("SE/c0.wav", Tone(10));
    for (int i = 0; i < kSeSlotCount; ++i) ASSERT_TRUE(LoadWaveSound(&g_SeSlots[i], "SE\\c0.wav"));
    EXPECT_EQ(NullSoundBuffer::liveCount, kSeSlotCount);
    ReleaseSound();
    EXPECT_EQ(NullSoundBuffer::liveCount, 0);
    EXPECT_EQ(g_pDS, nullptr);
    for (ISoundBuffer* slot : g_SeSlots) EXPECT_EQ(slot, nullptr);
    // Without a device nothing loads, and nothing crashes.
    EXPECT_FALSE(LoadWaveSound(&g_SeSlots[0], "SE\\c0.wav"));
    EXPECT_EQ(LastText(), "サウンドバッファの生成に失敗しました");
    UpdateBgmLoop();
    PlayBgm("btl0");
}

TEST_F(SoundTest, StartUpFailuresAndTheSilentFallback) {
    ReleaseSound();
    backend.result = AudioOpenResult::kFailed;
    EXPECT_FALSE(InitSound(&window));
    EXPECT_EQ(LastCaption(), "エラー発生");
    EXPECT_EQ(LastText(), "DirectSoundが生成できませんDirectSoundの使用が不可能です");
    EXPECT_EQ(g_pDS, nullptr);

    backend.result = AudioOpenResult::kOk;
    backend.failCooperativeLevel = true;
    EXPECT_FALSE(InitSound(&window));
    EXPECT_EQ(LastText(), "DirectSoundの協調に失敗しました");
    EXPECT_EQ(g_pDS, nullptr);

    // No device: no box, the game goes on silent and sounds still load.
    g_MessageBoxLog.clear();
    backend.failCooperativeLevel = false;
    backend.result = AudioOpenResult::kNoDevice;
    testing::internal::CaptureStderr();
    EXPECT_TRUE(InitSound(&window));
    std::string log = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(g_SoundSilent);
    EXPECT_TRUE(g_MessageBoxLog.empty());
    EXPECT_NE(log.find("silent"), std::string::npos);
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1);
    Write("SE/c0.wav", Tone(10));
    EXPECT_TRUE(LoadWaveSound(&g_SeSlots[0], "SE\\c0.wav"));
}

// The music loop on a buffer whose position the test sets.
class BgmLoopTest : public SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        SoundBufferDesc d;
        d.bufferBytes = 10000;
        d.format = PcmFormat{1, 1, 8000, 8000, 1, 8};
        Bytes silence(10000, 0x80);
        g_BgmBuffer = g_pDS->CreateSoundBuffer(d, silence.data(), silence.size());
        ASSERT_NE(g_BgmBuffer, nullptr);
        g_BgmBuffer->Play(0, DSBPLAY_LOOPING);
        g_BgmLoopStart = 1000;
        g_BgmLoopEnd = 5000;
        g_BgmLoopOn = 1;
    }
    uint32_t After(uint32_t position) {
        g_BgmBuffer->SetCurrentPosition(position);
        UpdateBgmLoop();
        uint32_t pos = 0;
        g_BgmBuffer->GetCurrentPosition(&pos, nullptr);
        return pos;
    }
};

TEST_F(BgmLoopTest, OvershootCarriesOverToTheLoopStart) {
    EXPECT_EQ(After(5100), 1100u);
    EXPECT_EQ(After(5000), 5000u);  // exactly at the end stays
    EXPECT_EQ(After(4999), 4999u);
    EXPECT_EQ(After(500), 500u);  // the intro before the loop is left alone
    // A stall longer than the whole loop lands where the loop would have been.
    EXPECT_EQ(After(5000 + 4000 + 300), 1300u);
    g_BgmLoopOn = 0;
    EXPECT_EQ(After(5100), 5100u);
}

}  // namespace

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "sound_fixture.h"

namespace fs = std::filesystem;

namespace {

std::string LastText() {
    return g_MessageBoxLog.empty() ? "" : g_MessageBoxLog.back().text;
}

Bytes Tone(size_t samples, int16_t base = 100) {
    std::vector<int16_t> s(samples);
    for (size_t i = 0; i < samples; ++i) s[i] = int16_t(base + i);
    return PcmWave(1, 22050, s);
}

TEST_F(SoundTest, SamplesPlayFromTheStartOnceAndReloadingFreesTheOldSound) {
    Write("SE/a.wav", Tone(50));
    Write("SE/b.wav", Tone(20, 2));
    ASSERT_TRUE(LoadWaveSound(&g_SeSlots[3], "SE\\a.wav"));
    NullSoundBuffer* b = Null(g_SeSlots[3]);
    ASSERT_EQ(b->Samples().size(), 100u);
    EXPECT_EQ(b->Samples()[98] | (b->Samples()[99] << 8), 149);
    PlaySound(b);
    b->Advance(60);
    PlaySound(b);  // again while playing: from the start
    uint32_t pos = 1;
    b->GetCurrentPosition(&pos, nullptr);
    EXPECT_EQ(pos, 0u);
    b->Advance(100);  // plays out once and stops
    EXPECT_FALSE(b->IsPlaying());
    PlaySound(nullptr);  // an empty slot is harmless

    ASSERT_TRUE(LoadWaveSound(&g_SeSlots[3], "SE\\b.wav"));
    EXPECT_FALSE(LoadWaveSound(&g_SeSlots[3], "SE\\missing.wav"));  // keeps what it had
    EXPECT_EQ(NullSoundBuffer::liveCount, 1);
    EXPECT_EQ(g_SeSlots[3]->Desc().bufferBytes, 40u);
    ReleaseSoundBuffer(&g_SeSlots[3]);
    EXPECT_EQ(g_SeSlots[3], nullptr);
    EXPECT_EQ(NullSoundBuffer::liveCount, 0);
}

TEST_F(SoundTest, ThePlayersVolumesScaleTheGamesAndReachNewSounds) {
    Write("SE/a.wav", Tone(50));
    ASSERT_TRUE(LoadWaveSound(&g_SeSlots[1], "SE\\a.wav"));
    g_SeSlots[1]->SetVolume(-600);  // the game's own: about half
    SetPlayerVolumes(100, 50);
    EXPECT_NEAR(Null(g_SeSlots[1])->Gain(), 0.501f * 0.25f, 1e-3);
    int32_t volume = 0;
    g_SeSlots[1]->GetVolume(&volume);
    EXPECT_EQ(volume, -600);  // what the game reads stays what it set
    ASSERT_TRUE(LoadWaveSound(&g_SeSlots[2], "SE\\a.wav"));
    EXPECT_FLOAT_EQ(Null(g_SeSlots[2])->Gain(), 0.25f);
    SetPlayerVolumes(100, 0);
    EXPECT_FLOAT_EQ(Null(g_SeSlots[2])->Gain(), 0.0f);
    SetPlayerVolumes(100, 100);
    EXPECT_FLOAT_EQ(Null(g_SeSlots[2])->Gain(), 1.0f);
    EXPECT_FLOAT_EQ(PlayerGain(150), 1.0f);
    ReleaseSoundBuffer(&g_SeSlots[1]);
    ReleaseSoundBuffer(&g_SeSlots[2]);
}

TEST_F(SoundTest, FailuresShowTheirBoxes) {
    // PCM by its tag but nothing a device can play: no channels; and an empty data chunk.
    Write("SE/none.wav", SimpleWave(FormatRecord(1, 0, 44100, 16), Ramp(8)));
    Write("SE/empty.wav", SimpleWave(FormatRecord(1, 1, 44100, 16), {}));
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"SE\\nothere.wav", "Error", "ファイルオープンに失敗しました"},
        {"SE\\none.wav", "エラー発生", "サウンドバッファの生成に失敗しました"},
        {"SE\\empty.wav", "エラー発生", "サウンドバッファの生成に失敗しました"},
    };
    for (auto [name, caption, text] : cases) {
        g_MessageBoxLog.clear();
        EXPECT_FALSE(LoadWaveSound(&g_SeSlots[0], name));
        ASSERT_EQ(g_MessageBoxLog.size(), 1u) << name;
        EXPECT_EQ(g_MessageBoxLog[0].caption, caption);
        EXPECT_EQ(g_MessageBoxLog[0].text, text);
        EXPECT_EQ(g_SeSlots[0], nullptr);
    }
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

TEST_F(SoundTest, StartUpFailuresTheSilentFallbackAndReleaseLeaveNothingBehind) {
    Write("SE/c0.wav", Tone(10));
    for (int i = 0; i < kSeSlotCount; ++i) ASSERT_TRUE(LoadWaveSound(&g_SeSlots[i], "SE\\c0.wav"));
    ReleaseSound();
    EXPECT_EQ(NullSoundBuffer::liveCount, 0);

    // Without a device nothing loads, and nothing crashes.
    EXPECT_FALSE(LoadWaveSound(&g_SeSlots[0], "SE\\c0.wav"));
    EXPECT_EQ(LastText(), "サウンドバッファの生成に失敗しました");
    UpdateBgmLoop();
    PlayBgm("btl0");

    backend.result = AudioOpenResult::kFailed;
    EXPECT_FALSE(InitSound(&window));
    EXPECT_EQ(LastText(), "DirectSoundが生成できませんDirectSoundの使用が不可能です");

    // No device: no box, one line on the log, the game goes on silent and sounds still load.
    g_MessageBoxLog.clear();
    backend.result = AudioOpenResult::kNoDevice;
    testing::internal::CaptureStderr();
    EXPECT_TRUE(InitSound(&window));
    std::string log = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(g_SoundSilent);
    EXPECT_TRUE(g_MessageBoxLog.empty());
    EXPECT_NE(log.find("silent"), std::string::npos);
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
    EXPECT_EQ(After(500), 500u);    // the intro before the loop is left alone
    // A stall longer than the whole loop lands where the loop would have been.
    EXPECT_EQ(After(5000 + 4000 + 300), 1300u);
    g_BgmLoopOn = 0;
    EXPECT_EQ(After(5100), 5100u);
}

}  // namespace

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/openal_audio.h"
#include "sound/audio_device.h"

namespace {

using namespace std::chrono_literals;

// The OpenAL backend on OpenAL Soft's null output (ALSOFT_DRIVERS=null): it mixes in real time,
// so positions move with the clock.
class OpenAlBuffers : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("ALSOFT_DRIVERS", "null", 0);
        std::string detail;
        ASSERT_EQ(backend.Open(&device, &detail), AudioOpenResult::kOk) << detail;
    }
    void TearDown() override {
        for (ISoundBuffer* b : made) b->Release();
        if (device) device->Release();
    }
    // A 16-bit mono buffer of `ms` milliseconds at 22050 Hz, filled with `fillMs` of it.
    ISoundBuffer* Make(int ms, int fillMs = -1) {
        SoundBufferDesc d;
        d.flags = 0xE0;
        d.format = PcmFormat{1, 1, 22050, 44100, 2, 16};
        d.bufferBytes = uint32_t(22050 * ms / 1000 * 2);
        samples.assign(d.bufferBytes, 0);
        size_t fill = fillMs < 0 ? d.bufferBytes : size_t(22050 * fillMs / 1000 * 2);
        ISoundBuffer* b = device->CreateSoundBuffer(d, samples.data(), fill);
        if (b) made.push_back(b);
        return b;
    }
    static uint32_t Pos(ISoundBuffer* b) {
        uint32_t p = 0;
        b->GetCurrentPosition(&p, nullptr);
        return p;
    }

    OpenAlBackend backend;
    IAudioDevice* device = nullptr;
    std::vector<ISoundBuffer*> made;
    std::vector<uint8_t> samples;
};

TEST_F(OpenAlBuffers, PositionsMoveWhilePlayingAndSurviveStopsAndTheEnd) {
    ISoundBuffer* b = Make(2000);
    ISoundBuffer* once = Make(50);
    ISoundBuffer* loop = Make(50);
    ASSERT_TRUE(b && once && loop);
    b->Play(0, 0);
    once->Play(0, 0);
    loop->Play(0, DSBPLAY_LOOPING);
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(b->IsPlaying());
    b->Stop();
    const uint32_t stopped = Pos(b);
    EXPECT_GT(stopped, 22050u * 2 / 10);  // well past 100 ms
    EXPECT_LT(stopped, 22050u * 2);       // and not past a second
    // A one-shot has ended at its start; a loop wraps and keeps playing.
    EXPECT_FALSE(once->IsPlaying());
    EXPECT_EQ(Pos(once), 0u);
    EXPECT_TRUE(loop->IsPlaying());
    EXPECT_LT(Pos(loop), loop->FilledBytes());

    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(Pos(b), stopped);
    // Rewind while stopped and play again: it starts from the new position (whole frames).
    ASSERT_TRUE(b->SetCurrentPosition(1001));
    EXPECT_EQ(Pos(b), 1000u);
    b->Play(0, 0);
    EXPECT_LT(Pos(b), stopped);
}

TEST_F(OpenAlBuffers, AppendedPiecesPlayOnAndPositionsReachIntoThem) {
    ISoundBuffer* b = Make(1000, 250);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->FilledBytes(), 11024u);
    std::vector<uint8_t> piece(22050, 0);
    EXPECT_TRUE(b->AppendData(piece.data(), piece.size()));
    EXPECT_FALSE(b->AppendData(piece.data(), piece.size()));  // past the size it was made with
    EXPECT_TRUE(b->AppendData(piece.data(), 44100 - 11024 - 22050));
    EXPECT_EQ(b->FilledBytes(), 44100u);
    ASSERT_TRUE(b->SetCurrentPosition(30000));
    b->Play(0, 0);
    std::this_thread::sleep_for(50ms);
    uint32_t p = Pos(b);
    EXPECT_GE(p, 30000u);
    EXPECT_LT(p, 44100u);
}

TEST_F(OpenAlBuffers, RefusesFormatsItCannotPlayAndClampsControls) {
    SoundBufferDesc d;
    d.format = PcmFormat{1, 6, 48000, 48000 * 12, 12, 16};  // six channels
    d.bufferBytes = 120;
    std::vector<uint8_t> data(120);
    EXPECT_EQ(device->CreateSoundBuffer(d, data.data(), data.size()), nullptr);
    d.format = PcmFormat{1, 2, 48000, 48000 * 6, 6, 24};  // 24-bit is converted on the way in
    ISoundBuffer* b = device->CreateSoundBuffer(d, data.data(), data.size());
    ASSERT_NE(b, nullptr);
    made.push_back(b);
    int32_t v = 0;
    b->SetVolume(-20000);
    b->GetVolume(&v);
    EXPECT_EQ(v, DSBVOLUME_MIN);
    b->SetPan(99999);
    b->GetPan(&v);
    EXPECT_EQ(v, DSBPAN_RIGHT);
    uint32_t hz = 0;
    b->SetFrequency(DSBFREQUENCY_ORIGINAL);
    b->GetFrequency(&hz);
    EXPECT_EQ(hz, 48000u);
}

}  // namespace

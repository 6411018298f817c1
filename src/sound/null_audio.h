#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "sound/audio_device.h"

// A silent device for tests, headless runs and machines without sound. Buffers keep their
// samples and a play position that moves only when Advance is called, so tests can step it.

class NullSoundBuffer : public BasicSoundBuffer {
public:
    NullSoundBuffer(const SoundBufferDesc& desc, const uint8_t* data, size_t size);
    ~NullSoundBuffer() override;

    bool Play(uint32_t priority, uint32_t flags) override;
    bool Stop() override;
    bool SetCurrentPosition(uint32_t bytes) override;
    bool GetCurrentPosition(uint32_t* playBytes, uint32_t* writeBytes) override;
    bool IsPlaying() override { return playing_; }
    bool AppendData(const uint8_t* data, size_t size) override;
    void Release() override { delete this; }

    // Plays `bytes` further: wraps when looping, stops at the end (position back to 0) when not.
    void Advance(uint32_t bytes);
    const std::vector<uint8_t>& Samples() const { return samples_; }
    bool Looping() const { return looping_; }
    float Gain() const { return gain_; }
    float PanPosition() const { return panPos_; }
    float Pitch() const { return pitch_; }
    int playCount = 0;  // Play calls that started a stopped buffer

    static int liveCount;  // buffers not yet released, for leak tests

protected:
    void OnVolume(float gain) override { gain_ = gain; }
    void OnPan(float p) override { panPos_ = p; }
    void OnFrequency(float pitch) override { pitch_ = pitch; }

private:
    std::vector<uint8_t> samples_;
    uint32_t position_ = 0;
    bool playing_ = false;
    bool looping_ = false;
    float gain_ = 1.0f, panPos_ = 0.0f, pitch_ = 1.0f;
};

class NullAudioDevice : public IAudioDevice {
public:
    bool SetCooperativeLevel(IWindow* window, uint32_t level) override;
    ISoundBuffer* CreateSoundBuffer(const SoundBufferDesc& desc, const uint8_t* data,
                                    size_t size) override;
    void Release() override { delete this; }

    bool failCooperativeLevel = false;
};

class NullAudioBackend : public IAudioBackend {
public:
    AudioOpenResult Open(IAudioDevice** device, std::string* detail) override;

    // What the next Open reports, for tests of the start-up paths.
    AudioOpenResult result = AudioOpenResult::kOk;
    bool failCooperativeLevel = false;
    int openCount = 0;
};

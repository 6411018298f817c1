#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The audio device as the sound code sees it: secondary buffers that behave like the original's
// (stop, set the play position, play once or looping, volume, pan, frequency, play position in
// bytes). The OpenAL implementation lives in src/platform/, a silent one in null_audio.h.

class IWindow;

// Buffer capabilities and play flags, with the original API's values.
constexpr uint32_t DSBCAPS_CTRLFREQUENCY = 0x20;
constexpr uint32_t DSBCAPS_CTRLPAN = 0x40;
constexpr uint32_t DSBCAPS_CTRLVOLUME = 0x80;
constexpr uint32_t DSBPLAY_LOOPING = 0x1;
constexpr uint32_t DSSCL_NORMAL = 1;

// Volume in hundredths of a decibel (0 is full volume), pan in hundredths of a decibel of
// attenuation of the other side, frequency in samples per second (0: the buffer's own rate).
constexpr int32_t DSBVOLUME_MIN = -10000;
constexpr int32_t DSBVOLUME_MAX = 0;
constexpr int32_t DSBPAN_LEFT = -10000;
constexpr int32_t DSBPAN_RIGHT = 10000;
constexpr uint32_t DSBFREQUENCY_ORIGINAL = 0;
constexpr uint32_t DSBFREQUENCY_MIN = 100;
constexpr uint32_t DSBFREQUENCY_MAX = 200000;
// The largest buffer the device creates, in bytes.
constexpr uint32_t DSBSIZE_MAX = 0x0FFFFFFF;

constexpr uint16_t WAVE_FORMAT_PCM = 1;
constexpr uint16_t WAVE_FORMAT_EXTENSIBLE = 0xFFFE;

// The PCM format record of a buffer.
struct PcmFormat {
    uint16_t formatTag = WAVE_FORMAT_PCM;
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
};

struct SoundBufferDesc {
    uint32_t flags = 0;
    uint32_t bufferBytes = 0;
    PcmFormat format;
};

// True when a buffer of this description can be made: PCM, one or two channels, a rate the
// device can play, samples of 1 to 4 bytes with at most that many significant bits, and a size
// of at least one whole sample frame.
bool IsPlayableFormat(const SoundBufferDesc& desc);

// The bounds the device keeps; values outside are brought inside rather than refused, so that a
// script that fades by steps ends at the limit.
int32_t ClampVolume(int32_t hundredthsDb);
int32_t ClampPan(int32_t pan);
uint32_t ClampFrequency(uint32_t hz);  // 0 stays 0 (the buffer's own rate)

class ISoundBuffer {
public:
    virtual ~ISoundBuffer() = default;
    // Plays from the current position; DSBPLAY_LOOPING wraps at the end. Playing a buffer that
    // already plays only changes its looping.
    virtual bool Play(uint32_t priority, uint32_t flags) = 0;
    // Stops and keeps the position.
    virtual bool Stop() = 0;
    // Bytes from the start, rounded down to a whole sample frame. False past the filled part.
    virtual bool SetCurrentPosition(uint32_t bytes) = 0;
    virtual bool GetCurrentPosition(uint32_t* playBytes, uint32_t* writeBytes) = 0;
    virtual bool SetVolume(int32_t hundredthsDb) = 0;
    virtual bool GetVolume(int32_t* hundredthsDb) = 0;
    virtual bool SetPan(int32_t pan) = 0;
    virtual bool GetPan(int32_t* pan) = 0;
    virtual bool SetFrequency(uint32_t hz) = 0;
    virtual bool GetFrequency(uint32_t* hz) = 0;  // the rate in use, never 0
    // The player's volume for this buffer (1 full, 0 silent), over what SetVolume set; the
    // buffer's volume as the game reads it stays what the game set.
    virtual void SetPlayerGain(float gain) = 0;
    virtual bool IsPlaying() = 0;
    // Fills the next part of a buffer created partly filled (music decoded while it plays).
    // False when it would pass the size given at creation.
    virtual bool AppendData(const uint8_t* data, size_t size) = 0;
    virtual uint32_t FilledBytes() const = 0;
    virtual const SoundBufferDesc& Desc() const = 0;
    // Stops the buffer and frees it: the pointer is dead afterwards.
    virtual void Release() = 0;
};

class IAudioDevice {
public:
    virtual ~IAudioDevice() = default;
    virtual bool SetCooperativeLevel(IWindow* window, uint32_t level) = 0;
    // A buffer of desc.bufferBytes of which the first `size` bytes are `data` (size may be less
    // than the whole, for AppendData). Null when the description is not playable.
    virtual ISoundBuffer* CreateSoundBuffer(const SoundBufferDesc& desc, const uint8_t* data,
                                            size_t size) = 0;
    // Frees the device; every buffer must have been released before.
    virtual void Release() = 0;
};

enum class AudioOpenResult {
    kOk,
    kNoDevice,  // nothing to play on: the game runs silent
    kFailed,    // the audio library itself does not work
};

class IAudioBackend {
public:
    virtual ~IAudioBackend() = default;
    // On kOk *device is the opened default device; otherwise `detail` says why not.
    virtual AudioOpenResult Open(IAudioDevice** device, std::string* detail) = 0;
};

// Shared bookkeeping of both implementations: description, filled size, volume, pan and
// frequency with their bounds. A backend applies the values in the On* hooks.
class BasicSoundBuffer : public ISoundBuffer {
public:
    explicit BasicSoundBuffer(const SoundBufferDesc& desc) : desc_(desc) {}
    bool SetVolume(int32_t hundredthsDb) override;
    bool GetVolume(int32_t* hundredthsDb) override;
    void SetPlayerGain(float gain) override;
    bool SetPan(int32_t pan) override;
    bool GetPan(int32_t* pan) override;
    bool SetFrequency(uint32_t hz) override;
    bool GetFrequency(uint32_t* hz) override;
    uint32_t FilledBytes() const override { return filled_; }
    const SoundBufferDesc& Desc() const override { return desc_; }

protected:
    virtual void OnVolume(float gain) = 0;      // linear gain, 1 = full volume
    virtual void OnPan(float left1right1) = 0;  // -1 left .. 1 right
    virtual void OnFrequency(float pitch) = 0;  // rate in use / the buffer's own rate
    uint32_t FilledFrames() const { return filled_ / desc_.format.blockAlign; }

    SoundBufferDesc desc_;
    uint32_t filled_ = 0;
    int32_t volume_ = 0;
    float playerGain_ = 1.0f;
    int32_t pan_ = 0;
    uint32_t frequency_ = 0;
};

#include "platform/openal_audio.h"

#include <AL/al.h>
#include <AL/alc.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Bytes as AL takes them: 8-bit unsigned and 16-bit signed samples pass unchanged; wider
// samples keep their top 16 bits.
bool NeedsConversion(const PcmFormat& f) {
    uint32_t container = f.blockAlign / f.channels;
    return container > 2 || (container == 1 && f.bitsPerSample > 8) ||
           (container == 2 && f.bitsPerSample > 16);
}

void ConvertTo16(const PcmFormat& f, const uint8_t* src, size_t frames, std::vector<int16_t>& out) {
    uint32_t container = f.blockAlign / f.channels;
    out.resize(frames * f.channels);
    for (size_t i = 0; i < frames * f.channels; ++i) {
        const uint8_t* s = src + i * container;
        out[i] = static_cast<int16_t>(s[container - 2] | (s[container - 1] << 8));
    }
}

class OpenAlSoundBuffer : public BasicSoundBuffer {
public:
    OpenAlSoundBuffer(const SoundBufferDesc& desc, ALuint source)
        : BasicSoundBuffer(desc), source_(source) {
        convert_ = NeedsConversion(desc.format);
        uint32_t outBytes = convert_ ? 2u : desc.format.blockAlign / desc.format.channels;
        if (desc.format.channels == 1)
            alFormat_ = outBytes == 1 ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16;
        else
            alFormat_ = outBytes == 1 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16;
        // Panning moves the source around the listener, at a distance that keeps the volume.
        alSourcei(source_, AL_SOURCE_RELATIVE, AL_TRUE);
        alSource3f(source_, AL_POSITION, 0.0f, 0.0f, -1.0f);
        alSourcef(source_, AL_ROLLOFF_FACTOR, 0.0f);
    }

    ~OpenAlSoundBuffer() override {
        alSourceStop(source_);
        alSourcei(source_, AL_BUFFER, 0);
        alDeleteSources(1, &source_);
        if (!buffers_.empty())
            alDeleteBuffers(static_cast<ALsizei>(buffers_.size()), buffers_.data());
    }

    bool Append(const uint8_t* data, size_t size) {
        size_t frames = size / desc_.format.blockAlign;
        if (frames == 0) return true;
        ALuint buffer = 0;
        alGetError();
        alGenBuffers(1, &buffer);
        if (alGetError() != AL_NO_ERROR) return false;
        if (convert_) {
            ConvertTo16(desc_.format, data, frames, scratch_);
            alBufferData(buffer, alFormat_, scratch_.data(),
                         static_cast<ALsizei>(scratch_.size() * sizeof(int16_t)),
                         static_cast<ALsizei>(desc_.format.samplesPerSec));
        } else {
            alBufferData(buffer, alFormat_, data,
                         static_cast<ALsizei>(frames * desc_.format.blockAlign),
                         static_cast<ALsizei>(desc_.format.samplesPerSec));
        }
        bool wasStarved = playing_ && State() == AL_STOPPED;
        alSourceQueueBuffers(source_, 1, &buffer);
        if (alGetError() != AL_NO_ERROR) {
            alDeleteBuffers(1, &buffer);
            return false;
        }
        buffers_.push_back(buffer);
        uint32_t oldFrames = FilledFrames();
        filled_ += static_cast<uint32_t>(frames * desc_.format.blockAlign);
        if (wasStarved) {
            // Decoding fell behind and the source ran dry: go on from the new piece.
            alSourcei(source_, AL_SAMPLE_OFFSET, static_cast<ALint>(oldFrames));
            alSourcePlay(source_);
        }
        return true;
    }

    bool Play(uint32_t, uint32_t flags) override {
        alSourcei(source_, AL_LOOPING, (flags & DSBPLAY_LOOPING) ? AL_TRUE : AL_FALSE);
        playing_ = true;
        if (State() == AL_PLAYING) return true;
        // A paused source resumes; a stopped one starts at the position set while it was stopped
        // (AL keeps it for the next play), or at the start.
        alSourcePlay(source_);
        pending_ = 0;
        return true;
    }

    bool Stop() override {
        playing_ = false;
        if (State() == AL_PLAYING) alSourcePause(source_);
        return true;
    }

    bool SetCurrentPosition(uint32_t bytes) override {
        if (bytes >= filled_) return false;
        uint32_t frame = bytes / desc_.format.blockAlign;
        ALint state = State();
        if (state == AL_INITIAL || state == AL_STOPPED) pending_ = frame * desc_.format.blockAlign;
        alSourcei(source_, AL_SAMPLE_OFFSET, static_cast<ALint>(frame));
        return true;
    }

    bool GetCurrentPosition(uint32_t* playBytes, uint32_t* writeBytes) override {
        ALint state = State();
        uint32_t pos = pending_;
        if (state == AL_PLAYING || state == AL_PAUSED) {
            ALint frame = 0;
            alGetSourcei(source_, AL_SAMPLE_OFFSET, &frame);
            pos = static_cast<uint32_t>(std::max(frame, 0)) * desc_.format.blockAlign;
        }
        if (playBytes) *playBytes = pos;
        if (writeBytes) *writeBytes = pos;
        return true;
    }

    bool IsPlaying() override { return State() == AL_PLAYING; }
    bool AppendData(const uint8_t* data, size_t size) override {
        if (size > desc_.bufferBytes - filled_) return false;
        return Append(data, size);
    }
    void Release() override { delete this; }

protected:
    void OnVolume(float gain) override { alSourcef(source_, AL_GAIN, gain); }
    void OnPan(float p) override {
        alSource3f(source_, AL_POSITION, p, 0.0f, -std::sqrt(std::max(0.0f, 1.0f - p * p)));
    }
    void OnFrequency(float pitch) override { alSourcef(source_, AL_PITCH, pitch); }

private:
    ALint State() {
        ALint state = AL_INITIAL;
        alGetSourcei(source_, AL_SOURCE_STATE, &state);
        return state;
    }

    ALuint source_;
    ALenum alFormat_ = AL_FORMAT_MONO16;
    bool convert_ = false;
    bool playing_ = false;
    uint32_t pending_ = 0;  // position set while stopped, applied by the next play
    std::vector<ALuint> buffers_;
    std::vector<int16_t> scratch_;
};

class OpenAlDevice : public IAudioDevice {
public:
    OpenAlDevice(ALCdevice* device, ALCcontext* context) : device_(device), context_(context) {}

    bool SetCooperativeLevel(IWindow*, uint32_t) override { return true; }

    ISoundBuffer* CreateSoundBuffer(const SoundBufferDesc& desc, const uint8_t* data,
                                    size_t size) override {
        if (!IsPlayableFormat(desc) || size > desc.bufferBytes || (size && !data)) return nullptr;
        alGetError();
        ALuint source = 0;
        alGenSources(1, &source);
        if (alGetError() != AL_NO_ERROR) return nullptr;
        auto* buffer = new OpenAlSoundBuffer(desc, source);
        if (!buffer->Append(data, size)) {
            delete buffer;
            return nullptr;
        }
        return buffer;
    }

    void Release() override {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(context_);
        alcCloseDevice(device_);
        delete this;
    }

private:
    ALCdevice* device_;
    ALCcontext* context_;
};

}  // namespace

AudioOpenResult OpenAlBackend::Open(IAudioDevice** device, std::string* detail) {
    *device = nullptr;
    ALCdevice* dev = alcOpenDevice(nullptr);
    if (!dev) {
        if (detail) *detail = "OpenAL found no output device";
        return AudioOpenResult::kNoDevice;
    }
    ALCcontext* ctx = alcCreateContext(dev, nullptr);
    if (!ctx || !alcMakeContextCurrent(ctx)) {
        if (detail) *detail = "OpenAL could not create a context";
        if (ctx) alcDestroyContext(ctx);
        alcCloseDevice(dev);
        return AudioOpenResult::kFailed;
    }
    // Sources sit at distance 1 for panning; nothing else should fade them.
    alDistanceModel(AL_NONE);
    *device = new OpenAlDevice(dev, ctx);
    return AudioOpenResult::kOk;
}

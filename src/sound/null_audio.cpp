#include "sound/null_audio.h"

#include <algorithm>

int NullSoundBuffer::liveCount = 0;

NullSoundBuffer::NullSoundBuffer(const SoundBufferDesc& desc, const uint8_t* data, size_t size)
    : BasicSoundBuffer(desc) {
    samples_.reserve(desc.bufferBytes);
    samples_.assign(data, data + size);
    filled_ = static_cast<uint32_t>(size);
    ++liveCount;
}

NullSoundBuffer::~NullSoundBuffer() {
    --liveCount;
}

bool NullSoundBuffer::Play(uint32_t, uint32_t flags) {
    looping_ = (flags & DSBPLAY_LOOPING) != 0;
    if (!playing_) ++playCount;
    playing_ = true;
    return true;
}

bool NullSoundBuffer::Stop() {
    playing_ = false;
    return true;
}

bool NullSoundBuffer::SetCurrentPosition(uint32_t bytes) {
    if (bytes >= filled_) return false;
    position_ = bytes - bytes % desc_.format.blockAlign;
    return true;
}

bool NullSoundBuffer::GetCurrentPosition(uint32_t* playBytes, uint32_t* writeBytes) {
    if (playBytes) *playBytes = position_;
    if (writeBytes) *writeBytes = position_;
    return true;
}

bool NullSoundBuffer::AppendData(const uint8_t* data, size_t size) {
    if (size > desc_.bufferBytes - filled_) return false;
    samples_.insert(samples_.end(), data, data + size);
    filled_ += static_cast<uint32_t>(size);
    return true;
}

void NullSoundBuffer::Advance(uint32_t bytes) {
    if (!playing_ || filled_ == 0) return;
    uint64_t pos = uint64_t(position_) + bytes;
    if (pos < filled_) {
        position_ = static_cast<uint32_t>(pos);
    } else if (looping_) {
        position_ = static_cast<uint32_t>(pos % filled_);
    } else {
        position_ = 0;
        playing_ = false;
    }
}

bool NullAudioDevice::SetCooperativeLevel(IWindow*, uint32_t) {
    return !failCooperativeLevel;
}

ISoundBuffer* NullAudioDevice::CreateSoundBuffer(const SoundBufferDesc& desc, const uint8_t* data,
                                                 size_t size) {
    if (!IsPlayableFormat(desc) || size > desc.bufferBytes || (size && !data)) return nullptr;
    return new NullSoundBuffer(desc, data, size);
}

AudioOpenResult NullAudioBackend::Open(IAudioDevice** device, std::string* detail) {
    ++openCount;
    *device = nullptr;
    if (result != AudioOpenResult::kOk) {
        if (detail) *detail = result == AudioOpenResult::kNoDevice ? "no device" : "broken";
        return result;
    }
    auto* dev = new NullAudioDevice;
    dev->failCooperativeLevel = failCooperativeLevel;
    *device = dev;
    return AudioOpenResult::kOk;
}

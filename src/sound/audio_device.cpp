#include "sound/audio_device.h"

#include <algorithm>
#include <cmath>

bool IsPlayableFormat(const SoundBufferDesc& desc) {
    const PcmFormat& f = desc.format;
    if (f.formatTag != WAVE_FORMAT_PCM) return false;
    if (f.channels < 1 || f.channels > 2) return false;
    if (f.samplesPerSec < DSBFREQUENCY_MIN || f.samplesPerSec > DSBFREQUENCY_MAX) return false;
    if (f.blockAlign == 0 || f.blockAlign % f.channels != 0) return false;
    uint32_t container = f.blockAlign / f.channels;
    if (container < 1 || container > 4) return false;
    if (f.bitsPerSample == 0 || f.bitsPerSample > container * 8) return false;
    return desc.bufferBytes >= f.blockAlign && desc.bufferBytes <= DSBSIZE_MAX;
}

int32_t ClampVolume(int32_t v) {
    return std::clamp(v, DSBVOLUME_MIN, DSBVOLUME_MAX);
}

int32_t ClampPan(int32_t p) {
    return std::clamp(p, DSBPAN_LEFT, DSBPAN_RIGHT);
}

uint32_t ClampFrequency(uint32_t hz) {
    if (hz == DSBFREQUENCY_ORIGINAL) return hz;
    return std::clamp(hz, DSBFREQUENCY_MIN, DSBFREQUENCY_MAX);
}

bool BasicSoundBuffer::SetVolume(int32_t v) {
    volume_ = ClampVolume(v);
    OnVolume(static_cast<float>(std::pow(10.0, volume_ / 2000.0)) * playerGain_);
    return true;
}

void BasicSoundBuffer::SetPlayerGain(float gain) {
    playerGain_ = std::clamp(gain, 0.0f, 1.0f);
    SetVolume(volume_);
}

bool BasicSoundBuffer::GetVolume(int32_t* v) {
    if (!v) return false;
    *v = volume_;
    return true;
}

bool BasicSoundBuffer::SetPan(int32_t p) {
    pan_ = ClampPan(p);
    OnPan(static_cast<float>(pan_) / DSBPAN_RIGHT);
    return true;
}

bool BasicSoundBuffer::GetPan(int32_t* p) {
    if (!p) return false;
    *p = pan_;
    return true;
}

bool BasicSoundBuffer::SetFrequency(uint32_t hz) {
    frequency_ = ClampFrequency(hz);
    uint32_t inUse = frequency_ ? frequency_ : desc_.format.samplesPerSec;
    OnFrequency(static_cast<float>(inUse) / static_cast<float>(desc_.format.samplesPerSec));
    return true;
}

bool BasicSoundBuffer::GetFrequency(uint32_t* hz) {
    if (!hz) return false;
    *hz = frequency_ ? frequency_ : desc_.format.samplesPerSec;
    return true;
}

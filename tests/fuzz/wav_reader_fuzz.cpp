// Sound files come from authors and modders: any bytes must parse or be refused without a read
// outside them, and a parsed file must point inside them and make a buffer or be refused.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "sound/null_audio.h"
#include "sound/wav_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<uint8_t[]> exact(new uint8_t[size ? size : 1]);
    if (size) std::memcpy(exact.get(), data, size);
    WaveData wave;
    if (ParseWave(exact.get(), size, wave) != WaveError::kNone) return 0;
    if (wave.samples < exact.get() || wave.samples + wave.size > exact.get() + size)
        __builtin_trap();
    static NullAudioDevice device;
    SoundBufferDesc desc;
    desc.flags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
    desc.bufferBytes = wave.size;
    desc.format = wave.format;
    if (ISoundBuffer* b = device.CreateSoundBuffer(desc, wave.samples, wave.size)) {
        b->Play(0, 0);
        b->SetCurrentPosition(wave.size / 2);
        b->Release();
    }
    return 0;
}

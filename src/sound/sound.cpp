#include "sound/sound.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "base/diagnostics.h"
#include "base/game_file.h"
#include "base/host.h"
#include "base/message_box.h"
#include "base/paths.h"
#include "base/sjis.h"
#include "sound/bgm.h"
#include "sound/null_audio.h"
#include "sound/wav_reader.h"

IAudioDevice* g_pDS = nullptr;
ISoundBuffer* g_SeSlots[kSeSlotCount] = {};
ISoundBuffer* g_BgmBuffer = nullptr;
int32_t g_BgmLoopOn = 0;
uint32_t g_BgmLoopStart = 0;
uint32_t g_BgmLoopEnd = 0;
bool g_SoundSilent = false;
float g_MusicGain = 1.0f;
float g_EffectGain = 1.0f;

namespace {

NullAudioBackend g_NullBackend;

// A sound path names a file relative to the current directory. A player who starts the game
// from elsewhere must still hear it, so the same name beside the executable is tried next. The
// exact name in the current directory is checked quietly first, so that the usual case of a
// game started from another directory logs nothing.
std::string FindSoundFile(std::string_view path) {
    std::string plain = ToUtf8(path);
    std::replace(plain.begin(), plain.end(), '\\', '/');
    std::error_code ec;
    if (!plain.empty() && std::filesystem::is_regular_file(plain, ec)) return plain;
    if (!DataDirectory().empty()) {
        std::string beside = ResolveGamePath(std::string(GetBasePath()) + std::string(path));
        if (!beside.empty()) return beside;
    }
    return ResolveGamePath(path);  // the current directory, names matched without case
}

}  // namespace

IAudioBackend* g_AudioBackend = &g_NullBackend;

bool InitSound(IWindow* window) {
    if (g_pDS) ReleaseSound();
    g_SoundSilent = false;
    IAudioDevice* device = nullptr;
    std::string detail;
    IAudioBackend* backend = g_AudioBackend ? g_AudioBackend : &g_NullBackend;
    switch (backend->Open(&device, &detail)) {
        case AudioOpenResult::kOk:
            break;
        case AudioOpenResult::kNoDevice:
            std::fprintf(stderr,
                         "gh02: no audio device could be opened (%s); the game runs silent\n",
                         detail.c_str());
            device = new NullAudioDevice;
            g_SoundSilent = true;
            break;
        case AudioOpenResult::kFailed:
            if (!detail.empty()) std::fprintf(stderr, "gh02: audio: %s\n", detail.c_str());
            return ErrorBox(SJIS("DirectSoundが生成できませんDirectSoundの使用が不可能です"));
    }
    if (!device->SetCooperativeLevel(window, DSSCL_NORMAL)) {
        device->Release();
        return ErrorBox(SJIS("DirectSoundの協調に失敗しました"));
    }
    g_pDS = device;
    for (ISoundBuffer*& slot : g_SeSlots) slot = nullptr;
    g_BgmBuffer = nullptr;
    g_BgmLoopOn = 0;
    ResetBgm();
    return true;
}

void ReleaseSoundBuffer(ISoundBuffer** buffer) {
    if (!buffer || !*buffer) return;
    (*buffer)->Stop();
    (*buffer)->Release();
    *buffer = nullptr;
}

void ReleaseSound() {
    for (ISoundBuffer*& slot : g_SeSlots) ReleaseSoundBuffer(&slot);
    StopBgm();
    if (g_pDS) {
        g_pDS->Release();
        g_pDS = nullptr;
    }
}

bool LoadWaveSound(ISoundBuffer** buffer, std::string_view path) {
    if (!buffer) return false;
    std::string native = FindSoundFile(path);
    // At most what the biggest buffer holds: a larger sound cannot load anyway, and its data
    // chunk then reads short.
    const FileRead file =
        native.empty() ? FileRead{} : ReadNativeFile(native, size_t(DSBSIZE_MAX) + 4096);
    if (!file.Ok()) {
        // An ownerless box with the caption a box gets when none is given.
        ShowMessageBox("Error", SJIS("ファイルオープンに失敗しました"), MB_OK,
                       "the sound file " + ShownPath(path) + " cannot be read");
        return false;
    }
    WaveData wave;
    WaveError error = ParseWave(file.Data(), file.bytes.size(), wave);
    if (error != WaveError::kNone)
        return ErrorBox(WaveErrorText(error),
                        "the sound file " + ShownPath(path) + " is not a WAV file the game plays");

    SoundBufferDesc desc;
    desc.flags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
    desc.bufferBytes = wave.size;
    desc.format = wave.format;
    ISoundBuffer* created =
        g_pDS ? g_pDS->CreateSoundBuffer(desc, wave.samples, wave.size) : nullptr;
    if (!created) return ErrorBox(SJIS("サウンドバッファの生成に失敗しました"));
    // A slot that is loaded again frees the sound it held.
    ReleaseSoundBuffer(buffer);
    *buffer = created;
    created->SetPlayerGain(g_EffectGain);
    return true;
}

float PlayerGain(int32_t percent) {
    const float share = float(std::clamp(percent, 0, 100)) / 100.0f;
    return share * share;
}

void SetPlayerVolumes(int32_t musicPercent, int32_t effectPercent) {
    g_MusicGain = PlayerGain(musicPercent);
    g_EffectGain = PlayerGain(effectPercent);
    if (g_BgmBuffer) g_BgmBuffer->SetPlayerGain(g_MusicGain);
    for (ISoundBuffer* b : g_SeSlots)
        if (b) b->SetPlayerGain(g_EffectGain);
}

void PlaySound(ISoundBuffer* buffer) {
    if (!buffer) return;
    buffer->Stop();
    buffer->SetCurrentPosition(0);
    buffer->Play(0, 0);
}

void UpdateBgmLoop() {
    FeedBgm();
    if (g_BgmLoopOn == 0 || !g_BgmBuffer) return;
    uint32_t play = 0;
    g_BgmBuffer->GetCurrentPosition(&play, nullptr);
    if (play > g_BgmLoopEnd) {
        uint32_t over = play - g_BgmLoopEnd;
        // A frame so long that it passed the whole loop lands where the loop would have been.
        if (g_BgmLoopEnd > g_BgmLoopStart) over %= g_BgmLoopEnd - g_BgmLoopStart;
        g_BgmBuffer->SetCurrentPosition(g_BgmLoopStart + over);
    }
}

namespace {
std::string g_SeSlotNames[kSeSlotCount];
bool SeSlot(int32_t slot) {
    return slot >= 0 && slot < kSeSlotCount;
}
}  // namespace

bool LoadSoundEffect(int32_t slot, std::string_view path) {
    if (!SeSlot(slot)) return false;
    g_SeSlotNames[slot] = std::string(path);
    return LoadWaveSound(&g_SeSlots[slot], path);
}

void ReleaseSoundEffect(int32_t slot) {
    if (!SeSlot(slot)) return;
    g_SeSlotNames[slot].clear();
    ReleaseSoundBuffer(&g_SeSlots[slot]);
}

const std::string& SoundEffectName(int32_t slot) {
    static const std::string kNone;
    return SeSlot(slot) ? g_SeSlotNames[slot] : kNone;
}

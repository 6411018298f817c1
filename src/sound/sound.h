#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "sound/audio_device.h"

// Sound effects in numbered slots and the one music buffer. All calls come from the window
// thread; the device mixes on its own.

constexpr int kSeSlotCount = 10;

extern IAudioDevice* g_pDS;  // null before InitSound and after ReleaseSound
extern ISoundBuffer* g_SeSlots[kSeSlotCount];
extern ISoundBuffer* g_BgmBuffer;
extern int32_t g_BgmLoopOn;      // nonzero: UpdateBgmLoop keeps the music inside its loop
extern uint32_t g_BgmLoopStart;  // bytes
extern uint32_t g_BgmLoopEnd;    // bytes

// Where InitSound opens its device: main installs the OpenAL backend; left alone, a silent one.
extern IAudioBackend* g_AudioBackend;
// True while the game runs on the silent device because no audio device could be opened.
extern bool g_SoundSilent;

// Opens the default audio device. With no device at all the game runs silent (one line in the
// log) and this still succeeds; false, after its error box, only when the audio library fails.
bool InitSound(IWindow* window);
// Stops and frees every buffer and the device.
void ReleaseSound();
// Reads a PCM WAV file into a new buffer at *buffer, releasing what *buffer held. `path` is a
// Shift-JIS game path taken relative to the current directory, and beside the executable when
// it is not found there.
bool LoadWaveSound(ISoundBuffer** buffer, std::string_view path);
// Stops, rewinds and plays once. An empty buffer does nothing.
void PlaySound(ISoundBuffer* buffer);
// Stops and frees *buffer and sets it to null.
void ReleaseSoundBuffer(ISoundBuffer** buffer);
// The sound-effect slots by number, remembering the file each holds (a saved game loads it
// again): LoadWaveSound into g_SeSlots[slot], or the slot released. Slots outside the table
// are ignored.
bool LoadSoundEffect(int32_t slot, std::string_view path);
void ReleaseSoundEffect(int32_t slot);
// The file the slot was last loaded from; empty when released.
const std::string& SoundEffectName(int32_t slot);
// The player's gains (SetPlayerVolumes): they belong to the program, not to a game.
extern float g_MusicGain;
extern float g_EffectGain;
// The player's volumes in percent (0-100, settings): the music buffer's and the sound effects',
// at once and for every buffer made later. 100 leaves the game's volumes as they are.
void SetPlayerVolumes(int32_t musicPercent, int32_t effectPercent);
// The gain a volume in percent gives: the square of its share, so that the steps sound even.
float PlayerGain(int32_t percent);
// Once per frame, after the present: feeds music that is still being decoded and keeps the
// music inside its loop points.
void UpdateBgmLoop();

#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Music: PlayBgm starts a named track of the music list "BGM\BGMData.qd" (format in
// bgm_list.h) in g_BgmBuffer, looping between its loop points. Tracks are decoded while they
// play: starting one decodes half a second, each frame decodes a little more.

// The music operation of the field, the battle and the scripts. The name that already plays is
// left playing; an empty or unknown name leaves silence.
void PlayBgm(std::string_view name);
// The name last given to PlayBgm.
const std::string& CurrentBgmName();

// Script access to the music buffer; both do nothing harmful when no music plays.
// what 0 volume (hundredths of a decibel), 1 frequency (Hz); op '=' sets, any other adds.
void ChangeBgmBuffer(int32_t what, char op, int32_t value);
// The music's volume; 0 (full volume, as a new buffer has) when there is no music buffer.
int32_t GetBgmVolume();

// Used by the sound start-up and shutdown.
void StopBgm();   // stops and frees the music buffer and its decoder
void ResetBgm();  // StopBgm, forget the name and the music list (read again when next needed)
void FeedBgm();   // decodes the next piece of the playing track into its buffer

// Milliseconds of a track decoded when it starts and at each frame after.
constexpr int64_t kBgmStartDecodeMs = 500;
constexpr int64_t kBgmFeedDecodeMs = 200;

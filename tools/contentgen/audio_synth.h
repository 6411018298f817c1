#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "source_text.h"

// Sound made from numbers: PCM WAV encoding, the sound-effect recipes and the waveforms that
// music shares with them. Mono 16-bit throughout.

constexpr int kEffectRate = 22050;

// A canonical RIFF WAVE file: "fmt " chunk of 16 bytes (plain PCM), then "data".
std::string EncodeWav16(const std::vector<int16_t>& samples, int rate, int channels);

// Samples in [-1, 1] to 16-bit, clipped.
std::vector<int16_t> ToPcm16(const std::vector<float>& samples, float gain);

enum class Wave { Sine, Square, Triangle, Saw, Noise };
bool ParseWave(const std::string& name, Wave& out);
// One period's value at phase in [0, 1); noise draws from `state`.
float Oscillator(Wave wave, float phase, uint32_t& state);

// A sound effect from a recipe name (blip, chirp, hit, swing, magic, step, chime) and its
// options; empty with an error in diag for an unknown recipe.
std::vector<float> SynthesiseEffect(const std::string& recipe, Options& options,
                                    const std::string& where, int line, Diagnostics& diag);

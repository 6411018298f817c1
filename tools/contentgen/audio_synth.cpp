#include "audio_synth.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kTwoPi = 6.28318531f;

void Put16(std::string& s, uint32_t v) {
    s.push_back(char(v & 255));
    s.push_back(char((v >> 8) & 255));
}

void Put32(std::string& s, uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

uint32_t NextRandom(uint32_t& state) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

float Noise(uint32_t& state) {
    return float(NextRandom(state) & 0xFFFF) / 32768.0f - 1.0f;
}

// Attack then exponential decay, ending at exactly zero.
float Envelope(float t, float length, float attack, float decay) {
    if (t >= length) return 0.0f;
    float a = attack > 0 ? std::min(1.0f, t / attack) : 1.0f;
    float tail = std::min(1.0f, (length - t) / 0.01f);
    return a * std::exp(-t * decay) * tail;
}

}  // namespace

std::string EncodeWav16(const std::vector<int16_t>& samples, int rate, int channels) {
    const uint32_t dataBytes = uint32_t(samples.size() * 2);
    std::string s = "RIFF";
    Put32(s, 36 + dataBytes);
    s += "WAVEfmt ";
    Put32(s, 16);
    Put16(s, 1);
    Put16(s, uint32_t(channels));
    Put32(s, uint32_t(rate));
    Put32(s, uint32_t(rate * channels * 2));
    Put16(s, uint32_t(channels * 2));
    Put16(s, 16);
    s += "data";
    Put32(s, dataBytes);
    for (int16_t v : samples) Put16(s, uint16_t(v));
    return s;
}

std::vector<int16_t> ToPcm16(const std::vector<float>& samples, float gain) {
    std::vector<int16_t> out(samples.size());
    for (size_t i = 0; i < samples.size(); ++i) {
        float v = std::clamp(samples[i] * gain, -1.0f, 1.0f);
        out[i] = int16_t(std::lround(v * 32767.0f));
    }
    return out;
}

bool ParseWave(const std::string& name, Wave& out) {
    if (name == "sine")
        out = Wave::Sine;
    else if (name == "square")
        out = Wave::Square;
    else if (name == "triangle")
        out = Wave::Triangle;
    else if (name == "saw")
        out = Wave::Saw;
    else if (name == "noise")
        out = Wave::Noise;
    else
        return false;
    return true;
}

float Oscillator(Wave wave, float phase, uint32_t& state) {
    switch (wave) {
        case Wave::Sine:
            return std::sin(kTwoPi * phase);
        case Wave::Square:
            return phase < 0.5f ? 0.6f : -0.6f;
        case Wave::Triangle:
            return phase < 0.5f ? 4.0f * phase - 1.0f : 3.0f - 4.0f * phase;
        case Wave::Saw:
            return (2.0f * phase - 1.0f) * 0.7f;
        case Wave::Noise:
            return Noise(state) * 0.6f;
    }
    return 0.0f;
}

std::vector<float> SynthesiseEffect(const std::string& recipe, Options& o, const std::string& where,
                                    int line, Diagnostics& diag) {
    const float length = float(o.Number("len", 0.15));
    const float volume = float(o.Number("vol", 0.8));
    float f0 = float(o.Number("freq", 880.0));
    float f1 = float(o.Number("freq2", f0));
    const float decay = float(o.Number("decay", 12.0));
    uint32_t state = uint32_t(o.Int("seed", 1)) * 2654435761u + 1u;
    Wave wave = Wave::Square;
    if (!ParseWave(o.Text("wave", recipe == "chime" || recipe == "magic" ? "sine" : "square"),
                   wave))
        diag.Error(where, line, "unknown wave");
    const size_t n = size_t(std::max(0.0f, length) * kEffectRate);
    std::vector<float> out(n, 0.0f);
    float phase = 0.0f, low = 0.0f;
    for (size_t i = 0; i < n; ++i) {
        const float t = float(i) / kEffectRate, k = length > 0 ? t / length : 0;
        float v = 0.0f;
        if (recipe == "blip" || recipe == "chirp") {
            // A tone gliding from freq to freq2 (equal for a blip).
            const float f = recipe == "blip" ? f0 : f0 * std::pow(f1 / f0, k);
            phase += f / kEffectRate;
            phase -= std::floor(phase);
            v = Oscillator(wave, phase, state) * Envelope(t, length, 0.002f, decay);
        } else if (recipe == "chime") {
            // Two notes, the second a step later and higher.
            const float f = t < length * 0.35f ? f0 : f1;
            phase += f / kEffectRate;
            phase -= std::floor(phase);
            const float local = t < length * 0.35f ? t : t - length * 0.35f;
            v = Oscillator(wave, phase, state) * Envelope(local, length, 0.003f, decay);
        } else if (recipe == "hit" || recipe == "step") {
            // Low-passed noise burst over a falling thump.
            const float cut = recipe == "hit" ? 0.35f : 0.12f;
            low += (Noise(state) - low) * cut;
            phase += (f0 * (1.0f - 0.6f * k)) / kEffectRate;
            phase -= std::floor(phase);
            v = (low * 1.6f + 0.5f * std::sin(kTwoPi * phase)) * Envelope(t, length, 0.001f, decay);
        } else if (recipe == "swing") {
            // Noise whose brightness rises and falls: a blade through the air.
            const float cut = 0.05f + 0.5f * std::sin(3.14159f * k);
            low += (Noise(state) - low) * cut;
            v = low * std::sin(3.14159f * k);
        } else if (recipe == "magic") {
            // A shimmering chord rising by an octave.
            const float f = f0 * std::pow(2.0f, k);
            phase += f / kEffectRate;
            phase -= std::floor(phase);
            v = (std::sin(kTwoPi * phase) + 0.5f * std::sin(kTwoPi * phase * 1.5f) +
                 0.3f * std::sin(kTwoPi * phase * 2.01f)) *
                0.5f * Envelope(t, length, 0.02f, decay) *
                (0.75f + 0.25f * std::sin(kTwoPi * 18.0f * t));
        } else {
            diag.Error(where, line, "unknown sound recipe " + recipe);
            return {};
        }
        out[i] = v * volume;
    }
    return out;
}

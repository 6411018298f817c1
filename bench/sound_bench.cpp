// Time to load the sound effects a battle needs and to start a three-minute music track, on
// the OpenAL backend (OpenAL Soft's null output unless ALSOFT_DRIVERS says otherwise).
#include <benchmark/benchmark.h>
#include <sndfile.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/host.h"
#include "base/paths.h"
#include "platform/iconv_codec.h"
#include "platform/openal_audio.h"
#include "sound/bgm.h"
#include "sound/sound.h"

namespace fs = std::filesystem;

namespace {

struct SoundData {
    std::string dir;
    IconvCodec codec;
    OpenAlBackend al;

    SoundData() {
        setenv("ALSOFT_DRIVERS", "null", 0);
        dir = (fs::temp_directory_path() / "gh02-sound-bench").string();
        fs::create_directories(dir + "/SE");
        fs::create_directories(dir + "/BGM");
        g_Host.codec = &codec;
        g_Host.executableDir = dir;
        // Ten half-second stereo effects.
        for (int i = 0; i < 10; ++i)
            WriteTone(dir + "/SE/e" + std::to_string(i) + ".wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16,
                      0.5);
        if (!fs::exists(dir + "/BGM/long.ogg"))
            WriteTone(dir + "/BGM/long.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 180);
        std::ofstream(dir + "/BGM/BGMData.qd") << "long long.ogg 441000 7938000\n";
        ClearPathCache();
        g_AudioBackend = &al;
        InitSound(nullptr);
    }
    ~SoundData() {
        ReleaseSound();
        fs::remove_all(dir);
    }

    static void WriteTone(const std::string& path, int format, double seconds) {
        SF_INFO info{};
        info.samplerate = 44100;
        info.channels = 2;
        info.format = format;
        SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
        if (!f) return;
        std::vector<short> block(2 * 4410);
        for (long at = 0; at < long(seconds * 44100); at += 4410) {
            for (int i = 0; i < 4410; ++i) {
                double t = double(at + i) / 44100;
                short s = short(8000 * std::sin(2 * M_PI * (440 + 100 * std::sin(t)) * t));
                block[2 * i] = block[2 * i + 1] = s;
            }
            sf_writef_short(f, block.data(), 4410);
        }
        sf_close(f);
    }
};

SoundData& Data() {
    static SoundData data;
    return data;
}

void BM_LoadTenEffects(benchmark::State& state) {
    Data();
    for (auto _ : state) {
        for (int i = 0; i < kSeSlotCount; ++i)
            LoadWaveSound(&g_SeSlots[i], "SE\\e" + std::to_string(i) + ".wav");
    }
}
BENCHMARK(BM_LoadTenEffects)->Unit(benchmark::kMillisecond);

// What the frame that starts a track pays: the list lookup, opening and the first half second.
void BM_StartThreeMinuteTrack(benchmark::State& state) {
    Data();
    for (auto _ : state) {
        PlayBgm("long");
        state.PauseTiming();
        PlayBgm("");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartThreeMinuteTrack)->Unit(benchmark::kMillisecond);

// What each following frame pays while the track is still being decoded.
void BM_MusicFrame(benchmark::State& state) {
    Data();
    PlayBgm("long");
    int frames = 0;
    for (auto _ : state) {
        UpdateBgmLoop();
        if (++frames == 400) {
            state.PauseTiming();
            PlayBgm("");
            PlayBgm("long");
            frames = 0;
            state.ResumeTiming();
        }
    }
    PlayBgm("");
}
BENCHMARK(BM_MusicFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

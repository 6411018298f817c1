// End to end through OpenAL Soft: the engine plays an effect and looping music while OpenAL
// Soft's wave writer records what would have reached the speakers, and the recording is checked
// for the tone and for the loop. OpenAL Soft reads its configuration once per process, so the
// playing half runs in a child process of this test program.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/openal_audio.h"
#include "sound/wav_reader.h"
#include "sound_fixture.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRate = 22050;

std::vector<int16_t> Sine(double hz, double seconds) {
    std::vector<int16_t> s(size_t(seconds * kRate));
    for (size_t i = 0; i < s.size(); ++i)
        s[i] = int16_t(16384 * std::sin(2 * M_PI * hz * double(i) / kRate));
    return s;
}

// Amplitude of the `hz` component of samples [from, from + n), as a fraction of full scale.
double Amplitude(const std::vector<double>& x, size_t from, size_t n, double hz, int rate) {
    double w = 2 * M_PI * hz / rate, re = 0, im = 0;
    for (size_t i = 0; i < n; ++i) {
        re += x[from + i] * std::cos(w * double(i));
        im -= x[from + i] * std::sin(w * double(i));
    }
    return 2 * std::sqrt(re * re + im * im) / double(n);
}

class OpenAlWave : public SoundTest {};

TEST_F(OpenAlWave, EffectToneAndMusicLoopReachTheOutput) {
    if (const char* child = std::getenv("GH02_AL_WAVE_CHILD")) {
        // The playing half.
        std::string dir = child;
        OpenAlBackend al;
        ReleaseSound();
        g_AudioBackend = &al;
        g_Host.executableDir = dir;
        ASSERT_TRUE(InitSound(&window));
        ASSERT_FALSE(g_SoundSilent);
        ASSERT_TRUE(LoadWaveSound(&g_SeSlots[0], dir + "/SE/tone.wav"));
        PlaySound(g_SeSlots[0]);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        PlayBgm("loop");
        ASSERT_NE(g_BgmBuffer, nullptr);
        for (int i = 0; i < 150; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            UpdateBgmLoop();
        }
        ReleaseSound();
        g_AudioBackend = &backend;
        return;
    }
    if (!fs::exists("/proc/self/exe")) GTEST_SKIP() << "cannot start a child process here";

    const std::string self = fs::read_symlink("/proc/self/exe").string(), dir = dataDir;
    Write("SE/tone.wav", PcmWave(1, kRate, Sine(440, 0.3)));
    // Intro 220 Hz, loop 880 Hz, and a 1760 Hz tail after the loop end that must never sound.
    std::vector<int16_t> music = Sine(220, 0.2), loop = Sine(880, 0.2), tail = Sine(1760, 0.6);
    music.insert(music.end(), loop.begin(), loop.end());
    music.insert(music.end(), tail.begin(), tail.end());
    Write("BGM/loop.wav", PcmWave(1, kRate, music));
    Write("BGM/BGMData.qd", "loop loop.wav " + std::to_string(kRate / 5) + " " +
                                std::to_string(2 * kRate / 5) + "\n");
    std::string out = dir + "/out.wav";
    std::ofstream(dir + "/alsoft.conf")
        << "[general]\ndrivers = wave\nchannels = mono\n"
        << "sample-type = int16\nfrequency = " << kRate << "\n[wave]\nfile = " << out << "\n";
    std::string cmd = "GH02_AL_WAVE_CHILD='" + dir + "' ALSOFT_DRIVERS=wave ALSOFT_CONF='" + dir +
                      "/alsoft.conf' '" + self + "' --gtest_filter=OpenAlWave.* > '" + dir +
                      "/child.log' 2>&1";
    const int status = std::system(cmd.c_str());
    const std::string childLog = ReadFileBytes(dir + "/child.log"), recorded = ReadFileBytes(out);
    ASSERT_EQ(status, 0) << childLog;
    const Bytes rec(recorded.begin(), recorded.end());
    WaveData wave;
    ASSERT_EQ(ParseWave(rec.data(), rec.size(), wave), WaveError::kNone) << childLog;
    ASSERT_EQ(wave.format.bitsPerSample, 16);
    // Channel 0 of whatever layout the writer chose.
    int rate = int(wave.format.samplesPerSec);
    std::vector<double> x(wave.size / wave.format.blockAlign);
    for (size_t i = 0; i < x.size(); ++i) {
        const uint8_t* p = wave.samples + i * wave.format.blockAlign;
        x[i] = int16_t(p[0] | (p[1] << 8)) / 32768.0;
    }

    const size_t win = size_t(rate) / 50;  // 20 ms
    const double loud = 0.1, quiet = 0.02;
    int toneWindows = 0;
    long introAt = -1, lastLoop = -1;
    std::vector<std::array<double, 4>> amp;
    for (size_t at = 0; at + win <= x.size(); at += win) {
        std::array<double, 4> a = {
            Amplitude(x, at, win, 220, rate), Amplitude(x, at, win, 440, rate),
            Amplitude(x, at, win, 880, rate), Amplitude(x, at, win, 1760, rate)};
        long k = long(amp.size());
        if (a[1] > loud && a[1] > 4 * a[0] && a[1] > 4 * a[2]) ++toneWindows;
        if (introAt < 0 && a[0] > loud) introAt = k;
        if (a[2] > loud) lastLoop = k;
        amp.push_back(a);
    }
    EXPECT_GE(toneWindows, 8) << "the 440 Hz effect is missing from the output";
    ASSERT_GE(introAt, 0) << "the music never started";
    // 1.5 s of music were played: the loop must fill all of it after the 0.2 s intro.
    EXPECT_GE(lastLoop - introAt, 60);
    int loopWindows = 0, introAgain = 0, tailHeard = 0;
    for (long k = introAt + 15; k < lastLoop; ++k) {
        if (amp[k][2] > loud) ++loopWindows;
        if (amp[k][0] > quiet) ++introAgain;
        if (amp[k][3] > quiet) ++tailHeard;
    }
    EXPECT_EQ(introAgain, 0) << "the music went back to its start instead of its loop";
    EXPECT_EQ(tailHeard, 0) << "the part after the loop end was played";
    EXPECT_GE(loopWindows, (lastLoop - introAt - 15) * 9 / 10);
}

}  // namespace

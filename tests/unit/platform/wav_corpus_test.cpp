#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <tuple>

#include "platform/openal_audio.h"
#include "sound_fixture.h"

namespace {

// What each file of the corpus must do: load with this format, or be refused with this text.
struct Expected {
    const char* file;
    const char* refusal;  // null: loads
    uint16_t channels = 0;
    uint32_t rate = 0;
    uint16_t bits = 0;
    uint16_t blockAlign = 0;
    uint32_t dataBytes = 0;
};

const char* kNotFound = "ウエイブファイルが見つかりません";
const char* kShortFormat = "ウエイブフォーマットを読み込めません";
const char* kNotPcm = "不正なウエイブフォーマットです";
const char* kNoAccess = "ウエイブファイルにアクセスできません";

const Expected kCorpus[] = {
    {"crash-24728523ef4be15c838293b676f6853e73723bf4.wav", kShortFormat},
    {"crash-b8447179832529c48f9c6bf17feab6337bbc78ea.wav", kNoAccess},
    {"crash-cbd757427cea12bd8a21f86cd8cf74d98ce56bee.wav", kNotPcm},
    {"crash-e5471f5b58397287b509db7d026e95f1724454f5.wav", kNotPcm},
    {"crash-e879de4eb4d206c59e21f0e01def16457af80fdc.wav", kNotFound},
    {"oom-48ae4cd061ff8578ad3f23dc87624bd365cf5216.wav", kNotFound},
    {"waveformatex-ieeefloat-44100Hz-mono.wav", kNotPcm},
    {"waveformatextensible-ieeefloat-44100Hz-mono.wav", kNotPcm},
    {"nonstandard-01.wav", nullptr, 2, 48000, 24, 6, 6},
    {"nonstandard-02.wav", nullptr, 2, 48000, 32, 8, 16},
    {"pcmwaveformat-16bit-44100Hz-mono-extra.wav", nullptr, 1, 44100, 16, 2, 8},
    {"pcmwaveformat-16bit-44100Hz-mono.wav", nullptr, 1, 44100, 16, 2, 8},
    {"pcmwaveformat-24bit-4byte-48kHz-stereo.wav", nullptr, 2, 48000, 24, 8, 16},
    {"pcmwaveformat-8bit-44100Hz-mono.wav", nullptr, 1, 44100, 8, 1, 4},
    {"pop.wav", nullptr, 1, 44100, 16, 2, 200},
    {"waveformatex-16bit-44100Hz-mono-extra.wav", nullptr, 1, 44100, 16, 2, 8},
    {"waveformatex-16bit-44100Hz-mono.wav", nullptr, 1, 44100, 16, 2, 8},
    {"waveformatex-16bit-44100Hz-stereo.wav", nullptr, 2, 44100, 16, 4, 16},
    {"waveformatex-8bit-11025Hz-mono.wav", nullptr, 1, 11025, 8, 1, 4},
    {"waveformatextensible-24bit-192kHz-mono.wav", nullptr, 1, 192000, 24, 3, 12},
    {"waveformatextensible-24bit-4byte-48kHz-stereo.wav", nullptr, 2, 48000, 32, 8, 16},
    {"waveformatextensible-32bit-48kHz-stereo.wav", nullptr, 2, 48000, 32, 8, 16},
};

class WavCorpus : public SoundTest {};

// Each file goes through the wave reader once, into OpenAL's buffers where OpenAL opens a device
// (its null output here) and the silent backend's otherwise.
TEST_F(WavCorpus, WellFormedPcmLoadsAndPlaysAndTheRestIsRefusedWithItsMessage) {
    const std::string dir = CorpusDir("wav");
    SKIP_WITHOUT_CORPUS(dir);
    setenv("ALSOFT_DRIVERS", "null", 0);
    ReleaseSound();
    OpenAlBackend al;
    g_AudioBackend = &al;
    ASSERT_TRUE(InitSound(&window));
    if (g_SoundSilent) {
        ReleaseSound();
        g_AudioBackend = &backend;
        ASSERT_TRUE(InitSound(&window));
    }
    size_t seen = 0;
    for (const Expected& e : kCorpus) {
        SCOPED_TRACE(e.file);
        std::string path = dir + "/" + e.file;
        if (!std::filesystem::exists(path)) continue;
        ++seen;
        g_MessageBoxLog.clear();
        bool ok = LoadWaveSound(&g_SeSlots[0], path);
        if (e.refusal) {
            EXPECT_FALSE(ok);
            ASSERT_EQ(g_MessageBoxLog.size(), 1u);
            EXPECT_EQ(g_MessageBoxLog[0].text, e.refusal);
            continue;
        }
        ASSERT_TRUE(ok) << (g_MessageBoxLog.empty() ? "" : g_MessageBoxLog[0].text);
        const SoundBufferDesc& d = g_SeSlots[0]->Desc();
        EXPECT_EQ(
            std::tuple(d.format.formatTag, d.format.channels, d.format.samplesPerSec,
                       d.format.bitsPerSample, d.format.blockAlign, d.bufferBytes,
                       g_SeSlots[0]->FilledBytes()),
            std::tuple(1, e.channels, e.rate, e.bits, e.blockAlign, e.dataBytes, e.dataBytes));
        PlaySound(g_SeSlots[0]);
        uint32_t hz = 0;
        EXPECT_TRUE(g_SeSlots[0]->GetFrequency(&hz));
        EXPECT_EQ(hz, e.rate);
        g_SeSlots[0]->Stop();
    }
    // Every file of the folder is in the table above.
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        if (entry.path().extension() == ".wav") ++files;
    EXPECT_EQ(seen, files);
    ReleaseSound();
    g_AudioBackend = &backend;
}

}  // namespace

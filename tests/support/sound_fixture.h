#pragma once
#include <filesystem>
#include <fstream>
#include <string>

#include "base/message_box.h"
#include "base/paths.h"
#include "sound/bgm.h"
#include "sound/null_audio.h"
#include "sound/sound.h"
#include "test_support.h"
#include "wave_bytes.h"

// A headless host with the silent audio backend and a data directory in a fresh temporary
// folder; sound is started and released around each test.
class SoundTest : public HeadlessHostTest {
protected:
    void SetUp() override {
        HeadlessHostTest::SetUp();
        dataDir = MakeTempDir("sound");
        g_Host.executableDir = dataDir;
        savedBackend_ = g_AudioBackend;
        g_AudioBackend = &backend;
        ASSERT_TRUE(InitSound(&window));
    }
    void TearDown() override {
        ReleaseSound();
        EXPECT_EQ(NullSoundBuffer::liveCount, 0) << "a buffer was not released";
        g_AudioBackend = savedBackend_;
        std::filesystem::remove_all(dataDir);
        HeadlessHostTest::TearDown();
    }

    // Writes a file under the data directory ("SE/x.wav").
    std::string Write(const std::string& rel, const Bytes& bytes) {
        std::filesystem::path p = std::filesystem::path(dataDir) / rel;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        ClearPathCache();
        return p.string();
    }
    std::string Write(const std::string& rel, const std::string& text) {
        return Write(rel, Bytes(text.begin(), text.end()));
    }

    static NullSoundBuffer* Null(ISoundBuffer* b) { return static_cast<NullSoundBuffer*>(b); }

    NullAudioBackend backend;
    std::string dataDir;

private:
    IAudioBackend* savedBackend_ = nullptr;
};

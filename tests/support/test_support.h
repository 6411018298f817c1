#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/frame.h"
#include "base/null_host.h"
#include "gfx/device.h"
#include "gfx/recording_backend.h"
#include "platform/iconv_codec.h"

// Installs a headless host (virtual clock, scripted keys, quiet dialogs, iconv) for one test and
// puts back what was there after it, the host and the frame handler.
class HeadlessHostTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    VirtualClock clock;
    ScriptedKeys keys;
    HeadlessDialogs dialogs;
    NullWindow window;
    IconvCodec codec;

private:
    Host saved_;
    FrameProc savedFrameProc_ = nullptr;
};

// Real data files written by other programs; empty when the folder is absent.
std::string CorpusDir(const std::string& sub);
std::string FixturesDir();
// A fresh empty directory under the system's temporary directory.
std::string MakeTempDir(const std::string& tag);
// The texts of the message boxes shown so far.
std::vector<std::string> BoxTexts();

// Whether any of `texts` holds `part`.
bool AnyContains(const std::vector<std::string>& texts, const std::string& part);

// The bytes of a file; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);

// An environment variable set (or unset, for nullptr) until the end of the scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_, old_;
    bool had_ = false;
};

#define SKIP_WITHOUT_CORPUS(dir)                                                        \
    do {                                                                                \
        if ((dir).empty()) GTEST_SKIP() << "corpus folder not found: " GH02_CORPUS_DIR; \
    } while (0)

#pragma once
// Set-up and checks shared by the fuzz targets: a quiet host, a throw-away data directory, a
// recording device, a byte reader for inputs that drive calls, and the check that stops a run.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <random>
#include <string>
#include <system_error>

#include "base/diagnostics.h"
#include "base/host.h"
#include "base/message_box.h"
#include "base/null_host.h"
#include "base/paths.h"
#include "base/report_once.h"
#include "gfx/device.h"
#include "gfx/recording_backend.h"
#include "platform/iconv_codec.h"

namespace fuzz {

inline void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// A fixed-size text field still holds its terminating NUL.
template <size_t N>
bool Terminated(const char (&field)[N]) {
    return std::memchr(field, 0, N) != nullptr;
}

// The Shift-JIS codec and dialogs that answer without showing anything; what the data's faults
// would say goes nowhere.
inline void QuietHost() {
    static IconvCodec codec;
    static HeadlessDialogs dialogs;
    dialogs.quiet = true;
    SetFaultsOnStandardError(false);
    SetLogFile("");
    g_Host.codec = &codec;
    g_Host.dialogs = &dialogs;
}

// A fresh data directory under the temporary folder with the given subfolders, removed when the
// fuzzer exits; returns its path.
inline const std::string& DataDir(const char* name, std::initializer_list<const char*> subdirs) {
    static std::string dir;
    // A name of its own for every process: std::rand() unseeded gave every run the same folder,
    // and a test run's exit removed it under a campaign of the same target running beside it.
    dir = (std::filesystem::temp_directory_path() /
           (std::string("gh02-") + name + "-" + std::to_string(std::random_device{}())))
              .string();
    for (const char* sub : subdirs) std::filesystem::create_directories(dir + "/" + sub);
    std::filesystem::create_directories(dir);
    SetDataDirectory(dir);
    std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    });
    return dir;
}

// A device that records nothing it draws.
inline GfxDevice* Device() {
    static RecordingBackend backend;
    backend.keep = false;
    static GfxDevice device(&backend);
    return &device;
}

// The fuzzer's bytes as a script text with the loader's end command behind it, from pc 0.
template <typename Script>
void PutScript(Script& s, const uint8_t* data, size_t size) {
    std::memset(s.text, 0, sizeof s.text);
    const size_t n = size < size_t(Script::kMaxFileText) ? size : size_t(Script::kMaxFileText);
    std::memcpy(s.text, data, n);
    std::memcpy(s.text + n, "c0", 2);
    s.pc = 0;
}

// What one run leaves behind (message boxes, faults said, report-once sets, cached path
// lookups) is gone when it starts and when it ends. libFuzzer takes a run that leaves more blocks
// allocated than it found for a possible leak, runs it again and scans the whole heap: kept
// reports made the targets whose inputs report faults spend half their time on those scans.
struct FreshRun {
    FreshRun() { Forget(); }
    ~FreshRun() { Forget(); }
    FreshRun(const FreshRun&) = delete;
    FreshRun& operator=(const FreshRun&) = delete;
    static void Forget() {
        g_MessageBoxLog.clear();
        ClearDiagnosedFaults();
        ResetReportedOnce();
        ClearPathCache();
    }
};

// Reads numbers out of the fuzzer's bytes; past the end everything reads 0.
struct Reader {
    const uint8_t* data;
    size_t size;
    size_t at = 0;
    int32_t Int() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v = v << 8 | Byte();
        return int32_t(v);
    }
    uint8_t Byte() { return at < size ? data[at++] : 0; }
    bool More() const { return at < size; }
};

}  // namespace fuzz

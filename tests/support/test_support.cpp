#include "test_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "base/message_box.h"
#include "base/paths.h"

namespace fs = std::filesystem;

namespace {

// Test programs run by hand, without CTest's environment, keep the engine's log (and that of the
// game they start) out of the user's state folder too.
[[maybe_unused]] const bool g_LogAside = [] {
    const std::string log = (fs::temp_directory_path() / "gh02-tests.log").string();
    return setenv("GH02_LOG", log.c_str(), 0) == 0;
}();

}  // namespace

void HeadlessHostTest::SetUp() {
    saved_ = g_Host;
    savedFrameProc_ = g_FrameProc;
    dialogs.quiet = true;
    g_Host.clock = &clock;
    g_Host.keys = &keys;
    g_Host.dialogs = &dialogs;
    g_Host.window = &window;
    g_Host.codec = &codec;
    g_Host.headless = true;
    g_MessageBoxLog.clear();
    ClearPathCache();
}

void HeadlessHostTest::TearDown() {
    g_Host = saved_;
    g_FrameProc = savedFrameProc_;
    g_MessageBoxLog.clear();
    SetDataDirectory("");
}

std::string CorpusDir(const std::string& sub) {
    fs::path p = fs::path(GH02_CORPUS_DIR) / sub;
    std::error_code ec;
    return fs::is_directory(p, ec) ? p.string() : std::string();
}

std::string FixturesDir() {
    return GH02_FIXTURES_DIR;
}

std::string MakeTempDir(const std::string& tag) {
    std::random_device rd;
    fs::path p = fs::temp_directory_path() / ("gh02-" + tag + "-" + std::to_string(rd()));
    fs::create_directories(p);
    return p.string();
}

std::vector<std::string> BoxTexts() {
    std::vector<std::string> texts;
    for (const MessageBoxRecord& r : g_MessageBoxLog) texts.push_back(r.text);
    return texts;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) had_ = true, old_ = old;
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
    if (had_)
        setenv(name_.c_str(), old_.c_str(), 1);
    else
        unsetenv(name_.c_str());
}

// Sanitizer settings built into every test program: gtest_discover_tests hands only the first
// entry of an ENVIRONMENT list on to CTest, so the suppressions must not depend on it.
extern "C" const char* __lsan_default_options() {
    return "suppressions=" GH02_SOURCE_DIR "/tests/lsan.supp:print_suppressions=0";
}
extern "C" const char* __ubsan_default_options() {
    return "print_stacktrace=1:halt_on_error=1";
}

bool AnyContains(const std::vector<std::string>& texts, const std::string& part) {
    for (const std::string& t : texts)
        if (t.find(part) != std::string::npos) return true;
    return false;
}

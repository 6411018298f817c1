#pragma once
// Running the real gh02 binary from the end-to-end tests, and reading what its state dumps say.
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>

#include "test_support.h"

// Runs gh02 with the arguments (and environment assignments in front); returns its exit code.
// What it wrote to standard error goes into `errors`, and standard output into `output`, when
// they are given.
inline int RunGh02(const std::string& args, const std::string& env = "",
                   std::string* errors = nullptr, std::string* output = nullptr) {
    const std::string tag = std::to_string(getpid());
    const std::filesystem::path tmp = std::filesystem::temp_directory_path();
    const std::filesystem::path err = tmp / ("gh02-e2e-stderr-" + tag);
    const std::filesystem::path out = tmp / ("gh02-e2e-stdout-" + tag);
    std::string cmd = env + " " GH02_BINARY " " + args + " >" +
                      (output ? out.string() : std::string("/dev/null")) + " 2>" +
                      (errors ? err.string() : std::string("/dev/null"));
    int status = std::system(cmd.c_str());
    auto take = [](const std::filesystem::path& p, std::string* into) {
        if (!into) return;
        *into = ReadFileBytes(p.string());
        std::filesystem::remove(p);
    };
    take(err, errors);
    take(out, output);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline nlohmann::json ReadJson(const std::filesystem::path& p) {
    return nlohmann::json::parse(ReadFileBytes(p.string()));
}

// Each entry of the dump named by a JSON pointer ("/battle/phase") holds the value given; an
// entry that is not there reads as null.
inline void ExpectFields(const nlohmann::json& j,
                         std::initializer_list<std::pair<const char*, nlohmann::json>> fields) {
    for (const auto& [at, value] : fields) {
        const nlohmann::json::json_pointer p(at);
        EXPECT_EQ(j.contains(p) ? j[p] : nlohmann::json(), value) << at;
    }
}

// The state dump's menu screen page (null on the entries).
inline const nlohmann::json& Page(const nlohmann::json& j) {
    return j["menuPage"];
}
// What the party carries: the goods' counts by name.
inline nlohmann::json Goods(const nlohmann::json& j) {
    nlohmann::json counts = nlohmann::json::object();
    for (const nlohmann::json& g : j["inventory"]["goods"])
        counts[g["name"].get<std::string>()] = g["count"];
    return counts;
}

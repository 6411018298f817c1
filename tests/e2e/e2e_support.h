#pragma once
// Running the real gh02 binary from the end-to-end tests.
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

// Runs gh02 with the arguments (and environment assignments in front); returns its exit code.
inline int RunGh02(const std::string& args, const std::string& env = "") {
    std::string cmd = env + " " GH02_BINARY " " + args + " >/dev/null 2>&1";
    int status = std::system(cmd.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline nlohmann::json ReadJson(const std::filesystem::path& p) {
    std::ifstream in(p);
    std::stringstream text;
    text << in.rdbuf();
    return nlohmann::json::parse(text.str());
}

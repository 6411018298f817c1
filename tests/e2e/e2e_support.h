#pragma once
// Running the real gh02 binary from the end-to-end tests, and reading what its state dumps say.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

// Runs gh02 with the arguments (and environment assignments in front); returns its exit code.
// What it wrote to standard error goes into `errors` when one is given.
inline int RunGh02(const std::string& args, const std::string& env = "",
                   std::string* errors = nullptr) {
    const std::filesystem::path err =
        std::filesystem::temp_directory_path() / ("gh02-e2e-stderr-" + std::to_string(getpid()));
    std::string cmd = env + " " GH02_BINARY " " + args + " >/dev/null 2>" +
                      (errors ? err.string() : std::string("&1"));
    int status = std::system(cmd.c_str());
    if (errors) {
        std::ifstream in(err);
        std::stringstream text;
        text << in.rdbuf();
        *errors = text.str();
        std::filesystem::remove(err);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline nlohmann::json ReadJson(const std::filesystem::path& p) {
    std::ifstream in(p);
    std::stringstream text;
    text << in.rdbuf();
    return nlohmann::json::parse(text.str());
}

// The state dump's menu screen page (null on the entries) and the text of its line i.
inline const nlohmann::json& Page(const nlohmann::json& j) {
    return j["menuPage"];
}
inline std::string Line(const nlohmann::json& j, int i) {
    return Page(j)["lines"][i]["text"].get<std::string>();
}
// What the party carries: the goods' counts by name.
inline nlohmann::json Goods(const nlohmann::json& j) {
    nlohmann::json counts = nlohmann::json::object();
    for (const nlohmann::json& g : j["inventory"]["goods"])
        counts[g["name"].get<std::string>()] = g["count"];
    return counts;
}

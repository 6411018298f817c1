#pragma once
#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// Reads a built script the way its runner will: a command prefix, the command's number, the
// blank behind it and the arguments the engine's command table gives the command, everything
// else skipped character by character. What it finds lets the builder check a script against the
// rest of the data before the game runs it: jumps that find no label, names of files that are not
// built, numbers that are no numbers.

enum class ScriptRunner { Field, Event, Technique };

// The runner that plays a script at this path under the data directory ("SCR/...").
ScriptRunner RunnerForScript(const std::string& relativePath);

struct ScriptCommand {
    char prefix = 0;  // 'c', 'f', 'e' or 'w'
    int number = 0;
    size_t offset = 0;  // of the prefix in the text
    // The arguments as written: numbers as their text, strings without their "//", operator
    // characters as one-character strings.
    std::vector<std::string> args;
    std::string text;  // the command as written, for messages
};

// What does not read as the runner would want it, at the offset of the command in the text.
struct ScriptProblem {
    size_t offset = 0;
    std::string what;
};

struct ScriptScan {
    std::vector<ScriptCommand> commands;
    // Label name -> offsets of its "@:" (labels are found wherever they stand, as the jumps
    // search the whole text).
    std::map<std::string, std::vector<size_t>> labels;
    std::vector<ScriptProblem> problems;
};

ScriptScan ScanScript(std::string_view text, ScriptRunner runner);

// True when an integer argument reads as a whole number (blanks around it allowed).
bool IsWholeNumber(std::string_view arg);

#include "check/script_scan.h"

#include <cctype>
#include <cstdlib>

#include "battle/battle_scripts.h"
#include "field/field_commands.h"
#include "script/command_table.h"

namespace {

// The commands of the runner's own prefix, beside the common ones.
const CommandTable& OwnCommands(ScriptRunner runner) {
    if (runner == ScriptRunner::Event) return kEventCommands;
    if (runner == ScriptRunner::Technique) return kTechniqueCommands;
    return kFieldCommands;
}

// The arguments a command reads (see CommandEntry); a command outside the tables takes none:
// the runner then reads whatever follows as text.
const char* ShapeOf(const CommandTable& table, int number) {
    const CommandEntry* command = table.Find(number);
    return command ? command->shape : "";
}

constexpr size_t kNumberChars = 17;  // the readers' limit before they complain

}  // namespace

ScriptRunner RunnerForScript(const std::string& rel) {
    if (rel.compare(0, 8, "SCR/bEv/") == 0) return ScriptRunner::Event;
    if (rel.compare(0, 7, "SCR/wz/") == 0) return ScriptRunner::Technique;
    return ScriptRunner::Field;
}

bool IsWholeNumber(std::string_view arg) {
    size_t b = arg.find_first_not_of(' ');
    size_t e = arg.find_last_not_of(' ');
    if (b == std::string_view::npos) return false;
    arg = arg.substr(b, e - b + 1);
    if (arg[0] == '-' || arg[0] == '+') arg.remove_prefix(1);
    if (arg.empty()) return false;
    for (char c : arg)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

ScriptScan ScanScript(std::string_view text, ScriptRunner runner) {
    ScriptScan scan;
    for (size_t at = text.find("@:"); at != std::string_view::npos; at = text.find("@:", at + 2)) {
        const size_t end = text.find("//", at + 2);
        if (end == std::string_view::npos) break;
        scan.labels[std::string(text.substr(at + 2, end - at - 2))].push_back(at);
    }
    const CommandTable& own = OwnCommands(runner);
    size_t pc = 0;
    while (pc < text.size()) {
        const char c = text[pc++];
        if (c != kCommonCommands.prefix && c != own.prefix) continue;
        const CommandTable& table = c == own.prefix ? own : kCommonCommands;
        ScriptCommand cmd;
        cmd.prefix = c;
        cmd.offset = pc - 1;
        // "%d" at the number, then on behind the next blank.
        char* stop = nullptr;
        const std::string digits(text.substr(pc, 12));
        const long n = std::strtol(digits.c_str(), &stop, 10);
        if (stop == digits.c_str()) {
            scan.problems.push_back(
                {cmd.offset, std::string("'") + c +
                                 "' stands where no command was meant (no number behind it)"});
            continue;
        }
        cmd.number = int(n);
        const size_t blank = text.find(' ', pc);
        if (blank == std::string_view::npos) {
            scan.problems.push_back({cmd.offset, std::string(1, c) + std::to_string(n) +
                                                     " has no blank behind its number"});
            break;
        }
        pc = blank + 1;
        bool broken = false;
        for (const char* s = ShapeOf(table, cmd.number); *s && !broken; ++s) {
            if (*s == 'c') {
                if (pc >= text.size()) {
                    broken = true;
                    break;
                }
                cmd.args.emplace_back(1, text[pc++]);
            } else if (*s == 'S') {
                const size_t end = text.find("//", pc);
                if (end == std::string_view::npos) {
                    broken = true;
                    break;
                }
                cmd.args.emplace_back(text.substr(pc, end - pc));
                pc = end + 2;
            } else {
                const size_t comma = text.find(',', pc);
                if (comma == std::string_view::npos || comma - pc > kNumberChars) {
                    broken = true;
                    break;
                }
                std::string arg(text.substr(pc, comma - pc));
                if (*s == 'I' && !IsWholeNumber(arg)) broken = true;
                if (*s == 'F') {
                    char* e = nullptr;
                    std::strtod(arg.c_str(), &e);
                    if (arg.empty() || e == arg.c_str()) broken = true;
                }
                cmd.args.push_back(std::move(arg));
                pc = comma + 1;
            }
        }
        cmd.text = std::string(text.substr(cmd.offset, pc - cmd.offset));
        if (broken) {
            std::string shown = std::string(text.substr(cmd.offset, 40));
            if (size_t nl = shown.find('\n'); nl != std::string::npos) shown.resize(nl);
            scan.problems.push_back({cmd.offset, "\"" + shown +
                                                     "\": its arguments do not read as " + c +
                                                     std::to_string(cmd.number) + " wants them"});
            continue;
        }
        scan.commands.push_back(std::move(cmd));
    }
    return scan;
}

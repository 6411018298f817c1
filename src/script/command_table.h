#pragma once
#include <cstdint>
#include <span>

struct QScrOrg;

// The commands of one script prefix, each with its number, a name that says what it does, the
// arguments it reads and the function that runs it. A script writes a command as its prefix,
// its number, one blank, then the arguments; the runners, the content builder's script checker
// and docs/scripts.md all go by these tables.

// Runs one command; pc stands on its first argument.
using CommandHandler = void (*)(QScrOrg& s);

struct CommandEntry {
    int32_t number = 0;
    const char* name = "";  // a few words for reports and documents ("choice list")
    // The arguments in the order they are read: I an integer and F a float, each ended by ",",
    // S a string ended by "//", c one character (an operator) read right where it stands.
    const char* shape = "";
    CommandHandler run = nullptr;
};

struct CommandTable {
    char prefix = 0;
    std::span<const CommandEntry> commands;  // command n at index n

    // The command of that number; null for a number outside the table.
    const CommandEntry* Find(int32_t number) const {
        return number >= 0 && size_t(number) < commands.size() ? &commands[size_t(number)]
                                                               : nullptr;
    }
};

// True when every command stands at the index of its number: the tables check it where they
// are written.
constexpr bool NumberedInOrder(std::span<const CommandEntry> commands) {
    for (size_t i = 0; i < commands.size(); ++i)
        if (commands[i].number != int32_t(i)) return false;
    return true;
}

// The common "c" commands that every runner knows.
extern const CommandTable kCommonCommands;

// Reads the command number at pc, moves pc behind the blank that follows it and runs that
// command of the table; a number outside the table does nothing (what follows is then read as
// plain text). Script errors reported while the command runs name it.
void RunCommand(QScrOrg& s, const CommandTable& table);

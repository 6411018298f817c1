// The command tables: the runners run a command by its handler, the content builder reads it by
// its shape, authors by docs/scripts.md; the three must agree.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <string>

#include "battle/battle_scripts.h"
#include "field/field_commands.h"
#include "field/field_runtime.h"
#include "runner_test_util.h"
#include "script/command_table.h"
#include "ui/talk_window.h"
#include "world/encounters.h"
#include "world/party.h"
#include "world/scene_trail.h"

namespace {

const CommandTable* const kTables[] = {&kCommonCommands, &kFieldCommands, &kEventCommands,
                                       &kTechniqueCommands};

std::string Key(const CommandTable& t, const CommandEntry& c) {
    return t.prefix + std::to_string(c.number);
}

// The runner's world reset also takes back what the commands set on the way.
using CommandTableTest = RunnerTest;

}  // namespace

// Outside a field and a battle, with every index out of range, each handler only reports; it
// must still read exactly the arguments its shape names.
TEST_F(CommandTableTest, HandlersReadTheArgumentsTheirShapesName) {
    for (const CommandTable* table : kTables) {
        for (const CommandEntry& c : table->commands) {
            std::string args;
            for (const char* k = c.shape; *k; ++k)
                args += *k == 'S' ? "//" : *k == 'c' ? "=" : "99,";
            SetText(s, args + ";");
            s.iv[2] = 0;  // c5 does not jump
            c.run(s);
            if (table == &kCommonCommands && c.number == 4) continue;  // c4 always jumps
            EXPECT_EQ(s.pc, int32_t(args.size())) << Key(*table, c) << " " << c.name;
        }
    }
}

// docs/scripts.md lists every command with its table's number, name and shape, and no other.
TEST(CommandTableDocument, ListsEveryCommandAsItsTableDoes) {
    std::ifstream in(GH02_SOURCE_DIR "/docs/scripts.md");
    ASSERT_TRUE(in);
    // "| f8 | choice list | `III` what, a, b | ..." or "| f9 | add choice | none | ..."
    const std::regex row(R"(^\| ([a-z]\d+) \| ([^|]+) \| (?:`([IFSc]*)`|none)[ |])");
    std::map<std::string, std::string> documented;
    for (std::string line; std::getline(in, line);) {
        std::smatch m;
        if (std::regex_search(line, m, row)) documented[m[1]] = m[2].str() + " / " + m[3].str();
    }
    for (const CommandTable* table : kTables) {
        for (const CommandEntry& c : table->commands) {
            const auto it = documented.find(Key(*table, c));
            if (it == documented.end()) {
                ADD_FAILURE() << Key(*table, c) << " is not documented";
                continue;
            }
            EXPECT_EQ(it->second, std::string(c.name) + " / " + c.shape) << it->first;
            documented.erase(it);
        }
    }
    for (const auto& [key, entry] : documented) ADD_FAILURE() << key << " is in no table";
}

// The author tools of the gh02 binary: --model-info and --check-data.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <string>

#include "e2e_support.h"

namespace fs = std::filesystem;

namespace {

// Runs gh02 with the arguments; returns the exit code and what it wrote on standard output.
int RunTool(const std::string& args, std::string& out) {
    return RunGh02(args, "", nullptr, &out);
}

// The first `from` in a file made `to`.
void Replace(const fs::path& file, const std::string& from, const std::string& to) {
    std::string text = ReadFileBytes(file);
    text.replace(text.find(from), from.size(), to);
    std::ofstream(file, std::ios::binary) << text;
}

}  // namespace

TEST(AuthorTools, ModelInfoPrintsTheModelAsLoadedOrWhyItWasRefused) {
    std::string out;
    ASSERT_EQ(RunTool("--model-info " + FixturesDir() + "/model/two_bones.rzo", out), 0);
    auto j = nlohmann::json::parse(out);  // standard output holds only the JSON
    ASSERT_EQ(j["bones"].size(), 2u);
    EXPECT_EQ(j["bones"][1]["name"], "arm (left) {a}");
    EXPECT_EQ(j["bones"][1]["origin"], nlohmann::json({100.0, 200.0, 300.0}));  // origins x 100
    EXPECT_FALSE(j["animations"].empty());

    std::string dir = MakeTempDir("modelinfo");
    std::ofstream(fs::path(dir) / "broken.rzo") << "RZ Object format V01.00 ASCII\r\n{";
    EXPECT_EQ(RunTool("--model-info " + dir + "/broken.rzo", out), 1);
    j = nlohmann::json::parse(out);
    EXPECT_EQ(j["error"]["code"], 3);
    EXPECT_NE(j["error"]["message"].get<std::string>().find("を読込めません！"), std::string::npos);
    fs::remove_all(dir);
}

TEST(AuthorTools, CheckDataNamesEachBrokenFileAndFailsWhenAnyIs) {
    std::string dir = MakeTempDir("checkdata");
    fs::create_directories(fs::path(dir) / "tex");
    fs::copy_file(FixturesDir() + "/model/two_bones.rzo", fs::path(dir) / "good.rzo");
    std::string out;
    // Its material names a texture that is not there: that is a fault of the data set too.
    EXPECT_EQ(RunTool("--check-data " + dir, out), 1);
    EXPECT_NE(out.find("good.rzo: the texture"), std::string::npos) << out;
    fs::copy_file(FixturesDir() + "/field/tex/sky0_0.bmp", fs::path(dir) / "skin.bmp");
    EXPECT_EQ(RunTool("--check-data " + dir, out), 0) << out;
    EXPECT_EQ(out, "checked 2 files: 0 problems\n");

    std::ofstream(fs::path(dir) / "tex" / "broken.bmp") << "BM not really";
    std::ofstream(fs::path(dir) / "cut.x") << "xof 0303txt 0032\nMesh { 3; 0.0; 0.0;";
    EXPECT_EQ(RunTool("--check-data " + dir, out), 1);
    EXPECT_NE(out.find("tex/broken.bmp: "), std::string::npos) << out;
    EXPECT_NE(out.find("cut.x: "), std::string::npos) << out;
    EXPECT_NE(out.find("checked 4 files: 2 problems"), std::string::npos) << out;

    // The menu actions are read against the data set's menu table and field scripts.
    fs::create_directories(fs::path(dir) / "Datas");
    fs::create_directories(fs::path(dir) / "SCR");
    std::ofstream(fs::path(dir) / "Datas" / "MnuDatas.qd") << "a x\nb y\n";
    std::ofstream(fs::path(dir) / "SCR" / "test.qd") << "@:SHOP//f10 ;";
    const fs::path actions = fs::path(dir) / "Datas" / "MnuActions.qd";
    for (const auto& [text, fault] : {
             std::pair{"0 items\n1 script NOWHERE\n",
                       "Datas/MnuActions.qd:2: no field script has the label NOWHERE"},
             std::pair{"0 script SHOP\n2 close\n",
                       "Datas/MnuActions.qd: line 2: entry 2 is not on the menu (0-1)"},
         }) {
        std::ofstream(actions) << text;
        EXPECT_EQ(RunTool("--check-data " + dir, out), 1);
        EXPECT_NE(out.find(fault), std::string::npos) << out;
    }
    fs::remove_all(dir);
}

// The demo's data passes its own check (pictures, meshes, sounds, models, scripts, fields and
// the music list); each way of breaking a copy of it is named at the file and line that hold the
// fault (the script's column too), with a non-zero exit code.
TEST(AuthorTools, CheckDataFollowsEveryNameOfTheDemo) {
    const fs::path demo = fs::path(GH02_BINARY).parent_path();
    std::string out;
    EXPECT_EQ(RunTool("--check-data " + demo.string(), out), 0) << out;
    EXPECT_EQ(out.find('\n'), out.size() - 1) << out;  // the summary line alone
    int checked = 0;
    EXPECT_EQ(std::sscanf(out.c_str(), "checked %d files: 0 problems", &checked), 1) << out;
    EXPECT_GE(checked, 55);

    const struct {
        const char* breakage;
        std::function<void(const fs::path&)> breakIt;
        const char* said;
    } breakages[] = {
        {"deleted model", [](const fs::path& d) { fs::remove(d / "chara/kodomo.rzo"); },
         "chara/kodomo.qd:1: names chara/kodomo.rzo, which is not there"},
        {"deleted script", [](const fs::path& d) { fs::remove(d / "SCR/mori.qd"); },
         "SCR/test.qd:*: names SCR/mori.qd, which is not there"},
        {"renamed label",
         [](const fs::path& d) { Replace(d / "SCR/test.qd", "@:OPENING//", "@:OPENINX//"); },
         "SCR/test.qd:13:18: \"c5 OPENING//0\" finds no label OPENING after it"},
        {"missing sound", [](const fs::path& d) { fs::remove(d / "SE/heal.wav"); },
         "SCR/test.qd:*: names SE/heal.wav, which is not there"},
        {"field's missing texture", [](const fs::path& d) { fs::remove(d / "tex/sky1_5.bmp"); },
         "Field/mori.qf:2: names tex/sky1_5.bmp, which is not there"},
        {"unreadable table",
         [](const fs::path& d) { std::ofstream(d / "Datas/GzDatas.qd") << "herb x y\n"; },
         "Datas/GzDatas.qd:1: a record has 4 words, found 3"},
    };
    for (const auto& b : breakages) {
        SCOPED_TRACE(b.breakage);
        const fs::path copy = MakeTempDir("checkdemo");
        fs::copy(demo, copy, fs::copy_options::recursive);
        b.breakIt(copy);
        EXPECT_EQ(RunTool("--check-data " + copy.string(), out), 1);
        std::string pattern;  // "*" stands for a line and column

        for (char c : std::string(b.said))
            pattern += c == '*' ? "[0-9:]+" : c == '.' ? "\\." : std::string(1, c);
        const std::regex said(pattern);
        bool found = false;
        std::istringstream lines(out);
        for (std::string line; std::getline(lines, line);) found |= std::regex_match(line, said);
        EXPECT_TRUE(found) << out;
        fs::remove_all(copy);
    }
}

// A run names the script file, line and column of a jump whose label is gone, in the log (and
// on standard error), while the box keeps the game's text; nothing goes to standard output.
TEST(AuthorTools, ARunSaysWhereTheScriptIsBroken) {
    const fs::path dir = MakeTempDir("brokenrun");
    fs::copy(fs::path(GH02_BINARY).parent_path(), dir / "data", fs::copy_options::recursive);
    Replace(dir / "data/SCR/test.qd", "@:OPENING//", "@:OPENINX//");
    fs::create_directories(dir / "saves");
    std::string out;
    EXPECT_EQ(
        RunTool("--headless --frames 40 --start baske0:test --data " + (dir / "data").string() +
                    " --save-dir " + (dir / "saves").string() + " --log " +
                    (dir / "gh02.log").string() + " --dump-state 39:" + (dir / "s.json").string(),
                out),
        0);
    EXPECT_EQ(out, "");
    const std::string logged = ReadFileBytes(dir / "gh02.log");
    EXPECT_NE(logged.find("SCR/test.qd:13:18: no label OPENING after this jump"), std::string::npos)
        << logged;
    const auto j = ReadJson(dir / "s.json");
    EXPECT_NE(j["messageBoxes"].dump().find("\"ラベルがねぇよ:OPENING\""), std::string::npos);
    fs::remove_all(dir);
}

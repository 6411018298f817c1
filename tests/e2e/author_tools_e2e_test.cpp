// The author tools of the gh02 binary: --model-info and --check-data.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "test_support.h"

namespace fs = std::filesystem;

namespace {

// Runs gh02 with the arguments; returns the exit code and what it wrote on standard output.
int RunTool(const std::string& args, std::string& out) {
    std::string cmd = GH02_BINARY " " + args + " 2>/dev/null";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return -1;
    char buffer[4096];
    out.clear();
    while (size_t n = std::fread(buffer, 1, sizeof buffer, p)) out.append(buffer, n);
    int status = pclose(p);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
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
    EXPECT_NE(out.find("FAIL good.rzo"), std::string::npos) << out;
    fs::copy_file(FixturesDir() + "/field/tex/sky0_0.bmp", fs::path(dir) / "skin.bmp");
    EXPECT_EQ(RunTool("--check-data " + dir, out), 0) << out;
    EXPECT_NE(out.find("checked 2 files, 0 failed"), std::string::npos) << out;

    std::ofstream(fs::path(dir) / "tex" / "broken.bmp") << "BM not really";
    std::ofstream(fs::path(dir) / "cut.x") << "xof 0303txt 0032\nMesh { 3; 0.0; 0.0;";
    EXPECT_EQ(RunTool("--check-data " + dir, out), 1);
    EXPECT_NE(out.find("FAIL tex/broken.bmp"), std::string::npos) << out;
    EXPECT_NE(out.find("FAIL cut.x"), std::string::npos) << out;
    EXPECT_NE(out.find("checked 4 files, 2 failed"), std::string::npos) << out;

    // The menu actions are read against the data set's menu table and field scripts.
    fs::create_directories(fs::path(dir) / "Datas");
    fs::create_directories(fs::path(dir) / "SCR");
    std::ofstream(fs::path(dir) / "Datas" / "MnuDatas.qd") << "a x\nb y\n";
    std::ofstream(fs::path(dir) / "SCR" / "test.qd") << "@:SHOP//f10 ;";
    const fs::path actions = fs::path(dir) / "Datas" / "MnuActions.qd";
    for (const auto& [text, fault] : {
             std::pair{"0 items\n1 script NOWHERE\n",
                       "line 2: no field script has the label NOWHERE"},
             std::pair{"0 script SHOP\n2 close\n", "line 2: entry 2 is not on the menu (0-1)"},
         }) {
        std::ofstream(actions) << text;
        EXPECT_EQ(RunTool("--check-data " + dir, out), 1);
        EXPECT_NE(out.find(std::string("FAIL Datas/MnuActions.qd: ") + fault), std::string::npos)
            << out;
    }
    fs::remove_all(dir);
}

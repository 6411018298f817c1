// The title file: what a data set writes is read as written, and every line that cannot be used
// is named by its number and skipped while the rest is kept.
#include <gtest/gtest.h>

#include <tuple>

#include "world/title_file.h"

TEST(TitleFile, ReadsEveryKeyAndNamesTheLinesItCannotUse) {
    const TitleFile t = ParseTitleFile(
        "# the title\r\n"
        "save   baske-adventure\r\n"
        "picture  tex\\title.bmp  # over the screen\r\n"
        "music\ttitle\r\n"
        "new  New game#1\n"
        "load   Load a game\n"
        "\n"
        "quit\n"
        "save  other\n"
        "colour  red\n");
    // A "#" inside a word is text.
    EXPECT_EQ(std::tuple(t.saveName, t.picture, t.music),
              std::tuple("baske-adventure", "tex\\title.bmp", "title"));
    EXPECT_EQ(
        std::tuple(t.entries[kTitleNewGame], t.entries[kTitleContinue], t.entries[kTitleLoad]),
        std::tuple("New game#1", "", "Load a game"));
    EXPECT_EQ(t.problems, (std::vector<std::string>{"line 8: \"quit\" without a value",
                                                    "line 9: \"save\" is given twice",
                                                    "line 10: unknown key \"colour\""}));
}

TEST(TitleFile, RefusesValuesItCannotUse) {
    for (const std::string name : {"../saves", ".hidden", "my game"}) {
        const TitleFile t = ParseTitleFile("save " + name);
        EXPECT_EQ(t.saveName, "");
        EXPECT_EQ(t.problems, std::vector<std::string>{"line 1: save name \"" + name +
                                                       "\" is not made of letters, digits, - _ . "
                                                       "alone"});
    }
    const TitleFile t = ParseTitleFile("new 012345678901234567890123456789012");
    EXPECT_EQ(t.entries[kTitleNewGame], "");
    EXPECT_EQ(t.problems, std::vector<std::string>{"line 1: \"new\" longer than 32 bytes"});
    EXPECT_TRUE(IsUsableSaveName(std::string(64, 'a')));
    EXPECT_FALSE(IsUsableSaveName(std::string(65, 'a')));
}

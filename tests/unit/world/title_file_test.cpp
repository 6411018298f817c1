// The title file: what a data set writes is read as written, and every line that cannot be used
// is named by its number and skipped while the rest is kept.
#include <gtest/gtest.h>

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
    EXPECT_EQ(t.saveName, "baske-adventure");
    EXPECT_EQ(t.picture, "tex\\title.bmp");
    EXPECT_EQ(t.music, "title");
    EXPECT_EQ(t.entries[kTitleNewGame], "New game#1");  // a "#" inside a word is text
    EXPECT_EQ(t.entries[kTitleContinue], "");
    EXPECT_EQ(t.entries[kTitleLoad], "Load a game");
    EXPECT_EQ(t.problems, (std::vector<std::string>{"line 8: \"quit\" without a value",
                                                    "line 9: \"save\" is given twice",
                                                    "line 10: unknown key \"colour\""}));
}

TEST(TitleFile, RefusesValuesItCannotUse) {
    const struct {
        const char* text;
        const char* problem;
    } cases[] = {
        {"save ../saves",
         "line 1: save name \"../saves\" is not made of letters, digits, - _ . "
         "alone"},
        {"save .hidden",
         "line 1: save name \".hidden\" is not made of letters, digits, - _ . "
         "alone"},
        {"save my game",
         "line 1: save name \"my game\" is not made of letters, digits, - _ . "
         "alone"},
        {"new 012345678901234567890123456789012", "line 1: \"new\" longer than 32 bytes"},
    };
    for (const auto& c : cases) {
        const TitleFile t = ParseTitleFile(c.text);
        EXPECT_EQ(t.saveName, "") << c.text;
        EXPECT_EQ(t.entries[kTitleNewGame], "") << c.text;
        EXPECT_EQ(t.problems, std::vector<std::string>{c.problem}) << c.text;
    }
    EXPECT_TRUE(IsUsableSaveName(std::string(64, 'a')));
    EXPECT_FALSE(IsUsableSaveName(std::string(65, 'a')));
}

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "base/data_search.h"

namespace {

// Searches with the given folders holding a game; returns the folder chosen and the ones asked.
DataSearch Search(const std::set<std::string>& games, const char* xdg,
                  const std::string& given = "", std::vector<std::string>* asked = nullptr) {
    return FindDataDirectory(given, "/opt/gh02/bin", xdg, [&](const std::string& dir) {
        if (asked) asked->push_back(dir);
        return games.count(dir) != 0;
    });
}

}  // namespace

TEST(DataSearchTest, TheFirstFolderThatHoldsAGameWinsInOrder) {
    const char* xdg = "/a/share:relative/share:/b/share/::/opt/gh02/share";
    const std::vector<std::string> order = {"/opt/gh02/bin", "/opt/gh02/share/gh02",
                                            "/a/share/gh02", "/b/share/gh02"};
    // Each folder wins over every one after it; a relative entry, an empty one and a folder
    // met twice are not asked about.
    for (size_t i = 0; i < order.size(); ++i) {
        SCOPED_TRACE(order[i]);
        std::vector<std::string> asked;
        const DataSearch s =
            Search(std::set<std::string>(order.begin() + long(i), order.end()), xdg, "", &asked);
        EXPECT_EQ(s.dir, order[i]);
        EXPECT_EQ(asked, std::vector<std::string>(order.begin(), order.begin() + long(i) + 1));
    }
    const DataSearch none = Search({}, xdg);
    EXPECT_EQ(none.dir, "");
    EXPECT_EQ(none.searched, order);
    EXPECT_EQ(SearchedFolders(none),
              "/opt/gh02/bin, /opt/gh02/share/gh02, /a/share/gh02 or /b/share/gh02");
}

TEST(DataSearchTest, DataDirsDefaultAsTheBaseDirectoryRulesSay) {
    for (const char* unset : {static_cast<const char*>(nullptr), ""}) {
        const DataSearch s = Search({}, unset);
        EXPECT_EQ(s.searched,
                  (std::vector<std::string>{"/opt/gh02/bin", "/opt/gh02/share/gh02",
                                            "/usr/local/share/gh02", "/usr/share/gh02"}));
    }
}

TEST(DataSearchTest, TheFolderDataNamesIsTakenWithoutSearching) {
    std::vector<std::string> asked;
    const DataSearch s = Search({"/opt/gh02/bin"}, nullptr, "/srv/./game", &asked);
    EXPECT_EQ(s.dir, "/srv/./game");  // as given: saves may be named after it
    EXPECT_TRUE(asked.empty());
    EXPECT_TRUE(s.searched.empty());
    EXPECT_TRUE(Search({}, nullptr, "relative").dir.front() == '/');  // made absolute
}

#include "reference_picture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "gfx/png_writer.h"
#include "picture.h"

namespace fs = std::filesystem;

namespace {

bool SavePicture(const fs::path& p, const Picture& pic, const std::vector<bool>* marks = nullptr) {
    std::vector<uint32_t> argb(size_t(pic.w) * pic.h);
    for (size_t i = 0; i < argb.size(); ++i) {
        uint32_t r = pic.rgb[i * 3], g = pic.rgb[i * 3 + 1], b = pic.rgb[i * 3 + 2];
        if (marks) {  // differences in red over a dimmed picture
            const uint32_t grey = (r + g + b) / 9;
            r = (*marks)[i] ? 255 : grey, g = (*marks)[i] ? 0 : grey, b = (*marks)[i] ? 0 : grey;
        }
        argb[i] = 0xFF000000u | (r << 16) | (g << 8) | b;
    }
    fs::create_directories(p.parent_path());
    return WritePng(p.string(), argb, pic.w, pic.h);
}

constexpr int kChannelTolerance = 40;
constexpr double kMaxDifferent = 0.02;

}  // namespace

void ExpectLikeReference(const fs::path& shot, const std::string& name) {
    const Picture actual = HalfSize(LoadPicture(shot));
    ASSERT_EQ(actual.w, 320) << "no screenshot";
    const fs::path ref =
        fs::path(GH02_SOURCE_DIR) / "tests" / "playthrough" / "ref" / (name + ".png");
    const char* update = std::getenv("GH02_UPDATE_REFERENCES");
    if (update && std::string(update) == "1") {
        ASSERT_TRUE(SavePicture(ref, actual));
        return;
    }
    const Picture expected = LoadPicture(ref);  // stored at half size
    ASSERT_EQ(expected.w, actual.w) << ref << " is missing: run with GH02_UPDATE_REFERENCES=1";
    ASSERT_EQ(expected.h, actual.h);
    std::vector<bool> marks(size_t(actual.w) * actual.h);
    size_t different = 0;
    for (size_t i = 0; i < marks.size(); ++i) {
        for (int c = 0; c < 3; ++c)
            marks[i] = marks[i] || std::abs(int(actual.rgb[i * 3 + c]) -
                                            int(expected.rgb[i * 3 + c])) > kChannelTolerance;
        different += marks[i];
    }
    const double share = double(different) / double(marks.size());
    if (share > kMaxDifferent) {
        const fs::path out = fs::path(GH02_BINARY).parent_path().parent_path() / "playthrough";
        SavePicture(out / (name + ".actual.png"), actual);
        SavePicture(out / (name + ".diff.png"), actual, &marks);
        ADD_FAILURE() << share * 100 << "% of the picture differs from " << ref << "; see " << out;
    }
}

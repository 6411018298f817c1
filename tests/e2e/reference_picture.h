#pragma once
// A picture of a headless run compared with its reference, tests/playthrough/ref/<name>.png
// (kept at half size). A pixel differs when a channel is off by more than 40, a picture when more
// than 2 % of its pixels differ (fonts and rasterisers may round edges differently); such a
// picture leaves <name>.actual.png and <name>.diff.png (differences in red) in
// <build>/playthrough/. GH02_UPDATE_REFERENCES=1 writes the reference anew from the shot.
#include <filesystem>
#include <string>

void ExpectLikeReference(const std::filesystem::path& shot, const std::string& name);

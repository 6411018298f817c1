#include "picture.h"

#include <stb_image.h>

Picture LoadPicture(const std::filesystem::path& p) {
    Picture pic;
    int comp = 0;
    uint8_t* data = stbi_load(p.c_str(), &pic.w, &pic.h, &comp, 3);
    if (!data) return {};
    pic.rgb.assign(data, data + size_t(pic.w) * pic.h * 3);
    stbi_image_free(data);
    return pic;
}

Picture HalfSize(const Picture& full) {
    Picture half;
    half.w = full.w / 2;
    half.h = full.h / 2;
    half.rgb.resize(size_t(half.w) * half.h * 3);
    for (int y = 0; y < half.h; ++y)
        for (int x = 0; x < half.w; ++x)
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int dy = 0; dy < 2; ++dy)
                    for (int dx = 0; dx < 2; ++dx) sum += full.At(x * 2 + dx, y * 2 + dy)[c];
                half.rgb[(size_t(y) * half.w + x) * 3 + c] = uint8_t(sum / 4);
            }
    return half;
}

#include "image_codecs.h"

#include <algorithm>
#include <array>
#include <map>
#include <vector>

namespace {

void Put16(std::string& s, uint32_t v) {
    s.push_back(char(v & 255));
    s.push_back(char((v >> 8) & 255));
}

void Put32(std::string& s, uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

void BmpHeaders(std::string& s, const Image& img, int bits, uint32_t paletteBytes) {
    const uint32_t rowBytes = (uint32_t(img.width) * uint32_t(bits) / 8 + 3) & ~3u;
    const uint32_t dataBytes = rowBytes * uint32_t(img.height);
    const uint32_t offset = 14 + 40 + paletteBytes;
    s += "BM";
    Put32(s, offset + dataBytes);
    Put32(s, 0);
    Put32(s, offset);
    Put32(s, 40);
    Put32(s, uint32_t(img.width));
    Put32(s, uint32_t(img.height));
    Put16(s, 1);
    Put16(s, uint32_t(bits));
    Put32(s, 0);  // no compression
    Put32(s, dataBytes);
    Put32(s, 2835);  // 72 dots per inch
    Put32(s, 2835);
    Put32(s, paletteBytes ? 256 : 0);
    Put32(s, 0);
}

// One box of the median cut: a range of colours sorted along the box's widest channel.
struct Box {
    size_t begin, end;
};

int Channel(uint32_t c, int ch) {
    return int((c >> (16 - 8 * ch)) & 255);
}

// The palette (up to 256 colours, 0x00RRGGBB) for a set of distinct colours with counts.
std::vector<uint32_t> MedianCut(std::vector<std::pair<uint32_t, uint32_t>> colours) {
    std::vector<Box> boxes{{0, colours.size()}};
    auto range = [&](const Box& b, int ch) {
        int lo = 255, hi = 0;
        for (size_t i = b.begin; i < b.end; ++i) {
            lo = std::min(lo, Channel(colours[i].first, ch));
            hi = std::max(hi, Channel(colours[i].first, ch));
        }
        return hi - lo;
    };
    while (boxes.size() < 256) {
        // Split the box with the widest channel range; ties go to the first box.
        int bestBox = -1, bestCh = 0, bestRange = 0;
        for (size_t b = 0; b < boxes.size(); ++b) {
            if (boxes[b].end - boxes[b].begin < 2) continue;
            for (int ch = 0; ch < 3; ++ch) {
                int r = range(boxes[b], ch);
                if (r > bestRange) bestRange = r, bestBox = int(b), bestCh = ch;
            }
        }
        if (bestBox < 0) break;
        Box box = boxes[size_t(bestBox)];
        std::stable_sort(colours.begin() + long(box.begin), colours.begin() + long(box.end),
                         [bestCh](const auto& a, const auto& b) {
                             return Channel(a.first, bestCh) < Channel(b.first, bestCh);
                         });
        size_t mid = box.begin + (box.end - box.begin) / 2;
        boxes[size_t(bestBox)] = {box.begin, mid};
        boxes.push_back({mid, box.end});
    }
    std::vector<uint32_t> palette;
    for (const Box& b : boxes) {
        uint64_t sum[3] = {0, 0, 0}, n = 0;
        for (size_t i = b.begin; i < b.end; ++i) {
            for (int ch = 0; ch < 3; ++ch)
                sum[ch] += uint64_t(Channel(colours[i].first, ch)) * colours[i].second;
            n += colours[i].second;
        }
        if (!n) continue;
        palette.push_back(Argb(0, int((sum[0] + n / 2) / n), int((sum[1] + n / 2) / n),
                               int((sum[2] + n / 2) / n)));
    }
    return palette;
}

}  // namespace

std::string EncodeBmp24(const Image& img) {
    std::string s;
    BmpHeaders(s, img, 24, 0);
    const size_t pad = (4 - (size_t(img.width) * 3) % 4) % 4;
    for (int y = img.height - 1; y >= 0; --y) {
        for (int x = 0; x < img.width; ++x) {
            uint32_t c = img.At(x, y);
            s.push_back(char(ChannelB(c)));
            s.push_back(char(ChannelG(c)));
            s.push_back(char(ChannelR(c)));
        }
        s.append(pad, '\0');
    }
    return s;
}

std::string EncodeBmp8(const Image& img) {
    std::map<uint32_t, uint32_t> counts;
    for (uint32_t c : img.pixels) ++counts[c & 0x00FFFFFFu];
    std::vector<uint32_t> palette;
    if (counts.size() <= 256) {
        for (const auto& [c, n] : counts) palette.push_back(c);
    } else {
        palette = MedianCut({counts.begin(), counts.end()});
    }
    // Nearest palette entry per distinct colour (first of equals wins).
    std::map<uint32_t, uint8_t> index;
    for (const auto& [c, n] : counts) {
        int best = 0, bestDist = 1 << 30;
        for (size_t i = 0; i < palette.size(); ++i) {
            int d = 0;
            for (int ch = 0; ch < 3; ++ch) {
                int e = Channel(c, ch) - Channel(palette[i], ch);
                d += e * e;
            }
            if (d < bestDist) bestDist = d, best = int(i);
        }
        index[c] = uint8_t(best);
    }
    std::string s;
    BmpHeaders(s, img, 8, 1024);
    for (size_t i = 0; i < 256; ++i) Put32(s, i < palette.size() ? palette[i] : 0);
    const size_t pad = (4 - size_t(img.width) % 4) % 4;
    for (int y = img.height - 1; y >= 0; --y) {
        for (int x = 0; x < img.width; ++x) s.push_back(char(index[img.At(x, y) & 0x00FFFFFFu]));
        s.append(pad, '\0');
    }
    return s;
}

std::string EncodeDdsArgb(const Image& img) {
    std::string s = "DDS ";
    Put32(s, 124);
    Put32(s, 0x1 | 0x2 | 0x4 | 0x8 | 0x1000);  // caps, height, width, pitch, pixel format
    Put32(s, uint32_t(img.height));
    Put32(s, uint32_t(img.width));
    Put32(s, uint32_t(img.width) * 4);
    Put32(s, 0);  // depth
    Put32(s, 0);  // mip levels: one
    for (int i = 0; i < 11; ++i) Put32(s, 0);
    Put32(s, 32);          // pixel format size
    Put32(s, 0x40 | 0x1);  // RGB with alpha
    Put32(s, 0);           // no FourCC
    Put32(s, 32);
    Put32(s, 0x00FF0000);
    Put32(s, 0x0000FF00);
    Put32(s, 0x000000FF);
    Put32(s, 0xFF000000);
    Put32(s, 0x1000);  // a texture
    for (int i = 0; i < 4; ++i) Put32(s, 0);
    for (uint32_t c : img.pixels) Put32(s, c);
    return s;
}

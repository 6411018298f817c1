#include "icon_picture.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "gfx/png_writer.h"

namespace fs = std::filesystem;

namespace {

// One flat shape of the icon, in units of a 256 x 256 square.
struct Shape {
    enum Kind { kRect, kEllipse, kPolygon } kind;
    uint32_t top, bottom;  // rectangles may fade from top to bottom; other shapes are flat
    std::vector<float> v;  // rect: x, y, w, h, corner radius; ellipse: cx, cy, rx, ry;
                           // polygon: x, y of every corner
};

constexpr float kUnits = 256.0f;

// The sky, which also bounds everything else, and the shapes over it, back to front.
const Shape kSky{Shape::kRect, 0xFF182050, 0xFFE89058, {8, 8, 240, 240, 40}};
const Shape kShapes[] = {
    {Shape::kEllipse, 0xFFFFF0C0, 0xFFFFF0C0, {184, 62, 22, 22}},               // the moon
    {Shape::kEllipse, 0xFF504870, 0xFF504870, {64, 226, 150, 66}},              // the far hills
    {Shape::kEllipse, 0xFF3A3A5A, 0xFF3A3A5A, {224, 236, 116, 62}},             // the forest's hill
    {Shape::kRect, 0xFF2C5A26, 0xFF1E4A1C, {0, 196, 256, 60, 0}},               // the meadow
    {Shape::kRect, 0xFF3A2A30, 0xFF3A2A30, {200, 192, 12, 18, 0}},              // the tree's trunk
    {Shape::kPolygon, 0xFF1C4024, 0xFF1C4024, {176, 198, 206, 104, 236, 198}},  // the tree
    {Shape::kRect, 0xFF5A3A30, 0xFF5A3A30, {134, 88, 14, 34, 0}},               // the chimney
    {Shape::kRect, 0xFF7A5A48, 0xFF7A5A48, {58, 134, 100, 72, 0}},              // the walls
    {Shape::kPolygon, 0xFF6A2C26, 0xFF6A2C26, {44, 140, 108, 82, 172, 140}},    // the roof
    {Shape::kRect, 0xFFFFD870, 0xFFFFD870, {72, 152, 22, 20, 0}},               // the windows
    {Shape::kRect, 0xFFFFD870, 0xFFFFD870, {122, 152, 22, 20, 0}},
    {Shape::kRect, 0xFF2A1A18, 0xFF2A1A18, {99, 170, 18, 36, 0}},  // the door
};

bool Inside(const Shape& s, float x, float y) {
    const std::vector<float>& v = s.v;
    switch (s.kind) {
        case Shape::kRect: {
            if (x < v[0] || y < v[1] || x >= v[0] + v[2] || y >= v[1] + v[3]) return false;
            const float r = v[4];
            // Within a corner's square, only the quarter circle counts.
            const float cx = x < v[0] + r ? v[0] + r : x > v[0] + v[2] - r ? v[0] + v[2] - r : x;
            const float cy = y < v[1] + r ? v[1] + r : y > v[1] + v[3] - r ? v[1] + v[3] - r : y;
            return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
        }
        case Shape::kEllipse: {
            const float dx = (x - v[0]) / v[2], dy = (y - v[1]) / v[3];
            return dx * dx + dy * dy <= 1.0f;
        }
        case Shape::kPolygon: {
            bool in = false;
            for (size_t i = 0, j = v.size() - 2; i < v.size(); j = i, i += 2) {
                const float xi = v[i], yi = v[i + 1], xj = v[j], yj = v[j + 1];
                if ((yi > y) != (yj > y) && x < xi + (xj - xi) * (y - yi) / (yj - yi)) in = !in;
            }
            return in;
        }
    }
    return false;
}

uint32_t ColourAt(const Shape& s, float y) {
    if (s.top == s.bottom) return s.top;
    return Mix(s.top, s.bottom, (y - s.v[1]) / s.v[3]);
}

std::string Hex(uint32_t c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06x", unsigned(c & 0xFFFFFFu));
    return text;
}

std::string Num(float f) {
    char text[16];
    std::snprintf(text, sizeof text, "%g", double(f));
    return text;
}

// The SVG element of a shape, filled with `fill`.
std::string SvgElement(const Shape& s, const std::string& fill) {
    const std::vector<float>& v = s.v;
    switch (s.kind) {
        case Shape::kRect:
            return "<rect x=\"" + Num(v[0]) + "\" y=\"" + Num(v[1]) + "\" width=\"" + Num(v[2]) +
                   "\" height=\"" + Num(v[3]) + (v[4] > 0 ? "\" rx=\"" + Num(v[4]) : "") +
                   "\" fill=\"" + fill + "\"/>";
        case Shape::kEllipse:
            return "<ellipse cx=\"" + Num(v[0]) + "\" cy=\"" + Num(v[1]) + "\" rx=\"" + Num(v[2]) +
                   "\" ry=\"" + Num(v[3]) + "\" fill=\"" + fill + "\"/>";
        case Shape::kPolygon: {
            std::string points;
            for (size_t i = 0; i < v.size(); i += 2)
                points += (i ? " " : "") + Num(v[i]) + "," + Num(v[i + 1]);
            return "<polygon points=\"" + points + "\" fill=\"" + fill + "\"/>";
        }
    }
    return {};
}

}  // namespace

Image IconPicture(int size) {
    constexpr int kSamples = 4;
    Image img(size, size, 0);
    const float scale = kUnits / float(size);
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            float r = 0, g = 0, b = 0;
            int covered = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const float x = (float(px) + (float(sx) + 0.5f) / kSamples) * scale;
                    const float y = (float(py) + (float(sy) + 0.5f) / kSamples) * scale;
                    if (!Inside(kSky, x, y)) continue;
                    uint32_t c = ColourAt(kSky, y);
                    for (const Shape& s : kShapes)
                        if (Inside(s, x, y)) c = ColourAt(s, y);
                    r += float(ChannelR(c));
                    g += float(ChannelG(c));
                    b += float(ChannelB(c));
                    ++covered;
                }
            }
            if (covered == 0) continue;
            const float n = float(covered);
            img.At(px, py) = Argb(covered * 255 / (kSamples * kSamples), int(r / n + 0.5f),
                                  int(g / n + 0.5f), int(b / n + 0.5f));
        }
    }
    return img;
}

std::string IconSvg() {
    std::string svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
        "viewBox=\"0 0 256 256\">\n<defs>\n"
        "<linearGradient id=\"sky\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">"
        "<stop offset=\"0\" stop-color=\"" +
        Hex(kSky.top) + "\"/><stop offset=\"1\" stop-color=\"" + Hex(kSky.bottom) +
        "\"/></linearGradient>\n<clipPath id=\"icon\">" + SvgElement(kSky, "#000000") +
        "</clipPath>\n";
    std::string body;
    int fades = 0;
    for (const Shape& s : kShapes) {
        std::string fill = Hex(s.top);
        if (s.top != s.bottom) {
            fill = "fade" + std::to_string(fades++);
            svg += "<linearGradient id=\"" + fill +
                   "\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\"><stop offset=\"0\" stop-color=\"" +
                   Hex(s.top) + "\"/><stop offset=\"1\" stop-color=\"" + Hex(s.bottom) +
                   "\"/></linearGradient>\n";
            fill = "url(#" + fill + ")";
        }
        body += SvgElement(s, fill) + "\n";
    }
    return svg + "</defs>\n<g clip-path=\"url(#icon)\">\n" + SvgElement(kSky, "url(#sky)") + "\n" +
           body + "</g>\n</svg>\n";
}

bool WriteIcons(const std::string& outDir, std::string& error) {
    const fs::path root = fs::path(outDir) / "hicolor";
    std::error_code ec;
    for (int size : {48, 128, 256}) {
        const std::string side = std::to_string(size);
        const fs::path dir = root / (side + "x" + side) / "apps";
        fs::create_directories(dir, ec);
        const Image img = IconPicture(size);
        if (!WritePng((dir / "gh02.png").string(), img.pixels, size, size)) {
            error = "cannot write " + (dir / "gh02.png").string();
            return false;
        }
    }
    const fs::path dir = root / "scalable" / "apps";
    fs::create_directories(dir, ec);
    std::ofstream svg(dir / "gh02.svg", std::ios::binary | std::ios::trunc);
    svg << IconSvg();
    if (!svg.flush()) {
        error = "cannot write " + (dir / "gh02.svg").string();
        return false;
    }
    return true;
}

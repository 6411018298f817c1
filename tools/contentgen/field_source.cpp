#include "field_source.h"

#include <charconv>
#include <functional>
#include <map>
#include <set>

namespace {

constexpr float kCell = 1024.0f;

// A map layer: how a character becomes a value, the largest value the layer takes, and where
// the value goes.
struct Layer {
    int defaultStep;
    int32_t minValue, maxValue;
    std::function<void(FieldSource&, int row, int x, int32_t value)> store;
};

const std::map<std::string, Layer>& Layers() {
    static const std::map<std::string, Layer> layers = {
        {"heights",
         {64, -32768, 32767, [](FieldSource& f, int r, int x, int32_t v) { f.height[r][x] = v; }}},
        {"blocked",
         {1, 0, 1 << 30,
          [](FieldSource& f, int r, int x, int32_t v) {
              if (v) f.cellFlags[r][x] |= 0x40;
          }}},
        {"split",
         {1, 0, 1 << 30,
          [](FieldSource& f, int r, int x, int32_t v) {
              if (v) f.cellFlags[r][x] |= 0x80;
          }}},
        // Field object i stands in the cell as i + 1; only ten objects exist.
        {"objects",
         {1, -1, 9,
          [](FieldSource& f, int r, int x, int32_t v) {
              if (v >= 0) f.cellFlags[r][x] |= uint8_t(v + 1);
          }}},
        {"ground",
         {1, 0, 31,
          [](FieldSource& f, int r, int x, int32_t v) { f.groundImage[r][x] = uint8_t(v); }}},
        // Place trigger n fires the label PLACE<n>; the cell holds n + 1.
        {"events",
         {1, -1, 126,
          [](FieldSource& f, int r, int x, int32_t v) {
              if (v >= 0) f.cellEvent[r][x] = uint8_t((f.cellEvent[r][x] & 0x80) | (v + 1));
          }}},
        {"hidden",
         {1, 0, 1 << 30,
          [](FieldSource& f, int r, int x, int32_t v) {
              if (v) f.cellEvent[r][x] |= 0x80;
          }}},
        {"slope-x",
         {1, 0, 15,
          [](FieldSource& f, int r, int x, int32_t v) {
              f.cameraSelect[r][x] = uint8_t((f.cameraSelect[r][x] & 0xF0) | v);
          }}},
        {"slope-z",
         {1, 0, 15,
          [](FieldSource& f, int r, int x, int32_t v) {
              f.cameraSelect[r][x] = uint8_t((f.cameraSelect[r][x] & 0x0F) | (v << 4));
          }}},
    };
    return layers;
}

int Base36(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    return -1;
}

// "objects" and "events" use '.' for "none", which is -1 in their value range.
bool DotIsNone(const std::string& layer) {
    return layer == "objects" || layer == "events";
}

class FieldParser {
public:
    FieldParser(const std::string& file, FieldSource& out, Diagnostics& diag)
        : file_(file), f_(out), diag_(diag) {}

    void Parse(const std::vector<SourceLine>& lines) {
        size_t i = 0;
        while (i < lines.size()) {
            const SourceLine& line = lines[i++];
            std::string text = StripComment(line.text);
            if (text.empty()) continue;
            std::vector<std::string> w = SplitWords(text);
            if (w[0] == "map") {
                i = ParseMap(w, line.number, lines, i);
                continue;
            }
            HeaderLine(w, line.number);
        }
    }

private:
    void Error(int line, const std::string& what) { diag_.Error(file_, line, what); }

    // The slot number after the keyword, within [0, count).
    bool Slot(const std::vector<std::string>& w, int line, int count, int& slot) {
        int64_t v = -1;
        if (w.size() < 2 || !ParseInt(w[1], v) || v < 0 || v >= count) {
            Error(line, w[0] + " wants a number from 0 to " + std::to_string(count - 1));
            return false;
        }
        slot = static_cast<int>(v);
        return true;
    }

    // at=x,y,z in world units, or cell=x,row (the cell's centre) with y=height.
    void Position(Options& o, float pos[3]) {
        o.Vec3("at", pos);
        std::vector<double> cell;
        if (o.Numbers("cell", 2, cell)) {
            pos[0] = static_cast<float>(cell[0] * kCell + kCell / 2);
            pos[2] = static_cast<float>(-(cell[1] * kCell + kCell / 2));
            pos[1] = static_cast<float>(o.Number("y", 0.0));
        }
    }

    void HeaderLine(const std::vector<std::string>& w, int line) {
        const std::string& k = w[0];
        int slot = 0;
        if (k == "lighting" && w.size() == 2) {
            int64_t v = 0;
            if (!ParseInt(w[1], v)) Error(line, "lighting wants 0 or 1");
            f_.groundLighting = static_cast<int>(v);
        } else if (k == "sky" && w.size() == 2) {
            f_.sky = w[1];
        } else if (k == "ground") {
            if (!Slot(w, line, 32, slot)) return;
            if (w.size() != 3) return Error(line, "ground wants a number and an image name");
            f_.ground[slot] = w[2];
        } else if (k == "billboard") {
            if (!Slot(w, line, 24, slot)) return;
            FieldBillboardSource& b = f_.billboards[slot];
            Options o(w, 2, file_, line, diag_);
            b.on = o.Int("on", 1);
            b.image = o.Int("image", slot);
            b.file = o.Text("file", b.file);
            Position(o, b.position);
            std::vector<double> v;
            if (o.Numbers("size", 2, v)) {
                b.widthScale = float(v[0]);
                b.heightScale = float(v[1]);
            }
            if (o.Numbers("colour", 4, v))
                for (int i = 0; i < 4; ++i) b.colour[i] = int(v[i]);
            o.CheckUnused();
        } else if (k == "light") {
            if (!Slot(w, line, 20, slot)) return;
            FieldLightSource& l = f_.lights[slot];
            Options o(w, 2, file_, line, diag_);
            l.enable = o.Int("on", 1);
            Position(o, l.position);
            o.Vec3("colour", l.colour);
            l.range = static_cast<float>(o.Number("range", 2048.0));
            o.CheckUnused();
        } else if (k == "mesh") {
            if (!Slot(w, line, 10, slot)) return;
            if (w.size() < 3) return Error(line, "mesh wants a number and a mesh name");
            FieldMeshSource& m = f_.meshes[slot];
            m.name = w[2];
            Options o(w, 3, file_, line, diag_);
            m.kind = o.Int("kind", 1);
            Position(o, m.position);
            float degrees[3] = {0, 0, 0};
            o.Vec3("rot", degrees);
            for (int i = 0; i < 3; ++i) m.rotation[i] = degrees[i] * kDegToRad;
            o.Vec3("scale", m.scale);
            o.CheckUnused();
        } else if (k == "slope") {
            if (!Slot(w, line, 16, slot)) return;
            Options o(w, 2, file_, line, diag_);
            FieldSlopeSource& s = f_.slopes[slot];
            s.heightRate = static_cast<float>(o.Number("height", 0.0));
            s.distanceRate = static_cast<float>(o.Number("distance", 0.0));
            s.third = static_cast<float>(o.Number("third", 0.0));
            o.CheckUnused();
        } else {
            Error(line, "unknown line: " + k);
        }
    }

    // "map <layer> [step=N] [C=V ...]" and the 32 rows after it; returns the next line index.
    size_t ParseMap(const std::vector<std::string>& w, int line,
                    const std::vector<SourceLine>& lines, size_t next) {
        auto layerIt = w.size() >= 2 ? Layers().find(w[1]) : Layers().end();
        if (layerIt == Layers().end()) {
            Error(line,
                  "map wants a layer: heights, blocked, split, objects, ground, events, "
                  "hidden, slope-x or slope-z");
            return next + kGrid;
        }
        const std::string& name = layerIt->first;
        const Layer& layer = layerIt->second;
        if (!seen_.insert(name).second) Error(line, "layer " + name + " given twice");
        int64_t step = layer.defaultStep;
        std::map<char, int64_t> legend;
        for (size_t i = 2; i < w.size(); ++i) {
            size_t eq = w[i].find('=');
            int64_t v = 0;
            bool good = eq != std::string::npos && ParseInt(w[i].substr(eq + 1), v);
            if (good && w[i].substr(0, eq) == "step") {
                step = v;
            } else if (good && eq == 1) {
                legend[w[i][0]] = v;
            } else {
                Error(line, "map option wants step=N or one character=value: " + w[i]);
            }
        }
        for (int row = 0; row < kGrid; ++row, ++next) {
            if (next >= lines.size()) {
                Error(line, "map " + name + " ends after " + std::to_string(row) + " rows");
                return next;
            }
            const SourceLine& src = lines[next];
            const std::string& t = src.text;
            std::string rest = t.size() > size_t(kGrid) ? StripComment(t.substr(kGrid)) : "";
            if (t.size() < size_t(kGrid) || !rest.empty()) {
                Error(src.number, "a map row has exactly 32 characters");
                continue;
            }
            for (int x = 0; x < kGrid; ++x) {
                const char c = t[size_t(x)];
                int64_t v = 0;
                if (auto it = legend.find(c); it != legend.end()) {
                    v = it->second;
                } else if (c == '.') {
                    v = DotIsNone(name) ? -1 : 0;
                } else if (Base36(c) >= 0) {
                    v = Base36(c) * step;
                } else if (layer.maxValue == (1 << 30)) {
                    v = 1;  // marker layers: any character but '.' sets the mark
                } else {
                    Error(src.number,
                          std::string("character '") + c + "' has no value in map " + name);
                    continue;
                }
                if (v < layer.minValue || v > layer.maxValue) {
                    Error(src.number, "value " + std::to_string(v) + " out of range in map " +
                                          name + " at x " + std::to_string(x));
                    continue;
                }
                layer.store(f_, row, x, static_cast<int32_t>(v));
            }
        }
        return next;
    }

    std::string file_;
    FieldSource& f_;
    Diagnostics& diag_;
    std::set<std::string> seen_;
};

void Float(std::string& out, float v) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    out.append(buf, r.ptr);
    out += ',';
}

void Int(std::string& out, int64_t v) {
    out += std::to_string(v);
    out += ',';
}

template <typename T>
void Grid(std::string& out, const T (&grid)[kGrid][kGrid]) {
    for (int row = 0; row < kGrid; ++row) {
        for (int x = 0; x < kGrid; ++x) Int(out, grid[row][x]);
        out += "\r\n";
    }
    out += "\r\n";
}

}  // namespace

bool ParseFieldSource(std::string_view text, const std::string& fileName, FieldSource& out,
                      Diagnostics& diag) {
    const size_t before = diag.Messages().size();
    FieldParser(fileName, out, diag).Parse(SplitLines(text));
    return diag.Messages().size() == before;
}

std::string WriteFieldFile(const FieldSource& f) {
    std::string out;
    Int(out, f.groundLighting);
    out += "\r\n";
    // The sky name is read up to whitespace: a comma behind it would become part of the name.
    out += f.sky + "\r\n";
    for (const std::string& g : f.ground) out += g + "\r\n";
    out += "\r\n";
    Grid(out, f.height);
    Grid(out, f.cellFlags);
    Grid(out, f.groundImage);
    Grid(out, f.cellEvent);
    Grid(out, f.cameraSelect);
    for (const FieldBillboardSource& b : f.billboards) {
        Int(out, b.on);
        Int(out, b.image);
        for (float p : b.position) Float(out, p);
        Float(out, b.widthScale);
        Float(out, b.heightScale);
        for (int c : b.colour) Int(out, c);
        out += "\r\n" + b.file + "\r\n";
    }
    out += "\r\n";
    for (int i = 0; i < 20; ++i) {
        const FieldLightSource& l = f.lights[i];
        Int(out, i);  // read and not used by the game: the slot number helps a reader
        Int(out, l.enable);
        for (float p : l.position) Float(out, p);
        for (float c : l.colour) Float(out, c);
        Float(out, l.range);
        out += "\r\n";
    }
    out += "\r\n";
    for (const FieldMeshSource& m : f.meshes) {
        out += m.name + "\r\n";
        Int(out, m.kind);
        for (float p : m.position) Float(out, p);
        for (float r : m.rotation) Float(out, r);
        for (float s : m.scale) Float(out, s);
        out += "\r\n";
    }
    out += "\r\n";
    for (const FieldSlopeSource& s : f.slopes) {
        Float(out, s.heightRate);
        Float(out, s.distanceRate);
        Float(out, s.third);
        out += "\r\n";
    }
    return out;
}

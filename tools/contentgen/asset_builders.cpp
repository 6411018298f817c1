#include "asset_builders.h"

#include "audio_synth.h"
#include "base/ascii.h"
#include "beast.h"
#include "foreign_writers.h"
#include "humanoid.h"
#include "image_codecs.h"
#include "image_recipes.h"
#include "mesh_recipes.h"
#include "model/rz_model.h"
#include "model/rz_object_writer.h"
#include "prop_recipes.h"

namespace {

std::string Extension(const std::string& path) {
    size_t dot = path.rfind('.');
    return dot == std::string::npos ? "" : AsciiLower(path.substr(dot));
}

std::string Directory(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

struct Context {
    const std::string& file;
    int line;
    OutputTree& out;
    Diagnostics& diag;

    void Produce(const std::string& path, std::string bytes) {
        if (!out.Add(path, std::move(bytes))) diag.Error(file, line, path + " is produced twice");
    }
    void Error(const std::string& what) { diag.Error(file, line, what); }
};

void Image_(Context& c, const std::string& path, const std::string& recipe, Options& o) {
    const std::string ext = Extension(path);
    const int bits = o.Int("bits", 24);
    Image img = MakeImage(recipe, o, c.file, c.line, c.diag);
    o.CheckUnused();
    if (ext == ".dds") {
        c.Produce(path, EncodeDdsArgb(img));
    } else if (ext == ".bmp") {
        if (bits != 8 && bits != 24) c.Error("a BMP has bits=8 or bits=24");
        // A BMP keeps no alpha: see-through parts become black (pictures drawn added on).
        for (uint32_t& p : img.pixels) p = ShadeRgb(p, float(ChannelA(p)) / 255.0f) | 0xFF000000u;
        c.Produce(path, bits == 8 ? EncodeBmp8(img) : EncodeBmp24(img));
    } else {
        c.Error("an image is .bmp or .dds: " + path);
    }
}

void Mesh(Context& c, const std::string& path, const std::string& recipe, Options& o) {
    const std::string format = o.Text("format", "text");
    XMaterialSpec material;
    material.texture = o.Text("texture", "");
    MeshBuilder mesh;
    const bool made = MakeMesh(recipe, o, mesh, c.file, c.line, c.diag);
    o.CheckUnused();
    if (!made) return;
    if (Extension(path) != ".x") return c.Error("a mesh is a .x file: " + path);
    if (format != "text" && format != "binary") return c.Error("format is text or binary");
    c.Produce(path, format == "binary" ? WriteXBinary(mesh, material) : WriteXText(mesh, material));
    if (!material.texture.empty())
        c.out.Require(c.file + ":" + std::to_string(c.line), Directory(path) + material.texture);
}

void Sound(Context& c, const std::string& path, const std::string& recipe, Options& o) {
    std::vector<float> samples = SynthesiseEffect(recipe, o, c.file, c.line, c.diag);
    o.CheckUnused();
    if (Extension(path) != ".wav") return c.Error("a sound is a .wav file: " + path);
    if (!samples.empty()) c.Produce(path, EncodeWav16(ToPcm16(samples, 1.0f), kEffectRate, 1));
}

void Colour(Context& c, Options& o, const char* key, uint32_t& target) {
    std::string text = o.Text(key, "");
    if (!text.empty() && !ParseColour(text, target))
        c.Error(std::string("option ") + key + " wants RRGGBB");
}

// An RZ object written in the format asked for, with its swatch texture beside it (made once
// when several models share it).
void WriteRigModel(Context& c, const std::string& path, const std::string& format,
                   const RZ_Model& model, const std::string& texture, const Image& picture) {
    if (Extension(path) != ".rzo") return c.Error("a model is an .rzo file: " + path);
    if (format != "ascii" && format != "binary") return c.Error("format is ascii or binary");
    std::string bytes, why;
    if (!WriteRzObject(model, format == "ascii" ? RZ_SaveFormat::Ascii : RZ_SaveFormat::Binary,
                       bytes, why))
        return c.Error("the model does not fit the format: " + why);
    c.Produce(path, bytes);
    const std::string texturePath = Directory(path) + texture;
    if (!c.out.Has(texturePath)) c.Produce(texturePath, EncodeBmp24(picture));
}

void Humanoid(Context& c, const std::string& path, Options& o) {
    HumanoidLook look;
    look.height = float(o.Number("height", look.height));
    look.texture = o.Text("texture", look.texture);
    look.standName = o.Text("stand", look.standName);
    Colour(c, o, "skin", look.skin);
    Colour(c, o, "hair", look.hair);
    Colour(c, o, "shirt", look.shirt);
    Colour(c, o, "trousers", look.trousers);
    Colour(c, o, "boots", look.boots);
    Colour(c, o, "accent", look.accent);
    Colour(c, o, "eyes", look.eyes);
    const std::string format = o.Text("format", "ascii");
    o.CheckUnused();
    RZ_Model model;
    BuildHumanoid(look, model);
    WriteRigModel(c, path, format, model, look.texture, HumanoidTexture(look));
}

void Beast(Context& c, const std::string& path, Options& o) {
    BeastLook look;
    look.height = float(o.Number("height", look.height));
    look.texture = o.Text("texture", look.texture);
    look.standName = o.Text("stand", look.standName);
    Colour(c, o, "fur", look.fur);
    Colour(c, o, "belly", look.belly);
    Colour(c, o, "mane", look.mane);
    Colour(c, o, "eyes", look.eyes);
    Colour(c, o, "claws", look.claws);
    const std::string format = o.Text("format", "ascii");
    o.CheckUnused();
    RZ_Model model;
    BuildBeast(look, model);
    WriteRigModel(c, path, format, model, look.texture, BeastTexture(look));
}

// A prop in a foreign format, with the picture its textured materials name beside it.
void Prop(Context& c, const std::string& path, const std::string& recipe, Options& o) {
    PropModel prop;
    const bool made = MakePropModel(recipe, o, prop, c.file, c.line, c.diag);
    const std::string texture = o.Text("texture", "");
    o.CheckUnused();
    if (!made) return;
    std::string bytes, why;
    if (!WriteForeignModel(prop, Extension(path), texture, bytes, why))
        return c.Error(why + ": " + path);
    if (!texture.empty() && Extension(texture) != ".bmp")
        return c.Error("a prop's texture is a .bmp file: " + texture);
    c.Produce(path, bytes);
    if (texture.empty()) return;
    // Props may share their picture; a file of that name with other bytes is a clash.
    const std::string texturePath = Directory(path) + texture;
    std::string picture = EncodeBmp24(PropTexture());
    if (const std::string* existing = c.out.Find(texturePath)) {
        if (*existing != picture)
            c.Error(texturePath + " is produced twice with different pictures");
    } else {
        c.Produce(texturePath, std::move(picture));
    }
}

void Model(Context& c, const std::string& path, const std::string& recipe, Options& o) {
    if (recipe == "humanoid") return Humanoid(c, path, o);
    if (recipe == "beast") return Beast(c, path, o);
    if (Extension(path) == ".rzo")
        return c.Error("an .rzo model is made by the humanoid or beast recipe");
    Prop(c, path, recipe, o);
}

}  // namespace

void BuildAssets(std::string_view list, const std::string& fileName, OutputTree& out,
                 Diagnostics& diag) {
    for (const SourceLine& line : SplitLines(list)) {
        std::string text = StripComment(line.text);
        if (text.empty()) continue;
        std::vector<std::string> w = SplitWords(text);
        Context c{fileName, line.number, out, diag};
        if (w.size() < 3) {
            c.Error("an asset line is: kind path recipe [options]");
            continue;
        }
        Options o(w, 3, fileName, line.number, diag);
        const std::string& kind = w[0];
        if (kind == "image")
            Image_(c, w[1], w[2], o);
        else if (kind == "mesh")
            Mesh(c, w[1], w[2], o);
        else if (kind == "sound")
            Sound(c, w[1], w[2], o);
        else if (kind == "model")
            Model(c, w[1], w[2], o);
        else
            c.Error("unknown asset kind " + kind);
    }
}

// Generated files read back through the engine's own decoders.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "audio_synth.h"
#include "gfx/bmp_reader.h"
#include "gfx/dds_reader.h"
#include "gfx/x_mesh.h"
#include "image_codecs.h"
#include "mesh_builder.h"
#include "music.h"
#include "sound/bgm_list.h"
#include "sound/wav_reader.h"

namespace {

const uint8_t* Bytes(const std::string& s) {
    return reinterpret_cast<const uint8_t*>(s.data());
}

// A picture whose pixels all differ: a width of 6 needs row padding in both BMP depths.
Image Gradient(int w, int h) {
    Image img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.At(x, y) = Argb(x * 40 + y, x * 20, y * 30, x * 7 + y * 11);
    return img;
}

// The largest channel difference between a BMP read by the engine and the picture written.
int BmpDifference(const std::string& bmp, const Image& img, uint32_t bits, uint32_t offset) {
    std::vector<uint32_t> argb;
    BmpInfo info;
    bool alpha = false;
    std::string error;
    EXPECT_TRUE(DecodeBmp(Bytes(bmp), bmp.size(), &argb, &info, &alpha, &error)) << error;
    EXPECT_EQ(info.bits, bits);
    EXPECT_EQ(info.dataOffset, offset);
    if (argb.size() != img.pixels.size()) return 999;
    int worst = 0;
    for (size_t i = 0; i < argb.size(); ++i)
        for (int shift : {0, 8, 16})
            worst = std::max(worst, std::abs(int((argb[i] >> shift) & 255) -
                                             int((img.pixels[i] >> shift) & 255)));
    return worst;
}

TEST(AssetCodecs, PicturesSurviveTheEnginesBmpAndDdsReaders) {
    const Image img = Gradient(6, 5);
    EXPECT_EQ(BmpDifference(EncodeBmp24(img), img, 24, 54), 0);
    // Thirty colours fit a palette exactly; the data follows the 256 entries directly.
    EXPECT_EQ(BmpDifference(EncodeBmp8(img), img, 8, 54 + 1024), 0);
    // Pictures of many colours stay close.
    Image many(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) many.At(x, y) = Argb(255, x * 4, y * 4, (x + y) * 2);
    EXPECT_LE(BmpDifference(EncodeBmp8(many), many, 8, 54 + 1024), 24);
    // DDS keeps the alpha too.
    const std::string dds = EncodeDdsArgb(img);
    DdsImage out;
    std::string error;
    ASSERT_TRUE(ReadDds(Bytes(dds), dds.size(), &out, &error)) << error;
    ASSERT_EQ(out.width, 6u);
    ASSERT_EQ(out.height, 5u);
    ASSERT_EQ(out.levels.size(), 1u);
    uint32_t first;
    std::memcpy(&first, out.levels[0].bytes.data() + 4 * 7, 4);
    EXPECT_EQ(first, img.pixels[7]);
}

TEST(AssetCodecs, TextAndBinaryMeshesLoadAlike) {
    MeshBuilder m;
    m.Box({-10, 0, -20}, {10, 30, 20}, UvRect{});
    m.Cylinder({100, 0, 0}, 20, 10, 40, 6, UvRect{}, UvRect{});
    XMaterialSpec material;
    material.texture = "props.bmp";
    XMeshData text, binary;
    std::string error;
    const std::string t = WriteXText(m, material), b = WriteXBinary(m, material);
    ASSERT_TRUE(ReadXMesh(Bytes(t), t.size(), text, error)) << error;
    ASSERT_TRUE(ReadXMesh(Bytes(b), b.size(), binary, error)) << error;
    EXPECT_EQ(text.TriangleCount(), m.triangles.size());
    ASSERT_EQ(binary.indices, text.indices);
    ASSERT_EQ(binary.materials.size(), 1u);
    EXPECT_EQ(binary.materials[0].textureFilename, "props.bmp");
    EXPECT_EQ(text.materials[0].textureFilename, "props.bmp");
    EXPECT_TRUE(binary.FileIsLitVertexFormat());
    for (size_t i = 0; i < text.vertices.size(); ++i) {
        EXPECT_NEAR(text.vertices[i].x, binary.vertices[i].x, 1e-5);
        EXPECT_NEAR(text.vertices[i].u, binary.vertices[i].u, 1e-5);
    }
}

TEST(AssetCodecs, SoundEffectsAreShortPcmWaves) {
    for (const char* recipe : {"blip", "chirp", "chime", "hit", "step", "swing", "magic"}) {
        Diagnostics diag;
        std::vector<std::string> words = {"len=0.1", "seed=2"};
        Options o(words, 0, "t", 1, diag);
        const std::vector<float> samples = SynthesiseEffect(recipe, o, "t", 1, diag);
        ASSERT_TRUE(diag.Ok()) << recipe;
        const std::string wav = EncodeWav16(ToPcm16(samples, 1.0f), kEffectRate, 1);
        WaveData data;
        ASSERT_EQ(ParseWave(Bytes(wav), wav.size(), data), WaveError::kNone) << recipe;
        EXPECT_EQ(data.format.samplesPerSec, uint32_t(kEffectRate));
        EXPECT_EQ(data.size, samples.size() * 2);
        // Audible, and silent at its end (no click when it stops).
        float peak = 0;
        for (float s : samples) peak = std::max(peak, std::fabs(s));
        EXPECT_GT(peak, 0.05f) << recipe;
        EXPECT_LT(std::fabs(samples.back()), 0.02f) << recipe;
    }
}

TEST(AssetCodecs, SongsBecomeMusicListLinesWithLoopPoints) {
    double hz = 0;
    ASSERT_TRUE(NoteFrequency("A4", hz));
    EXPECT_NEAR(hz, 440.0, 1e-9);
    ASSERT_TRUE(NoteFrequency("C#5", hz));
    EXPECT_NEAR(hz, 554.365, 1e-3);
    EXPECT_FALSE(NoteFrequency("H4", hz));
    EXPECT_FALSE(NoteFrequency("C", hz));

    Song song;
    Diagnostics diag;
    ASSERT_TRUE(ParseSong(
        "name btl0\nfile b.flac\ntempo 120\nloop 2\nvoice wave=square\nnotes C4:1 r:1 E4:2\n", "s",
        song, diag));
    EXPECT_DOUBLE_EQ(song.Beats(), 4.0);
    EXPECT_EQ(RenderSong(song).size(), 44100u);
    BgmList list = ParseBgmList(MusicListLine(song));
    ASSERT_EQ(list.entries.size(), 1u);
    EXPECT_EQ(list.entries[0].loopStart, 22050);  // two beats at 120 per minute
    EXPECT_TRUE(list.entries[0].loop);
    song.loopBeat = -1;
    list = ParseBgmList(MusicListLine(song));
    EXPECT_FALSE(list.entries[0].loop);

    Song bad;
    EXPECT_FALSE(ParseSong("name x\nfile x.flac\nvoice\nnotes C4 Q9:1\n", "s", bad, diag));
}

}  // namespace

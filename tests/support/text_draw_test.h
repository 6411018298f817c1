#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fake_glyph_rasterizer.h"
#include "glyph_quads.h"
#include "base/keys.h"
#include "gfx/d3d.h"
#include "gfx/sprite.h"
#include "gfx/text.h"
#include "test_support.h"

// A recording device with box glyphs, so that tests can read back which texts were drawn where.
class TextDrawTest : public HeadlessHostTest {
protected:
    struct Text {
        std::string text;
        float x, y;  // the pen position it was drawn at
        uint32_t colour;
    };

    void SetUp() override {
        HeadlessHostTest::SetUp();
        SetGlyphRasterizer(&fake);
        auto backend = std::make_unique<RecordingBackend>();
        rec = backend.get();
        ASSERT_TRUE(InitD3D(std::move(backend)));
        ResetKeys();
    }
    void TearDown() override {
        ReleaseD3D();
        SetGlyphRasterizer(nullptr);
        ResetKeys();
        HeadlessHostTest::TearDown();
    }

    // Texts in the order drawn, without their shadows.
    std::vector<Text> Texts() const {
        std::vector<Text> out;
        for (const auto& d : rec->draws) {
            if (!d.state.texture) continue;
            auto quads = QuadsOf(*rec, d);
            if (quads.empty() || quads[0].colour == 0xFF0000A0u) continue;
            std::string s = TextOf(*rec, d);
            // Single-byte boxes stand 4 below the pen's top, double-byte ones reach above it.
            bool wide = !s.empty() && IsSjisLeadByte(uint8_t(s[0]));
            out.push_back(
                {s, quads[0].tl.x - 0.5f, quads[0].tl.y - (wide ? -0.5f : 3.5f), quads[0].colour});
        }
        return out;
    }

    RecordingBackend* rec = nullptr;
    FakeGlyphRasterizer fake;
};

#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../gfx/fake_glyph_rasterizer.h"
#include "../gfx/glyph_quads.h"
#include "app/keys.h"
#include "app/sprite.h"
#include "gfx/d3d.h"
#include "gfx/text.h"
#include "test_support.h"

// A recording device with box glyphs, so that tests can read back which texts were drawn where,
// and which boxes.
class BattleUiTest : public HeadlessHostTest {
protected:
    struct Text {
        std::string text;
        float x, y;  // the pen position it was drawn at
        uint32_t colour;
    };
    struct Rect {
        float x, y, w, h;
        uint32_t corners[4];  // top-left, top-right, bottom-left, bottom-right
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

    // Untextured two-triangle draws (window boxes, gradient rectangles).
    std::vector<Rect> Rects() const {
        std::vector<Rect> out;
        for (const auto& d : rec->draws) {
            if (d.state.texture || d.call.vertexCount != 6) continue;
            const auto& p0 = rec->Vertex<ScreenVertex>(d, 0);
            const auto& p1 = rec->Vertex<ScreenVertex>(d, 1);
            const auto& p2 = rec->Vertex<ScreenVertex>(d, 2);
            const auto& p3 = rec->Vertex<ScreenVertex>(d, 5);
            out.push_back({p0.x,
                           p0.y,
                           p2.x - p0.x,
                           p2.y - p0.y,
                           {p0.diffuse, p1.diffuse, p3.diffuse, p2.diffuse}});
        }
        return out;
    }

    RecordingBackend* rec = nullptr;
    FakeGlyphRasterizer fake;
};

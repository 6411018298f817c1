// Index guarding of the GL backend, without GL.
#include <gtest/gtest.h>

#include "platform/gl_primitives.h"

namespace {

using Indices = std::vector<uint16_t>;

TEST(KeepValidPrimitives, BadIndicesDropWholePrimitivesOnly) {
    Indices out;
    GLenum mode = 0;
    const uint16_t good[] = {0, 1, 2, 2, 1, 3};  // nothing to drop: left alone
    EXPECT_FALSE(KeepValidPrimitives(PrimitiveType::TriangleList, good, 6, 4, out, mode));
    EXPECT_TRUE(out.empty());
    const uint16_t list[] = {0, 1, 2, 3, 4, 9, 2, 1, 0};
    ASSERT_TRUE(KeepValidPrimitives(PrimitiveType::TriangleList, list, 9, 5, out, mode));
    EXPECT_EQ(mode, GLenum(GL_TRIANGLES));
    EXPECT_EQ(out, (Indices{0, 1, 2, 2, 1, 0}));

    // Strips unroll with every other triangle turned round, its first vertex kept first.
    const uint16_t strip[] = {0, 1, 2, 3, 4, 7};
    ASSERT_TRUE(KeepValidPrimitives(PrimitiveType::TriangleStrip, strip, 6, 5, out, mode));
    EXPECT_EQ(out, (Indices{0, 1, 2, 1, 3, 2, 2, 3, 4}));

    const uint16_t fan[] = {0, 1, 2, 8, 3, 4};
    ASSERT_TRUE(KeepValidPrimitives(PrimitiveType::TriangleFan, fan, 6, 5, out, mode));
    EXPECT_EQ(out, (Indices{1, 2, 0, 3, 4, 0}));

    const uint16_t lines[] = {0, 1, 5, 2, 2, 3};
    ASSERT_TRUE(KeepValidPrimitives(PrimitiveType::LineStrip, lines, 6, 4, out, mode));
    EXPECT_EQ(mode, GLenum(GL_LINES));
    EXPECT_EQ(out, (Indices{0, 1, 2, 2, 2, 3}));
    ASSERT_TRUE(KeepValidPrimitives(PrimitiveType::LineList, lines, 6, 4, out, mode));
    EXPECT_EQ(out, (Indices{0, 1, 2, 3}));

    const uint16_t points[] = {4, 0, 65535};
    ASSERT_TRUE(KeepValidPrimitives(PrimitiveType::PointList, points, 3, 4, out, mode));
    EXPECT_EQ(mode, GLenum(GL_POINTS));
    EXPECT_EQ(out, (Indices{0}));

    // Nothing left at all: an empty list, which the backend skips.
    const uint16_t none[] = {7, 8, 9};
    ASSERT_TRUE(KeepValidPrimitives(PrimitiveType::TriangleList, none, 3, 4, out, mode));
    EXPECT_TRUE(out.empty());
}

}  // namespace

#include "platform/gl_primitives.h"

GLenum GlPrimitiveMode(PrimitiveType type) {
    switch (type) {
        case PrimitiveType::PointList:
            return GL_POINTS;
        case PrimitiveType::LineList:
            return GL_LINES;
        case PrimitiveType::LineStrip:
            return GL_LINE_STRIP;
        case PrimitiveType::TriangleList:
            return GL_TRIANGLES;
        case PrimitiveType::TriangleStrip:
            return GL_TRIANGLE_STRIP;
        case PrimitiveType::TriangleFan:
            return GL_TRIANGLE_FAN;
    }
    return 0;
}

bool KeepValidPrimitives(PrimitiveType type, const uint16_t* idx, uint32_t n, uint32_t vertexCount,
                         std::vector<uint16_t>& out, GLenum& listMode) {
    bool allValid = true;
    for (uint32_t i = 0; i < n && allValid; ++i) allValid = idx[i] < vertexCount;
    if (allValid) return false;

    out.clear();
    auto ok = [&](uint32_t i) { return idx[i] < vertexCount; };
    auto emit = [&](uint32_t a, uint32_t b, uint32_t c) {
        if (ok(a) && ok(b) && ok(c)) out.insert(out.end(), {idx[a], idx[b], idx[c]});
    };
    switch (type) {
        case PrimitiveType::PointList:
            listMode = GL_POINTS;
            for (uint32_t i = 0; i < n; ++i)
                if (ok(i)) out.push_back(idx[i]);
            break;
        case PrimitiveType::LineList:
        case PrimitiveType::LineStrip: {
            listMode = GL_LINES;
            bool strip = type == PrimitiveType::LineStrip;
            for (uint32_t i = 0; i + 1 < n; i += strip ? 1 : 2)
                if (ok(i) && ok(i + 1)) out.insert(out.end(), {idx[i], idx[i + 1]});
            break;
        }
        case PrimitiveType::TriangleList:
            listMode = GL_TRIANGLES;
            for (uint32_t i = 0; i + 2 < n; i += 3) emit(i, i + 1, i + 2);
            break;
        case PrimitiveType::TriangleStrip:
            listMode = GL_TRIANGLES;
            // Odd triangles are wound the other way round; (i, i+2, i+1) keeps vertex i first.
            for (uint32_t i = 0; i + 2 < n; ++i) {
                if (i % 2 == 0)
                    emit(i, i + 1, i + 2);
                else
                    emit(i, i + 2, i + 1);
            }
            break;
        case PrimitiveType::TriangleFan:
            listMode = GL_TRIANGLES;
            // GL takes a fan triangle's flat colour from its second vertex (i + 1).
            for (uint32_t i = 0; i + 2 < n; ++i) emit(i + 1, i + 2, 0);
            break;
    }
    return true;
}

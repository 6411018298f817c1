#pragma once
#include <string>
#include <vector>

#include "gfx/texture.h"
#include "model/importers/importers.h"
#include "model/material_texture_loader.h"
#include "model_test_util.h"

// A model test whose material textures all "load" from any name, remembering the names tried.
class ImportTest : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        Tried().clear();
        SetMaterialTextureLoader(
            [](GfxDevice* device, const char* name, float, GfxTexture** out, PixelFormat format,
               uint32_t, int32_t, uint32_t) -> uint32_t {
                Tried().push_back(name);
                device->CreateTexture(2, 2, 1, 0, format, Pool::Managed, out);
                return (2u << 16) | 2u;
            },
            nullptr);
    }
    void TearDown() override {
        SetMaterialTextureLoader(nullptr, nullptr);
        ModelTest::TearDown();
    }
    static std::vector<std::string>& Tried() {
        static std::vector<std::string> tried;
        return tried;
    }
    size_t FaceCount() const {
        size_t n = 0;
        for (const RZ_Mesh& m : model->meshes) n += m.faces.size();
        return n;
    }
};

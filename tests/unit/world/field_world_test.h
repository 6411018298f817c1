#pragma once
// A data directory with a copy of the field fixtures, a recording device, a game state and the
// world tables as game start leaves them; and a writer of field files for the tests.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/message_box.h"
#include "base/paths.h"
#include "field/game_state.h"
#include "gfx/d3d.h"
#include "gfx/device.h"
#include "gfx/recording_backend.h"
#include "gfx/texture_slots.h"
#include "test_support.h"
#include "world/field_info.h"
#include "world/field_tables.h"

// The sections of a field file, each item as written; Text() joins them.
struct FieldText {
    std::string lighting = "0,";
    std::string sky = "sky0_";
    std::vector<std::string> ground = std::vector<std::string>(32, "none");
    // height, cell flags, ground image, cell event, camera select; value k is (k % 32, k / 32)
    std::array<std::vector<int64_t>, 5> grids;
    std::vector<std::string> billboards =
        std::vector<std::string>(24, "0,0,0,0,0,1,1,255,255,255,255,none.bmp");
    std::vector<std::string> lights = std::vector<std::string>(20, "0,1,0,0,0,1,1,1,100,");
    std::vector<std::string> meshes = std::vector<std::string>(10, "none\n0,0,0,0,0,0,0,1,1,1,");
    std::vector<std::string> slopes = std::vector<std::string>(16, "0,0,0,");

    FieldText() {
        for (auto& g : grids) g.assign(1024, 0);
    }
    std::string Text() const {
        std::string t = lighting + "\n" + sky + "\n";
        for (const auto& n : ground) t += n + "\n";
        for (const auto& g : grids)
            for (size_t k = 0; k < g.size(); ++k)
                t += std::to_string(g[k]) + (k % 32 == 31 ? ",\n" : ",");
        for (const auto* part : {&billboards, &lights, &meshes, &slopes})
            for (const auto& line : *part) t += line + "\n";
        return t;
    }
};

class FieldWorldTest : public HeadlessHostTest {
protected:
    RecordingBackend backend;
    GfxDevice* device = nullptr;
    std::string dir;

    void SetUp() override {
        HeadlessHostTest::SetUp();
        backend.keep = false;
        device = new GfxDevice(&backend);
        g_pd3dDevice = device;
        dir = MakeTempDir("field");
        std::filesystem::copy(FixturesDir() + "/field", dir,
                              std::filesystem::copy_options::recursive);
        SetDataDirectory(dir);
        ClearTextureSlots();
        g_pGameState = new GameState;
        StartFieldTables();
    }
    void TearDown() override {
        delete g_pGameState;
        g_pGameState = nullptr;
        ReleaseFieldTables();
        ReleaseTextureSlots();
        EXPECT_EQ(device->LiveTextureCount(), 0u);
        g_pd3dDevice = nullptr;
        delete device;
        std::filesystem::remove_all(dir);
        HeadlessHostTest::TearDown();
    }

    QFldInfo& Field() { return *g_pGameState->fieldInfo; }
    void WriteField(const std::string& name, const std::string& text) {
        std::ofstream(std::filesystem::path(dir) / "Field" / (name + ".qf"), std::ios::binary)
            << text;
        ClearPathCache();
    }
    void Load(const std::string& name) {
        Field().load(name.c_str(), g_pGameState ? &g_pGameState->groundLighting : nullptr);
    }
    std::string FieldPath(const std::string& name) const {
        return dir + "\\Field\\" + name + ".qf";
    }
};

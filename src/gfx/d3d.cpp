#include "gfx/d3d.h"

#include "gfx/text.h"
#include "gfx/texture_slots.h"

IGraphicsBackend* g_pD3D = nullptr;
GfxDevice* g_pd3dDevice = nullptr;

bool InitD3D(std::unique_ptr<IGraphicsBackend> backend) {
    if (!backend) return false;
    g_pD3D = backend.release();
    g_pd3dDevice = new GfxDevice(g_pD3D);
    GfxDevice* dev = g_pd3dDevice;
    dev->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::Modulate);
    dev->SetTextureStageState(0, TextureStageState::ColorArg1, TextureArg::Texture);
    dev->SetTextureStageState(0, TextureStageState::ColorArg2, TextureArg::Diffuse);
    dev->SetTextureStageState(0, TextureStageState::AlphaOp, TextureOp::Modulate);
    dev->SetTextureStageState(0, TextureStageState::AlphaArg1, TextureArg::Texture);
    dev->SetTextureStageState(0, TextureStageState::AlphaArg2, TextureArg::Diffuse);
    CreateGameFont(18);
    ClearTextureSlots();
    return true;
}

void ReleaseD3D() {
    ReleaseTextureSlots();
    ReleaseGameFont();
    delete g_pd3dDevice;
    g_pd3dDevice = nullptr;
    delete g_pD3D;
    g_pD3D = nullptr;
}

#include "gfx/d3d.h"

IGraphicsBackend* g_pD3D = nullptr;
GfxDevice* g_pd3dDevice = nullptr;

#pragma once
#include "gfx/backend.h"
#include "gfx/device.h"

// The one backend ("the Direct3D object") and the one rendering device of the game. Null before
// InitD3D and after ReleaseD3D.
extern IGraphicsBackend* g_pD3D;
extern GfxDevice* g_pd3dDevice;

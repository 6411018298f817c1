#pragma once
#include <memory>

#include "gfx/backend.h"
#include "gfx/device.h"

// The one backend ("the Direct3D object") and the one rendering device of the game. Null before
// InitD3D and after ReleaseD3D.
extern IGraphicsBackend* g_pD3D;
extern GfxDevice* g_pd3dDevice;

// Creates the device over the backend (taking it), sets the texture-stage defaults every draw
// relies on, creates the 18-pixel font and empties the 64 texture slots. False without a backend.
bool InitD3D(std::unique_ptr<IGraphicsBackend> backend);
// Texture slots, font, device, backend, in this order; safe after a failed or partial start.
void ReleaseD3D();

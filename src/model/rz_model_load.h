#pragma once

class GfxDevice;
class RZ_Model;

// Model formats of other modelling programs that RZ_Model::Load hands to an importer.
enum class RZ_ForeignFormat { Rok, Mqo, Mx, Cob, Count };

// An importer fills the (already reset) model and reports success; withEdges is the answer to
// the question whether edge data should be read (rok only).
using RZ_ImportFn = bool (*)(RZ_Model& model, GfxDevice* device, const char* fileName,
                             void* ownerWindow, bool withEdges);

// Plugs an importer in instead of the engine's own (null puts the engine's own back).
void RZ_SetImporter(RZ_ForeignFormat format, RZ_ImportFn importer);

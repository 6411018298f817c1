#pragma once
#include <string>

#include "model/rz_model_load.h"

// The engine's importers of foreign model formats in the form RZ_Model::Load calls them. Load's
// table names them directly, so every program that loads models has them.
bool RZ_ImportRokFile(RZ_Model& model, GfxDevice* device, const char* fileName, void* ownerWindow,
                      bool withEdges);
bool RZ_ImportMqoFile(RZ_Model& model, GfxDevice* device, const char* fileName, void* ownerWindow,
                      bool withEdges);
bool RZ_ImportMxFile(RZ_Model& model, GfxDevice* device, const char* fileName, void* ownerWindow,
                     bool withEdges);
bool RZ_ImportCobFile(RZ_Model& model, GfxDevice* device, const char* fileName, void* ownerWindow,
                      bool withEdges);

// Why the last import failed (plain text for authors); empty afterwards.
std::string RZ_TakeImportFailure();

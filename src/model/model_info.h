#pragma once
#include <nlohmann/json.hpp>

#include "model/rz_model.h"

// A summary of a model as the engine loaded it, for authors and tests: counts; bones with names,
// parents, children and origins; the first and last vertices with their bindings; meshes with
// visibility and face counts; materials with colours and texture names; animations with names
// and the key frames of each track. Names are converted to UTF-8.
nlohmann::json ModelInfoJson(const RZ_Model& model);

// The last-error record: {"error": {"code", "codeText", "message", "source", "line", "detail"}}.
nlohmann::json LastErrorJson();

#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/formatted_input.h"
#include "base/little_endian.h"

class RZ_Model;

namespace foreign {

// Shared by the importers of foreign model formats.

// The whole file named by a game path. False, through ImportFail, when it cannot be opened (with
// the importer's own line cannotOpen) or is far too large to be a model.
bool ReadImportFile(const char* fileName, std::string& bytes, const char* cannotOpen);

// A message box with the importers' caption "読込みｴﾗｰ".
void ImportBox(const std::string& textSjis, uint32_t flags);

// Ends an import: writes the reason (plain text for authors) on the diagnostic stream, keeps it
// for RZ_Model::Load to record, and returns false.
bool ImportFail(std::string why);
// The reason of the last failed import, emptied by the call.
std::string TakeImportFailure();

// Models of formats without texture coordinates get one shared (0, 0) entry that every corner
// uses; returns its index.
uint16_t AddZeroUv(RZ_Model& model);

// Per-vertex arrays sized to the vertex pool, every vertex bound to nothing.
void FinishImport(RZ_Model& model);

// Little-endian readers over a byte buffer (ReadU32 in base/little_endian.h); the caller checks the
// bounds.
int32_t ReadS32(const uint8_t* p);
int16_t ReadS16(const uint8_t* p);
float ReadF32(const uint8_t* p);

// Case-insensitive comparison of the first keyword.size() characters of token with keyword.
bool KeywordIs(std::string_view token, std::string_view keyword);

}  // namespace foreign

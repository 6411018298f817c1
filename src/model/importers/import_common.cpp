#include "model/importers/import_common.h"

#include <cstring>

#include "base/ascii.h"
#include "base/game_file.h"
#include "base/host.h"
#include "base/message_box.h"
#include "base/sjis.h"
#include "model/rz_last_error.h"
#include "model/rz_model.h"

namespace foreign {

namespace {

// Far beyond any model these formats can describe; a bigger file is not a model.
constexpr size_t kMaxImportFile = size_t(64) << 20;

std::string g_ImportFailure;

}  // namespace

bool ReadImportFile(const char* fileName, std::string& bytes, const char* cannotOpen) {
    FileRead file = ReadGameFile(fileName ? fileName : "", kMaxImportFile, LongFile::kRefuse);
    bytes = std::move(file.bytes);
    if (file.status == FileStatus::kTooLong) return ImportFail("the file is too large for a model");
    if (!file.Ok()) return ImportFail(cannotOpen);
    return true;
}

void ImportBox(const std::string& textSjis, uint32_t flags) {
    ShowMessageBox(SJIS("読込みｴﾗｰ"), textSjis, flags);
}

bool ImportFail(std::string why) {
    RZ_DiagLine(why);
    g_ImportFailure = std::move(why);
    return false;
}

std::string TakeImportFailure() {
    std::string why = std::move(g_ImportFailure);
    g_ImportFailure.clear();
    return why;
}

uint16_t AddZeroUv(RZ_Model& model) {
    model.uvs.push_back(RZ_TexCoord{});
    return static_cast<uint16_t>(model.uvs.size() - 1);
}

void FinishImport(RZ_Model& model) {
    model.normals.assign(model.vertices.size(), Vector3{});
    model.skinned.clear();
    model.ResetBindings();
}

int32_t ReadS32(const uint8_t* p) {
    return static_cast<int32_t>(ReadU32(p));
}

int16_t ReadS16(const uint8_t* p) {
    return static_cast<int16_t>(uint16_t(p[0]) | uint16_t(p[1]) << 8);
}

float ReadF32(const uint8_t* p) {
    const uint32_t bits = ReadU32(p);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

bool KeywordIs(std::string_view token, std::string_view keyword) {
    if (token.size() < keyword.size()) return false;
    for (size_t i = 0; i < keyword.size(); ++i) {
        if (AsciiLower(token[i]) != AsciiLower(keyword[i])) return false;
    }
    return true;
}

}  // namespace foreign

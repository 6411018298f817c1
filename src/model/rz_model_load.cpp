#include "model/rz_model_load.h"

#include <cstring>
#include <map>
#include <string>

#include "base/ascii.h"
#include "base/diagnostics.h"
#include "base/game_file.h"
#include "base/host.h"
#include "base/message_box.h"
#include "base/sjis.h"
#include "model/importers/importers.h"
#include "model/rz_last_error.h"
#include "model/rz_model.h"
#include "model/rz_object_reader.h"

namespace {

constexpr const char* kSource = "rz_model";
// Far beyond any model the format can describe; a bigger file is not a model.
constexpr size_t kMaxFileSize = size_t(256) << 20;

// The engine's own importers, named here so that no program can link the loader without them.
constexpr RZ_ImportFn kEngineImporters[static_cast<int>(RZ_ForeignFormat::Count)] = {
    RZ_ImportRokFile, RZ_ImportMqoFile, RZ_ImportMxFile, RZ_ImportCobFile};
RZ_ImportFn g_Importers[static_cast<int>(RZ_ForeignFormat::Count)] = {
    RZ_ImportRokFile, RZ_ImportMqoFile, RZ_ImportMxFile, RZ_ImportCobFile};

bool EndsWith(const std::string& name, const char* ext) {
    const size_t n = std::strlen(ext);
    if (name.size() < n) return false;
    for (size_t i = 0; i < n; ++i) {
        if (AsciiLower(name[name.size() - n + i]) != ext[i]) return false;
    }
    return true;
}

std::map<std::string, bool> g_RokAnswers;

// Names a refused model once, with the reason the last-error record holds (a missing file has
// been named where its path matched nothing).
bool Refused(const std::string& name, std::string why = {}) {
    if (why.empty()) why = RZ_LastError.detail;
    if (why.empty()) why = ToUtf8(RZ_ErrorCodeText(RZ_LastError.code));
    DiagnoseOnce(SourcePlace{ShownPath(name)}, "the model cannot be loaded: " + why);
    return false;
}

}  // namespace

RokEdgeAnswer g_RokEdgeAnswer = RokEdgeAnswer::kAskEachTime;

void ForgetRokEdgeAnswers() {
    g_RokAnswers.clear();
}

bool ReadRokEdges(const std::string& fileName) {
    switch (g_RokEdgeAnswer) {
        case RokEdgeAnswer::kYes:
            return true;
        case RokEdgeAnswer::kNo:
            return false;
        case RokEdgeAnswer::kAsk:
            if (auto it = g_RokAnswers.find(fileName); it != g_RokAnswers.end()) return it->second;
            break;
        case RokEdgeAnswer::kAskEachTime:
            break;
    }
    const bool yes = ShowMessageBox(SJIS("確認"), SJIS("辺データを読込みますか？"),
                                    MB_YESNO | MB_ICONQUESTION) == IDYES;
    if (g_RokEdgeAnswer == RokEdgeAnswer::kAsk) g_RokAnswers[fileName] = yes;
    return yes;
}

void RZ_SetImporter(RZ_ForeignFormat format, RZ_ImportFn importer) {
    const int i = static_cast<int>(format);
    if (i >= 0 && i < static_cast<int>(RZ_ForeignFormat::Count)) {
        g_Importers[i] = importer ? importer : kEngineImporters[i];
    }
}

bool RZ_Model::Load(GfxDevice* device, const char* fileName, void* ownerWindow) {
    const std::string name = fileName ? fileName : "";
    bool ok = false;
    // Whatever happens, the old content goes: a refused file leaves an empty model.
    ReleaseTextures();
    Reset();
    if (EndsWith(name, "rzo")) {
        const FileRead file = ReadGameFile(name, kMaxFileSize, LongFile::kRefuse);
        if (file.status != FileStatus::kRead && file.status != FileStatus::kTooLong) {
            RZ_SetLastError(2, RZ_FormatSjis(SJIS("%sを開けません！"), name), __LINE__, kSource);
            if (file.status == FileStatus::kMissing) return false;
            return Refused(name, file.status == FileStatus::kDirectory ? "a folder, not a file"
                                                                       : "the file cannot be read");
        }
        if (file.status == FileStatus::kTooLong) {
            RZ_SetLastError(3, RZ_FormatSjis(SJIS("%sを読込めません！"), name), __LINE__, kSource,
                            "the file is too large for a model");
            return Refused(name);
        }
        if (IsRzAsciiHeader(file.Data(), file.bytes.size())) CheckDataText(file.bytes, name);
        ok = ReadRzObject(*this, file.Data(), file.bytes.size(), device, ownerWindow, name.c_str());
        if (!ok) return Refused(name);  // the reader has recorded why
    } else {
        RZ_ForeignFormat format;
        if (EndsWith(name, "rok")) {
            format = RZ_ForeignFormat::Rok;
        } else if (EndsWith(name, "mqo")) {
            format = RZ_ForeignFormat::Mqo;
        } else if (EndsWith(name, "mx")) {
            format = RZ_ForeignFormat::Mx;
        } else if (EndsWith(name, "cob")) {
            format = RZ_ForeignFormat::Cob;
        } else {
            RZ_SetLastError(3,
                            SJIS("このファイルには、対応していません！もしくは、拡張子が間違って"
                                 "います。"),
                            __LINE__, kSource, "not a model format the engine reads");
            return Refused(name);
        }
        bool withEdges = false;
        if (format == RZ_ForeignFormat::Rok) withEdges = ReadRokEdges(name);
        RZ_TakeImportFailure();  // a reason left over from an earlier import is not this one's
        ok = g_Importers[static_cast<int>(format)](*this, device, name.c_str(), ownerWindow,
                                                   withEdges);
        const std::string detail = ok ? std::string() : RZ_TakeImportFailure();
        if (!ok) {
            RZ_SetLastError(3, RZ_FormatSjis(SJIS("%sを読込めません！"), name), __LINE__, kSource,
                            detail);
            ReleaseTextures();
            Reset();
            return Refused(name);
        }
        // The text formats (all but mx, and cob but its binary kind) name what no author writes:
        // a control byte, a last line cut short.
        if (format != RZ_ForeignFormat::Mx) {
            const FileRead file = ReadGameFile(name, kMaxFileSize, LongFile::kRefuse);
            if (file.Ok() && file.bytes.find('\0') == std::string::npos)
                CheckDataText(file.bytes, name);
        }
    }
    skinned.resize(vertices.size());
    for (size_t i = 0; i < vertices.size(); ++i) skinned[i] = vertices[i].position;
    if (normals.size() != vertices.size()) normals.assign(vertices.size(), Vector3{});
    return true;
}

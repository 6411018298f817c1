#include "model/rz_object_reader.h"

#include <cstring>
#include <string>

#include "base/ascii.h"
#include "base/diagnostics.h"
#include "base/sjis.h"
#include "model/rz_content_sink.h"
#include "model/rz_last_error.h"
#include "model/rz_model.h"
#include "model/rz_object_readers.h"

namespace {

// Reads a decimal number as the runtime's scanner would (leading blanks, a sign, digits).
bool ScanNumber(const char*& p) {
    while (IsAsciiSpace(*p)) ++p;
    if (*p == '+' || *p == '-') ++p;
    if (!IsAsciiDigit(*p)) return false;
    while (IsAsciiDigit(*p)) ++p;
    return true;
}

}  // namespace

bool IsRzAsciiHeader(const uint8_t* data, size_t size) {
    char header[kRzHeaderSize + 1] = {};
    if (size > 0) std::memcpy(header, data, size < kRzHeaderSize ? size : kRzHeaderSize);
    static constexpr char kPrefix[] = "RZ Object format V";
    const char* p = header;
    if (std::strncmp(p, kPrefix, sizeof kPrefix - 1) != 0) return false;
    p += sizeof kPrefix - 1;
    // The two version numbers are read and not checked.
    if (!ScanNumber(p) || *p++ != '.' || !ScanNumber(p)) return false;
    while (IsAsciiSpace(*p)) ++p;
    const char* word = p;
    while (*p && !IsAsciiSpace(*p)) ++p;
    return std::string_view(word, size_t(p - word)) == "ASCII";
}

bool ReadRzObject(RZ_Model& model, const uint8_t* data, size_t size, GfxDevice* device,
                  void* ownerWindow, const char* fileName) {
    model.Reset();
    RzContentSink sink(model, device, ownerWindow);
    const bool ascii = IsRzAsciiHeader(data, size);
    const bool ok =
        (ascii ? ReadRzAscii(data, size, sink) : ReadRzBinary(data, size, sink)) && sink.Finish();
    if (ok) {
        if (!sink.note.empty()) {
            const std::string_view text(reinterpret_cast<const char*>(data), size);
            const std::string shown = ShownPath(fileName ? fileName : "");
            DiagnoseOnce(sink.noteAt == std::string::npos ? SourcePlace{shown}
                                                          : PlaceInText(text, sink.noteAt, shown),
                         sink.note);
        }
        return true;
    }
    const std::string name = fileName ? fileName : "";
    RZ_SetLastError(3, RZ_FormatSjis(SJIS("%sを読込めません！"), name), __LINE__, "rz_model",
                    std::string(ascii ? "ASCII" : "binary") + " RZ object: " + sink.error);
    RZ_DiagLine(name + ": " + RZ_LastError.detail);
    model.ReleaseTextures();
    model.Reset();
    return false;
}

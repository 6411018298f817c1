#include "model/rz_last_error.h"

#include <utility>

#include "base/sjis.h"

RZ_ErrorRecord RZ_LastError;

void RZ_SetLastError(int32_t code, std::string messageSjis, int32_t line, const char* source,
                     std::string detail) {
    RZ_LastError.code = code;
    RZ_LastError.message = std::move(messageSjis);
    RZ_LastError.line = line;
    RZ_LastError.source = source ? source : "";
    RZ_LastError.detail = std::move(detail);
}

const std::string& RZ_ErrorCodeText(int32_t code) {
    switch (code) {
        case 0:
            return SJIS("エラーは起きてないよ。");
        case 1:
            return SJIS("内部エラー！");
        case 2:
            return SJIS("ファイルが見つかりませんでした！");
        case 3:
            return SJIS("ファイルフォーマットが無効です！");
        default:
            return SJIS("未定義のエラー！！");
    }
}

std::string RZ_FormatSjis(const std::string& templateSjis, std::string_view arg) {
    std::string out = templateSjis;
    const size_t at = out.find("%s");
    if (at != std::string::npos) out.replace(at, 2, arg);
    return out;
}

#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "source_text.h"

class ITextCodec;

// Text sources are UTF-8 with any line ends; the game reads Shift-JIS with CR LF. Each line is
// converted on its own, so an error names the line with the character that has no Shift-JIS
// form. Kinds of files get checks of their own (by the path under the data directory):
// - scripts (SCR/...): whole lines starting with "%%" are the author's notes and are left out
//   (the script language has no comments: a command prefix acts wherever it stands); labels
//   must not contain a command prefix of the runner that plays the script; the text must fit
//   the script buffer;
// - data tables (Datas/...): one record per line, no empty lines, words of the right count and
//   names and help texts within their fields.
// `lines`, when given, receives the source line of each line of the result.
bool ConvertTextSource(ITextCodec& codec, std::string_view utf8, const std::string& relativePath,
                       std::string& sjis, Diagnostics& diag, std::vector<int>* lines = nullptr);

// Longest script text the game keeps (the loader appends its end command behind it), counted
// as the game reads it: CR LF as one character.
constexpr size_t kMaxScriptText = 4093;

// Numbers in data and script files are any bytes: ParseInt must read exactly what strtoll reads
// from the same text (value, characters taken, range error), ParseWholeInt exactly what
// std::from_chars takes as a whole word, and neither may read past the text.
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/parse_int.h"
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Exactly as long as the input, so that reading past it is caught.
    const std::vector<char> exact(data, data + size);
    const std::string_view text(exact.data(), exact.size());
    const ParsedInt r = ParseInt(text);

    const std::string terminated(text.substr(0, text.find('\0')));
    char* end = nullptr;
    errno = 0;
    const long long expected = std::strtoll(terminated.c_str(), &end, 10);
    fuzz::Check(r.value == expected, "value as strtoll");
    fuzz::Check(r.used == size_t(end - terminated.c_str()), "characters taken as strtoll");
    fuzz::Check(r.outOfRange == (errno == ERANGE), "range error as strtoll");

    int64_t whole = 0, fromChars = 0;
    const bool ok = ParseWholeInt(text, whole);
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), fromChars);
    const bool expectOk = !text.empty() && ec == std::errc() && ptr == text.data() + text.size();
    fuzz::Check(ok == expectOk, "whole word as from_chars");
    fuzz::Check(!ok || whole == fromChars, "whole-word value as from_chars");
    return 0;
}

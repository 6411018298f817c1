#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

// Reads a text in memory the way the runtime library's formatted input reads a file, because the
// data files were written for exactly those rules: each conversion skips leading whitespace,
// "%d" takes a sign and decimal digits, "%f" a sign, digits, a point and an exponent, "%s" a run
// of non-whitespace bytes (so "name," keeps its comma); a whitespace character in a format skips
// any whitespace, any other character must come next in the text or the call ends there.
class FormattedInput {
public:
    FormattedInput(const char* data, size_t size) : data_(data), size_(size) {}
    explicit FormattedInput(std::string_view text) : FormattedInput(text.data(), text.size()) {}

    // One call with a format of %d (int32_t*), %f (float*), %s (std::string*), literals and
    // whitespace. Returns how many values were stored, or -1 when the text ended before the
    // first one. A value that cannot be read leaves its target and the rest alone.
    template <typename... Targets>
    int Scan(std::string_view format, Targets*... targets) {
        Target list[] = {Target(targets)..., Target()};
        return ScanList(format, list, sizeof...(Targets));
    }

    size_t Position() const { return pos_; }
    bool AtEnd() const { return pos_ >= size_; }

private:
    using Target = std::variant<std::monostate, int32_t*, float*, std::string*>;
    int ScanList(std::string_view format, const Target* targets, size_t count);
    void SkipSpace();
    bool ReadInt(int32_t& out);
    bool ReadFloat(float& out);
    bool ReadToken(std::string& out);

    const char* data_;
    size_t size_;
    size_t pos_ = 0;
};

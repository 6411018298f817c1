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
// Whitespace is ' ' and '\t' to '\r'. Nothing is read past the end of the text.
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

    // The same rules a step at a time, as the model importers read their formats.
    // A format without conversions: false at the first character that does not match.
    bool Match(std::string_view literal);
    // "%s": false when the text ends before a non-whitespace byte.
    bool Word(std::string& word);
    // Numbers as strtol and strtof read them, from at most kMaxNumberText characters after the
    // whitespace (see ParseLong); false, with the value and position kept, when none comes.
    bool Long(long& value);
    bool Float(float& value);
    // The rest of the current line (without its line feed), which is then passed.
    std::string_view RestOfLine();
    void SkipSpace();

    // Where the first "%d" number that did not fit 32 bits starts (it wrapped, as the runtime's
    // reads wrap it); npos when none did.
    size_t WrappedNumber() const { return wrapped_; }

    size_t Position() const { return pos_; }
    void SetPosition(size_t pos) { pos_ = pos < size_ ? pos : size_; }
    bool AtEnd() const { return pos_ >= size_; }
    std::string_view Text() const { return {data_, size_}; }

private:
    using Target = std::variant<std::monostate, int32_t*, float*, std::string*>;
    int ScanList(std::string_view format, const Target* targets, size_t count);
    template <typename T>
    bool TakeNumber(T (*parse)(std::string_view, size_t*), T& value) {
        size_t used = 0;
        const T v = parse(Text().substr(pos_), &used);
        if (used == 0) return false;
        value = v;
        pos_ += used;
        return true;
    }
    bool ReadInt(int32_t& out);
    bool ReadFloat(float& out);

    const char* data_;
    size_t size_;
    size_t pos_ = 0;
    size_t wrapped_ = std::string_view::npos;
};

// Longest number text ParseLong and ParseFloat look at; a longer run of digits is cut there.
constexpr size_t kMaxNumberText = 63;
// strtol and strtof on text that need not end in a NUL: whitespace skipped, then at most
// kMaxNumberText characters; 0 when no number comes. `used` receives the characters taken,
// whitespace included, 0 when there was no number.
long ParseLong(std::string_view text, size_t* used = nullptr);
float ParseFloat(std::string_view text, size_t* used = nullptr);

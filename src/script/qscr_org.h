#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

// One script: its whole text, the reading position and the script's variables. The record owns
// the text and the lexical readers that commands take their arguments with; the runners decide
// what the text means. The text stays raw Shift-JIS bytes.
struct QScrOrg {
    static constexpr int32_t kTextSize = 4096;
    static constexpr int32_t kStrSize = 256;
    // The loader keeps room for the appended end command "c0" and the terminating NUL.
    static constexpr int32_t kMaxFileText = kTextSize - 3;
    // A number argument holds at most this many characters before its ','.
    static constexpr int32_t kMaxNumberChars = 17;
    static constexpr int32_t kIntVars = 4;
    static constexpr int32_t kFloatVars = 6;

    char text[kTextSize] = {};  // NUL-padded; the loader appends "c0" behind the file's contents
    int32_t pc = 0;             // index of the next character of text to read
    int32_t running = 0;        // nonzero until the script ends
    int32_t stepping = 0;       // nonzero while the runner keeps reading in this frame
    int32_t iv[kIntVars] = {};  // iv[2] is also the condition flag
    float fv[kFloatVars] = {};
    char str[kStrSize] = {};  // the string register
    int32_t aux = 0;          // fade counter of a script change; 0 after a technique load
    int32_t actor = 0;        // technique scripts: the fighter using the technique
    float speed = 0.0f;       // technique scripts: that fighter's run speed

    // Loads "<base>SCR\<name>.qd". pc becomes 0 whatever happens; the variables, running and
    // stepping are left alone; a missing file keeps the old text. False when nothing was read.
    bool Load(const char* name);

    // Reads one integer argument ended by ','.
    int32_t gInt();
    // Reads one float argument ended by ','; callers keep it as a 32-bit float, so the value
    // always fits one.
    double gFloat();
    // Copies one string argument ended by "//" into destination (NUL-terminated, cut to fit).
    void gStr(char* destination, size_t capacity);
    template <size_t N>
    void gStr(char (&destination)[N]) {
        gStr(destination, N);
    }

    // Moves pc just behind the first label "@:<label>//" at or after pc. False, with a message
    // and pc on the end command, when there is none.
    bool jpAf(const char* label);
    // The same toward the start of the text: finds the nearest label at or before pc.
    bool jpAb(const char* label);
    // Whether the text holds the label "@:<label>//" anywhere (nothing is said or moved).
    bool HasLabel(std::string_view label) const { return FindLabelFrom(0, label) >= 0; }

    void Rewind() { pc = 0; }
    // Shows the text from pc to the next NUL in the error box (a debugging aid).
    void ShowRest();
    int32_t ActorIndex() const { return actor; }

    // Index of the end command that the loader appended (of the terminator when there is none):
    // where a script that has lost its place goes so that it ends.
    int32_t EndOfText() const;

    // Arguments that may name a variable: -k stands for iv[k-1] (fv[k-1]); other values are
    // taken as they are. A reference past the table reads 0.
    int32_t IntRef(int32_t value) const;
    float FloatRef(float value) const;

private:
    bool PairAt(int32_t at, char first, char second) const;
    // The first "//" at or after `from`; -1 when the text ends first.
    int32_t FindSlashes(int32_t from) const;
    bool LabelMatches(int32_t nameStart, int32_t nameEnd, std::string_view label) const;
    // Just behind the first label "@:<label>//" at or after `at`; -1 when there is none.
    int32_t FindLabelFrom(int32_t at, std::string_view label) const;
    void LabelMissing(std::string_view label, bool forward);
};

#include "world/data_tables.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "base/diagnostics.h"
#include "base/formatted_input.h"
#include "base/game_file.h"
#include "base/message_box.h"
#include "base/paths.h"
#include "base/sjis.h"
#include "base/sjis_text.h"
#include "world/menu_actions.h"

TechniqueTable TechniqueTables[kTechniqueTableCount];
DataTable<MenuEntryRecord> MenuEntries;
DataTable<GoodsRecord> Goods;

namespace {

// The fields of one line as the scanner left them: `read` says how many it stored (-1 once the
// text has ended).
struct TableLine {
    std::string name, text;
    int32_t third = 0, fourth = 0;
    int read = 0;
};

// Names what a record of a table file cannot keep, once per file and fault, at the line the
// record starts on. Quiet without a path (the tests' and tools' own texts).
class TableFaults {
public:
    TableFaults(std::string_view text, std::string_view pathSjis)
        : text_(text), shown_(pathSjis.empty() ? std::string() : ShownPath(pathSjis)) {}
    void At(size_t offset) { at_ = offset; }
    void Say(size_t offset, const std::string& english) const {
        if (!shown_.empty()) DiagnoseOnce(PlaceInText(text_, offset, shown_), english);
    }
    void Say(const std::string& english) const { Say(at_, english); }
    // A word copied into a field of `size` bytes (the NUL included).
    void Word(const char* what, const std::string& word, size_t size) const {
        if (word.size() >= size)
            Say(std::string(what) + " is " + std::to_string(word.size()) + " bytes long; only " +
                std::to_string(size - 1) + " are kept");
    }
    void Number(const char* what, int32_t value, int32_t low, int32_t high) const {
        if (value < low || value > high)
            Say(std::string(what) + " " + std::to_string(value) + " is out of range (" +
                std::to_string(low) + " to " + std::to_string(high) + ")");
    }

private:
    std::string_view text_;
    std::string shown_;
    size_t at_ = 0;
};

TableLine ScanLine(FormattedInput& in, bool withNumbers) {
    TableLine l;
    l.read = withNumbers ? in.Scan("%s %s %d %d\n", &l.name, &l.text, &l.third, &l.fourth)
                         : in.Scan("%s %s \n", &l.name, &l.text);
    return l;
}

// Counts, allocates and reads the lines, one record each ("name text" and, withNumbers, two
// numbers); `store` fills a record from its line. False when the text had more lines than a
// table keeps. A table that names its file says what its records could not keep, a record cut
// short, and a text that ends inside a line.
template <typename Record, typename Store>
bool ParseTable(std::string_view raw, DataTable<Record>& table, bool withNumbers,
                std::string_view pathSjis, Store store) {
    // The tables were opened in text mode: line ends are "\n" and Ctrl-Z ends the file.
    const std::string text = TextModeText(raw);
    if (!pathSjis.empty()) CheckDataText(text, pathSjis);
    TableFaults faults(text, pathSjis);
    if (text.empty()) faults.Say("the table is empty");
    const int32_t lines = CountTableLines(text);
    table.Allocate(std::min(lines, kMaxTableRecords));
    FormattedInput in(text);
    const int fields = withNumbers ? 4 : 2;
    // Once the text has ended the remaining records stay blank.
    for (int32_t i = 0; i < table.Count(); ++i) {
        in.SkipSpace();  // as the first word's conversion does: the record starts here
        faults.At(in.Position());
        const TableLine l = ScanLine(in, withNumbers);
        if (l.read <= 0) break;
        if (l.read < fields)
            faults.Say("a record of " + std::to_string(l.read) + " of its " +
                       std::to_string(fields) +
                       " fields (a word where a number belongs, or the table ends early)");
        store(l, table.At(i), faults);
    }
    if (in.WrappedNumber() != std::string_view::npos)
        faults.Say(in.WrappedNumber(),
                   "a number past the 32-bit range (-2147483648 to 2147483647): it wraps");
    return lines <= kMaxTableRecords;
}

// Reads the file at "<base>Datas\<file>" into `table` with `parse`; reports a missing file with
// `missing` and a file too long for a table with its path.
template <typename Table, typename Parse>
bool LoadTable(const std::string& file, Table& table, const std::string& missing, Parse parse) {
    const std::string path = std::string(GetBasePath()) + "Datas\\" + file;
    const FileRead contents = ReadGameFile(path, kMaxTableFileBytes);
    if (!contents.Ok()) {
        table.Release();
        RZ_MsgBox(missing, "the table " + ShownPath(path) + " cannot be read");
        return false;
    }
    if (!parse(contents.bytes, table, path))
        RZ_MsgBox(
            SJIS("データの行が多すぎます。先頭の4096行だけ読みました。\n") + path,
            "the table " + ShownPath(path) + " has more than 4096 lines; the rest is left out");
    return true;
}

// The name and, when the line goes on, its help text: each checked against its field and copied.
// Returns whether the line went on past its name.
template <size_t NameSize, size_t HelpSize>
bool NameAndHelp(const TableLine& l, const TableFaults& faults, char (&name)[NameSize],
                 char (&help)[HelpSize]) {
    faults.Word("the name", l.name, NameSize);
    CopySjisField(name, NameSize, l.name);
    if (l.read < 2) return false;
    faults.Word("the help text", l.text, HelpSize);
    CopySjisField(help, HelpSize, l.text);
    return true;
}

}  // namespace

int32_t CountTableLines(std::string_view text) {
    // One more record each time a line of at most 255 bytes is read and one more byte follows
    // it; that byte is swallowed, as the count has always been taken.
    int32_t count = 0;
    size_t pos = 0;
    for (;;) {
        if (count <= kMaxTableRecords) ++count;
        size_t taken = 0;
        while (pos < text.size() && taken < 255) {
            ++taken;
            if (text[pos++] == '\n') break;
        }
        if (pos >= text.size()) return count;
        ++pos;
    }
}

const TechniqueTable& TechniqueTableAt(int32_t n) {
    static const TechniqueTable kEmpty;
    return n >= 0 && n < kTechniqueTableCount ? TechniqueTables[n] : kEmpty;
}

bool ParseTechniqueTable(std::string_view text, TechniqueTable& table, std::string_view pathSjis) {
    return ParseTable(text, table, true, pathSjis,
                      [](const TableLine& l, TechniqueRecord& r, const TableFaults& faults) {
                          if (!NameAndHelp(l, faults, r.name, r.description)) return;
                          if (l.read >= 3) faults.Number("the number", l.third, 0, UINT8_MAX);
                          if (l.read >= 3) r.number = static_cast<uint8_t>(l.third);
                          if (l.read >= 4) faults.Number("the flags", l.fourth, 0, UINT8_MAX);
                          if (l.read >= 4) r.flags = static_cast<uint8_t>(l.fourth);
                      });
}

bool ParseMenuEntries(std::string_view text, DataTable<MenuEntryRecord>& table,
                      std::string_view pathSjis) {
    return ParseTable(text, table, false, pathSjis,
                      [](const TableLine& l, MenuEntryRecord& r, const TableFaults& faults) {
                          if (!NameAndHelp(l, faults, r.name, r.help)) return;
                      });
}

bool ParseGoods(std::string_view text, DataTable<GoodsRecord>& table, std::string_view pathSjis) {
    return ParseTable(text, table, true, pathSjis,
                      [](const TableLine& l, GoodsRecord& r, const TableFaults& faults) {
                          if (!NameAndHelp(l, faults, r.name, r.description)) return;
                          if (l.read >= 3)
                              faults.Number("the third", l.third, INT16_MIN, INT16_MAX);
                          if (l.read >= 3) r.third = static_cast<int16_t>(l.third);
                          if (l.read >= 4)
                              faults.Number("the fourth", l.fourth, INT16_MIN, INT16_MAX);
                          if (l.read >= 4) r.fourth = static_cast<int16_t>(l.fourth);
                      });
}

bool LoadTechniqueTable(int32_t n) {
    if (n < 0 || n >= kTechniqueTableCount) return false;
    return LoadTable("WzDatas_" + std::to_string(n) + ".qd", TechniqueTables[n],
                     SJIS("ワザデータ読み込み、ミステイク！！"), ParseTechniqueTable);
}

bool LoadMenuEntries() {
    return LoadTable("MnuDatas.qd", MenuEntries, SJIS("メニューデータ読み込み、ミステイク！！"),
                     ParseMenuEntries);
}

bool LoadGoods() {
    return LoadTable("GzDatas.qd", Goods, SJIS("グッズデータ読み込み、ミステイク！！"), ParseGoods);
}

void LoadDataTables() {
    for (int32_t n = 0; n < kTechniqueTableCount; ++n) LoadTechniqueTable(n);
    LoadMenuEntries();
    LoadGoods();
    LoadMenuActions();  // checked against the menu table
}

void ReleaseDataTables() {
    for (TechniqueTable& t : TechniqueTables) t.Release();
    MenuEntries.Release();
    Goods.Release();
    ReleaseMenuActions();
}

#include "world/data_tables.h"

#include <algorithm>
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

TableLine ScanLine(FormattedInput& in, std::string_view format, bool withNumbers) {
    TableLine l;
    l.read = withNumbers ? in.Scan(format, &l.name, &l.text, &l.third, &l.fourth)
                         : in.Scan(format, &l.name, &l.text);
    return l;
}

// Counts, allocates and reads the lines with `read`, which fills one record and says whether the
// text went on. False when the text had more lines than a table keeps.
template <typename Record, typename ReadLine>
bool ParseTable(std::string_view raw, DataTable<Record>& table, ReadLine read) {
    // The tables were opened in text mode: line ends are "\n" and Ctrl-Z ends the file.
    const std::string text = TextModeText(raw);
    const int32_t lines = CountTableLines(text);
    table.Allocate(std::min(lines, kMaxTableRecords));
    FormattedInput in(text);
    // Once the text has ended the remaining records stay blank.
    for (int32_t i = 0; i < table.Count() && read(in, table.At(i)); ++i) {
    }
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
    if (!parse(contents.bytes, table))
        RZ_MsgBox(
            SJIS("データの行が多すぎます。先頭の4096行だけ読みました。\n") + path,
            "the table " + ShownPath(path) + " has more than 4096 lines; the rest is left out");
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

bool ParseTechniqueTable(std::string_view text, TechniqueTable& table) {
    return ParseTable(text, table, [](FormattedInput& in, TechniqueRecord& r) {
        const TableLine l = ScanLine(in, "%s %s %d %d\n", true);
        if (l.read <= 0) return false;
        CopySjisField(r.name, sizeof r.name, l.name);
        if (l.read >= 2) CopySjisField(r.description, sizeof r.description, l.text);
        if (l.read >= 3) r.number = static_cast<uint8_t>(l.third);
        if (l.read >= 4) r.flags = static_cast<uint8_t>(l.fourth);
        return true;
    });
}

bool ParseMenuEntries(std::string_view text, DataTable<MenuEntryRecord>& table) {
    return ParseTable(text, table, [](FormattedInput& in, MenuEntryRecord& r) {
        const TableLine l = ScanLine(in, "%s %s \n", false);
        if (l.read <= 0) return false;
        CopySjisField(r.name, sizeof r.name, l.name);
        if (l.read >= 2) CopySjisField(r.help, sizeof r.help, l.text);
        return true;
    });
}

bool ParseGoods(std::string_view text, DataTable<GoodsRecord>& table) {
    return ParseTable(text, table, [](FormattedInput& in, GoodsRecord& r) {
        const TableLine l = ScanLine(in, "%s %s %d %d\n", true);
        if (l.read <= 0) return false;
        CopySjisField(r.name, sizeof r.name, l.name);
        if (l.read >= 2) CopySjisField(r.description, sizeof r.description, l.text);
        if (l.read >= 3) r.third = static_cast<int16_t>(l.third);
        if (l.read >= 4) r.fourth = static_cast<int16_t>(l.fourth);
        return true;
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

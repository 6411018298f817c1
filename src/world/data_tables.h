#pragma once
#include <cstdint>
#include <memory>
#include <string_view>

// The game's data tables of techniques, menu entries and goods: plain text in "Datas", one
// record per line, read once at game start and kept for the whole run.

constexpr int kTechniqueTableCount = 6;
constexpr int kTableNameSize = 21;  // 20 bytes and the NUL
constexpr int kTableTextSize = 63;  // 62 bytes and the NUL
// A table keeps at most this many records; the rest of a longer file is reported and dropped.
constexpr int32_t kMaxTableRecords = 4096;
// Bytes of a table file that are read; anything behind them is ignored.
constexpr size_t kMaxTableFileBytes = 1 << 20;

// Flag bits of a technique (its fourth column) that the battle menus test.
constexpr uint8_t kTechniqueAimsAtEnemies = 4;
constexpr uint8_t kTechniqueOpensList = 8;
constexpr uint8_t kTechniqueImmediate = 16;

// "WzDatas_%d.qd", line "%s %s %d %d".
struct TechniqueRecord {
    char name[kTableNameSize];
    char description[kTableTextSize];  // the help text of the battle menus
    uint8_t number;  // the number shown beside the technique in the menu (low 8 bits of the file's)
    uint8_t flags;   // the kTechnique* bits
};

// "MnuDatas.qd", line "%s %s". The menu screen reads the help text 21 bytes into the record.
struct MenuEntryRecord {
    char name[kTableNameSize];
    char help[kTableTextSize];
};
static_assert(sizeof(MenuEntryRecord) == 84);

// "GzDatas.qd", line "%s %s %d %d". Nothing in the game reads the two numbers yet; they keep the
// low 16 bits of what the file says.
struct GoodsRecord {
    char name[kTableNameSize];
    char description[kTableTextSize];
    int16_t third;
    int16_t fourth;
};

// One loaded table: a block of records allocated once. Reading is always safe: an index outside
// the table, or any index of a table whose file was missing, gives a blank record (empty texts,
// numbers 0).
template <typename Record>
class DataTable {
public:
    const Record& operator[](int32_t i) const {
        return i >= 0 && i < count_ ? records_[size_t(i)] : kBlank;
    }
    int32_t Count() const { return count_; }
    bool Empty() const { return count_ == 0; }

    // Replaces the records with `count` blank ones (0 empties the table).
    void Allocate(int32_t count) {
        records_.reset(count > 0 ? new Record[size_t(count)]() : nullptr);
        count_ = count > 0 ? count : 0;
    }
    Record& At(int32_t i) { return records_[size_t(i)]; }  // for the loaders; i < Count()
    void Release() { Allocate(0); }

private:
    static constexpr Record kBlank{};
    std::unique_ptr<Record[]> records_;
    int32_t count_ = 0;
};

using TechniqueTable = DataTable<TechniqueRecord>;

extern TechniqueTable TechniqueTables[kTechniqueTableCount];
extern DataTable<MenuEntryRecord> MenuEntries;
extern DataTable<GoodsRecord> Goods;

// Technique table n; an empty table for a number outside 0-5.
const TechniqueTable& TechniqueTableAt(int32_t n);

// Load "<base>Datas\WzDatas_<n>.qd", "MnuDatas.qd", "GzDatas.qd". A file that cannot be opened
// is reported with the table's message and leaves the table empty; false then. Technique table
// numbers outside 0-5 are ignored (false).
bool LoadTechniqueTable(int32_t n);
bool LoadMenuEntries();
bool LoadGoods();
// Game start: technique tables 0 to 5, menu entries, goods, in this order; then what the menu
// entries do (world/menu_actions.h).
void LoadDataTables();
// Empties every table and the menu entries' actions (the world reset and tests).
void ReleaseDataTables();

// The reading itself, on a file's text as read in binary. Records are counted by lines as the
// files were always counted (a file without a final line break has as many records as lines; an
// empty file has one blank record); each record is read with the table's line format, and what
// the text does not give stays blank. Names and texts longer than their fields are cut there.
// False when the table had more lines than kMaxTableRecords (those behind are dropped).
// With the file's path (Shift-JIS), what a record cannot keep is named on the diagnostics channel
// once per file and fault: a record cut short, a word longer than its field, a number past its
// field's range, a text that ends inside a line.
bool ParseTechniqueTable(std::string_view text, TechniqueTable& table,
                         std::string_view pathSjis = {});
bool ParseMenuEntries(std::string_view text, DataTable<MenuEntryRecord>& table,
                      std::string_view pathSjis = {});
bool ParseGoods(std::string_view text, DataTable<GoodsRecord>& table,
                std::string_view pathSjis = {});

// Records in a table file's text, counted the way the loaders count them.
int32_t CountTableLines(std::string_view text);

// TTVObject: a read-only engine for table files — named tables of named, typed, fixed-width
// columns whose rows lie at known offsets — as the language file D\UI.LNG is written.
#pragma once

#include "data/Chains.h"
#include "data/Coding.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace slumra {

// Longest table, column and password name; longest cell text.
inline constexpr std::size_t kTVNameMax = 63;
inline constexpr std::size_t kTVTextMax = 255;

inline constexpr std::size_t kTVHeaderSize = 272;
inline constexpr std::size_t kTVTableSize = 77;
inline constexpr std::size_t kTVColumnSize = 137;
inline constexpr std::uint16_t kTVVersion = 100;
inline constexpr std::size_t kTVCheckCount = 63;

// Column type codes as stored; 15..255 are invalid.
enum class TVType : std::uint8_t {
    Boolean = 0,
    Byte = 1,
    Int64 = 2,
    Integer = 3,
    DateTime = 4,
    Extended = 5,
    Integer6 = 6,
    Integer7 = 7,
    Double = 8,
    Real48 = 9,
    Links = 10,
    ShortInt = 11,
    Single = 12,
    String = 13,
    Word = 14,
};

/*
 * TVHeader, the first 272 bytes of a structure file, integers little-endian:
 *   offset 0    4 bytes   table count, signed 32-bit (0 or less: no tables)
 *   offset 4    1 byte    scramble flag: non-zero means string cells are stored through the
 *                         inverse of UnscrambleTV
 *   offset 5    9 bytes   magic: 08 "Tarvelin" (a short string of length 8)
 *   offset 14   4 bytes   password marker, single-precision float; 0.0 means no password
 *   offset 18   252 bytes 63 check values, single-precision floats: the value for character
 *                         position i (2..64) lies at offset 4 * i + 10
 *   offset 270  2 bytes   format version, unsigned 16-bit, always 100
 * The tables follow at offset 272, each a TVTable immediately followed by its columns.
 */
struct TVHeader {
    std::int32_t TableCount = 0;
    std::uint8_t Scrambled = 0;
    float PasswordMarker = 0.0f;
    // Checks[k] belongs to character position k + 2.
    std::array<float, kTVCheckCount> Checks{};
    std::uint16_t Version = kTVVersion;

    // Count 0, not scrambled, no password, check value i * i for each position i.
    static TVHeader Fresh();
};

/*
 * TVColumn, 137 bytes, kept whole as read:
 *   offset 0    5 bytes   unused (zero)
 *   offset 5    64 bytes  name: length byte and up to 63 characters
 *   offset 69   1 byte    unused
 *   offset 70   1 byte    type code (TVType)
 *   offset 71   66 bytes  type parameters:
 *       Boolean               71: display style (0 Yes/No, 1 True/False, 2 On/Off)
 *       Int64, Extended, Double, Real48, Single
 *                             71: number style (1 decimal comma, 2 percent), 72: decimals
 *       DateTime              71: date style (top bit ignored)
 *       String                71: width in bytes, unsigned 16-bit
 *       Links                 71: referenced table number, 75: referenced column number,
 *                             79: entries per cell; signed 32-bit each
 * Cell widths on disk: Boolean, Byte, ShortInt 1; Word 2; Integer, Integer6, Integer7, Single 4;
 * Real48 6; Int64, DateTime, Double 8; Extended 10; String its width; Links 4 per entry.
 */
struct TVColumn {
    std::array<unsigned char, kTVColumnSize> Bytes{};

    // The stored name, cut to 63 characters if its length byte claims more.
    std::string Name() const;
    std::uint8_t TypeCode() const { return Bytes[70]; }
    // Display style, number style or date style, by type.
    std::uint8_t Style() const { return Bytes[71]; }
    std::uint8_t Decimals() const { return Bytes[72]; }
    std::uint16_t StringWidth() const { return DecodeFixed16(&Bytes[71]); }
    std::int32_t LinkTable() const { return static_cast<std::int32_t>(DecodeFixed32(&Bytes[71])); }
    std::int32_t LinkColumn() const { return static_cast<std::int32_t>(DecodeFixed32(&Bytes[75])); }
    std::int32_t LinkEntries() const { return static_cast<std::int32_t>(DecodeFixed32(&Bytes[79])); }
    // Bytes of one cell on disk; below 1 for a column that makes the file invalid.
    std::int64_t Width() const;
};

/*
 * TVTable, 77 bytes, followed by its column count of TVColumns:
 *   offset 0    4 bytes   column count, signed 32-bit
 *   offset 4    64 bytes  name: length byte and up to 63 characters
 *   offset 68   4 bytes   row count, signed 32-bit
 *   offset 72   1 byte    row-count source: 0 means "the data file's size tells" (honoured
 *                         only for the single table of a database kept in two files)
 *   offset 73   4 bytes   data offset: where in the data file the first row starts, signed 32-bit
 *
 * Rows are the cells of all columns in column order, back to back, without separators; the
 * cell of row r and column c (both from 1) lies at
 *   data offset + (r - 1) * row width + widths of columns 1..c-1.
 */
struct TVTable {
    std::int32_t ColumnCount = 0;
    std::string Name;
    std::int32_t RowCount = 0;
    std::uint8_t RowCountSource = 0;
    std::int32_t DataOffset = 0;
    // Items are TVColumn*, owned by the table.
    TPointerChain Columns{"Columns"};
    // The sum of the column widths.
    std::int64_t RowWidth = 0;

    TVTable() = default;
    ~TVTable();
    TVTable(const TVTable&) = delete;
    TVTable& operator=(const TVTable&) = delete;
};

// One cell as read. A string is kept as its text with a terminating zero, so at most 254
// characters; a links cell keeps its first 63 entries.
struct TVCell {
    std::uint8_t Error = 0;  // 0 read, 1 failed
    std::uint8_t TypeCode = 0;
    std::array<unsigned char, 255> Value{};
};

// The text of a string cell: its value up to the first zero.
std::string CellString(const TVCell& cell);

// The stored form of a string cell's bytes when the scramble flag is set: below 127 moves up
// by 127, the rest down by 127 (so 127 reads as 0 and ends the text).
inline unsigned char UnscrambleTV(unsigned char b) {
    return static_cast<unsigned char>(b < 127 ? b + 127 : b - 127);
}

// True when the header's check values are those of `password` (cut to 63 characters): i * i
// for each position i past its end, else i times the code of its i-th character. The first
// character takes no part.
bool CheckPasswordValues(const TVHeader& header, std::string_view password);

// A calendar moment, as the date-time forms receive it.
struct TVDateTime {
    int Year = 1, Month = 1, Day = 1;
    int DayOfWeek = 1;  // 1 Monday .. 7 Sunday
    int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
};

enum class TVDateForm { ShortDate, LongDate, ShortTime, LongTime };

// Writes a moment in one of the user's regional forms.
using TVDateFormatter = std::function<std::string(const TVDateTime&, TVDateForm)>;

// The Dutch regional forms: 5-3-2024, dinsdag 5 maart 2024, 09:07, 09:07:02.
std::string DutchDateForm(const TVDateTime& moment, TVDateForm form);

// Asks the user for a password: the text typed after OK, or nothing when cancelled.
using TPasswordPrompt = std::function<std::optional<std::string>()>;

// Bytes read at any offset: the data file of a database.
class TVDataSource {
public:
    virtual ~TVDataSource() = default;
    virtual std::uint64_t Size() const = 0;
    // Reads up to n bytes from `offset`; returns how many arrived (fewer at the end or on error).
    virtual std::size_t ReadAt(std::uint64_t offset, void* dst, std::size_t n) = 0;
};

class TTVObject {
public:
    TTVObject() = default;
    explicit TTVObject(TPasswordPrompt onPassword) : OnPassword(std::move(onPassword)) {}
    ~TTVObject();
    TTVObject(const TTVObject&) = delete;
    TTVObject& operator=(const TTVObject&) = delete;

    // Asked when a protected file is opened without a password; without one, such a file
    // does not open.
    TPasswordPrompt OnPassword;
    // The forms dates and times are written in; the Dutch ones when empty.
    TVDateFormatter OnDateForm;

    // Opens a database: for one file, both paths are the same. Fails when a file is missing,
    // when `companionPath` names an existing file, when the structure is damaged or the
    // password is wrong. An empty password asks OnPassword if the file has one. Closes
    // whatever was open first; after a failure nothing is open.
    [[nodiscard]] bool Open(const std::string& dataPath, const std::string& structPath,
                            const std::string& password, const std::string& companionPath);
    // The same for a one-file database held in memory (the bytes are copied).
    [[nodiscard]] bool OpenBytes(std::string_view bytes, const std::string& password);
    // The same for a structure and its separate data, both in memory (copied).
    [[nodiscard]] bool OpenBytes(std::string_view structure, std::string_view data,
                                 const std::string& password);
    // Reads the structure from `structure` and keeps `data` for the cells. `separate` says the
    // data is not the file the structure came from.
    [[nodiscard]] bool OpenSources(ByteSource& structure, std::unique_ptr<TVDataSource> data, bool separate,
                                   const std::string& password);
    void Close();
    bool IsOpen() const { return FData != nullptr; }

    // Numbers from 1; 0 for an empty name or none found. Names are cut to 63 characters and
    // compared byte for byte.
    std::int32_t FindTable(std::string_view name);
    std::int32_t FindColumn(std::int32_t table, std::string_view name);

    // A missing table or column, or a row below 1, gives the error flag. A row whose cell lies
    // beyond the end of the data gives the all-zero cell without it, which reads as the type's
    // zero (an empty text for a string); one that runs past the end gives the error flag.
    TVCell ReadCell(std::string_view table, std::string_view column, std::int32_t row);
    // A copy of the column's definition; all zero (an empty name) when not found.
    TVColumn GetColumnDef(std::string_view table, std::string_view column);
    // The cell's text form, at most 255 characters; empty when not found or not read.
    std::string CellText(std::string_view table, std::string_view column, std::int32_t row);
    // The first row, 1..the table's row count, whose text form equals `text` (cut to 255); 0
    // when none does or the table or column is missing.
    std::int32_t FindRow(std::string_view table, std::string_view column, std::string_view text);

    const TVHeader& Header() const { return FHeader; }
    std::int32_t TableCount() const { return FTables.Count(); }
    // Table n (from 1), or null.
    const TVTable* Table(std::int32_t n);
    // Column n (from 1) of table `table`, or null.
    const TVColumn* Column(std::int32_t table, std::int32_t n);

private:
    struct TextBudget;

    bool ReadStructure(ByteSource& source);
    bool CheckPassword(const std::string& password);
    void FinishOpen();
    TVTable* TableAt(std::int32_t n);
    TVColumn* ColumnAt(TVTable* table, std::int32_t n);
    // Where the cell lies: 1 read it, 0 beyond the data (the all-zero cell), -1 cannot be read.
    int CellOffset(TVTable& table, std::int32_t column, std::int32_t row, std::uint64_t& offset);
    TVCell ReadCellAt(TVTable& table, std::int32_t column, std::int32_t row, bool* beyondData = nullptr);
    std::string TextAt(TVTable& table, std::int32_t column, std::int32_t row, TextBudget& budget,
                       bool* beyondData = nullptr);
    std::string ValueText(const TVColumn& column, const TVCell& cell) const;
    std::string DateText(double dayNumber, std::uint8_t style) const;

    TVHeader FHeader = TVHeader::Fresh();
    // Items are TVTable*, owned here.
    TPointerChain FTables{"Tables"};
    bool FSameFile = false;
    std::unique_ptr<TVDataSource> FData;
};

}  // namespace slumra

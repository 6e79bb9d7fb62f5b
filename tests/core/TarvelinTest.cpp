#include "TestUtil.h"

#include "data/Files.h"
#include "lang/Tarvelin.h"

#include <gtest/gtest.h>

#include <bit>
#include <chrono>
#include <cmath>
#include <cstring>
#include <optional>

namespace slumra {
namespace {

using test::PutU16;
using test::PutU32;

// ---- A small writer of table files, independent of the reader ----

struct Col {
    Col(std::string n, TVType t, std::uint8_t s = 0, std::uint8_t d = 0)
        : name(std::move(n)), type(t), style(s), decimals(d) {}
    std::string name;
    TVType type;
    std::uint8_t style = 0;
    std::uint8_t decimals = 0;
    std::uint16_t width = 0;  // string columns
    std::int32_t linkTable = 0, linkColumn = 0, entries = 0;
    int typeCode = -1;  // overrides `type` for invalid codes
};

struct Tab {
    Tab(std::string n, std::vector<Col> c = {}, std::vector<std::string> r = {})
        : name(std::move(n)), columns(std::move(c)), rows(std::move(r)) {}
    std::string name;
    std::vector<Col> columns;
    std::vector<std::string> rows;         // each row: its cells' bytes back to back
    std::optional<std::int32_t> rowCount;  // default: rows.size()
    std::uint8_t rowCountSource = 1;
    std::optional<std::int32_t> columnCount;
    std::optional<std::int32_t> dataOffset;
    int nameLengthByte = -1;
};

struct Db {
    std::vector<Tab> tables;
    std::uint8_t scrambled = 0;
    std::optional<std::string> password;
    std::uint16_t version = 100;
    std::optional<std::int32_t> tableCount;
};

void PutF32(std::string& out, float v) {
    PutU32(out, std::bit_cast<std::uint32_t>(v));
}

void PutShort(std::string& out, const std::string& text, std::size_t field, int lengthByte = -1) {
    out.push_back(static_cast<char>(lengthByte >= 0 ? lengthByte : static_cast<int>(text.size())));
    std::string body = text.substr(0, field);
    body.resize(field, '\0');
    out += body;
}

std::size_t StructureSize(const Db& db) {
    std::size_t size = kTVHeaderSize;
    for (const Tab& t : db.tables) size += kTVTableSize + kTVColumnSize * t.columns.size();
    return size;
}

std::string Structure(const Db& db, std::size_t firstRowAt) {
    std::string out;
    PutU32(out,
           static_cast<std::uint32_t>(db.tableCount.value_or(static_cast<std::int32_t>(db.tables.size()))));
    out.push_back(static_cast<char>(db.scrambled));
    out += std::string("\x08Tarvelin");
    PutF32(out, db.password ? 1.0f : 0.0f);
    for (std::size_t i = 2; i <= 64; ++i) {
        const std::string& pw = db.password.value_or("");
        const std::size_t factor = pw.size() < i ? i : static_cast<unsigned char>(pw[i - 1]);
        PutF32(out, static_cast<float>(i * factor));
    }
    PutU16(out, db.version);
    std::size_t at = firstRowAt;
    for (const Tab& t : db.tables) {
        PutU32(out, static_cast<std::uint32_t>(
                        t.columnCount.value_or(static_cast<std::int32_t>(t.columns.size()))));
        PutShort(out, t.name, 63, t.nameLengthByte);
        PutU32(out,
               static_cast<std::uint32_t>(t.rowCount.value_or(static_cast<std::int32_t>(t.rows.size()))));
        out.push_back(static_cast<char>(t.rowCountSource));
        PutU32(out, static_cast<std::uint32_t>(t.dataOffset.value_or(static_cast<std::int32_t>(at))));
        for (const std::string& r : t.rows) at += r.size();
        for (const Col& c : t.columns) {
            std::string def(5, '\0');
            PutShort(def, c.name, 63);
            def.push_back('\0');
            def.push_back(static_cast<char>(c.typeCode >= 0 ? c.typeCode : static_cast<int>(c.type)));
            if (c.type == TVType::String) {
                PutU16(def, c.width);
            } else if (c.type == TVType::Links) {
                PutU32(def, static_cast<std::uint32_t>(c.linkTable));
                PutU32(def, static_cast<std::uint32_t>(c.linkColumn));
                PutU32(def, static_cast<std::uint32_t>(c.entries));
            } else {
                def.push_back(static_cast<char>(c.style));
                def.push_back(static_cast<char>(c.decimals));
            }
            def.resize(kTVColumnSize, '\0');
            out += def;
        }
    }
    return out;
}

std::string Rows(const Db& db) {
    std::string out;
    for (const Tab& t : db.tables)
        for (const std::string& r : t.rows) out += r;
    return out;
}

std::string OneFile(const Db& db) {
    return Structure(db, StructureSize(db)) + Rows(db);
}

// Cell bytes.
std::string U8(int v) {
    return std::string(1, static_cast<char>(v));
}
std::string I32(std::int32_t v) {
    std::string out;
    PutU32(out, static_cast<std::uint32_t>(v));
    return out;
}
std::string I64(std::int64_t v) {
    const auto u = static_cast<std::uint64_t>(v);
    return I32(static_cast<std::int32_t>(u & 0xFFFFFFFFu)) + I32(static_cast<std::int32_t>(u >> 32));
}
std::string F64(double v) {
    return I64(std::bit_cast<std::int64_t>(v));
}
std::string Str(const std::string& text, std::size_t width, bool scrambled = false) {
    std::string out = text;
    out.resize(width, '\0');
    // The stored form of each byte: the inverse of UnscrambleTV.
    if (scrambled)
        for (char& ch : out) {
            const auto b = static_cast<unsigned char>(ch);
            ch = static_cast<char>(b <= 128 ? b + 127 : b - 127);
        }
    return out;
}
std::string Extended(double v) {
    int exp = 0;
    const double m = std::frexp(std::fabs(v), &exp);
    std::string out = I64(static_cast<std::int64_t>(static_cast<std::uint64_t>(std::ldexp(m, 64))));
    std::string top;
    PutU16(top, static_cast<unsigned>(exp - 1 + 16383) | (v < 0 ? 0x8000u : 0u));
    return out + top;
}
std::string Real48(double v) {
    int exp = 0;
    const double m = std::frexp(std::fabs(v), &exp);
    const auto bits = static_cast<std::uint64_t>(std::ldexp(2 * m - 1, 39));
    std::string out = U8(exp + 128) + I32(static_cast<std::int32_t>(bits & 0xFFFFFFFFu));
    return out + U8(static_cast<int>((bits >> 32) | (v < 0 ? 0x80u : 0u)));
}

Col StrCol(std::string name, std::uint16_t width) {
    Col c{std::move(name), TVType::String};
    c.width = width;
    return c;
}

Col LinkCol(std::string name, std::int32_t table, std::int32_t column, std::int32_t entries) {
    Col c{std::move(name), TVType::Links};
    c.linkTable = table;
    c.linkColumn = column;
    c.entries = entries;
    return c;
}

// ---- Tests ----

TEST(Tarvelin, TextFormOfEveryColumnType) {
    Db db;
    Tab t{"Alles"};
    const auto col = [&](std::string name, TVType type, std::uint8_t style, std::uint8_t decimals,
                         std::string cell) {
        Col c{std::move(name), type, style, decimals};
        t.columns.push_back(c);
        return cell;
    };
    std::string row;
    row += col("yesno", TVType::Boolean, 0, 0, U8(0));
    row += col("truefalse", TVType::Boolean, 1, 0, U8(7));
    row += col("onoff", TVType::Boolean, 2, 0, U8(1));
    row += col("oddbool", TVType::Boolean, 5, 0, U8(1));
    row += col("byte", TVType::Byte, 0, 0, U8(200));
    row += col("shortint", TVType::ShortInt, 0, 0, U8(0xFB));
    row += col("word", TVType::Word, 0, 0, U8(0xFF) + U8(0xFF));
    row += col("int3", TVType::Integer, 0, 0, I32(-42));
    row += col("int6", TVType::Integer6, 0, 0, I32(2147483647));
    row += col("int7", TVType::Integer7, 0, 0, I32(7));
    row += col("int64", TVType::Int64, 1, 2, I64(-9007199254740993));
    row += col("extended", TVType::Extended, 2, 1, Extended(2.5));
    row += col("double", TVType::Double, 0, 3, F64(3.14159));
    row += col("real48", TVType::Real48, 0, 2, Real48(-1.5));
    std::string single;
    PutF32(single, 0.25f);
    row += col("single", TVType::Single, 1, 2, single);
    row += col("date", TVType::DateTime, 0, 0, F64(693594.5));
    t.columns.push_back(StrCol("text", 6));
    row += Str("hallo", 6);
    t.rows = {row};
    db.tables = {t};

    TTVObject tv;
    ASSERT_TRUE(tv.OpenBytes(OneFile(db), ""));
    const std::vector<std::pair<std::string, std::string>> expected = {{"yesno", "No"},
                                                                       {"truefalse", "True"},
                                                                       {"onoff", "On"},
                                                                       {"oddbool", ""},
                                                                       {"byte", "200"},
                                                                       {"shortint", "-5"},
                                                                       {"word", "65535"},
                                                                       {"int3", "-42"},
                                                                       {"int6", "2147483647"},
                                                                       {"int7", "7"},
                                                                       {"int64", "-9007199254740993,00"},
                                                                       {"extended", "2.5%"},
                                                                       {"double", "3.142"},
                                                                       {"real48", "-1.50"},
                                                                       {"single", "0,25"},
                                                                       {"date", "30-12-1899 12:00"},
                                                                       {"text", "hallo"}};
    for (const auto& [name, text] : expected) EXPECT_EQ(tv.CellText("Alles", name, 1), text) << name;
    EXPECT_EQ(tv.FindRow("Alles", "int3", "-42"), 1);
}

TEST(Tarvelin, DateStylesIgnoreTopBitAndRefuseDaysOffTheCalendar) {
    Db db;
    Tab t{"D"};
    for (int style : {0, 1, 2, 3, 4, 5, 0x82, 9}) {
        Col c{"s" + std::to_string(style), TVType::DateTime, static_cast<std::uint8_t>(style)};
        t.columns.push_back(c);
    }
    // 2024-03-05 09:07:02 in row 1, that day at midnight in row 2, nonsense days after.
    const double day = 693594 + 45356;
    for (double v : {day + (9 * 3600 + 7 * 60 + 2) / 86400.0, day, 0.0, std::nan(""), 1e12}) {
        std::string row;
        for (std::size_t i = 0; i < t.columns.size(); ++i) row += F64(v);
        t.rows.push_back(row);
    }
    db.tables = {t};
    TTVObject tv;
    ASSERT_TRUE(tv.OpenBytes(OneFile(db), ""));
    EXPECT_EQ(tv.CellText("D", "s0", 1), "5-3-2024 09:07");
    EXPECT_EQ(tv.CellText("D", "s1", 1), "dinsdag 5 maart 2024 09:07:02");
    EXPECT_EQ(tv.CellText("D", "s2", 1), "5-3-2024");
    EXPECT_EQ(tv.CellText("D", "s3", 1), "dinsdag 5 maart 2024");
    EXPECT_EQ(tv.CellText("D", "s4", 1), "09:07");
    EXPECT_EQ(tv.CellText("D", "s5", 1), "09:07:02");
    EXPECT_EQ(tv.CellText("D", "s130", 1), "5-3-2024");
    EXPECT_EQ(tv.CellText("D", "s9", 1), "5-3-2024 09:07:02");
    EXPECT_EQ(tv.CellText("D", "s9", 2), "5-3-2024");
    for (int row = 3; row <= 5; ++row) EXPECT_EQ(tv.CellText("D", "s0", row), "") << row;

    tv.OnDateForm = [](const TVDateTime& m, TVDateForm form) {
        return form == TVDateForm::ShortDate ? std::to_string(m.Year) + "/" + std::to_string(m.Month) : "t";
    };
    EXPECT_EQ(tv.CellText("D", "s0", 1), "2024/3 t");
}

TEST(Tarvelin, DamagedHeaderOrColumnsDoNotOpen) {
    Db good;
    good.tables = {Tab{"T", {StrCol("c", 4)}, {"abcd"}}};
    TTVObject tv;
    ASSERT_TRUE(tv.OpenBytes(OneFile(good), ""));

    Db v99 = good;
    v99.version = 99;
    EXPECT_FALSE(tv.OpenBytes(OneFile(v99), ""));
    for (std::size_t i = 5; i < 14; ++i) {
        std::string bytes = OneFile(good);
        bytes[i] = static_cast<char>(bytes[i] ^ 0x20);
        EXPECT_FALSE(tv.OpenBytes(bytes, "")) << i;
    }
    const auto withColumn = [&](Col c) {
        Db db = good;
        db.tables[0].columns.push_back(c);
        return OneFile(db);
    };
    Col badType{"x", TVType::Byte};
    badType.typeCode = 15;
    EXPECT_FALSE(tv.OpenBytes(withColumn(badType), ""));
    EXPECT_FALSE(tv.OpenBytes(withColumn(StrCol("x", 0)), ""));
    for (std::int32_t entries : {0, -1}) {
        EXPECT_FALSE(tv.OpenBytes(withColumn(LinkCol("x", 1, 1, entries)), "")) << entries;
    }
    // A failed open leaves nothing of the earlier database behind.
    EXPECT_FALSE(tv.IsOpen());
    EXPECT_EQ(tv.FindTable("T"), 0);
    EXPECT_EQ(tv.TableCount(), 0);
}

TEST(Tarvelin, StringCellsEndAtFirstZeroAndNeverOverflowTheCell) {
    Db db;
    Tab t{"S", {StrCol("ten", 10), StrCol("wide", 300)}};
    t.rows = {Str("0123456789", 10) + std::string(300, 'w'), Str("abc", 10) + Str("kort", 300)};
    db.tables = {t};
    TTVObject tv;
    ASSERT_TRUE(tv.OpenBytes(OneFile(db), ""));
    EXPECT_EQ(tv.CellText("S", "ten", 1), "0123456789");
    EXPECT_EQ(tv.CellText("S", "ten", 2), "abc");
    EXPECT_EQ(tv.CellText("S", "wide", 2), "kort");
    // A cell holds 254 characters and its zero; the rest of a wider column is left on disk.
    const TVCell wide = tv.ReadCell("S", "wide", 1);
    EXPECT_EQ(wide.Error, 0);
    EXPECT_EQ(wide.TypeCode, static_cast<std::uint8_t>(TVType::String));
    EXPECT_EQ(CellString(wide), std::string(254, 'w'));

    // Scrambled: 127 stands for the end of the text, every other byte moves by 127.
    db.scrambled = 1;
    const std::string text = "Gr\xEBn\x01\x80";
    db.tables[0].rows = {Str(text, 10, true) + Str("x", 300, true)};
    ASSERT_TRUE(tv.OpenBytes(OneFile(db), ""));
    EXPECT_EQ(tv.CellText("S", "ten", 1), text);
    EXPECT_EQ(tv.FindRow("S", "wide", "x"), 1);
}

TEST(Tarvelin, FindRowMatchesExactTextWithinTheRowCount) {
    Db db;
    Tab first{"Eerste", {Col{"n", TVType::Integer}}};
    for (std::int32_t v : {1, 2, 3, 4, 42, 99}) first.rows.push_back(I32(v));
    first.rowCount = 5;  // row 6 exists on disk but is not part of the table
    Tab second{"Tweede", {Col{"n", TVType::Integer}}, {I32(42)}};
    second.rowCount = 0;
    db.tables = {first, second};
    TTVObject tv;
    ASSERT_TRUE(tv.OpenBytes(OneFile(db), ""));
    EXPECT_EQ(tv.FindRow("Eerste", "n", "42"), 5);
    EXPECT_EQ(tv.FindRow("Eerste", "n", "042"), 0);
    EXPECT_EQ(tv.FindRow("Eerste", "n", "99"), 0);
    EXPECT_EQ(tv.CellText("Eerste", "n", 6), "99");  // reading does not stop at the row count
    EXPECT_EQ(tv.FindRow("Tweede", "n", "42"), 0);
    EXPECT_EQ(tv.FindRow("Eerste", "m", "42"), 0);
    EXPECT_EQ(tv.FindRow("Derde", "n", "42"), 0);
}

TEST(Tarvelin, NamesMatchExactlyAndAreCutTo63) {
    const std::string long63(63, 'L');
    Db db;
    Tab t{long63, {StrCol(long63, 1)}, {"a"}};
    Tab damaged{"Kapot", {StrCol("c", 1)}, {"b"}};
    damaged.nameLengthByte = 200;  // claims more than the field holds
    db.tables = {t, damaged};
    TTVObject tv;
    ASSERT_TRUE(tv.OpenBytes(OneFile(db), ""));
    EXPECT_EQ(tv.FindTable(long63 + "-cut off"), 1);
    EXPECT_EQ(tv.FindColumn(1, long63 + "xyz"), 1);
    EXPECT_EQ(tv.CellText(long63 + "!", long63 + "?", 1), "a");
    EXPECT_EQ(tv.FindTable(std::string(62, 'L')), 0);
    EXPECT_EQ(tv.FindTable("kapot"), 0);
    EXPECT_EQ(tv.FindTable(""), 0);
    EXPECT_EQ(tv.FindColumn(1, ""), 0);
    EXPECT_EQ(tv.FindColumn(0, long63), 0);
    EXPECT_EQ(tv.FindColumn(3, "c"), 0);
    EXPECT_EQ(tv.Table(2)->Name.size(), 63u);
    EXPECT_EQ(tv.Table(2)->Name.substr(0, 5), "Kapot");
}

TEST(Tarvelin, MissingOrOutOfRangeCellsReadAsErrorOrZero) {
    Db db;
    Tab t{"T", {Col{"n", TVType::Integer}, StrCol("s", 4), Col{"d", TVType::DateTime}}};
    t.rows = {I32(5) + "abcd" + F64(700000.0), I32(6) + "efgh" + F64(700001.0)};
    db.tables = {t};
    std::string bytes = OneFile(db);
    bytes.resize(bytes.size() - 3);  // row 2's date runs past the end
    TTVObject tv;
    ASSERT_TRUE(tv.OpenBytes(bytes, ""));

    EXPECT_EQ(tv.ReadCell("X", "n", 1).Error, 1);
    EXPECT_EQ(tv.ReadCell("T", "x", 1).Error, 1);
    EXPECT_EQ(tv.GetColumnDef("T", "x").Name(), "");
    EXPECT_EQ(tv.GetColumnDef("T", "s").StringWidth(), 4);
    EXPECT_EQ(tv.CellText("T", "x", 1), "");
    // Row 0 and below would read the structure of the file as if it were a row.
    for (std::int32_t row : {0, -1, -2147483647 - 1}) {
        EXPECT_EQ(tv.ReadCell("T", "n", row).Error, 1) << row;
        EXPECT_EQ(tv.CellText("T", "n", row), "") << row;
    }
    // Cut short: the type's empty value, 1.0 for a date-time, and the error flag.
    const TVCell cut = tv.ReadCell("T", "d", 2);
    EXPECT_EQ(cut.Error, 1);
    double one = 0;
    std::memcpy(&one, cut.Value.data(), 8);
    EXPECT_EQ(one, 1.0);
    EXPECT_EQ(tv.CellText("T", "d", 2), "");
    EXPECT_EQ(tv.CellText("T", "s", 2), "efgh");
    // Wholly beyond the data: the all-zero cell without the error flag.
    for (std::int32_t row : {3, 1000, 2147483647}) {
        const TVCell beyond = tv.ReadCell("T", "s", row);
        EXPECT_EQ(beyond.Error, 0);
        EXPECT_EQ(beyond.TypeCode, 0);
        EXPECT_EQ(tv.CellText("T", "s", row), "");
        EXPECT_EQ(tv.CellText("T", "n", row), "0");
    }
}

TEST(Tarvelin, LinksJoinReferencedTextsAndStopOnCycles) {
    Db db;
    Tab names{"Namen", {StrCol("naam", 3)}};
    for (const char* n : {"een", "twe", "dri", "vie", "vij"}) names.rows.push_back(Str(n, 3));
    Tab refs{"Verwijzing",
             {LinkCol("naar", 1, 1, 3), LinkCol("nergens", 9, 1, 1), LinkCol("zelf", 2, 3, 63)}};
    std::string self;
    for (int i = 0; i < 63; ++i) self += I32(1);
    refs.rows = {I32(3) + I32(0) + I32(5) + I32(1) + self, I32(0) + I32(0) + I32(-4) + I32(1) + self};
    db.tables = {names, refs};
    TTVObject tv;
    ASSERT_TRUE(tv.OpenBytes(OneFile(db), ""));
    EXPECT_EQ(tv.CellText("Verwijzing", "naar", 1), "dri,vij");
    EXPECT_EQ(tv.FindRow("Verwijzing", "naar", "dri,vij"), 1);
    EXPECT_EQ(tv.CellText("Verwijzing", "naar", 2), "");  // a negative row reads as nothing
    EXPECT_EQ(tv.CellText("Verwijzing", "nergens", 1), "");
    // A column whose every entry points back at its own cell ends, bounded in time and length.
    const auto start = std::chrono::steady_clock::now();
    const std::string text = tv.CellText("Verwijzing", "zelf", 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_GE(text.size(), 250u);
    EXPECT_LE(text.size(), 255u);
    EXPECT_EQ(text.find_first_not_of(','), std::string::npos);
}

TEST(Tarvelin, PasswordIsCheckedAndAskedForOnlyWhenNeeded) {
    Db db;
    db.tables = {Tab{"T", {StrCol("c", 2)}, {"ok"}}};
    int asked = 0;
    std::optional<std::string> answer;
    TTVObject tv([&] {
        ++asked;
        return answer;
    });
    ASSERT_TRUE(tv.OpenBytes(OneFile(db), ""));
    EXPECT_EQ(asked, 0);

    db.password = "geheim";
    const std::string locked = OneFile(db);
    EXPECT_TRUE(tv.OpenBytes(locked, "geheim"));
    EXPECT_TRUE(tv.OpenBytes(locked, "Xeheim"));  // the first character takes no part
    EXPECT_FALSE(tv.OpenBytes(locked, "geheiM"));
    EXPECT_FALSE(tv.OpenBytes(locked, "geheim!"));
    EXPECT_EQ(asked, 0);

    answer = "geheim";
    EXPECT_TRUE(tv.OpenBytes(locked, ""));
    EXPECT_EQ(tv.CellText("T", "c", 1), "ok");
    answer = std::nullopt;  // cancelled
    EXPECT_FALSE(tv.OpenBytes(locked, ""));
    answer = "";
    EXPECT_FALSE(tv.OpenBytes(locked, ""));
    answer = "fout";
    EXPECT_FALSE(tv.OpenBytes(locked, ""));
    EXPECT_EQ(asked, 4);
    EXPECT_FALSE(tv.IsOpen());

    TTVObject noPrompt;
    EXPECT_FALSE(noPrompt.OpenBytes(locked, ""));

    // Passwords are cut to 63 characters on both sides.
    const std::string longPw = std::string(63, 'p') + "-tail";
    db.password = longPw.substr(0, 63);
    EXPECT_TRUE(tv.OpenBytes(OneFile(db), longPw));
}

TEST(Tarvelin, TwoFileDatabaseCountsRowsFromDataSize) {
    test::ScratchDir dir;
    const auto write = [&](const std::string& name, const std::string& bytes) {
        FileSink sink(dir.Path(name));
        EXPECT_EQ(sink.Write(bytes.data(), bytes.size()), bytes.size());
        EXPECT_TRUE(sink.Close());
        return dir.Path(name);
    };
    Db db;
    Tab t{"T", {StrCol("c", 2), Col{"n", TVType::Byte}}};
    t.rowCountSource = 0;
    t.rowCount = 1;
    t.dataOffset = 0;
    db.tables = {t};
    const std::string structPath = write("db.str", Structure(db, 0));
    const std::string dataPath = write("db.dat",
                                       "aa\x01"
                                       "bb\x02"
                                       "cc\x03"
                                       "d");

    TTVObject tv;
    ASSERT_TRUE(tv.Open(dataPath, structPath, "", ""));
    EXPECT_EQ(tv.Table(1)->RowCount, 3);
    EXPECT_EQ(tv.FindRow("T", "n", "3"), 3);
    EXPECT_FALSE(tv.Open(dataPath, dir.Path("missing.str"), "", ""));
    EXPECT_FALSE(tv.Open(dir.Path("missing.dat"), structPath, "", ""));
    EXPECT_FALSE(tv.Open(dataPath, structPath, "", write("lock", "")));
    EXPECT_TRUE(tv.Open(dataPath, structPath, "", dir.Path("no-lock")));

    // A table without columns has no row width to divide the size by.
    Db empty;
    empty.tables = {Tab{"Leeg"}};
    empty.tables[0].rowCountSource = 0;
    ASSERT_TRUE(tv.OpenBytes(Structure(empty, 0), "data", ""));
    EXPECT_EQ(tv.Table(1)->RowCount, 0);
    EXPECT_EQ(tv.FindRow("Leeg", "x", ""), 0);

    // One file: both paths the same, and the stored row count stands.
    const std::string one = write("one.lng", OneFile(db));
    ASSERT_TRUE(tv.Open(one, one, "", ""));
    EXPECT_EQ(tv.Table(1)->RowCount, 1);
}

TEST(Tarvelin, HugeCountsFailOrFinishWithoutWork) {
    Db db;
    db.tables = {Tab{"T", {StrCol("c", 2)}, {"aa", "bb"}}};
    db.tableCount = 2147483647;
    TTVObject tv;
    EXPECT_FALSE(tv.OpenBytes(OneFile(db), ""));
    db.tableCount.reset();
    db.tables[0].columnCount = 2147483647;
    EXPECT_FALSE(tv.OpenBytes(OneFile(db), ""));
    db.tables[0].columnCount.reset();
    // A row count far beyond the data: rows past the end read as empty texts.
    db.tables[0].rowCount = 2147483647;
    ASSERT_TRUE(tv.OpenBytes(OneFile(db), ""));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(tv.FindRow("T", "c", "bb"), 2);
    EXPECT_EQ(tv.FindRow("T", "c", ""), 3);
    EXPECT_EQ(tv.FindRow("T", "c", "zz"), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    // A data offset at the very end of the 32-bit range, and a negative one.
    for (std::int32_t offset : {2147483647, -8}) {
        db.tables[0].dataOffset = offset;
        ASSERT_TRUE(tv.OpenBytes(OneFile(db), ""));
        EXPECT_EQ(tv.CellText("T", "c", 2147483647), "");
        EXPECT_EQ(tv.FindRow("T", "c", "aa"), 0);
    }
}

TEST(Tarvelin, TruncationAtEveryOffsetReadsOnlyWhatIsThere) {
    Db db;
    Tab t{"T", {Col{"n", TVType::Integer}, StrCol("s", 3), LinkCol("l", 1, 2, 2)}};
    t.rows = {I32(11) + "abc" + I32(2) + I32(1), I32(22) + "def" + I32(1) + I32(0)};
    db.tables = {t};
    const std::string full = OneFile(db);
    const std::size_t rowsAt = StructureSize(db);
    const std::size_t rowWidth = 4 + 3 + 8;
    const std::vector<std::vector<std::string>> cells = {{"11", "abc", "def,abc"}, {"22", "def", "abc"}};
    const std::vector<std::size_t> cellAt = {0, 4, 7};
    const std::vector<std::size_t> cellWidth = {4, 3, 8};
    const char* columns[] = {"n", "s", "l"};

    for (std::size_t len = 0; len <= full.size(); ++len) {
        const std::string bytes = full.substr(0, len);
        TTVObject tv;
        ASSERT_EQ(tv.OpenBytes(bytes, ""), len >= rowsAt) << len;
        if (len < rowsAt) continue;
        for (std::size_t r = 0; r < 2; ++r)
            for (std::size_t c = 0; c < 3; ++c) {
                const std::size_t at = rowsAt + r * rowWidth + cellAt[c];
                const std::string text = tv.CellText("T", columns[c], static_cast<std::int32_t>(r + 1));
                if (at + cellWidth[c] <= len && c != 2) {
                    EXPECT_EQ(text, cells[r][c]) << len;
                } else if (at > len) {
                    EXPECT_EQ(text, c == 0 ? "0" : "") << len;  // the all-zero cell
                } else if (at + cellWidth[c] > len) {
                    EXPECT_EQ(text, "") << len;
                }
            }
    }
    TTVObject tv;
    ASSERT_TRUE(tv.OpenBytes(full, ""));
    EXPECT_EQ(tv.CellText("T", "l", 1), "def,abc");
    EXPECT_EQ(tv.CellText("T", "l", 2), "abc");
}

}  // namespace
}  // namespace slumra

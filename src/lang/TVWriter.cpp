#include "lang/TVWriter.h"

#include <bit>
#include <limits>

namespace slumra {

namespace {

constexpr unsigned char kMagic[] = {8, 'T', 'a', 'r', 'v', 'e', 'l', 'i', 'n'};

void Put(std::string& out, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void PutName(std::string& out, const std::string& name) {
    out.push_back(static_cast<char>(name.size()));
    std::string field = name;
    field.resize(kTVNameMax, '\0');
    out += field;
}

// The stored byte that UnscrambleTV reads as `b`; none for 254 and 255, which it never gives.
std::optional<unsigned char> ScrambleTV(unsigned char b) {
    if (b <= 128) return static_cast<unsigned char>(b + 127);
    if (b <= 253) return static_cast<unsigned char>(b - 127);
    return std::nullopt;
}

// Bytes and value range of the number columns; 0 bytes for columns the writer cannot fill.
struct NumberKind {
    int Bytes = 0;
    std::int64_t Min = 0, Max = 0;
};

NumberKind NumberKindOf(TVType type) {
    switch (type) {
        case TVType::Boolean:
        case TVType::Byte:
            return {1, 0, 255};
        case TVType::ShortInt:
            return {1, -128, 127};
        case TVType::Word:
            return {2, 0, 65535};
        case TVType::Integer:
        case TVType::Integer6:
        case TVType::Integer7:
            return {4, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()};
        case TVType::Int64:
            return {8, std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max()};
        default:
            return {};
    }
}

bool PutCell(std::string& out, const TVWriteColumn& column, const TVWriteValue& value, bool scrambled,
             std::string& error) {
    if (column.Type == TVType::String) {
        const std::string* text = std::get_if<std::string>(&value);
        if (text == nullptr) return error = "a number in string column \"" + column.Name + "\"", false;
        if (text->size() > column.Width)
            return error = "\"" + *text + "\" is longer than column \"" + column.Name + "\"", false;
        std::string cell = *text;
        cell.resize(column.Width, '\0');
        for (std::size_t i = 0; i < cell.size(); ++i) {
            const auto b = static_cast<unsigned char>(cell[i]);
            if (b == 0 && i < text->size())
                return error = "a zero byte in a text of column \"" + column.Name + "\"", false;
            if (!scrambled) continue;
            const std::optional<unsigned char> stored = ScrambleTV(b);
            if (!stored) return error = "\"" + *text + "\" holds a byte a scrambled file cannot store", false;
            cell[i] = static_cast<char>(*stored);
        }
        out += cell;
        return true;
    }
    const std::int64_t* number = std::get_if<std::int64_t>(&value);
    if (number == nullptr) return error = "a text in number column \"" + column.Name + "\"", false;
    const NumberKind kind = NumberKindOf(column.Type);
    if (*number < kind.Min || *number > kind.Max)
        return error = std::to_string(*number) + " is out of range for column \"" + column.Name + "\"", false;
    Put(out, static_cast<std::uint64_t>(*number), kind.Bytes);
    return true;
}

}  // namespace

bool WriteTableFile(const std::vector<TVWriteTable>& tables, const TVWriteOptions& options, std::string& out,
                    std::string& error) {
    out.clear();
    error.clear();
    std::size_t dataOffset = kTVHeaderSize;
    for (const TVWriteTable& t : tables) {
        if (t.Name.size() > kTVNameMax) return error = "table name \"" + t.Name + "\" is too long", false;
        for (const TVWriteColumn& c : t.Columns) {
            if (c.Name.size() > kTVNameMax)
                return error = "column name \"" + c.Name + "\" is too long", false;
            if (c.Type == TVType::String ? c.Width == 0 : NumberKindOf(c.Type).Bytes == 0)
                return error = "column \"" + c.Name + "\" has a type or width the writer cannot fill", false;
        }
        dataOffset += kTVTableSize + kTVColumnSize * t.Columns.size();
    }
    const std::string password = options.Password.value_or("").substr(0, kTVNameMax);

    // Header.
    Put(out, tables.size(), 4);
    out.push_back(options.Scrambled ? 1 : 0);
    out.append(reinterpret_cast<const char*>(kMagic), sizeof kMagic);
    Put(out, std::bit_cast<std::uint32_t>(options.Password ? 1.0f : 0.0f), 4);
    for (std::size_t i = 2; i <= kTVCheckCount + 1; ++i) {
        const std::size_t factor = password.size() < i ? i : static_cast<unsigned char>(password[i - 1]);
        Put(out, std::bit_cast<std::uint32_t>(static_cast<float>(i * factor)), 4);
    }
    Put(out, kTVVersion, 2);

    // Tables with their columns, each pointing at its rows.
    std::string rows;
    for (const TVWriteTable& t : tables) {
        std::size_t rowWidth = 0;
        for (const TVWriteColumn& c : t.Columns)
            rowWidth +=
                c.Type == TVType::String ? c.Width : static_cast<std::size_t>(NumberKindOf(c.Type).Bytes);
        const std::size_t at = dataOffset + rows.size();
        if (at + rowWidth * t.Rows.size() >
            static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
            return error = "table \"" + t.Name + "\" lies beyond what a data offset can address", false;
        Put(out, t.Columns.size(), 4);
        PutName(out, t.Name);
        Put(out, t.Rows.size(), 4);
        out.push_back(1);  // the row count is the one stored
        Put(out, at, 4);
        for (const TVWriteColumn& c : t.Columns) {
            std::string def(kTVColumnSize, '\0');
            def[5] = static_cast<char>(c.Name.size());
            def.replace(6, c.Name.size(), c.Name);
            def[70] = static_cast<char>(c.Type);
            if (c.Type == TVType::String) {
                def[71] = static_cast<char>(c.Width & 0xFF);
                def[72] = static_cast<char>(c.Width >> 8);
            }
            out += def;
        }
        for (const auto& row : t.Rows) {
            if (row.size() != t.Columns.size())
                return error = "a row of table \"" + t.Name + "\" has " + std::to_string(row.size()) +
                               " cells for " + std::to_string(t.Columns.size()) + " columns",
                       false;
            for (std::size_t c = 0; c < row.size(); ++c)
                if (!PutCell(rows, t.Columns[c], row[c], options.Scrambled, error)) return false;
        }
    }
    out += rows;
    return true;
}

}  // namespace slumra

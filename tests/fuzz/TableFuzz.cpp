// Table files written from fuzzed column definitions and cells, then read back: every cell
// reads as what was written, and FindRow finds the first row of each text. With the "mutate"
// bit the stored definition of the first column (type, style, decimals, width, links) is
// overwritten with fuzzed bytes, so that CellText meets every type and style over real data
// and must still give at most 255 characters.
#include "FuzzInput.h"

#include "lang/TVWriter.h"
#include "lang/Tarvelin.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using namespace slumra;
using fuzz::Check;
using fuzz::TakeByte;

namespace {

constexpr TVType kWritable[] = {TVType::Boolean,  TVType::Byte,    TVType::ShortInt,
                                TVType::Word,     TVType::Integer, TVType::Integer6,
                                TVType::Integer7, TVType::Int64,   TVType::String};

std::int64_t TakeNumber(std::string_view& bytes, TVType type) {
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v = v << 8 | TakeByte(bytes);
    switch (type) {
        case TVType::Boolean:
        case TVType::Byte:
            return static_cast<std::int64_t>(v % 256);
        case TVType::ShortInt:
            return static_cast<std::int8_t>(v);
        case TVType::Word:
            return static_cast<std::int64_t>(v % 65536);
        case TVType::Int64:
            return static_cast<std::int64_t>(v);
        default:
            return static_cast<std::int32_t>(v);
    }
}

// The text a written cell reads as; empty where the text form is not fixed by the value alone.
std::string Expected(const TVWriteColumn& column, const TVWriteValue& value) {
    // A string cell is read into 255 bytes that keep room for the ending zero.
    if (column.Type == TVType::String) return std::get<std::string>(value).substr(0, kTVTextMax - 1);
    const std::int64_t n = std::get<std::int64_t>(value);
    if (column.Type == TVType::Boolean) return n != 0 ? "Yes" : "No";
    return std::to_string(n);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::uint8_t flags = TakeByte(bytes);
    TVWriteTable table;
    table.Name = "t";
    const int columns = 1 + TakeByte(bytes) % 4;
    for (int c = 1; c <= columns; ++c) {
        TVWriteColumn column;
        column.Name = "c" + std::to_string(c);
        column.Type = kWritable[TakeByte(bytes) % std::size(kWritable)];
        if (column.Type == TVType::String) column.Width = static_cast<std::uint16_t>(1 + TakeByte(bytes) * 2);
        table.Columns.push_back(column);
    }
    const int rows = TakeByte(bytes) % 8;
    for (int r = 0; r < rows; ++r) {
        std::vector<TVWriteValue> row;
        for (const TVWriteColumn& column : table.Columns) {
            if (column.Type != TVType::String) {
                row.emplace_back(TakeNumber(bytes, column.Type));
                continue;
            }
            const std::size_t length =
                std::min<std::size_t>(TakeByte(bytes) * 2 % (column.Width + 1), bytes.size());
            std::string text(bytes.substr(0, length));
            bytes.remove_prefix(length);
            std::replace(text.begin(), text.end(), '\0', ' ');
            row.emplace_back(text);
        }
        table.Rows.push_back(row);
    }
    TVWriteOptions options;
    options.Scrambled = flags & 1;
    if (flags & 2) options.Password = "geheim";

    std::string file, error;
    if (!WriteTableFile({table}, options, file, error)) {
        Check(!error.empty());
        return 0;
    }
    const bool mutate = flags & 4;
    if (mutate) {
        const std::size_t at = kTVHeaderSize + kTVTableSize + 70;
        for (std::size_t i = 0; i < 16 && !bytes.empty(); ++i)
            file[at + i] = static_cast<char>(TakeByte(bytes));
    }
    TTVObject tv([] { return std::optional<std::string>("geheim"); });
    if (!tv.OpenBytes(file, "")) {
        Check(mutate);
        return 0;
    }
    for (int c = 1; c <= columns; ++c) {
        const std::string name = "c" + std::to_string(c);
        for (int r = 1; r <= rows; ++r) {
            const std::string text = tv.CellText("t", name, r);
            Check(text.size() <= kTVTextMax);
            // A changed width moves the later columns too: only the written file is known cell by cell.
            const TVWriteValue& value =
                table.Rows[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(c - 1)];
            const TVWriteColumn& column = table.Columns[static_cast<std::size_t>(c - 1)];
            if (!mutate && column.Type != TVType::Int64) Check(text == Expected(column, value));
            const std::int32_t found = tv.FindRow("t", name, text);
            Check(found >= 1 && found <= r && tv.CellText("t", name, found) == text);
        }
    }
    return 0;
}

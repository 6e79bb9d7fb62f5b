// Writing table files in the format TTVObject reads (see Tarvelin.h): one file holding the
// structure and then the rows of every table. The data tool makes the language file with it.
#pragma once

#include "lang/Tarvelin.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace slumra {

// Columns the writer can fill: whole numbers of every width and strings.
struct TVWriteColumn {
    std::string Name;
    TVType Type = TVType::Integer;
    // String columns: bytes per cell, 1..65535. A text of exactly this length has no ending zero.
    std::uint16_t Width = 0;
};

// A cell: a number for the number columns, Windows-1252 bytes for string columns.
using TVWriteValue = std::variant<std::int64_t, std::string>;

struct TVWriteTable {
    std::string Name;
    std::vector<TVWriteColumn> Columns;
    std::vector<std::vector<TVWriteValue>> Rows;
};

struct TVWriteOptions {
    // Strings stored through the inverse of UnscrambleTV.
    bool Scrambled = false;
    // Set: the check values of this password (its first 63 characters) and a non-zero marker.
    std::optional<std::string> Password;
};

// The bytes of a one-file database holding `tables` in this order. False, with `error` telling
// why, for a name longer than 63 characters, a column the writer cannot fill, a row with the
// wrong number of cells or a cell of the wrong kind, a number out of its column's range, or a
// text longer than its column (a string column stores no zero byte: scrambled, it would read
// as the end of the text).
[[nodiscard]] bool WriteTableFile(const std::vector<TVWriteTable>& tables, const TVWriteOptions& options,
                                  std::string& out, std::string& error);

}  // namespace slumra

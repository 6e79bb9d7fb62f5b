// The synonym list: the lines of D\Syn.dat, each a group "|head|word|word|...|".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace slumra {

// Splits a text into lines: a line ends at CR LF, a lone CR or a lone LF; the last line needs
// no line end; a zero byte ends the text.
std::vector<std::string> SplitTextLines(std::string_view text);

// The shipped synonym file holds about 140 KB. Split into lines, a file of several hundred
// megabytes (of short lines above all) would not fit a 32-bit program's memory.
inline constexpr std::size_t kMaxSynonymFileBytes = 4 * 1024 * 1024;

// The lines of the synonym file; empty when it does not exist, cannot be read, is larger than
// kMaxSynonymFileBytes or its lines do not fit in memory.
std::vector<std::string> LoadSynonymList(const std::string& path);

}  // namespace slumra

// The synonym list: the lines of D\Syn.dat, each a group "|head|word|word|...|".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace slumra {

// Splits a text into lines: a line ends at CR LF, a lone CR or a lone LF; the last line needs
// no line end; a zero byte ends the text.
std::vector<std::string> SplitTextLines(std::string_view text);

// The lines of the synonym file; empty when it does not exist or cannot be read.
std::vector<std::string> LoadSynonymList(const std::string& path);

}  // namespace slumra

// The interpretation text cut into the lines of the record list: words are kept whole and
// carry their following space; a line holds as many as fit the width limit.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace slumra {

// Width of a text in pixels, as the list's font measures it.
using MeasureText = std::function<int(const std::string&)>;

// The lines of `text` (paragraphs split by CR LF) for a list whose limit is `limit` pixels.
// A word wider than the limit gets a line of its own; an empty paragraph gives an empty line.
// A line's width is taken as the sum of its words' widths; each distinct word is measured once.
std::vector<std::string> WrapRecordText(std::string_view text, int limit, const MeasureText& width);

}  // namespace slumra

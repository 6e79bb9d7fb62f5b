// The subject pictures: which picture of the emoji set stands for which symbol (the readable
// map content/pictures.txt), and the file under the program folder the program opens for it.
#pragma once

#include "Content.h"

#include <string>
#include <vector>

namespace slumra::content {

struct PictureLine {
    std::string symbol;   // Windows-1252
    std::string picture;  // the set's file name without ".svg"
    int line = 0;
};

// Reads "Symbol = picture" lines (";;" comments, blank lines). A file that does not exist is an
// empty map; malformed lines land in `errors`.
std::vector<PictureLine> ReadPictureMap(const std::string& file, std::vector<Problem>& errors);

// The file the program opens for a record head "category|subcategory|symbol": it asks for
// i\category\subcategory\symbol.jpg, and Windows drops one trailing dot of a folder name and
// takes '/' for a separator too. Relative to the program folder, with '/' separators, in the
// one picture tree "I"; empty when no file of that name can exist on Windows.
std::string PictureFile(const std::string& head);

// Every mapped symbol exists and is mapped once; every picture named exists in `setDir` (the
// set's SVG folder) when that folder is given; the share of symbols with a picture.
void CheckPictureMap(const std::vector<PictureLine>& map, const std::string& mapName,
                     const std::vector<Entry>& entries, const std::string& setDir, Findings& out);

}  // namespace slumra::content

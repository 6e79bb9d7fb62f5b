// The two navigation lists built from the database at start-up: the content outline (file
// order, indented by depth) and the alphabetical index ("n|symbol", sorted by symbol).
#pragma once

#include "data/iDbRecs.h"

#include <string>
#include <string_view>
#include <vector>

namespace slumra {

// Makes every record visible and appends, for record n = 1..count:
//   symbol record:       outline "  n|symbol"       index "n|symbol"
//   subcategory heading: outline " n|subcategory"
//   category heading:    outline "n|category"
// A record with an empty path adds nothing.
void BuildIndexLists(TiDbRecFile& records, std::vector<std::string>& outline,
                     std::vector<std::string>& index);

// The sort key of an index item: the text after its first "|" (the whole item without one),
// cut to 255 bytes.
std::string_view IndexKey(std::string_view item);

// Byte order by unsigned value, a prefix before the longer text: capitals before small
// letters, accented letters after "z".
int CompareKeys(std::string_view a, std::string_view b);

// Middle-pivot quicksort of items lo..hi (0-based, inclusive) by IndexKey. Items with equal
// keys end in no defined order.
void SortIndex(std::vector<std::string>& items, int lo, int hi);

// The record number before the first "|" of an index item or outline line (leading spaces
// allowed); 0 when there is none.
std::int32_t ItemRecordNumber(std::string_view item);

}  // namespace slumra

// The two navigation lists built from the database at start-up: the content outline (file
// order, indented by depth) and the alphabetical index ("n|symbol", sorted by symbol).
#pragma once

#include "data/iDbRecs.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace slumra {

// The outline lines and the index items, kept compactly: the lines back to back in one block,
// each index item a view into the line it comes from (the line without its two spaces of
// depth) with the start of its sort key at hand.
class TIndexLists {
public:
    std::size_t OutlineCount() const { return FLineEnds.size(); }
    std::string_view OutlineLine(std::size_t i) const {
        const std::uint32_t begin = i == 0 ? 0 : FLineEnds[i - 1];
        return {FText.data() + begin, FLineEnds[i] - begin};
    }
    std::size_t IndexCount() const { return FItems.size(); }
    // "n|symbol"
    std::string_view IndexItem(std::size_t i) const { return OutlineLine(FItems[i].Line).substr(2); }
    // The sort key of item i, as IndexKey gives it.
    std::string_view Key(std::size_t i) const { return IndexItem(i).substr(FItems[i].KeyOffset, 255); }

    void Clear();
    // Adds one line of the given depth (0..2) for record n; a line of depth 2 also adds an
    // index item.
    void Add(int depth, std::int32_t n, std::string_view text);
    void Reserve(std::size_t lines, std::size_t bytes);
    // Hands back unused room once the lists are complete.
    void Compact();

    // Stable sort of index items lo..hi (0-based, inclusive) by IndexKey, in byte order.
    void SortIndex(int lo, int hi);
    // The same over every item.
    void SortIndex() { SortIndex(0, static_cast<int>(IndexCount()) - 1); }

    std::vector<std::string> OutlineStrings() const;
    std::vector<std::string> IndexStrings() const;
    // Bytes held, for the benchmarks.
    std::size_t MemoryUse() const;

private:
    struct Item {
        std::uint32_t Line;
        std::uint8_t KeyOffset;  // where the key starts in the item
    };
    std::string FText;
    std::vector<std::uint32_t> FLineEnds;
    std::vector<Item> FItems;
};

// Makes every record visible and fills the lists, for record n = 1..count:
//   symbol record:       outline "  n|symbol"       index "n|symbol"
//   subcategory heading: outline " n|subcategory"
//   category heading:    outline "n|category"
// A record with an empty path adds nothing. Each path part is cut to 255 bytes.
void BuildIndexLists(TiDbRecFile& records, TIndexLists& lists);
// The same, appended to lists of strings.
void BuildIndexLists(TiDbRecFile& records, std::vector<std::string>& outline,
                     std::vector<std::string>& index);

// The sort key of an index item: the text after its first "|" (the whole item without one),
// cut to 255 bytes.
std::string_view IndexKey(std::string_view item);

// Byte order by unsigned value, a prefix before the longer text: capitals before small
// letters, accented letters after "z".
int CompareKeys(std::string_view a, std::string_view b);

// Sorts items lo..hi (0-based, inclusive) by IndexKey. The sort is stable: items with equal
// keys keep their order.
void SortIndex(std::vector<std::string>& items, int lo, int hi);

// The record number before the first "|" of an index item or outline line (leading spaces
// allowed); 0 when there is none.
std::int32_t ItemRecordNumber(std::string_view item);

}  // namespace slumra

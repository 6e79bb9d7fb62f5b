// Builds the index from records with fuzzed heads and sorts fuzzed item lists, checking the
// index against the records one by one and every sort against a plain stable sort: the
// result is a sorted permutation of its input that keeps equal keys in their order.
#include "FuzzInput.h"

#include "data/Coding.h"
#include "data/Index.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace slumra;
using fuzz::Check;

namespace {

bool KeyLess(const std::string& a, const std::string& b) {
    return CompareKeys(IndexKey(a), IndexKey(b)) < 0;
}

void CheckSort(const std::vector<std::string>& items, int lo, int hi) {
    std::vector<std::string> expected = items;
    std::stable_sort(expected.begin() + lo, expected.begin() + hi + 1, KeyLess);
    std::vector<std::string> sorted = items;
    SortIndex(sorted, lo, hi);
    Check(sorted == expected);

    TIndexLists lists;
    for (const std::string& item : items) {
        const std::size_t bar = item.find('|');
        lists.Add(2, ItemRecordNumber(item), bar == std::string::npos ? item : item.substr(bar + 1));
    }
    const std::vector<std::string> before = lists.IndexStrings();
    std::vector<std::string> compactExpected = before;
    std::stable_sort(compactExpected.begin() + lo, compactExpected.begin() + hi + 1, KeyLess);
    lists.SortIndex(lo, hi);
    Check(lists.IndexStrings() == compactExpected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::uint8_t mode = fuzz::TakeByte(bytes);
    const std::vector<std::string> lines = fuzz::Split(bytes, '\n');
    if (lines.size() > 2000) return 0;

    if (mode & 1) {
        // The lines as items to sort, a part of the list or all of it.
        const int n = static_cast<int>(lines.size());
        const int lo = (mode >> 1) % n;
        const int hi = std::max(lo, n - 1 - (mode >> 4) % n);
        CheckSort(lines, lo, hi);
        return 0;
    }

    // The lines as record heads: one index item per record whose path has a symbol, naming it,
    // in record order before the sort and as a sorted permutation after it.
    const std::string db = fuzz::DbBytes(lines);
    TiDbRecFile records;
    MemorySource source(db);
    Check(records.LoadFromSource(source));
    std::vector<std::string> outline, index;
    BuildIndexLists(records, outline, index);
    std::vector<std::string> expected;
    for (std::int32_t n = 1; n <= records.VisibleCount(); ++n) {
        std::string category, subcategory, symbol;
        SplitPath(records.GetVisibleRecord(n).Head, category, subcategory, symbol);
        if (!symbol.empty()) expected.push_back(std::to_string(n) + "|" + symbol);
    }
    Check(index == expected);
    Check(outline.size() >= index.size() && outline.size() <= lines.size());

    TIndexLists lists;
    BuildIndexLists(records, lists);
    Check(lists.OutlineStrings() == outline && lists.IndexStrings() == index);
    if (!index.empty()) {
        std::stable_sort(expected.begin(), expected.end(), KeyLess);
        SortIndex(index, 0, static_cast<int>(index.size()) - 1);
        lists.SortIndex(0, static_cast<int>(lists.IndexCount()) - 1);
        Check(index == expected && lists.IndexStrings() == expected);
    }
    return 0;
}

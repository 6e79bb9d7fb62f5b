#include "data/Index.h"

#include <cstring>
#include <utility>

namespace slumra {

void BuildIndexLists(TiDbRecFile& records, std::vector<std::string>& outline,
                     std::vector<std::string>& index) {
    records.ShowAll();
    std::string category, subcategory, symbol;
    const std::int32_t count = records.VisibleCount();
    outline.reserve(outline.size() + static_cast<std::size_t>(count));
    for (std::int32_t n = 1; n <= count; ++n) {
        const iDbRecInfo rec = records.GetVisibleRecord(n);
        SplitPath(rec.Head, category, subcategory, symbol);
        const std::string number = std::to_string(n);
        if (!symbol.empty()) {
            outline.push_back("  " + number + "|" + symbol);
            index.push_back(number + "|" + symbol);
        } else if (!subcategory.empty()) {
            outline.push_back(" " + number + "|" + subcategory);
        } else if (!category.empty()) {
            outline.push_back(number + "|" + category);
        }
    }
}

std::string_view IndexKey(std::string_view item) {
    const std::size_t bar = item.find('|');
    if (bar != std::string_view::npos) item.remove_prefix(bar + 1);
    return item.substr(0, 255);
}

int CompareKeys(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    // memcmp compares as unsigned char.
    const int c = common == 0 ? 0 : std::memcmp(a.data(), b.data(), common);
    if (c != 0) return c < 0 ? -1 : 1;
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

void SortIndex(std::vector<std::string>& items, int lo, int hi) {
    // Recurse into the smaller part and loop over the larger, so a sorted or adversarial
    // list cannot exhaust the stack.
    while (lo < hi) {
        int i = lo;
        int j = hi;
        const std::string pivot(IndexKey(items[static_cast<std::size_t>((lo + hi) / 2)]));
        do {
            while (CompareKeys(IndexKey(items[static_cast<std::size_t>(i)]), pivot) < 0) ++i;
            while (CompareKeys(pivot, IndexKey(items[static_cast<std::size_t>(j)])) < 0) --j;
            if (i <= j) {
                std::swap(items[static_cast<std::size_t>(i)], items[static_cast<std::size_t>(j)]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (j - lo < hi - i) {
            if (lo < j) SortIndex(items, lo, j);
            lo = i;
        } else {
            if (i < hi) SortIndex(items, i, hi);
            hi = j;
        }
    }
}

std::int32_t ItemRecordNumber(std::string_view item) {
    std::size_t p = 0;
    while (p < item.size() && item[p] == ' ') ++p;
    const std::size_t bar = item.find('|', p);
    if (bar == std::string_view::npos || bar == p) return 0;
    std::int64_t value = 0;
    for (std::size_t k = p; k < bar; ++k) {
        if (item[k] < '0' || item[k] > '9') return 0;
        value = value * 10 + (item[k] - '0');
        if (value > INT32_MAX) return 0;
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace slumra

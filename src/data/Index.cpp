#include "data/Index.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <utility>

namespace slumra {

namespace {

// What a sort compares: the key's first 16 bytes, big-endian and zero-padded, and its length.
// Two keys whose prefixes differ are in the order of their prefixes (a zero pad sorts like
// the end of the shorter key); with equal prefixes a key of at most 16 bytes is fully known.
// Only keys that agree in 16 bytes are compared in full. `pos` tells equal keys apart, so the
// sort keeps their order.
struct SortEntry {
    std::uint64_t hi;
    std::uint64_t lo;
    std::uint32_t pos;
    std::uint32_t length;
};

std::uint64_t BigEndian64(const unsigned char* p) {
    std::uint64_t v = 0;
    for (int k = 0; k < 8; ++k) v = (v << 8) | p[k];
    return v;
}

SortEntry MakeEntry(std::string_view key, std::uint32_t pos) {
    unsigned char first[16] = {};
    if (!key.empty()) std::memcpy(first, key.data(), std::min<std::size_t>(key.size(), 16));
    return {BigEndian64(first), BigEndian64(first + 8), pos, static_cast<std::uint32_t>(key.size())};
}

// Sorts entries by key; `keyOf(pos)` gives the whole key when 16 bytes do not settle it.
// A radix sort on the prefix bytes, most significant first, moving entries stably into
// buckets; small buckets, and keys alike in all 16 bytes, go to a comparison sort.
template <typename KeyOf>
void SortEntries(std::vector<SortEntry>& entries, KeyOf&& keyOf) {
    const auto less = [&keyOf](const SortEntry& a, const SortEntry& b) {
        if (a.hi != b.hi) return a.hi < b.hi;
        if (a.lo != b.lo) return a.lo < b.lo;
        if (a.length <= 16 || b.length <= 16) {
            if (a.length != b.length) return a.length < b.length;
        } else if (const int c = CompareKeys(keyOf(a.pos), keyOf(b.pos)); c != 0) {
            return c < 0;
        }
        return a.pos < b.pos;
    };
    const auto digit = [](const SortEntry& e, int byte) {
        return static_cast<std::size_t>((byte < 8 ? e.hi >> (56 - 8 * byte) : e.lo >> (56 - 8 * (byte - 8))) & 0xFF);
    };
    std::vector<SortEntry> spare(entries.size());
    struct Run {
        std::size_t begin, end;
        int byte;
    };
    std::vector<Run> runs{{0, entries.size(), 0}};
    while (!runs.empty()) {
        const Run run = runs.back();
        runs.pop_back();
        SortEntry* const a = entries.data() + run.begin;
        const std::size_t n = run.end - run.begin;
        if (n < 64 || run.byte == 16) {
            std::sort(a, a + n, less);
            continue;
        }
        std::size_t start[257] = {};
        for (std::size_t i = 0; i < n; ++i) ++start[digit(a[i], run.byte) + 1];
        if (start[digit(a[0], run.byte) + 1] == n) {  // one bucket: look at the next byte
            runs.push_back({run.begin, run.end, run.byte + 1});
            continue;
        }
        for (int d = 0; d < 256; ++d) start[d + 1] += start[d];
        std::size_t next[256];
        std::copy(start, start + 256, next);
        SortEntry* const b = spare.data() + run.begin;
        for (std::size_t i = 0; i < n; ++i) b[next[digit(a[i], run.byte)]++] = a[i];
        std::copy(b, b + n, a);
        for (int d = 0; d < 256; ++d) {
            if (start[d + 1] - start[d] > 1) runs.push_back({run.begin + start[d], run.begin + start[d + 1], run.byte + 1});
        }
    }
}

}  // namespace

void TIndexLists::Clear() {
    FText.clear();
    FLineEnds.clear();
    FItems.clear();
}

void TIndexLists::Add(int depth, std::int32_t n, std::string_view text) {
    char number[16];
    const auto written = std::to_chars(number, number + sizeof number, n);
    const auto digits = static_cast<std::size_t>(written.ptr - number);
    if (depth == 2)
        FItems.push_back({static_cast<std::uint32_t>(FLineEnds.size()), static_cast<std::uint8_t>(digits + 1)});
    FText.append(static_cast<std::size_t>(depth), ' ');
    FText.append(number, digits);
    FText.push_back('|');
    FText.append(text);
    FLineEnds.push_back(static_cast<std::uint32_t>(FText.size()));
}

void TIndexLists::Reserve(std::size_t lines, std::size_t bytes) {
    FText.reserve(bytes);
    FLineEnds.reserve(lines);
    FItems.reserve(lines);
}

void TIndexLists::Compact() {
    // Only where the room left is worth the copy.
    auto worth = [](std::size_t size, std::size_t capacity) { return capacity - size > capacity / 16; };
    if (worth(FText.size(), FText.capacity())) FText.shrink_to_fit();
    if (worth(FLineEnds.size(), FLineEnds.capacity())) FLineEnds.shrink_to_fit();
    if (worth(FItems.size(), FItems.capacity())) FItems.shrink_to_fit();
}

void TIndexLists::SortIndex(int lo, int hi) {
    lo = std::max(lo, 0);
    hi = std::min(hi, static_cast<int>(FItems.size()) - 1);
    if (lo >= hi) return;
    // The entries are made in item order, reading the texts front to back; the sort itself
    // then rarely touches a text.
    std::vector<SortEntry> entries;
    entries.reserve(static_cast<std::size_t>(hi - lo + 1));
    for (int i = lo; i <= hi; ++i)
        entries.push_back(MakeEntry(Key(static_cast<std::size_t>(i)), static_cast<std::uint32_t>(i)));
    SortEntries(entries, [this](std::uint32_t pos) { return Key(pos); });
    std::vector<Item> sorted;
    sorted.reserve(entries.size());
    for (const SortEntry& e : entries) sorted.push_back(FItems[e.pos]);
    std::copy(sorted.begin(), sorted.end(), FItems.begin() + lo);
}

std::vector<std::string> TIndexLists::OutlineStrings() const {
    std::vector<std::string> out;
    out.reserve(OutlineCount());
    for (std::size_t i = 0; i < OutlineCount(); ++i) out.emplace_back(OutlineLine(i));
    return out;
}

std::vector<std::string> TIndexLists::IndexStrings() const {
    std::vector<std::string> out;
    out.reserve(IndexCount());
    for (std::size_t i = 0; i < IndexCount(); ++i) out.emplace_back(IndexItem(i));
    return out;
}

std::size_t TIndexLists::MemoryUse() const {
    return FText.capacity() + FLineEnds.capacity() * sizeof(std::uint32_t) + FItems.capacity() * sizeof(Item);
}

void BuildIndexLists(TiDbRecFile& records, TIndexLists& lists) {
    records.ShowAll();
    const std::int32_t count = records.VisibleCount();
    lists.Reserve(static_cast<std::size_t>(count), static_cast<std::size_t>(count) * 20);
    for (std::int32_t n = 1; n <= count; ++n) {
        const iDbRecInfo rec = records.GetVisibleRecord(n);
        if (rec.Head == nullptr) continue;
        // As SplitPath cuts it: three parts at the first three bars, each at most 255 bytes.
        std::string_view rest(rec.Head);
        std::string_view parts[3];
        for (int k = 0; k < 3 && !rest.empty(); ++k) {
            const std::size_t bar = rest.find('|');
            parts[k] = rest.substr(0, std::min<std::size_t>(bar, 255));
            if (bar == std::string_view::npos) break;
            rest.remove_prefix(bar + 1);
        }
        for (int depth = 2; depth >= 0; --depth) {
            if (parts[depth].empty()) continue;
            lists.Add(depth, n, parts[depth]);
            break;
        }
    }
    lists.Compact();
}

void BuildIndexLists(TiDbRecFile& records, std::vector<std::string>& outline,
                     std::vector<std::string>& index) {
    TIndexLists lists;
    BuildIndexLists(records, lists);
    outline.reserve(outline.size() + lists.OutlineCount());
    for (std::size_t i = 0; i < lists.OutlineCount(); ++i) outline.emplace_back(lists.OutlineLine(i));
    index.reserve(index.size() + lists.IndexCount());
    for (std::size_t i = 0; i < lists.IndexCount(); ++i) index.emplace_back(lists.IndexItem(i));
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
    lo = std::max(lo, 0);
    hi = std::min(hi, static_cast<int>(items.size()) - 1);
    if (lo >= hi) return;
    std::vector<SortEntry> order;
    order.reserve(static_cast<std::size_t>(hi - lo + 1));
    for (int i = lo; i <= hi; ++i)
        order.push_back(MakeEntry(IndexKey(items[static_cast<std::size_t>(i)]), static_cast<std::uint32_t>(i)));
    SortEntries(order, [&items](std::uint32_t pos) { return IndexKey(items[pos]); });
    std::vector<std::string> sorted;
    sorted.reserve(order.size());
    for (const SortEntry& e : order) sorted.push_back(std::move(items[e.pos]));
    std::move(sorted.begin(), sorted.end(), items.begin() + lo);
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

#include "data/Find.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace slumra {

namespace {

// Per Windows-1252 byte: the letters it folds to ("" separates words, "'" is dropped).
using FoldTable = std::array<std::array<char, 3>, 256>;

FoldTable MakeFoldTable() {
    FoldTable t{};
    auto set = [&t](unsigned b, const char* to) { std::memcpy(t[b].data(), to, std::strlen(to)); };
    for (unsigned b = '0'; b <= '9'; ++b) t[b][0] = static_cast<char>(b);
    for (unsigned b = 'a'; b <= 'z'; ++b) t[b][0] = static_cast<char>(b);
    for (unsigned b = 'A'; b <= 'Z'; ++b) t[b][0] = static_cast<char>(b + 32);
    // The Latin-1 letters C0..FF, capitals and small letters alike (D7 and F7 are signs).
    const char* latin[32] = {"a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
                             "d", "n", "o", "o", "o", "o", "o", "",  "o", "u", "u", "u", "u", "y", "th", "ss"};
    for (unsigned i = 0; i < 32; ++i) {
        set(0xC0 + i, latin[i]);
        set(0xE0 + i, latin[i]);
    }
    set(0xFF, "y");
    set(0x83, "f");
    set(0x8A, "s");
    set(0x9A, "s");
    set(0x8C, "oe");
    set(0x9C, "oe");
    set(0x8E, "z");
    set(0x9E, "z");
    set(0x9F, "y");
    for (unsigned b : {0x27u, 0x91u, 0x92u, 0xB4u}) set(b, "'");
    return t;
}

const FoldTable& Folds() {
    static const FoldTable table = MakeFoldTable();
    return table;
}

// Score of a query word by the kind of posting it meets, whole word or beginning.
constexpr std::uint8_t kExactScore[4] = {10, 30, 50, 60};
constexpr std::uint8_t kPrefixScore[4] = {5, 20, 40, 40};
constexpr std::uint32_t kWholeQueryBonus = 100;
constexpr std::uint32_t kNone = UINT32_MAX;

}  // namespace

std::vector<std::string> FoldWords(std::string_view text) {
    const FoldTable& folds = Folds();
    std::vector<std::string> words;
    std::string word;
    for (const char c : text) {
        const char* to = folds[static_cast<unsigned char>(c)].data();
        if (*to == '\'') continue;
        if (*to == '\0') {
            if (!word.empty()) words.push_back(std::move(word));
            word.clear();
            continue;
        }
        word += to;
    }
    if (!word.empty()) words.push_back(std::move(word));
    return words;
}

std::string FoldName(std::string_view text) {
    std::string out;
    for (const std::string& w : FoldWords(text)) {
        if (!out.empty()) out.push_back(' ');
        out += w;
    }
    return out;
}

void TFindIndex::Clear() {
    FSymbols.clear();
    FByName.clear();
    FSameName.clear();
    FTerms.clear();
    FTermStart.clear();
    FPostings.clear();
}

void TFindIndex::Build(TiDbRecFile& records, const std::vector<std::string>& synonyms) {
    Clear();
    records.ShowAll();
    std::unordered_map<std::string, std::uint32_t> termIds;
    std::vector<std::pair<std::uint32_t, Posting>> pairs;  // term id, posting
    termIds.reserve(4096);
    auto add = [&](const std::string& term, std::uint32_t symbol, std::uint32_t kind) {
        const auto [it, fresh] = termIds.emplace(term, static_cast<std::uint32_t>(termIds.size()));
        pairs.emplace_back(it->second, symbol << 2 | kind);
    };

    std::vector<std::string> folded;  // folded names, by symbol
    std::string category, subcategory, name;
    const std::int32_t count = records.VisibleCount();
    for (std::int32_t n = 1; n <= count; ++n) {
        const iDbRecInfo rec = records.GetVisibleRecord(n);
        if (rec.Head == nullptr || std::count(rec.Head, rec.Head + rec.HeadLen, '|') < 2) continue;
        SplitPath(rec.Head, category, subcategory, name);
        const std::vector<std::string> nameWords = FoldWords(name);
        if (nameWords.empty()) continue;
        const auto symbol = static_cast<std::uint32_t>(FSymbols.size());
        FSymbols.push_back({n, 0, name});
        for (const std::string& w : nameWords) add(w, symbol, nameWords.size() == 1 ? 3 : 2);
        if (rec.Text != nullptr) {
            // Sorted and distinct first: the text repeats its words, and the map is the cost.
            std::vector<std::string> words = FoldWords(std::string_view(rec.Text, rec.TextLen));
            std::sort(words.begin(), words.end());
            words.erase(std::unique(words.begin(), words.end()), words.end());
            for (const std::string& w : words) add(w, symbol, 0);
        }
        folded.push_back(FoldName(name));
        FSameName.push_back(kNone);
        const auto [first, fresh] = FByName.emplace(folded.back(), symbol);
        if (!fresh) {
            std::uint32_t s = first->second;
            while (FSameName[s] != kNone) s = FSameName[s];
            FSameName[s] = symbol;
        }
    }

    for (const std::string& line : synonyms) {
        std::string_view rest(line);
        if (!rest.empty() && rest.front() == '|') rest.remove_prefix(1);
        const std::size_t bar = rest.find('|');
        if (bar == std::string_view::npos) continue;
        const auto head = FByName.find(FoldName(rest.substr(0, bar)));
        if (head == FByName.end()) continue;
        for (const std::string& w : FoldWords(rest.substr(bar + 1)))
            for (std::uint32_t s = head->second; s != kNone; s = FSameName[s]) add(w, s, 1);
    }

    // Name order, for equal ranks.
    std::vector<std::uint32_t> byName(FSymbols.size());
    for (std::uint32_t s = 0; s < byName.size(); ++s) byName[s] = s;
    std::sort(byName.begin(), byName.end(),
              [&](std::uint32_t a, std::uint32_t b) { return folded[a] != folded[b] ? folded[a] < folded[b] : a < b; });
    for (std::uint32_t i = 0; i < byName.size(); ++i) FSymbols[byName[i]].Order = i;

    // The terms in sorted order, each with its postings sorted by symbol, one per symbol (the
    // strongest kind: it sorts last among a symbol's postings).
    std::vector<const std::string*> terms(termIds.size());
    for (const auto& [term, id] : termIds) terms[id] = &term;
    std::vector<std::uint32_t> sortedIds(terms.size());
    for (std::uint32_t i = 0; i < sortedIds.size(); ++i) sortedIds[i] = i;
    std::sort(sortedIds.begin(), sortedIds.end(), [&](std::uint32_t a, std::uint32_t b) { return *terms[a] < *terms[b]; });
    std::vector<std::uint32_t> rank(terms.size());
    for (std::uint32_t i = 0; i < sortedIds.size(); ++i) rank[sortedIds[i]] = i;

    FTerms.reserve(terms.size());
    for (const std::uint32_t id : sortedIds) FTerms.push_back(*terms[id]);
    // Postings into their term's place, keeping their order: the symbols' own words come in
    // symbol order, only the group words (added after) may need sorting.
    FTermStart.assign(FTerms.size() + 1, 0);
    for (const auto& p : pairs) ++FTermStart[rank[p.first] + 1];
    for (std::size_t t = 1; t < FTermStart.size(); ++t) FTermStart[t] += FTermStart[t - 1];
    std::vector<Posting> placed(pairs.size());
    {
        std::vector<std::uint32_t> next(FTermStart.begin(), FTermStart.end() - 1);
        for (const auto& p : pairs) placed[next[rank[p.first]]++] = p.second;
    }
    pairs.clear();
    pairs.shrink_to_fit();
    FPostings.reserve(placed.size());
    for (std::size_t t = 0; t + 1 < FTermStart.size(); ++t) {
        const auto first = placed.begin() + FTermStart[t], last = placed.begin() + FTermStart[t + 1];
        if (!std::is_sorted(first, last)) std::sort(first, last);
        FTermStart[t] = static_cast<std::uint32_t>(FPostings.size());
        for (auto it = first; it != last; ++it) {
            const bool sameSymbol = it != first && (*(it - 1) >> 2) == (*it >> 2);
            if (sameSymbol)
                FPostings.back() = *it;
            else
                FPostings.push_back(*it);
        }
    }
    FTermStart.back() = static_cast<std::uint32_t>(FPostings.size());
    FPostings.shrink_to_fit();
}

std::vector<std::int32_t> TFindIndex::Find(std::string_view query, std::size_t most) const {
    query = query.substr(0, std::min(query.size(), kMaxFindQuery));
    std::vector<std::string> words = FoldWords(query);
    std::vector<std::string> distinct;
    for (auto& w : words)
        if (std::find(distinct.begin(), distinct.end(), w) == distinct.end()) distinct.push_back(std::move(w));
    if (distinct.empty() || FSymbols.empty()) return {};

    const std::size_t n = FSymbols.size();
    std::vector<std::uint8_t> best(n, 0);       // of the current word
    std::vector<std::uint16_t> matched(n, 0);   // words matched so far
    std::vector<std::uint32_t> total(n, 0);
    std::vector<std::uint32_t> touched;
    for (std::size_t i = 0; i < distinct.size(); ++i) {
        const std::string& w = distinct[i];
        touched.clear();
        for (auto it = std::lower_bound(FTerms.begin(), FTerms.end(), w);
             it != FTerms.end() && it->compare(0, w.size(), w) == 0; ++it) {
            const auto t = static_cast<std::size_t>(it - FTerms.begin());
            const std::uint8_t* scores = it->size() == w.size() ? kExactScore : kPrefixScore;
            for (std::uint32_t k = FTermStart[t]; k < FTermStart[t + 1]; ++k) {
                const std::uint32_t s = FPostings[k] >> 2;
                if (matched[s] != i) continue;
                if (best[s] == 0) touched.push_back(s);
                best[s] = std::max(best[s], scores[FPostings[k] & 3]);
            }
        }
        if (touched.empty()) return {};
        for (const std::uint32_t s : touched) {
            total[s] += best[s];
            matched[s] = static_cast<std::uint16_t>(i + 1);
            best[s] = 0;
        }
    }
    // `touched` now holds the symbols every word matched.
    if (const auto named = FByName.find(FoldName(query)); named != FByName.end())
        for (std::uint32_t s = named->second; s != kNone; s = FSameName[s])
            if (matched[s] == distinct.size()) total[s] += kWholeQueryBonus;

    auto better = [&](std::uint32_t a, std::uint32_t b) {
        return total[a] != total[b] ? total[a] > total[b] : FSymbols[a].Order < FSymbols[b].Order;
    };
    if (most != 0 && most < touched.size()) {
        std::partial_sort(touched.begin(), touched.begin() + static_cast<std::ptrdiff_t>(most), touched.end(), better);
        touched.resize(most);
    } else {
        std::sort(touched.begin(), touched.end(), better);
    }
    std::vector<std::int32_t> out;
    out.reserve(touched.size());
    for (const std::uint32_t s : touched) out.push_back(FSymbols[s].Record);
    return out;
}

std::int32_t TFindIndex::RecordOfName(std::string_view name) const {
    const auto it = FByName.find(FoldName(name));
    return it == FByName.end() ? 0 : FSymbols[it->second].Record;
}

std::string_view TFindIndex::SymbolName(std::int32_t record) const {
    const auto it = std::lower_bound(FSymbols.begin(), FSymbols.end(), record,
                                     [](const Symbol& s, std::int32_t r) { return s.Record < r; });
    return it != FSymbols.end() && it->Record == record ? std::string_view(it->Name) : std::string_view();
}

std::vector<TextReference> FindReferences(const std::vector<std::string>& lines) {
    std::vector<TextReference> out;
    bool open = false;
    std::string name;
    std::size_t first = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty()) {
            open = false;
            continue;
        }
        // A wrapped line ends at a space, which the caller may have trimmed.
        if (open && !name.empty() && name.back() != ' ') name.push_back(' ');
        for (const char c : lines[i]) {
            if (c == '{') {
                open = true;
                name.clear();
                first = i;
            } else if (c == '}' && open) {
                open = false;
                const std::size_t from = name.find_first_not_of(' ');
                if (from == std::string::npos) continue;
                out.push_back({name.substr(from, name.find_last_not_of(' ') + 1 - from), first, i});
            } else if (open && name.size() <= kMaxFindQuery) {
                name.push_back(c);
            }
        }
    }
    return out;
}

std::int32_t ReferencedRecord(const TFindIndex& index, const std::vector<std::string>& lines, std::size_t line) {
    for (const TextReference& ref : FindReferences(lines)) {
        if (line < ref.FirstLine || line > ref.LastLine) continue;
        if (const std::int32_t record = index.RecordOfName(ref.Name); record != 0) return record;
    }
    return 0;
}

void TRecordHistory::Visit(std::int32_t record) {
    if (record == 0 || (!FRecords.empty() && FRecords[FCurrent] == record)) return;
    if (!FRecords.empty()) FRecords.resize(FCurrent + 1);
    FRecords.push_back(record);
    if (FRecords.size() > kCapacity) FRecords.erase(FRecords.begin());
    FCurrent = FRecords.size() - 1;
}

std::int32_t TRecordHistory::Back() {
    if (!CanGoBack()) return 0;
    return FRecords[--FCurrent];
}

std::int32_t TRecordHistory::Forward() {
    if (!CanGoForward()) return 0;
    return FRecords[++FCurrent];
}

}  // namespace slumra

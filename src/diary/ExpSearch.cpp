#include "diary/ExpSearch.h"

#include "data/Index.h"
#include "data/Synonyms.h"
#include "lang/Cp1252.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>

namespace slumra {

std::string WordFilter(std::string_view word) {
    std::string out;
    out.reserve(word.size());
    for (char c : word) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= 0x80 && b <= 0xA5)) out.push_back(c);
    }
    return out;
}

namespace {

// A line longer than 255 bytes is broken, as a word-wrapping editor shows it, after the last
// space within the first 255 bytes (or at 255 when there is none), so that no word of a long
// paragraph is lost. The space at the break is dropped.
template <typename Piece>
void ForEachPiece(std::string_view line, Piece&& piece) {
    while (line.size() > 255) {
        std::size_t cut = line.substr(0, 256).rfind(' ');
        if (cut == std::string_view::npos || cut == 0) cut = 255;
        piece(line.substr(0, cut));
        line.remove_prefix(cut < line.size() && line[cut] == ' ' ? cut + 1 : cut);
    }
    piece(line);
}

std::string FoldCase(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) c = static_cast<char>(Cp1252ToLower(static_cast<unsigned char>(c)));
    return folded;
}

// Asks the caller's stillBusy once per kAskEvery steps of work, each step a line, a field, an
// index entry or a candidate entry looked at: often enough for the caller to keep its window alive, seldom
// enough to cost nothing.
class Pacer {
public:
    static constexpr unsigned kAskEvery = 1024;
    explicit Pacer(const std::function<bool()>& stillBusy) : FStillBusy(stillBusy) {}
    bool Ask() { return !FStillBusy || FStillBusy(); }
    bool Step() {
        if (++FSteps < kAskEvery) return true;
        FSteps = 0;
        return Ask();
    }

private:
    const std::function<bool()>& FStillBusy;
    unsigned FSteps = 0;
};

// The search in one pass over the synonym lines and one over the index. Every "|"-field of a
// line is looked up among the words, which gives, for each word, the lines holding it in line
// order; the head words of those lines are looked up by the names of the index entries, which
// gives, for each head word, its entries in index order. Walking words, then lines, then
// entries lists the same items in the same order as trying every word on every line would.
template <typename ItemAt>
bool FindIn(const std::vector<std::string>& words, const std::vector<std::string>& synonyms,
            std::size_t itemCount, ItemAt&& itemAt, std::vector<std::string>& found,
            const std::function<bool()>& stillBusy) {
    Pacer pacer(stillBusy);
    if (!pacer.Ask()) return false;
    if (words.empty() || synonyms.empty()) return true;

    // A word that occurs twice in `words` can list nothing the first occurrence did not.
    std::unordered_map<std::string_view, std::uint32_t> wordNo;
    wordNo.reserve(words.size());
    for (std::size_t w = 0; w < words.size(); ++w) wordNo.emplace(words[w], static_cast<std::uint32_t>(w));

    struct Hit {
        std::uint32_t word;
        std::uint32_t line;
    };
    std::vector<Hit> hits;
    std::vector<std::uint32_t> lastLine(words.size(), UINT32_MAX);
    for (std::size_t l = 0; l < synonyms.size(); ++l) {
        if (!pacer.Step()) return false;
        const std::string_view line = synonyms[l];
        std::size_t bar = line.find('|');
        while (bar != std::string_view::npos) {
            const std::size_t next = line.find('|', bar + 1);
            if (next == std::string_view::npos) break;
            if (!pacer.Step()) return false;
            const auto it = wordNo.find(line.substr(bar + 1, next - bar - 1));
            if (it != wordNo.end() && lastLine[it->second] != l) {
                lastLine[it->second] = static_cast<std::uint32_t>(l);
                hits.push_back({it->second, static_cast<std::uint32_t>(l)});
            }
            bar = next;
        }
    }
    if (hits.empty()) return true;
    // In word order; within a word the lines stay in file order.
    std::stable_sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) { return a.word < b.word; });

    // The head word of every line that was hit, and the index entries named after each.
    std::vector<std::string> heads;
    heads.reserve(hits.size());  // the map below views these strings: they must not move
    std::unordered_map<std::string_view, std::uint32_t> headNo;
    std::vector<std::uint32_t> lineHead(synonyms.size(), UINT32_MAX);
    for (const Hit& h : hits) {
        if (lineHead[h.line] != UINT32_MAX) continue;
        heads.push_back(SynonymHeadWord(synonyms[h.line]));
        lineHead[h.line] = headNo.emplace(heads.back(), static_cast<std::uint32_t>(headNo.size())).first->second;
    }
    std::vector<std::vector<std::uint32_t>> entries(headNo.size());
    for (std::size_t i = 0; i < itemCount; ++i) {
        if (!pacer.Step()) return false;
        // The name is the text after the first "|"; an item without one is all name.
        const std::string_view item = itemAt(i);
        const auto it = headNo.find(item.substr(item.find('|') + 1));
        if (it != headNo.end()) entries[it->second].push_back(static_cast<std::uint32_t>(i));
    }

    // "Already listed" ignores case, as the list control's exact-match search does.
    std::unordered_set<std::string> listed;
    for (const std::string& f : found) listed.insert(FoldCase(f));
    for (const Hit& h : hits) {
        for (const std::uint32_t i : entries[lineHead[h.line]]) {
            if (!pacer.Step()) return false;
            const std::string_view item = itemAt(i);
            if (listed.insert(FoldCase(item)).second) found.emplace_back(item);
        }
    }
    return true;
}

}  // namespace

std::vector<std::string> CutWords(const std::vector<std::string>& lines) {
    std::vector<std::string> words;
    std::unordered_set<std::string> seen;  // the words folded to lower case
    std::string lowered;
    for (const std::string& line : lines) {
        ForEachPiece(line, [&](std::string_view piece) {
            lowered.assign(piece);
            for (char& c : lowered) {
                if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
            }
            std::string_view view(lowered);
            while (!view.empty()) {
                const std::size_t space = view.find(' ');
                std::string word = WordFilter(view.substr(0, space));
                view.remove_prefix(space == std::string_view::npos ? view.size() : space + 1);
                if (seen.insert(FoldCase(word)).second) words.push_back(std::move(word));
            }
        });
    }
    return words;
}

std::string SynonymHeadWord(std::string_view line) {
    line = line.substr(0, 255);
    if (!line.empty() && line.front() == '|') line.remove_prefix(1);
    const std::size_t bar = line.find('|');
    std::string head = bar == std::string_view::npos ? std::string() : std::string(line.substr(0, bar));
    if (!head.empty() && head[0] >= 'a' && head[0] <= 'z') head[0] = static_cast<char>(head[0] - 32);
    return head;
}

bool FindExplanations(const std::vector<std::string>& words, const std::vector<std::string>& synonyms,
                      const std::vector<std::string>& index, std::vector<std::string>& found,
                      const std::function<bool()>& stillBusy) {
    return FindIn(words, synonyms, index.size(), [&index](std::size_t i) { return std::string_view(index[i]); },
                  found, stillBusy);
}

bool FindExplanations(const std::vector<std::string>& words, const std::vector<std::string>& synonyms,
                      const TIndexLists& index, std::vector<std::string>& found,
                      const std::function<bool()>& stillBusy) {
    return FindIn(words, synonyms, index.IndexCount(), [&index](std::size_t i) { return index.IndexItem(i); },
                  found, stillBusy);
}

namespace {

template <typename Index>
bool Search(std::string_view description, const std::vector<std::string>& synonyms, const Index& index,
            std::vector<std::string>& found, const std::function<bool()>& stillBusy) {
    found.clear();
    const std::vector<std::string> words = CutWords(SplitTextLines(description));
    if (stillBusy && !stillBusy()) return false;
    if (!FindExplanations(words, synonyms, index, found, stillBusy)) return false;
    if (!found.empty()) SortExplanations(found, 0, static_cast<int>(found.size()) - 1);
    return true;
}

}  // namespace

bool SearchExplanations(std::string_view description, const std::vector<std::string>& synonyms,
                        const std::vector<std::string>& index, std::vector<std::string>& found,
                        const std::function<bool()>& stillBusy) {
    return Search(description, synonyms, index, found, stillBusy);
}

bool SearchExplanations(std::string_view description, const std::vector<std::string>& synonyms,
                        const TIndexLists& index, std::vector<std::string>& found,
                        const std::function<bool()>& stillBusy) {
    return Search(description, synonyms, index, found, stillBusy);
}

std::vector<std::string> SearchExplanations(std::string_view description,
                                            const std::vector<std::string>& synonyms,
                                            const std::vector<std::string>& index) {
    std::vector<std::string> found;
    (void)SearchExplanations(description, synonyms, index, found);
    return found;
}

void SortExplanations(std::vector<std::string>& items, int lo, int hi) {
    SortIndex(items, lo, hi);
}

}  // namespace slumra

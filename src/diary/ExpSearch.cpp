#include "diary/ExpSearch.h"

#include "data/Index.h"
#include "data/Synonyms.h"
#include "lang/Cp1252.h"

#include <algorithm>

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
std::vector<std::string> WrapAt255(std::string_view line) {
    std::vector<std::string> pieces;
    while (line.size() > 255) {
        std::size_t cut = line.substr(0, 256).rfind(' ');
        if (cut == std::string_view::npos || cut == 0) cut = 255;
        pieces.emplace_back(line.substr(0, cut));
        line.remove_prefix(cut < line.size() && line[cut] == ' ' ? cut + 1 : cut);
    }
    pieces.emplace_back(line);
    return pieces;
}

}  // namespace

std::vector<std::string> CutWords(const std::vector<std::string>& lines) {
    std::vector<std::string> words;
    auto add = [&words](std::string word) {
        for (const std::string& w : words) {
            if (SameTextIgnoringCase(w, word)) return;
        }
        words.push_back(std::move(word));
    };
    for (const std::string& line : lines) {
        for (std::string piece : WrapAt255(line)) {
            for (char& c : piece) {
                if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
            }
            std::string_view view(piece);
            while (!view.empty()) {
                const std::size_t space = view.find(' ');
                const std::string_view word = view.substr(0, space);
                view.remove_prefix(space == std::string_view::npos ? view.size() : space + 1);
                add(WordFilter(word));
            }
        }
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
    auto busy = [&stillBusy] { return !stillBusy || stillBusy(); };
    for (const std::string& word : words) {
        const std::string needle = "|" + word + "|";
        for (const std::string& line : synonyms) {
            if (!busy()) return false;
            if (line.find(needle) == std::string::npos) continue;
            const std::string head = SynonymHeadWord(line);
            for (const std::string& item : index) {
                if (!busy()) return false;
                // The name is the text after the first "|"; an item without one is all name.
                if (std::string_view(item).substr(item.find('|') + 1) != head) continue;
                const bool listed = std::any_of(found.begin(), found.end(), [&item](const std::string& f) {
                    return SameTextIgnoringCase(f, item);
                });
                if (!listed) found.push_back(item);
            }
        }
    }
    return true;
}

bool SearchExplanations(std::string_view description, const std::vector<std::string>& synonyms,
                        const std::vector<std::string>& index, std::vector<std::string>& found,
                        const std::function<bool()>& stillBusy) {
    found.clear();
    const std::vector<std::string> words = CutWords(SplitTextLines(description));
    if (stillBusy && !stillBusy()) return false;
    if (!FindExplanations(words, synonyms, index, found, stillBusy)) return false;
    if (!found.empty()) SortExplanations(found, 0, static_cast<int>(found.size()) - 1);
    return true;
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

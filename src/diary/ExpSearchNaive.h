// The explanation search done the plain way: every word against every synonym line, then every
// index entry for each line that holds the word. Too slow for the program; kept so that the
// tests and the benchmark can check and measure the fast search against it.
#pragma once

#include "diary/ExpSearch.h"
#include "lang/Cp1252.h"

#include <algorithm>
#include <string>
#include <vector>

namespace slumra::naive {

inline std::vector<std::string> CutWords(const std::vector<std::string>& lines) {
    std::vector<std::string> words;
    for (const std::string& line : lines) {
        // Pieces of at most 255 bytes, broken after the last space, as the fast search does.
        std::string_view rest(line);
        std::vector<std::string> pieces;
        while (rest.size() > 255) {
            std::size_t cut = rest.substr(0, 256).rfind(' ');
            if (cut == std::string_view::npos || cut == 0) cut = 255;
            pieces.emplace_back(rest.substr(0, cut));
            rest.remove_prefix(cut < rest.size() && rest[cut] == ' ' ? cut + 1 : cut);
        }
        pieces.emplace_back(rest);
        for (std::string piece : pieces) {
            for (char& c : piece)
                if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
            std::string_view view(piece);
            while (!view.empty()) {
                const std::size_t space = view.find(' ');
                const std::string word = WordFilter(view.substr(0, space));
                view.remove_prefix(space == std::string_view::npos ? view.size() : space + 1);
                if (std::none_of(words.begin(), words.end(),
                                 [&word](const std::string& w) { return SameTextIgnoringCase(w, word); }))
                    words.push_back(word);
            }
        }
    }
    return words;
}

// Asks `stillBusy` before every line and every index entry.
template <typename Busy>
bool FindExplanations(const std::vector<std::string>& words, const std::vector<std::string>& synonyms,
                      const std::vector<std::string>& index, std::vector<std::string>& found, Busy&& stillBusy) {
    for (const std::string& word : words) {
        const std::string needle = "|" + word + "|";
        for (const std::string& line : synonyms) {
            if (!stillBusy()) return false;
            if (line.find(needle) == std::string::npos) continue;
            const std::string head = SynonymHeadWord(line);
            for (const std::string& item : index) {
                if (!stillBusy()) return false;
                if (std::string_view(item).substr(item.find('|') + 1) != head) continue;
                if (std::none_of(found.begin(), found.end(),
                                 [&item](const std::string& f) { return SameTextIgnoringCase(f, item); }))
                    found.push_back(item);
            }
        }
    }
    return true;
}

inline bool FindExplanations(const std::vector<std::string>& words, const std::vector<std::string>& synonyms,
                             const std::vector<std::string>& index, std::vector<std::string>& found) {
    return FindExplanations(words, synonyms, index, found, [] { return true; });
}

}  // namespace slumra::naive

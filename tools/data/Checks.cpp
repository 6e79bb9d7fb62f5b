#include "Checks.h"

#include "diary/ExpSearch.h"
#include "lang/Cp1252.h"

#include <algorithm>
#include <map>
#include <set>

namespace slumra::content {

namespace {

bool IsLetter(unsigned char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return true;
    // Š Œ Ž š œ ž Ÿ, and À..ÿ without × and ÷.
    if (c == 0x8A || c == 0x8C || c == 0x8E || c == 0x9A || c == 0x9C || c == 0x9E || c == 0x9F) return true;
    return c >= 0xC0 && c != 0xD7 && c != 0xF7;
}

bool HasAccent(const std::string& word) {
    return std::any_of(word.begin(), word.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

}  // namespace

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(Cp1252ToLower(static_cast<unsigned char>(c)));
    return out;
}

std::vector<std::string> LetterWords(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        // An apostrophe between letters belongs to the word: "zo'n", "auto's".
        const bool apostrophe = (c == '\'' || c == 0x92) && !word.empty() && i + 1 < text.size() &&
                                IsLetter(static_cast<unsigned char>(text[i + 1]));
        if (IsLetter(c) || apostrophe) {
            word += static_cast<char>(Cp1252ToLower(c));
        } else if (!word.empty()) {
            words.push_back(std::move(word));
            word.clear();
        }
    }
    if (!word.empty()) words.push_back(std::move(word));
    return words;
}

std::vector<Phrase> RepeatedPhrases(const std::vector<std::string>& texts) {
    std::map<std::string, std::size_t> held;
    for (const std::string& text : texts) {
        const std::vector<std::string> words = LetterWords(text);
        std::set<std::string> phrases;
        for (std::size_t i = 0; i + 2 < words.size(); ++i)
            phrases.insert(words[i] + " " + words[i + 1] + " " + words[i + 2]);
        for (const std::string& p : phrases) ++held[p];
    }
    std::vector<Phrase> out;
    for (const auto& [words, count] : held)
        if (count >= 2) out.push_back({words, count});
    std::stable_sort(out.begin(), out.end(), [](const Phrase& a, const Phrase& b) { return a.texts > b.texts; });
    return out;
}

std::vector<std::string> MissingSearchForms(const Entry& symbol) {
    std::set<std::string> group{HeadWord(symbol.name)};
    group.insert(symbol.synonyms.begin(), symbol.synonyms.end());
    const std::string name = Lower(symbol.name);
    if (name.find(' ') != std::string::npos) return {};  // a name of several words is no search word

    // The name itself and the words of the text that share all of it but its last letter.
    std::vector<std::string> forms{name};
    for (const std::string& w : LetterWords(symbol.text)) {
        std::size_t common = 0;
        while (common < w.size() && common < name.size() && w[common] == name[common]) ++common;
        if (common >= 3 && common + 1 >= name.size()) forms.push_back(w);
    }
    std::vector<std::string> missing;
    for (const std::string& form : forms) {
        if (!HasAccent(form)) continue;
        const std::string searched = WordFilter(form);
        if (searched.size() < 2 || group.count(searched) != 0) continue;
        if (std::find(missing.begin(), missing.end(), searched) == missing.end()) missing.push_back(searched);
    }
    return missing;
}

std::vector<std::string> References(std::string_view text) {
    std::vector<std::string> names;
    std::size_t at = 0;
    while ((at = text.find('{', at)) != std::string_view::npos) {
        const std::size_t end = text.find('}', at + 1);
        if (end == std::string_view::npos) break;
        std::string_view name = text.substr(at + 1, end - at - 1);
        while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
        while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
        names.emplace_back(name);
        at = end + 1;
    }
    return names;
}

}  // namespace slumra::content

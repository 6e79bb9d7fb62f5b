// Checks of the dictionary's writing beyond its format: phrases repeated from text to text,
// accented forms of a symbol's name the search can never find, references that lead nowhere.
// All texts are Windows-1252.
#pragma once

#include "Content.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace slumra::content {

// The text lowercased (A-Z and the accented capitals).
std::string Lower(std::string_view text);

// The words of a text: runs of letters (a-z and the accented letters), lowercased, with an
// apostrophe between letters kept ("zo'n"). Everything else, digits too, separates words.
std::vector<std::string> LetterWords(std::string_view text);

// A phrase of three words and the number of texts that hold it.
struct Phrase {
    std::string words;
    std::size_t texts = 0;
};

// Every three-word phrase held by two texts or more, the most widely held first (then by
// phrase). A text counts once however often it repeats the phrase.
std::vector<Phrase> RepeatedPhrases(const std::vector<std::string>& texts);

// The search forms (accents dropped, as the explanation search drops them) of the symbol's
// name and of the words of its text that are forms of the name, for those written with an
// accent whose search form the group does not hold.
std::vector<std::string> MissingSearchForms(const Entry& symbol);

// The names written in braces ("{Zee}") in a text, in order, trimmed.
std::vector<std::string> References(std::string_view text);

}  // namespace slumra::content

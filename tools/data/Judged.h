// Judged dream samples: a sample may end with a line "@ word, word, ..." naming, as Dutch base
// forms, the symbols a reader finds in it. The explanation search is scored against that.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace slumra::content {

struct Sample {
    std::string description;          // what the search reads: never the "@" line
    std::vector<std::string> judged;  // lowercased, each once
    bool isJudged = false;
};

// Splits a sample's text (Windows-1252) into its description and its judged words: the last
// line that is not blank counts when it starts with "@".
Sample SplitSample(std::string_view text);

struct Score {
    std::size_t judged = 0, judgedFound = 0;  // recall: judged words that a found group holds
    std::size_t found = 0, foundJudged = 0;   // precision: found symbols whose group holds a judged word
    std::vector<std::string> missed;          // the judged words no found group holds
    Score& operator+=(const Score& o);
};

// `foundGroups` holds, per found symbol, its head word and its synonyms. A judged word with
// accents also matches its plain and its accent-dropped form ("crèche": "creche", "crche").
Score ScoreSample(const std::vector<std::string>& judged, const std::vector<std::vector<std::string>>& foundGroups);

// "78.3 % (47/60)"; "-" for 0/0.
std::string Ratio(std::size_t part, std::size_t whole);

}  // namespace slumra::content

// Judged dream samples: a sample may end with a line "@ word, word, ..." naming, as Dutch base
// forms, the symbols a reader finds in it. The explanation search is scored against that.
// After the search has run, its found symbols may be judged one by one: a line "+ Name, ..."
// after the "@" line names the found symbols that are relevant as well, a line "- Name, ..."
// after those the found symbols that are not.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace slumra::content {

struct Sample {
    std::string description;          // what the search reads: never the "@" line
    std::vector<std::string> judged;  // lowercased, each once
    std::vector<std::string> relevant, notRelevant;  // symbol names from "+" and "-", as written, each once
    std::vector<std::string> problems;  // judgement lines out of order or without an "@" line
    bool isJudged = false;
};

// Splits a sample's text (Windows-1252) into its description and its judgement: the last lines
// that are not blank count when they are, in this order, "@ ...", "+ ..." (may be left out) and
// "- ..." (may be left out). A "+" or "-" line out of that order still counts but is reported
// in `problems`; without an "@" line the whole text is the description.
Sample SplitSample(std::string_view text);

struct Score {
    std::size_t judged = 0, judgedFound = 0;  // recall: judged words that a found group holds
    std::size_t found = 0, foundJudged = 0;   // precision: found symbols whose group holds a judged word
    std::size_t foundRelevant = 0;            // ... or that the "+" line names
    std::vector<std::string> noVerdict;       // found symbols that neither "@", "+" nor "-" covers
    std::vector<std::string> stale;           // "+" and "-" names the search did not find
    std::vector<std::string> missed;          // the judged words no found group holds
    Score& operator+=(const Score& o);
};

// `foundGroups` holds, per found symbol, its head word and its synonyms. A judged word with
// accents also matches its plain and its accent-dropped form ("crèche": "creche", "crche").
Score ScoreSample(const std::vector<std::string>& judged, const std::vector<std::vector<std::string>>& foundGroups);

// The same with the verdicts of the "+" and "-" lines; `foundNames` runs parallel to
// `foundGroups`. Names compare without regard to case.
Score ScoreSample(const Sample& sample, const std::vector<std::string>& foundNames,
                  const std::vector<std::vector<std::string>>& foundGroups);

// "78.3 % (47/60)"; "-" for 0/0.
std::string Ratio(std::size_t part, std::size_t whole);

}  // namespace slumra::content

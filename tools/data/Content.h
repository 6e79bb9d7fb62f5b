// The readable dictionary sources of content/dictionary: parsing, and turning them into the
// program's data files. Texts come out as Windows-1252 bytes.
#pragma once

#include <string>
#include <vector>

namespace slumra::content {

enum class Level { Category = 0, Subcategory = 1, Symbol = 2 };

struct Entry {
    Level level = Level::Category;
    std::string name;                   // Windows-1252
    std::vector<std::string> synonyms;  // further word forms, Windows-1252
    std::string text;                   // paragraphs joined by CR LF CR LF
    std::string path;                   // category|subcategory|symbol
    std::string file;                   // where it was written, for messages
    int line = 0;
};

struct Problem {
    std::string where;  // file:line
    std::string what;
};

// Reads every *.txt of `dir` in name order. Problems that make the sources unusable land in
// `errors`; the entries read so far are returned either way.
std::vector<Entry> ReadDictionary(const std::string& dir, std::vector<Problem>& errors);

// The head word of a symbol's synonym group: its name with the first letter made small.
std::string HeadWord(const std::string& name);

// The bytes of D\iDbRecs.dat and D\Syn.dat for these entries.
std::string DatabaseBytes(const std::vector<Entry>& entries);
std::string SynonymBytes(const std::vector<Entry>& entries);

// What a check found: errors make it fail, warnings are worth a look, info lines are figures.
struct Findings {
    std::vector<Problem> errors;
    std::vector<Problem> warnings;
    std::vector<std::string> info;
};

struct CheckOptions {
    // A phrase held by more than this share of the symbol texts is an error.
    double phraseShare = 0.15;
};

// Content rules beyond the format: duplicate symbols, over-long texts, synonym words the
// search can never match, function words, head words that do not give back the name,
// accented forms without their search form, references to no symbol, repeated phrases.
void CheckDictionary(const std::vector<Entry>& entries, Findings& out, const CheckOptions& options = {});

}  // namespace slumra::content

// The second pass of the explanation search and the words behind every found symbol.
//
// After the search of ExpSearch.h (whose list is never changed) a second pass offers further
// possible explanations: words the word filter strips of their accented letters ("ruïne",
// "café", "zeeën") are looked up again with the accents folded away (é -> e), and a curated
// table of split verbs and set phrases ("viel ... flauw") names symbols directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace slumra {

class TIndexLists;

// The text lowercased with every Windows-1252 letter folded to its plain letters (é -> e,
// ß -> ss, æ -> ae, œ -> oe); every other byte stays as it is.
std::string FoldAccents(std::string_view text);

/*
 * The phrase table, D\Phrases.dat: plain Windows-1252 text, one entry per line (CR LF, CR or
 * LF), written by `slumra-data build` from content/phrases.txt:
 *
 *     pattern = target
 *
 *   pattern  words of a-z separated by single or more spaces; a word may offer alternatives
 *            joined by "/" ("viel/vielen"); a "*" between two words lets up to kMaxPhraseGap
 *            other words of the same sentence stand between them. Without "*" the words
 *            must follow each other directly. A pattern never starts or ends with "*".
 *   target   the head word of a symbol's synonym group ("flauwvallen", found as the index
 *            entry "Flauwvallen"), or "-": the words matched are used up and add nothing.
 *
 * Empty lines and lines starting with ";;" are skipped. Entries are tried in file order; the
 * words an entry matched are not matched again by a later entry, so a "-" entry placed first
 * keeps later entries (and nothing else) from using those words.
 */
struct TPhrase {
    std::vector<std::vector<std::string>> Words;  // per position, its alternatives
    std::vector<bool> GapBefore;                  // per position: a "*" stands before it
    std::string Target;                           // head word; empty for "-"
};

inline constexpr int kMaxPhraseGap = 6;

// Parses one entry; false, with the reason in *why, for a malformed one.
[[nodiscard]] bool ParsePhrase(std::string_view line, TPhrase& out, std::string* why = nullptr);
// Every well-formed entry of the lines; malformed ones are skipped (their 1-based line numbers
// and reasons go to *problems when given).
std::vector<TPhrase> ParsePhraseTable(const std::vector<std::string>& lines,
                                      std::vector<std::string>* problems = nullptr);
// The shipped table holds a few kilobytes; a file larger than this is no phrase table.
inline constexpr std::size_t kMaxPhraseFileBytes = 1024 * 1024;

// The entries of a phrase file; empty when it is missing, unreadable or larger than
// kMaxPhraseFileBytes (the table is optional).
std::vector<TPhrase> LoadPhraseTable(const std::string& path);

// The synonym groups and index entries prepared for many lookups: which index items a word
// finds, exactly as the explanation search finds them. Holds copies, so the lists it was made
// from may change or go afterwards.
class TSymbolLookup {
public:
    TSymbolLookup(const std::vector<std::string>& synonyms, const TIndexLists& index);
    TSymbolLookup(const std::vector<std::string>& synonyms, const std::vector<std::string>& index);

    // Appends the items ("n|name") of every group holding "|word|", in line order and, within a
    // group, index order; may append an item more than once.
    void ItemsForWord(std::string_view word, std::vector<std::string_view>& out) const;
    // Appends the items named after a head word (first letter a-z made a capital).
    void ItemsForHead(std::string_view head, std::vector<std::string_view>& out) const;

private:
    void AddLines(const std::vector<std::string>& synonyms);
    const std::vector<std::uint32_t>* Named(std::string_view name) const;

    std::vector<std::string> FItems;
    std::vector<std::vector<std::uint32_t>> FNamed;          // items of one name
    std::unordered_map<std::string, std::uint32_t> FNameNo;  // name -> FNamed
    std::vector<std::int32_t> FLineNamed;                    // per line: FNamed of its head, or -1
    std::unordered_map<std::string, std::vector<std::uint32_t>> FFieldLines;  // field -> lines
};

// Everything found for one description: the first pass as the explanation search lists it,
// the second pass after it, and for every item the description's words that led to it
// (lowercase, Windows-1252; a phrase's words joined by spaces, with " \x85 " (an ellipsis)
// where other words stood between them). An item of a first pass that the lookup cannot
// explain (other data, a stopped search) has no words.
struct TExplanations {
    std::vector<std::string> Items;                 // first pass, sorted by name
    std::vector<std::vector<std::string>> ItemVia;  // per item of Items
    std::vector<std::string> Extra;                 // second pass, sorted by name, none in Items
    std::vector<std::vector<std::string>> ExtraVia;
};

// The words joined for "Gevonden via: ...": "slang, adders".
std::string JoinVia(const std::vector<std::string>& via);

// The second pass for a description whose first pass gave `firstPass` (taken as it is, as
// Items): adds Extra and the words of every item. Texts are Windows-1252.
TExplanations ExplainMore(std::string_view description, const TSymbolLookup& lookup,
                          const std::vector<TPhrase>& phrases, const std::vector<std::string>& firstPass);
// Both passes; Items equal what SearchExplanations lists, item for item.
TExplanations Explain(std::string_view description, const TSymbolLookup& lookup,
                      const std::vector<TPhrase>& phrases);

}  // namespace slumra

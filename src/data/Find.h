// The dictionary search: what the user types, matched against the symbols' names, their
// synonym groups and the words of their texts, without regard to case or accents.
#pragma once

#include "data/iDbRecs.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace slumra {

// The longest query the search reads, in bytes (the search field's limit); more is ignored.
inline constexpr std::size_t kMaxFindQuery = 255;

// The words of a Windows-1252 text as the search compares them: letters lowercased, accents
// dropped (é → e, ï → i, ç → c), ß → ss, æ → ae, œ → oe, þ → th; digits kept; apostrophes
// dropped inside a word ("auto's" → "autos"); every other byte separates words.
std::vector<std::string> FoldWords(std::string_view text);
// The folded words joined by single spaces: the form in which two names are the same.
std::string FoldName(std::string_view text);

// The search index over the symbol records (those with three path levels) of a record file
// and the synonym list. Built once after loading; answers a query in a few milliseconds for
// the shipped dictionary and well under 200 ms for 100,000 records.
//
// Ranking. Each query word scores its best match in a symbol:
//   the whole name (a one-word name equal to the word)  60
//   a word of the name                                  50
//   a word of the name begins with it                   40
//   a word of the synonym group                         30
//   a word of the group begins with it                  20
//   a word of the text                                  10
//   a word of the text begins with it                    5
// A symbol is found when every query word scores; its rank is the sum of the scores, plus 100
// when the whole query is its name. Equal sums keep the order of the folded names.
class TFindIndex {
public:
    // Indexes `records` (every record is made visible, as the index lists do); the synonym
    // lines "|head|word|...|" join the symbols whose folded name is their folded head.
    void Build(TiDbRecFile& records, const std::vector<std::string>& synonyms);
    void Clear();

    // Record numbers of the symbols found, best first; at most `most` of them (0: all).
    // Empty for a query without a word. Windows-1252, cut to kMaxFindQuery bytes.
    std::vector<std::int32_t> Find(std::string_view query, std::size_t most = 0) const;

    // The record number of the symbol named `name` (case and accents ignored, whole name), or 0.
    std::int32_t RecordOfName(std::string_view name) const;
    // The symbol name of a record number (Windows-1252), empty when it is no symbol.
    std::string_view SymbolName(std::int32_t record) const;
    std::size_t SymbolCount() const { return FSymbols.size(); }

private:
    struct Symbol {
        std::int32_t Record;
        std::uint32_t Order;  // position among the symbols sorted by folded name
        std::string Name;
    };
    // A posting: symbol ordinal << 2 | kind (0 text, 1 group, 2 name word, 3 whole name).
    using Posting = std::uint32_t;

    std::vector<Symbol> FSymbols;  // in record order
    std::unordered_map<std::string, std::uint32_t> FByName;  // folded name: first symbol
    std::vector<std::uint32_t> FSameName;  // next symbol of the same folded name, or UINT32_MAX
    std::vector<std::string> FTerms;  // sorted
    std::vector<std::uint32_t> FTermStart;  // FTerms.size() + 1 offsets into FPostings
    std::vector<Posting> FPostings;
};

// A reference "{Name}" in a record's text as the record panel shows it, word-wrapped into
// lines with the braces kept: the name (spaces at its ends dropped) and the first and last
// line it stands on. A reference may run over a line end; an empty line (between paragraphs)
// ends an open brace, as does a second "{"; a brace never closed refers to nothing.
struct TextReference {
    std::string Name;
    std::size_t FirstLine = 0;
    std::size_t LastLine = 0;
};
std::vector<TextReference> FindReferences(const std::vector<std::string>& lines);

// The record that a click on (or Enter at) displayed line `line` leads to: the first
// reference standing on that line that names a symbol; 0 when there is none.
std::int32_t ReferencedRecord(const TFindIndex& index, const std::vector<std::string>& lines,
                              std::size_t line);

// The records shown in the main window, for going back and forward. Call Visit for every
// record shown; Back and Forward move through the list and answer the record to show, and a
// Visit of the record shown already changes nothing, so showing it may call Visit again.
class TRecordHistory {
public:
    static constexpr std::size_t kCapacity = 100;

    // Adds `record` after the current one, dropping whatever lay ahead of it; the oldest
    // entry goes when the list is full. Ignores 0 and the current record.
    void Visit(std::int32_t record);
    // The record before (after) the current one, made current; 0 when there is none.
    std::int32_t Back();
    std::int32_t Forward();
    bool CanGoBack() const { return FCurrent > 0; }
    bool CanGoForward() const { return FCurrent + 1 < FRecords.size(); }
    std::int32_t Current() const { return FRecords.empty() ? 0 : FRecords[FCurrent]; }
    void Clear() {
        FRecords.clear();
        FCurrent = 0;
    }

private:
    std::vector<std::int32_t> FRecords;
    std::size_t FCurrent = 0;
};

}  // namespace slumra

#include "diary/ExpSearchExtra.h"

#include "data/Files.h"
#include "data/Index.h"
#include "data/Synonyms.h"
#include "diary/ExpSearch.h"
#include "lang/Cp1252.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>
#include <unordered_set>

namespace slumra {

namespace {

// The plain letters of a lowercase Windows-1252 letter; null for a byte that is no letter
// beyond a-z.
const char* FoldedLetter(unsigned char b) {
    if (b >= 0xE0 && b <= 0xE5) return "a";
    if (b >= 0xE8 && b <= 0xEB) return "e";
    if (b >= 0xEC && b <= 0xEF) return "i";
    if ((b >= 0xF2 && b <= 0xF6) || b == 0xF8) return "o";
    if (b >= 0xF9 && b <= 0xFC) return "u";
    switch (b) {
        case 0xE6:
            return "ae";
        case 0xE7:
            return "c";
        case 0xF0:
            return "d";
        case 0xF1:
            return "n";
        case 0xFD:
        case 0xFF:
            return "y";
        case 0xFE:
            return "th";
        case 0xDF:
            return "ss";
        case 0x83:
            return "f";
        case 0x9A:
            return "s";
        case 0x9C:
            return "oe";
        case 0x9E:
            return "z";
        default:
            return nullptr;
    }
}

bool IsLetter(unsigned char b) {
    b = Cp1252ToLower(b);
    return (b >= 'a' && b <= 'z') || FoldedLetter(b) != nullptr;
}

std::string Lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(Cp1252ToLower(static_cast<unsigned char>(c)));
    return out;
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

}  // namespace

std::string FoldAccents(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const unsigned char b = Cp1252ToLower(static_cast<unsigned char>(c));
        const char* folded = FoldedLetter(b);
        if (folded != nullptr)
            out += folded;
        else
            out.push_back(static_cast<char>(b));
    }
    return out;
}

bool ParsePhrase(std::string_view line, TPhrase& out, std::string* why) {
    auto fail = [why](const char* reason) {
        if (why != nullptr) *why = reason;
        return false;
    };
    out = TPhrase{};
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return fail("no \"=\" between pattern and symbol");
    const std::string_view target = Trimmed(line.substr(eq + 1));
    if (target.empty()) return fail("no symbol after \"=\"");
    if (target != "-") {
        for (char c : target)
            if (c < 'a' || c > 'z') return fail("the symbol is not a head word of a-z (or \"-\")");
        out.Target = target;
    }
    std::string_view pattern = Trimmed(line.substr(0, eq));
    bool gap = false;
    while (!pattern.empty()) {
        const std::size_t space = pattern.find(' ');
        const std::string_view word = pattern.substr(0, space);
        pattern = Trimmed(pattern.substr(space == std::string_view::npos ? pattern.size() : space));
        if (word == "*") {
            if (out.Words.empty() || gap) return fail("\"*\" must stand between two words");
            gap = true;
            continue;
        }
        std::vector<std::string> alternatives;
        std::string_view rest = word;
        while (true) {
            const std::size_t slash = rest.find('/');
            const std::string_view alt = rest.substr(0, slash);
            if (alt.empty()) return fail("an empty word");
            for (char c : alt)
                if (c < 'a' || c > 'z') return fail("a pattern word holds more than the letters a-z");
            alternatives.emplace_back(alt);
            if (slash == std::string_view::npos) break;
            rest.remove_prefix(slash + 1);
        }
        out.Words.push_back(std::move(alternatives));
        out.GapBefore.push_back(gap);
        gap = false;
    }
    if (out.Words.empty()) return fail("no pattern before \"=\"");
    if (gap) return fail("\"*\" must stand between two words");
    return true;
}

std::vector<TPhrase> ParsePhraseTable(const std::vector<std::string>& lines,
                                      std::vector<std::string>* problems) {
    std::vector<TPhrase> table;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = Trimmed(lines[i]);
        if (line.empty() || line.substr(0, 2) == ";;") continue;
        TPhrase phrase;
        std::string why;
        if (ParsePhrase(line, phrase, &why))
            table.push_back(std::move(phrase));
        else if (problems != nullptr)
            problems->push_back("line " + std::to_string(i + 1) + ": " + why);
    }
    return table;
}

std::vector<TPhrase> LoadPhraseTable(const std::string& path) {
    {
        FileSource probe(path);
        if (!probe.IsOpen() || probe.Remaining() > kMaxPhraseFileBytes) return {};
    }
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return {};
    return ParsePhraseTable(SplitTextLines(bytes));
}

TSymbolLookup::TSymbolLookup(const std::vector<std::string>& synonyms, const TIndexLists& index) {
    FItems.reserve(index.IndexCount());
    for (std::size_t i = 0; i < index.IndexCount(); ++i) FItems.emplace_back(index.IndexItem(i));
    AddLines(synonyms);
}

TSymbolLookup::TSymbolLookup(const std::vector<std::string>& synonyms, const std::vector<std::string>& index)
    : FItems(index) {
    AddLines(synonyms);
}

void TSymbolLookup::AddLines(const std::vector<std::string>& synonyms) {
    // The name is the text after the first "|"; an item without one is all name.
    for (std::size_t i = 0; i < FItems.size(); ++i) {
        const std::string_view item = FItems[i];
        const auto [it, added] = FNameNo.emplace(std::string(item.substr(item.find('|') + 1)),
                                                 static_cast<std::uint32_t>(FNamed.size()));
        if (added) FNamed.emplace_back();
        FNamed[it->second].push_back(static_cast<std::uint32_t>(i));
    }
    FLineNamed.reserve(synonyms.size());
    for (std::size_t l = 0; l < synonyms.size(); ++l) {
        const std::string_view line = synonyms[l];
        const auto named = FNameNo.find(SynonymHeadWord(line));
        FLineNamed.push_back(named == FNameNo.end() ? -1 : static_cast<std::int32_t>(named->second));
        // Fields are the texts between two bars, over the whole line, as the search matches them.
        std::size_t bar = line.find('|');
        while (bar != std::string_view::npos) {
            const std::size_t next = line.find('|', bar + 1);
            if (next == std::string_view::npos) break;
            auto& lines = FFieldLines[std::string(line.substr(bar + 1, next - bar - 1))];
            if (lines.empty() || lines.back() != l) lines.push_back(static_cast<std::uint32_t>(l));
            bar = next;
        }
    }
}

void TSymbolLookup::ItemsForWord(std::string_view word, std::vector<std::string_view>& out) const {
    const auto field = FFieldLines.find(std::string(word));
    if (field == FFieldLines.end()) return;
    for (const std::uint32_t line : field->second) {
        if (FLineNamed[line] < 0) continue;
        for (const std::uint32_t i : FNamed[static_cast<std::size_t>(FLineNamed[line])])
            out.push_back(FItems[i]);
    }
}

const std::vector<std::uint32_t>* TSymbolLookup::Named(std::string_view head) const {
    std::string name(head);
    if (!name.empty() && name[0] >= 'a' && name[0] <= 'z') name[0] = static_cast<char>(name[0] - 32);
    const auto it = FNameNo.find(name);
    return it == FNameNo.end() ? nullptr : &FNamed[it->second];
}

void TSymbolLookup::ItemsForHead(std::string_view head, std::vector<std::string_view>& out) const {
    if (const auto* items = Named(head))
        for (const std::uint32_t i : *items) out.push_back(FItems[i]);
}

std::string JoinVia(const std::vector<std::string>& via) {
    std::string out;
    for (const std::string& w : via) out += (out.empty() ? "" : ", ") + w;
    return out;
}

namespace {

// A word of the description as the second pass reads it: cut at every byte that is no letter.
struct Token {
    std::string raw;     // lowercased, accents kept
    std::string folded;  // a-z only
    int sentence;
};

std::vector<Token> Tokens(std::string_view description) {
    std::vector<Token> tokens;
    int sentence = 0;
    for (const std::string& line : SplitTextLines(description)) {
        ++sentence;
        std::size_t i = 0;
        while (i < line.size()) {
            const auto b = static_cast<unsigned char>(line[i]);
            if (!IsLetter(b)) {
                if (b == '.' || b == '!' || b == '?' || b == ';' || b == ':') ++sentence;
                ++i;
                continue;
            }
            std::size_t end = i;
            while (end < line.size() && IsLetter(static_cast<unsigned char>(line[end]))) ++end;
            const std::string_view word = std::string_view(line).substr(i, end - i);
            tokens.push_back({Lowered(word), FoldAccents(word), sentence});
            i = end;
        }
    }
    return tokens;
}

bool Matches(const std::vector<std::string>& alternatives, const std::string& word) {
    return std::find(alternatives.begin(), alternatives.end(), word) != alternatives.end();
}

// Collects found items and their words; an item is kept once (ignoring case, as the list does).
class Collector {
public:
    explicit Collector(TExplanations& into) : FInto(into) {
        for (std::size_t i = 0; i < into.Items.size(); ++i) FFirst.emplace(Lowered(into.Items[i]), i);
        FInto.ItemVia.assign(into.Items.size(), {});
    }
    // Adds `word` to the item's words; an item of neither list joins the extra ones when
    // `mayAdd` is set.
    void Add(std::string_view item, const std::string& word, bool mayAdd) {
        const std::string key = Lowered(item);
        if (const auto it = FFirst.find(key); it != FFirst.end())
            return AddWord(FInto.ItemVia[it->second], word);
        const auto it = FExtra.find(key);
        if (it != FExtra.end()) return AddWord(FInto.ExtraVia[it->second], word);
        if (!mayAdd) return;
        FExtra.emplace(key, FInto.Extra.size());
        FInto.Extra.emplace_back(item);
        FInto.ExtraVia.push_back({word});
    }

private:
    static void AddWord(std::vector<std::string>& via, const std::string& word) {
        if (std::find(via.begin(), via.end(), word) == via.end()) via.push_back(word);
    }
    TExplanations& FInto;
    std::unordered_map<std::string, std::size_t> FFirst, FExtra;
};

void SortByName(std::vector<std::string>& items, std::vector<std::vector<std::string>>& via) {
    std::vector<std::size_t> order(items.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&items](std::size_t a, std::size_t b) {
        return CompareKeys(IndexKey(items[a]), IndexKey(items[b])) < 0;
    });
    std::vector<std::string> sortedItems;
    std::vector<std::vector<std::string>> sortedVia;
    for (const std::size_t i : order) {
        sortedItems.push_back(std::move(items[i]));
        sortedVia.push_back(std::move(via[i]));
    }
    items = std::move(sortedItems);
    via = std::move(sortedVia);
}

// Matches phrase p with its first word at token s; the matched tokens in `at`.
bool MatchAt(const TPhrase& p, const std::vector<Token>& tokens, const std::vector<bool>& used, std::size_t s,
             std::vector<std::size_t>& at) {
    at.assign(1, s);
    for (std::size_t k = 1; k < p.Words.size(); ++k) {
        const std::size_t from = at.back() + 1;
        const std::size_t to = p.GapBefore[k] ? from + kMaxPhraseGap : from;
        std::size_t t = from;
        for (; t <= to && t < tokens.size(); ++t) {
            if (tokens[t].sentence != tokens[s].sentence) return false;
            if (!used[t] && Matches(p.Words[k], tokens[t].folded)) break;
        }
        if (t > to || t >= tokens.size()) return false;
        at.push_back(t);
    }
    return true;
}

}  // namespace

namespace {

// The second pass over the first pass's words, which `found.Items` already lists.
void AddSecondPass(std::string_view description, const std::vector<std::string>& words,
                   const TSymbolLookup& lookup, const std::vector<TPhrase>& phrases, TExplanations& found) {
    Collector collect(found);
    std::vector<std::string_view> items;
    for (const std::string& word : words) {
        items.clear();
        lookup.ItemsForWord(word, items);
        for (const std::string_view item : items) collect.Add(item, word, false);
    }

    // Words the filter strips of a letter, looked up with their accents folded instead.
    const std::vector<Token> tokens = Tokens(description);
    std::unordered_set<std::string_view> present;
    for (const Token& t : tokens) {
        if (!present.insert(t.folded).second || t.raw == WordFilter(t.raw)) continue;
        items.clear();
        lookup.ItemsForWord(t.folded, items);
        for (const std::string_view item : items) collect.Add(item, t.raw, true);
    }

    // The phrase table, entry by entry; words once matched are used up.
    std::vector<bool> used(tokens.size(), false);
    std::vector<std::size_t> at;
    for (const TPhrase& p : phrases) {
        // Most entries have a word the description lacks: those are passed over at once.
        const bool possible =
            std::all_of(p.Words.begin(), p.Words.end(), [&present](const auto& alternatives) {
                return std::any_of(alternatives.begin(), alternatives.end(),
                                   [&present](const std::string& w) { return present.count(w) != 0; });
            });
        if (!possible) continue;
        for (std::size_t s = 0; s < tokens.size(); ++s) {
            if (used[s] || !Matches(p.Words[0], tokens[s].folded) || !MatchAt(p, tokens, used, s, at))
                continue;
            std::string via;
            for (std::size_t k = 0; k < at.size(); ++k) {
                if (k > 0) via += at[k] == at[k - 1] + 1 ? " " : " \x85 ";  // an ellipsis over a gap
                via += tokens[at[k]].raw;
                used[at[k]] = true;
            }
            if (p.Target.empty()) continue;
            items.clear();
            lookup.ItemsForHead(p.Target, items);
            for (const std::string_view item : items) collect.Add(item, via, true);
        }
    }
    SortByName(found.Extra, found.ExtraVia);
}

}  // namespace

TExplanations ExplainMore(std::string_view description, const TSymbolLookup& lookup,
                          const std::vector<TPhrase>& phrases, const std::vector<std::string>& firstPass) {
    TExplanations found;
    found.Items = firstPass;
    AddSecondPass(description, CutWords(SplitTextLines(description)), lookup, phrases, found);
    return found;
}

TExplanations Explain(std::string_view description, const TSymbolLookup& lookup,
                      const std::vector<TPhrase>& phrases) {
    // The first pass through the prepared lookup: words in order, each word's groups in line
    // order, each group's entries in index order; an entry listed once (ignoring case).
    TExplanations found;
    const std::vector<std::string> words = CutWords(SplitTextLines(description));
    std::unordered_set<std::string> listed;
    std::vector<std::string_view> items;
    for (const std::string& word : words) {
        items.clear();
        lookup.ItemsForWord(word, items);
        for (const std::string_view item : items)
            if (listed.insert(Lowered(item)).second) found.Items.emplace_back(item);
    }
    if (!found.Items.empty()) SortExplanations(found.Items, 0, static_cast<int>(found.Items.size()) - 1);
    AddSecondPass(description, words, lookup, phrases, found);
    return found;
}

}  // namespace slumra

#include "Content.h"

#include "Checks.h"

#include "data/Coding.h"
#include "data/Files.h"
#include "data/Find.h"
#include "data/Synonyms.h"
#include "data/iDbRecs.h"
#include "diary/ExpSearch.h"
#include "lang/Cp1252.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>

namespace slumra::content {

namespace {

std::string Trim(const std::string& s) {
    const std::size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    const std::size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

bool StartsWith(const std::string& s, const char* prefix) {
    return s.rfind(prefix, 0) == 0;
}

// Collects the paragraphs of the record being read.
struct TextBuilder {
    std::vector<std::string> paragraphs;
    std::string current;

    void Line(const std::string& line) {
        if (line.empty()) {
            Close();
            return;
        }
        if (!current.empty()) current += ' ';
        current += line;
    }
    void Close() {
        if (!current.empty()) paragraphs.push_back(current);
        current.clear();
    }
    std::string Take() {
        Close();
        std::string text;
        for (std::size_t i = 0; i < paragraphs.size(); ++i) {
            if (i > 0) text += "\r\n\r\n";
            text += paragraphs[i];
        }
        paragraphs.clear();
        return text;
    }
};

void ReadFile(const std::filesystem::path& file, std::vector<Entry>& entries, std::vector<Problem>& errors) {
    const std::string name = file.filename().string();
    std::string utf8;
    if (!ReadWholeFile(file.string(), utf8)) {
        errors.push_back({name, "cannot be read"});
        return;
    }
    if (StartsWith(utf8, "\xEF\xBB\xBF")) utf8.erase(0, 3);
    const std::vector<std::string> lines = SplitTextLines(utf8);
    if (utf8.find('\0') != std::string::npos) errors.push_back({name, "holds a zero byte"});

    std::string category, subcategory;
    TextBuilder text;
    std::size_t open = SIZE_MAX;  // index of the entry whose text is being read
    bool synonymsAllowed = false;
    auto finish = [&] {
        if (open != SIZE_MAX) entries[open].text = text.Take();
        text.paragraphs.clear();
        text.current.clear();
    };

    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string where = name + ":" + std::to_string(i + 1);
        std::string line;
        std::size_t bad = 0;
        if (!Utf8ToCp1252(lines[i], line, &bad)) {
            errors.push_back({where, "character outside Windows-1252 at byte " + std::to_string(bad + 1)});
            continue;
        }
        if (StartsWith(line, ";;")) continue;
        const std::string trimmed = Trim(line);

        int level = -1;
        if (StartsWith(line, "### "))
            level = 2;
        else if (StartsWith(line, "## "))
            level = 1;
        else if (StartsWith(line, "# "))
            level = 0;
        else if (StartsWith(line, "#")) {
            errors.push_back({where, "a heading is '# ', '## ' or '### ' followed by a name"});
            continue;
        }

        if (level >= 0) {
            finish();
            Entry entry;
            entry.level = static_cast<Level>(level);
            entry.name = Trim(line.substr(static_cast<std::size_t>(level) + 2));
            entry.file = name;
            entry.line = static_cast<int>(i + 1);
            if (entry.name.empty()) errors.push_back({where, "heading without a name"});
            if (entry.name.find('|') != std::string::npos)
                errors.push_back({where, "a name may not hold '|'"});
            if (level == 0) {
                category = entry.name;
                subcategory.clear();
                entry.path = category;
            } else if (level == 1) {
                if (category.empty()) errors.push_back({where, "subcategory before any category"});
                subcategory = entry.name;
                entry.path = category + "|" + subcategory;
            } else {
                if (subcategory.empty()) errors.push_back({where, "symbol before any subcategory"});
                entry.path = category + "|" + subcategory + "|" + entry.name;
            }
            entries.push_back(std::move(entry));
            open = entries.size() - 1;
            synonymsAllowed = level == 2;
            continue;
        }

        if (StartsWith(line, "= ") || trimmed == "=") {
            if (!synonymsAllowed) {
                errors.push_back({where, "a synonym line belongs directly under a symbol heading"});
                continue;
            }
            std::string rest = line.substr(1);
            std::size_t start = 0;
            while (start <= rest.size()) {
                std::size_t comma = rest.find(',', start);
                if (comma == std::string::npos) comma = rest.size();
                const std::string word = Trim(rest.substr(start, comma - start));
                if (!word.empty()) entries[open].synonyms.push_back(word);
                start = comma + 1;
            }
            synonymsAllowed = false;
            continue;
        }
        if (!trimmed.empty()) synonymsAllowed = false;
        if (open == SIZE_MAX) {
            if (!trimmed.empty()) errors.push_back({where, "text before the first heading"});
            continue;
        }
        text.Line(trimmed);
    }
    finish();
}

}  // namespace

std::vector<Entry> ReadDictionary(const std::string& dir, std::vector<Problem>& errors) {
    std::vector<Entry> entries;
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& item : std::filesystem::directory_iterator(dir, ec)) {
        if (item.is_regular_file() && item.path().extension() == ".txt") files.push_back(item.path());
    }
    if (ec) {
        errors.push_back({dir, "cannot be read: " + ec.message()});
        return entries;
    }
    if (files.empty()) errors.push_back({dir, "holds no .txt files"});
    std::sort(files.begin(), files.end());
    for (const auto& file : files) ReadFile(file, entries, errors);
    return entries;
}

std::string HeadWord(const std::string& name) {
    std::string head = name;
    if (!head.empty() && head[0] >= 'A' && head[0] <= 'Z') head[0] = static_cast<char>(head[0] + 32);
    return head;
}

std::string DatabaseBytes(const std::vector<Entry>& entries) {
    std::string out;
    unsigned char fixed[8];
    EncodeFixed32(fixed, static_cast<std::uint32_t>(entries.size()));
    out.append(reinterpret_cast<char*>(fixed), 4);
    std::uint32_t id = 0;
    for (const Entry& e : entries) {
        const std::string head = e.path.substr(0, 65535);
        const std::string text = e.text.substr(0, 65535);
        EncodeFixed32(fixed, ++id);
        EncodeFixed16(fixed + 4, static_cast<std::uint16_t>(head.size()));
        EncodeFixed16(fixed + 6, static_cast<std::uint16_t>(text.size()));
        out.append(reinterpret_cast<char*>(fixed), 8);
        std::string stored = head + text;
        UnscrambleBytes(stored.data(), stored.size());
        out += stored;
    }
    return out;
}

std::string SynonymBytes(const std::vector<Entry>& entries) {
    std::string out;
    for (const Entry& e : entries) {
        if (e.level != Level::Symbol) continue;
        out += "|" + HeadWord(e.name) + "|";
        for (const std::string& w : e.synonyms) out += w + "|";
        out += "\r\n";
    }
    return out;
}

namespace {

bool Matchable(const std::string& word) {
    return !word.empty() && WordFilter(word) == word &&
           std::none_of(word.begin(), word.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

// Words that stand in nearly every dream; a group holding one would answer every search.
const std::set<std::string>& FunctionWords() {
    static const std::set<std::string> words{
        "de",   "het",    "een",   "en",    "of",     "maar", "ik",    "je",   "jij",   "u",    "hij",
        "zij",  "ze",     "we",    "wij",   "jullie", "mij",  "me",    "mijn", "jouw",  "zijn", "haar",
        "hun",  "ons",    "onze",  "niet",  "geen",   "was",  "waren", "is",   "ben",   "bent", "wordt",
        "werd", "had",    "heb",   "heeft", "hebben", "naar", "op",    "in",   "uit",   "met",  "van",
        "voor", "aan",    "bij",   "om",    "tot",    "over", "onder", "door", "dat",   "die",  "dit",
        "deze", "er",     "daar",  "hier",  "ook",    "toen", "nog",   "al",   "wel",   "heel", "erg",
        "zo",   "dan",    "als",   "wat",   "wie",    "waar", "hoe",   "want", "omdat", "zou",  "kon",
        "kan",  "moest",  "wilde", "ging",  "gaan",   "kwam", "komen", "deed", "doen",  "zag",  "zien",
        "zei",  "zeggen", "alles", "iets",  "niets",  "weer", "nu",    "echt",
    };
    return words;
}

}  // namespace

namespace {

std::string Percent(std::size_t part, std::size_t whole) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f %%", whole == 0 ? 0.0 : 100.0 * static_cast<double>(part) / static_cast<double>(whole));
    return buf;
}

// How the writing reads across all symbol texts: phrases that come back too often, and the
// share of texts that are not two paragraphs.
void CheckVariety(const std::vector<Entry>& entries, Findings& out, const CheckOptions& options) {
    std::vector<std::string> texts;
    std::size_t notTwo = 0;
    for (const Entry& e : entries) {
        if (e.level != Level::Symbol) continue;
        texts.push_back(e.text);
        std::size_t paragraphs = e.text.empty() ? 0 : 1;
        for (std::size_t at = 0; (at = e.text.find("\r\n\r\n", at)) != std::string::npos; at += 4) ++paragraphs;
        if (paragraphs != 2) ++notTwo;
    }
    if (texts.empty()) return;
    const std::vector<Phrase> phrases = RepeatedPhrases(texts);
    std::string top;
    for (std::size_t i = 0; i < phrases.size() && i < 10; ++i)
        top += (i == 0 ? "" : ", ") + std::string("'") + Cp1252ToUtf8(phrases[i].words) + "' " +
               Percent(phrases[i].texts, texts.size());
    out.info.push_back("most repeated phrases (share of " + std::to_string(texts.size()) +
                       " symbol texts): " + (top.empty() ? "none" : top));
    for (const Phrase& p : phrases) {
        if (static_cast<double>(p.texts) <= options.phraseShare * static_cast<double>(texts.size())) break;
        Problem problem{"phrases", "'" + Cp1252ToUtf8(p.words) + "' stands in " + Percent(p.texts, texts.size()) +
                                       " of the symbol texts (" + std::to_string(p.texts) + ")"};
        out.errors.push_back(std::move(problem));
    }
    out.info.push_back(Percent(notTwo, texts.size()) + " of the symbol texts (" + std::to_string(notTwo) +
                       ") are not exactly two paragraphs (goal: at least a third)");
}

}  // namespace

void CheckDictionary(const std::vector<Entry>& entries, Findings& out, const CheckOptions& options) {
    std::vector<Problem>& errors = out.errors;
    std::vector<Problem>& warnings = out.warnings;
    std::map<std::string, std::string> symbolAt;
    std::set<std::string> symbolNames;  // folded as the program resolves a reference
    std::map<std::string, std::vector<std::string>> groupsOfWord;
    std::size_t symbols = 0;
    for (const Entry& e : entries)
        if (e.level == Level::Symbol) symbolNames.insert(FoldName(e.name));
    for (const Entry& e : entries) {
        const std::string where = e.file + ":" + std::to_string(e.line);
        const std::string shown = Cp1252ToUtf8(e.name);
        if (e.path.size() > 65535 || e.text.size() > 65535)
            errors.push_back({where, shown + ": text longer than 65,535 bytes"});
        if (e.text.empty()) warnings.push_back({where, shown + ": no text"});
        for (const std::string& ref : References(e.text))
            if (symbolNames.count(FoldName(ref)) == 0)
                warnings.push_back({where, shown + ": {" + Cp1252ToUtf8(ref) + "} names no symbol"});
        if (e.level != Level::Symbol) {
            if (!e.synonyms.empty()) errors.push_back({where, shown + ": only symbols have synonyms"});
            continue;
        }
        ++symbols;
        if (auto [it, fresh] = symbolAt.emplace(e.name, where); !fresh)
            errors.push_back({where, "duplicate symbol " + shown + " (also at " + it->second + ")"});

        const std::string head = HeadWord(e.name);
        if (SynonymHeadWord("|" + head + "|") != e.name)
            errors.push_back({where, shown + ": the head word '" + Cp1252ToUtf8(head) +
                                         "' capitalised does not give back the symbol's name"});
        const bool headMatchable = Matchable(head);
        bool anyMatchable = headMatchable;
        if (headMatchable) groupsOfWord[head].push_back(shown);
        std::set<std::string> seen{head};
        for (const std::string& w : e.synonyms) {
            const std::string word = Cp1252ToUtf8(w);
            if (!Matchable(w)) {
                errors.push_back({where, shown + ": synonym '" + word + "' can never be matched (only a-z)"});
                continue;
            }
            anyMatchable = true;
            if (FunctionWords().count(w) != 0)
                errors.push_back({where, shown + ": function word '" + word + "'"});
            if (!seen.insert(w).second)
                warnings.push_back({where, shown + ": synonym '" + word + "' twice"});
            else
                groupsOfWord[w].push_back(shown);
        }
        if (!anyMatchable) errors.push_back({where, shown + ": no word of its group can ever be matched"});
        for (const std::string& form : MissingSearchForms(e))
            warnings.push_back({where, shown + ": an accented form is searched as '" + Cp1252ToUtf8(form) +
                                           "', which the group lacks"});

        std::size_t words = 0;
        bool inWord = false;
        for (char c : e.text) {
            const bool space = c == ' ' || c == '\r' || c == '\n';
            if (!space && !inWord) ++words;
            inWord = !space;
        }
        if (words < 60 || words > 200)
            warnings.push_back({where, shown + ": " + std::to_string(words) + " words of interpretation"});
    }
    // A word may stand in two groups where both symbols apply: a figure, not a fault.
    std::size_t shared = 0;
    std::string firstShared;
    for (const auto& [word, owners] : groupsOfWord) {
        if (owners.size() < 2) continue;
        if (++shared > 5) continue;
        std::string list;
        for (const std::string& o : owners) list += (list.empty() ? "" : ", ") + o;
        firstShared += (firstShared.empty() ? "" : "; ") + ("'" + Cp1252ToUtf8(word) + "' in " + list);
    }
    out.info.push_back(std::to_string(shared) + " words stand in more than one group" +
                       (shared == 0 ? std::string() : ": " + firstShared + (shared > 5 ? "; ..." : "")));
    if (symbols == 0) errors.push_back({"dictionary", "no symbols"});
    CheckVariety(entries, out, options);
}

}  // namespace slumra::content

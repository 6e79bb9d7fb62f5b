#include "data/Index.h"
#include "diary/ExpSearch.h"
#include "diary/ExpSearchExtra.h"
#include "lang/Cp1252.h"

#include <gtest/gtest.h>

#include <random>

namespace slumra {
namespace {

using Lines = std::vector<std::string>;

std::vector<TPhrase> Table(const Lines& lines) {
    std::vector<std::string> problems;
    auto table = ParsePhraseTable(lines, &problems);
    EXPECT_TRUE(problems.empty()) << problems.front();
    return table;
}

TEST(ExpSearchExtra, FoldingLowersAndStripsEveryAccentedLetter) {
    EXPECT_EQ(FoldAccents("Ru\xEFne CAF\xC9 zee\xEB"
                          "n \xC0\xC1\xC2\xC3\xC4\xC5\xC7\xC8\xCC\xD1\xD2\xD8\xD9\xDD \xDF\xE6\x9C\x8A\x9F"),
              "ruine cafe zeeen aaaaaaceinoouy ssaeoesy");
    EXPECT_EQ(FoldAccents("12-03 \xD7\xF7 \x80!"), "12-03 \xD7\xF7 \x80!");
}

TEST(ExpSearchExtra, AccentedWordsAreFoldedAndLookedUpAgain) {
    const TSymbolLookup lookup({"|ruine|ruines|", "|zee|zeeen|", "|cafe|", "|slang|adders|"},
                               Lines{"1|Ruine", "2|Zee", "3|Cafe", "4|Slang"});
    const TExplanations found = Explain("De ru\xEFnes bij het CAF\xC9, adders en de zee\xEBn.", lookup, {});
    EXPECT_EQ(found.Items, Lines{"4|Slang"});
    EXPECT_EQ(found.ItemVia, std::vector<Lines>{{"adders"}});
    EXPECT_EQ(found.Extra, (Lines{"3|Cafe", "1|Ruine", "2|Zee"}));
    EXPECT_EQ(found.ExtraVia, (std::vector<Lines>{{"caf\xE9"}, {"ru\xEFnes"}, {"zee\xEBn"}}));
    // A symbol the first pass found is not offered again; the folded word joins its words.
    const TExplanations again = Explain("zee en zee\xEBn", lookup, {});
    EXPECT_EQ(again.Items, Lines{"2|Zee"});
    EXPECT_EQ(again.ItemVia, std::vector<Lines>{(Lines{"zee", "zee\xEBn"})});
    EXPECT_TRUE(again.Extra.empty());
    EXPECT_EQ(JoinVia(again.ItemVia[0]), "zee, zee\xEBn");
}

TEST(ExpSearchExtra, MalformedPhrasesAreRefused) {
    TPhrase p;
    EXPECT_TRUE(ParsePhrase(" viel/vielen  *  flauw = flauwvallen ", p));
    EXPECT_EQ(p.Words, (std::vector<Lines>{{"viel", "vielen"}, {"flauw"}}));
    EXPECT_EQ(p.GapBefore, (std::vector<bool>{false, true}));
    EXPECT_EQ(p.Target, "flauwvallen");
    EXPECT_TRUE(ParsePhrase("liep * weg = -", p));
    EXPECT_EQ(p.Target, "");
    for (const char* bad :
         {"viel flauw", "viel * flauw =", "= flauw", "* viel = x", "viel * = x", "viel * * flauw = x",
          "viel//flauw = x", "Viel = x", "viel = Flauw", "vi\xEB = x", "viel = flauw vallen"}) {
        std::string why;
        EXPECT_FALSE(ParsePhrase(bad, p, &why)) << bad;
        EXPECT_FALSE(why.empty()) << bad;
    }
    Lines problems;
    EXPECT_EQ(ParsePhraseTable({";; note", "", "a = b", "broken", "c * d = e"}, &problems).size(), 2u);
    EXPECT_EQ(problems, Lines{"line 4: no \"=\" between pattern and symbol"});
}

TEST(ExpSearchExtra, PhrasesFindSplitVerbsWithinOneSentence) {
    const TSymbolLookup lookup({"|flauwvallen|flauwte|", "|vastzitten|", "|wegen|", "|vluchten|"},
                               Lines{"1|Flauwvallen", "2|Vastzitten", "3|Wegen", "4|Vluchten"});
    const auto table = Table({"liep/rende * weg = -", "viel/vielen * flauw = flauwvallen",
                              "zat vast = vastzitten", "weg = wegen", "rende = vluchten"});
    auto extra = [&](const char* text) { return Explain(text, lookup, table).Extra; };
    const TExplanations f = Explain("Toen VIEL ik bijna flauw.", lookup, table);
    EXPECT_EQ(f.Extra, Lines{"1|Flauwvallen"});
    EXPECT_EQ(f.ExtraVia, std::vector<Lines>{{"viel \x85 flauw"}});
    EXPECT_EQ(extra("we vielen flauw"), Lines{"1|Flauwvallen"});
    EXPECT_EQ(extra("ik viel een twee drie vier vijf zes flauw"), Lines{"1|Flauwvallen"});
    EXPECT_EQ(extra("ik viel een twee drie vier vijf zes zeven flauw"), Lines{});
    EXPECT_EQ(extra("ik viel. flauw"), Lines{});
    EXPECT_EQ(extra("ik viel\r\nflauw"), Lines{});
    EXPECT_EQ(extra("flauw viel ik"), Lines{});
    EXPECT_EQ(extra("de deur zat vast"), Lines{"2|Vastzitten"});
    EXPECT_EQ(extra("ik zat muurvast, echt vast"), Lines{});
    // The "-" entry uses "liep ... weg" up: the road is not offered, nor escape for "rende".
    EXPECT_EQ(extra("Ik liep snel weg"), Lines{});
    EXPECT_EQ(extra("Ik rende weg"), Lines{});
    EXPECT_EQ(extra("De weg was lang"), Lines{"3|Wegen"});
    EXPECT_EQ(extra("Ik liep weg over de weg"), Lines{"3|Wegen"});
}

// Random data over a tiny alphabet with accented letters, so that words, folded words, fields,
// phrases and names collide often.
class RandomData {
public:
    explicit RandomData(unsigned start) : FRng(start) {}
    std::string Word() {
        static const char* const kParts[] = {"a", "b", "e", "\xE9", "\xC9", "A", "\xEB", ""};
        std::string w;
        for (int n = Below(3); n >= 0; --n) w += kParts[Below(8)];
        return w;
    }
    std::string Plain() {
        static const char* const kPlain[] = {"a", "b", "e", "ab", "ee", "be"};
        return kPlain[Below(6)];
    }
    Lines Synonyms() {
        Lines lines;
        for (int n = Below(20); n > 0; --n) {
            std::string line = Below(5) == 0 ? "" : "|";
            for (int k = Below(4); k >= 0; --k) line += (Below(2) == 0 ? Word() : Plain()) + "|";
            lines.push_back(line);
        }
        return lines;
    }
    Lines Index() {
        Lines items;
        for (int n = Below(30); n > 0; --n) {
            std::string name = Below(2) == 0 ? Word() : Plain();
            if (!name.empty() && name[0] >= 'a' && name[0] <= 'z' && Below(3) != 0)
                name[0] = static_cast<char>(name[0] - 32);
            items.push_back(std::to_string(Below(9)) + "|" + name);
        }
        return items;
    }
    std::string Description() {
        static const char* const kGaps[] = {" ", "  ", ", ", "\r\n", ". "};
        std::string text;
        for (int n = Below(30); n >= 0; --n) text += Word() + kGaps[Below(5)];
        return text;
    }
    std::vector<TPhrase> Phrases() {
        Lines lines;
        for (int n = Below(4); n > 0; --n)
            lines.push_back(Plain() + (Below(2) == 0 ? " * " : " ") + Plain() + " = " +
                            (Below(3) == 0 ? "-" : Plain()));
        return ParsePhraseTable(lines);
    }
    int Below(int n) { return static_cast<int>(FRng() % static_cast<unsigned>(n)); }

private:
    std::mt19937 FRng;
};

TEST(ExpSearchExtra, FirstPassStaysItemForItemAndExtraOnlyAddsNewItems) {
    RandomData data(1208);
    for (int round = 0; round < 2000; ++round) {
        const Lines synonyms = data.Synonyms();
        const Lines index = data.Index();
        const std::string text = data.Description();
        const TSymbolLookup lookup(synonyms, index);
        const auto phrases = data.Phrases();
        const Lines first = SearchExplanations(text, synonyms, index);

        const TExplanations both = Explain(text, lookup, phrases);
        ASSERT_EQ(both.Items, first) << "round " << round;
        const TExplanations more = ExplainMore(text, lookup, phrases, first);
        ASSERT_EQ(more.Items, first);
        ASSERT_EQ(more.Extra, both.Extra);
        ASSERT_EQ(more.ItemVia.size(), first.size());
        ASSERT_EQ(more.ExtraVia.size(), more.Extra.size());
        for (const Lines& via : more.ItemVia) ASSERT_FALSE(via.empty()) << "round " << round;
        for (std::size_t i = 0; i < more.Extra.size(); ++i) {
            ASSERT_FALSE(more.ExtraVia[i].empty());
            for (const std::string& item : first) ASSERT_FALSE(SameTextIgnoringCase(item, more.Extra[i]));
            if (i > 0) {
                ASSERT_LE(CompareKeys(IndexKey(more.Extra[i - 1]), IndexKey(more.Extra[i])), 0);
            }
        }
    }
}

}  // namespace
}  // namespace slumra

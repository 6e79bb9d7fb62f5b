#include "diary/ExpSearch.h"

#include "TestUtil.h"

#include "data/Index.h"
#include "data/Synonyms.h"
#include "diary/ExpSearchNaive.h"

#include <cctype>
#include <random>

#include <gtest/gtest.h>

namespace slumra {
namespace {

using Lines = std::vector<std::string>;

TEST(ExpSearch, WordsAreCutAtEverySpaceFilteredAndDistinct) {
    EXPECT_EQ(CutWords({"Slang, slang!"}), Lines{"slang"});
    EXPECT_EQ(CutWords({"de  slang"}), (Lines{"de", "", "slang"}));
    EXPECT_EQ(CutWords({"Ru\xEFne en caf\xE9", "RU\xEFNE 12-3 o'clock"}),
              (Lines{"rune", "en", "caf", "", "oclock"}));
    EXPECT_EQ(CutWords({}), Lines{});
    EXPECT_EQ(CutWords({""}), Lines{});
    // Bytes 80..A5 survive the filter and fold case (Š/š).
    EXPECT_EQ(CutWords({"\x8A"
                        "a \x9A"
                        "a"}),
              Lines{"\x8A"
                    "a"});
    // A long paragraph loses no word: it is wrapped at a space within 255 bytes.
    std::string paragraph;
    for (int i = 0; i < 60; ++i) paragraph += "woord" + std::string(1, static_cast<char>('a' + i % 26)) + " ";
    paragraph += "zweet.";
    const Lines words = CutWords({paragraph});
    EXPECT_EQ(words.size(), 27u);
    EXPECT_EQ(words.back(), "zweet");
    // A word longer than 255 bytes is split rather than dropped.
    EXPECT_EQ(CutWords({std::string(255, 'a') + "bbb"}), (Lines{std::string(255, 'a'), "bbb"}));
}

TEST(ExpSearch, HeadWordOfASynonymLine) {
    EXPECT_EQ(SynonymHeadWord("|slang|adder|"), "Slang");
    EXPECT_EQ(SynonymHeadWord("slang|adder|"), "Slang");
    EXPECT_EQ(SynonymHeadWord("|slang"), "");
    EXPECT_EQ(SynonymHeadWord("|\xE9"
                              "cole|"),
              "\xE9"
              "cole");
    EXPECT_EQ(SynonymHeadWord(""), "");
}

TEST(ExpSearch, MatchingNeedsWholeFieldsBetweenBars) {
    const Lines synonyms{"|slang|adder|", "zee|oceaan|"};
    const Lines index{"3|Slang", "4|slang", "5|SLANG", "9|Zee"};
    EXPECT_EQ(SearchExplanations("een adder", synonyms, index), Lines{"3|Slang"});
    EXPECT_EQ(SearchExplanations("slan", synonyms, index), Lines{});
    EXPECT_EQ(SearchExplanations("de oceaan", synonyms, index), Lines{"9|Zee"});
    EXPECT_EQ(SearchExplanations("zee", synonyms, index), Lines{});  // the head lacks its leading bar
    EXPECT_EQ(SearchExplanations("", synonyms, index), Lines{});
    EXPECT_EQ(SearchExplanations("slang", {}, index), Lines{});
}

TEST(ExpSearch, EmptyWordFindsOnlyLinesWithAdjacentBars) {
    const Lines index{"1|Leeg", "2|Vol"};
    EXPECT_EQ(SearchExplanations("a  b", {"|leeg||"}, index), Lines{"1|Leeg"});
    EXPECT_EQ(SearchExplanations("a  b", {"|vol|x|"}, index), Lines{});
}

TEST(ExpSearch, ResultsAreDistinctSortedAndKeepDuplicateNames) {
    const Lines synonyms{"|slang|adder|", "|aap|apen|", "|zee|"};
    const Lines index{"10|Aap", "11|Slang", "12|Zee", "13|Slang"};
    Lines found = SearchExplanations("Slang, adder\r\nApen en de zee", synonyms, index);
    ASSERT_EQ(found.size(), 4u);
    // The two entries named Slang may come in either order.
    if (found[1] == "13|Slang") std::swap(found[1], found[2]);
    EXPECT_EQ(found, (Lines{"10|Aap", "11|Slang", "13|Slang", "12|Zee"}));
}

TEST(ExpSearch, ByteOrderOfNames) {
    Lines items{"1|aap", "2|Zee", "3|Aapje", "4|Aap"};
    SortExplanations(items, 0, 3);
    EXPECT_EQ(items, (Lines{"4|Aap", "3|Aapje", "2|Zee", "1|aap"}));
}

// Random data sets over a tiny alphabet, so that words, fields, head words and names collide
// often: fields with and without a leading bar, "||", heads that capitalise to several names,
// duplicate names, items differing only in case, lines over 255 bytes.
class RandomData {
public:
    explicit RandomData(unsigned start) : FRng(start) {}

    std::string Word() {
        static const char* const kParts[] = {"a", "b", "ab", "\x8A", "\x9A", "A", "B", ""};
        std::string w;
        for (int n = Below(3); n >= 0; --n) w += kParts[Below(8)];
        return w;
    }
    std::string SynonymLine() {
        std::string line = Below(5) == 0 ? "" : "|";
        if (Below(12) == 0) line += std::string(250 + Below(10), 'a') + "|";
        for (int n = Below(5); n >= 0; --n) line += (Below(6) == 0 ? "" : Word()) + "|";
        if (Below(8) == 0) line.pop_back();
        return line;
    }
    std::string Item() {
        std::string name = Word();
        if (!name.empty() && Below(2) == 0 && name[0] >= 'a' && name[0] <= 'z') name[0] = static_cast<char>(name[0] - 32);
        if (Below(20) == 0) return name;  // no bar at all
        return std::to_string(Below(6)) + "|" + name;
    }
    std::string Description() {
        static const char* const kGaps[] = {" ", "  ", ", ", "\r\n", "! "};
        std::string text;
        for (int n = Below(40); n >= 0; --n) text += Word() + kGaps[Below(5)];
        if (Below(4) == 0) text += std::string(300, 'b') + " " + Word();
        return text;
    }
    template <typename Make>
    Lines Many(int most, Make make) {
        Lines out;
        for (int n = Below(most); n > 0; --n) out.push_back(make());
        return out;
    }
    int Below(int n) { return static_cast<int>(FRng() % static_cast<unsigned>(n)); }

private:
    std::mt19937 FRng;
};

TEST(ExpSearch, SameItemsInTheSameOrderAsTheNaiveSearch) {
    RandomData data(20261208);
    for (int round = 0; round < 3000; ++round) {
        const Lines synonyms = data.Many(30, [&] { return data.SynonymLine(); });
        const Lines index = data.Many(40, [&] { return data.Item(); });
        const Lines lines = SplitTextLines(data.Description());
        const Lines words = CutWords(lines);
        ASSERT_EQ(words, naive::CutWords(lines)) << "round " << round;
        // Sometimes the list already holds an item, in another case.
        Lines found, expected;
        if (!index.empty() && data.Below(4) == 0) {
            std::string item = index[static_cast<std::size_t>(data.Below(static_cast<int>(index.size())))];
            for (char& c : item) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            found = expected = {item};
        }
        ASSERT_TRUE(FindExplanations(words, synonyms, index, found));
        ASSERT_TRUE(naive::FindExplanations(words, synonyms, index, expected));
        ASSERT_EQ(found, expected) << "round " << round;
    }
}

TEST(ExpSearch, CompactIndexFindsWhatTheStringIndexFinds) {
    const std::string bytes = test::DbBytes({{1, "Dier", ""}, {2, "Dier|Reptiel", ""}, {3, "Dier|Reptiel|Slang", "t"},
                                             {4, "Dier|Aap|Aap", "t"}, {5, "Ander|X|Slang", "t"}, {6, "Ander|X|Zee", "t"}});
    MemorySource source(bytes);
    TiDbRecFile file;
    ASSERT_TRUE(file.LoadFromSource(source));
    TIndexLists lists;
    BuildIndexLists(file, lists);
    lists.SortIndex(0, static_cast<int>(lists.IndexCount()) - 1);
    const Lines synonyms{"|slang|adder|", "|aap|", "|zee|water|"};
    Lines fromLists, fromStrings;
    ASSERT_TRUE(SearchExplanations("Een adder in het water, een aap", synonyms, lists, fromLists));
    ASSERT_TRUE(SearchExplanations("Een adder in het water, een aap", synonyms, lists.IndexStrings(), fromStrings));
    EXPECT_EQ(fromLists, (Lines{"4|Aap", "3|Slang", "5|Slang", "6|Zee"}));
    EXPECT_EQ(fromLists, fromStrings);
}

TEST(ExpSearch, StoppedSearchKeepsTheStartOfTheList) {
    RandomData data(7);
    Lines synonyms, index;
    for (int i = 0; i < 3000; ++i) {
        synonyms.push_back("|w" + std::to_string(i) + "|x|");
        index.push_back(std::to_string(i) + "|W" + std::to_string(i));
    }
    const Lines words{"x"};
    Lines full;
    ASSERT_TRUE(FindExplanations(words, synonyms, index, full));
    ASSERT_EQ(full.size(), 3000u);
    for (int stopAt : {1, 2, 3, 5, 8}) {
        Lines found;
        int asked = 0;
        EXPECT_FALSE(FindExplanations(words, synonyms, index, found, [&] { return ++asked < stopAt; }));
        EXPECT_EQ(found, Lines(full.begin(), full.begin() + static_cast<long>(found.size())));
        if (stopAt == 1) { EXPECT_TRUE(found.empty()); }
    }
    // Asked steadily through a large search, not only at its start and end.
    int asked = 0;
    Lines found;
    ASSERT_TRUE(FindExplanations(words, synonyms, index, found, [&] { return ++asked > 0; }));
    EXPECT_GE(asked, 8);
}

}  // namespace
}  // namespace slumra

#include "diary/ExpSearch.h"

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

TEST(ExpSearch, StoppedSearchKeepsWhatItFound) {
    const Lines synonyms{"|aap|", "|beer|", "|cavia|"};
    const Lines index{"1|Aap", "2|Beer", "3|Cavia"};
    Lines found;
    int asked = 0;
    const bool done = FindExplanations({"aap", "beer", "cavia"}, synonyms, index, found, [&asked] {
        return ++asked < 9;  // stop before the first index entry of the second word
    });
    EXPECT_FALSE(done);
    EXPECT_EQ(found, Lines{"1|Aap"});
}

}  // namespace
}  // namespace slumra

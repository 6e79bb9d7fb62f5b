// Judged samples: the "@" line and the recall and precision of the explanation search.
#include "Judged.h"

#include <gtest/gtest.h>

using namespace slumra::content;

TEST(JudgedSamples, LastLineIsTheJudgementAndNeverSearched) {
    const Sample s = SplitSample("Ik zag een Hond.\r\nEn @ een kat.\r\n@ hond, Kat , hond,\r\n\r\n");
    EXPECT_TRUE(s.isJudged);
    EXPECT_EQ(s.description, "Ik zag een Hond.\r\nEn @ een kat.\r\n");
    EXPECT_EQ(s.judged, (std::vector<std::string>{"hond", "kat"}));

    const Sample plain = SplitSample("Een droom @ zonder oordeel.\n");
    EXPECT_FALSE(plain.isJudged);
    EXPECT_EQ(plain.description, "Een droom @ zonder oordeel.\n");
}

TEST(JudgedSamples, RecallCountsJudgedWordsAndPrecisionCountsFoundSymbols) {
    // Found: Hond (group holds "hond"), Zee (no judged word), Poes (holds "kat" and "hond").
    const Score s = ScoreSample({"hond", "kat", "maan"},
                                {{"hond", "honden"}, {"zee", "water"}, {"poes", "kat", "hond"}});
    EXPECT_EQ(s.judged, 3u);
    EXPECT_EQ(s.judgedFound, 2u);
    EXPECT_EQ(s.missed, std::vector<std::string>{"maan"});
    EXPECT_EQ(s.found, 3u);
    EXPECT_EQ(s.foundJudged, 2u);  // Poes once, though it holds two judged words

    // Accented judged words: "cr\xE8" "che" (crèche) and "ski\xEB" "n" (skiën).
    const Score accents = ScoreSample({"cr\xE8" "che", "ski\xEB" "n"}, {{"creche"}, {"skin"}});
    EXPECT_EQ(accents.judgedFound, 2u);
    EXPECT_EQ(accents.foundJudged, 2u);

    Score total = s;
    total += ScoreSample({"zee"}, {});
    EXPECT_EQ(Ratio(total.judgedFound, total.judged), "50.0 % (2/4)");
    EXPECT_EQ(Ratio(total.foundJudged, total.found), "66.7 % (2/3)");
    EXPECT_EQ(Ratio(0, 0), "- (0/0)");
}

TEST(JudgedSamples, VerdictLinesFollowTheJudgementAndOnlyPlusCountsAsRelevant) {
    const Sample s = SplitSample("Ik zag een hond bij de zee.\n@ hond\n\n+ Zee, zee\r\n- Licht , Weg\n");
    EXPECT_TRUE(s.isJudged);
    EXPECT_TRUE(s.problems.empty());
    EXPECT_EQ(s.description, "Ik zag een hond bij de zee.\n");
    EXPECT_EQ(s.relevant, std::vector<std::string>{"Zee"});
    EXPECT_EQ(s.notRelevant, (std::vector<std::string>{"Licht", "Weg"}));

    // Found: Hond (by the @ word), zee (by "+", any case), Licht (by "-"), Staan (no verdict);
    // Weg was judged but is not found.
    const Score score = ScoreSample(s, {"Hond", "zee", "Licht", "Staan"}, {{"hond"}, {"zee"}, {"licht"}, {"staan"}});
    EXPECT_EQ(score.foundJudged, 1u);
    EXPECT_EQ(score.foundRelevant, 2u);
    EXPECT_EQ(score.noVerdict, std::vector<std::string>{"Staan"});
    EXPECT_EQ(score.stale, std::vector<std::string>{"Weg"});

    // Out of order: still read, but reported; never searched as description.
    const Sample swapped = SplitSample("Droom.\n@ hond\n- Weg\n+ Zee\n");
    EXPECT_EQ(swapped.description, "Droom.\n");
    EXPECT_EQ(swapped.relevant, std::vector<std::string>{"Zee"});
    EXPECT_EQ(swapped.problems.size(), 1u);
    EXPECT_EQ(SplitSample("Droom.\n@ hond\n+ Zee\n- zee\n").problems.size(), 1u);
    // A verdict without an "@" line: no judgement, reported.
    const Sample orphan = SplitSample("Droom.\n+ Zee\n");
    EXPECT_FALSE(orphan.isJudged);
    EXPECT_EQ(orphan.problems.size(), 1u);
}

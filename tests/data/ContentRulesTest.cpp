// The dictionary rules of `slumra-data check` and the picture map.
#include "Checks.h"
#include "Content.h"
#include "Pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

using namespace slumra::content;

namespace {

Entry Symbol(const std::string& name, const std::string& text, std::vector<std::string> synonyms = {}) {
    Entry e;
    e.level = Level::Symbol;
    e.name = name;
    e.text = text;
    e.synonyms = std::move(synonyms);
    e.path = "Cat|Sub|" + name;
    e.file = "t.txt";
    return e;
}

bool Mentions(const std::vector<Problem>& problems, const std::string& part) {
    return std::any_of(problems.begin(), problems.end(),
                       [&](const Problem& p) { return p.what.find(part) != std::string::npos; });
}

}  // namespace

TEST(ContentRules, PhrasesCountEachTextOnceAcrossCaseAndPunctuation) {
    const auto phrases = RepeatedPhrases({"Zo'n droom kan wijzen op rust. Het kan wijzen op rust.",
                                          "Ook hij KAN wijzen, op iets anders.", "Zo n droom: niets gedeeld."});
    // "zo'n droom" keeps its apostrophe, so it is not "zo n droom".
    ASSERT_EQ(phrases.size(), 1u);
    EXPECT_EQ(phrases[0].words, "kan wijzen op");
    EXPECT_EQ(phrases[0].texts, 2u);
}

TEST(ContentRules, OverusedPhraseIsAnError) {
    std::vector<Entry> entries;
    for (int i = 0; i < 10; ++i)
        entries.push_back(Symbol("Ding" + std::string(1, static_cast<char>('a' + i)),
                                 i < 2 ? "Dit kan wijzen op iets." : "Tekst nummer " + std::to_string(i)));
    Findings f;
    CheckDictionary(entries, f);
    EXPECT_TRUE(Mentions(f.errors, "'kan wijzen op' stands in 20.0 %"));
    // At the limit itself it is allowed.
    Findings atLimit;
    CheckOptions options;
    options.phraseShare = 0.20;
    CheckDictionary(entries, atLimit, options);
    EXPECT_FALSE(Mentions(atLimit.errors, "kan wijzen op"));
}

TEST(ContentRules, AccentedFormsNeedTheirSearchForm) {
    // "Ru\xEFne" is Ruïne in Windows-1252; the search drops the ï.
    EXPECT_EQ(MissingSearchForms(Symbol("Ru\xEFne", "Een oude ru\xEFne.")), std::vector<std::string>{"rune"});
    EXPECT_TRUE(MissingSearchForms(Symbol("Ru\xEFne", "Een oude ru\xEFne.", {"ruine", "rune"})).empty());
    // A form of the name in the text, but not another accented word.
    EXPECT_EQ(MissingSearchForms(Symbol("Ru\xEFne", "Twee ru\xEFnes bij een caf\xE9.", {"rune"})),
              std::vector<std::string>{"runes"});
    // A plain name whose plural carries the accent.
    EXPECT_EQ(MissingSearchForms(Symbol("Zee", "Alle zee\xEB" "n.")), std::vector<std::string>{"zeen"});
}

TEST(ContentRules, ReferencesToNoSymbolAndSharedWordsAreReportedRightly) {
    std::vector<Entry> entries{Symbol("Kat", "Zie {hond} en { Zee }.", {"poes"}),
                               Symbol("Hond", "Zie {Kat}.", {"poes"})};
    EXPECT_EQ(References("Zie {hond} en { Zee }."), (std::vector<std::string>{"hond", "Zee"}));
    Findings f;
    CheckDictionary(entries, f);
    EXPECT_TRUE(Mentions(f.warnings, "{Zee} names no symbol"));
    EXPECT_FALSE(Mentions(f.warnings, "{hond}"));
    // Resolved as the program resolves it: accents and case do not matter.
    Findings accents;
    CheckDictionary({Symbol("Ru\xEFne", "Zie {RUINE}."), Symbol("Zee", "Zie {Ru\xEFne} en {Rune}.")}, accents);
    EXPECT_FALSE(Mentions(accents.warnings, "{RUINE}"));
    EXPECT_TRUE(Mentions(accents.warnings, "{Rune} names no symbol"));
    // A word in two groups is a figure, not a warning.
    EXPECT_FALSE(Mentions(f.warnings, "poes"));
    EXPECT_TRUE(std::any_of(f.info.begin(), f.info.end(), [](const std::string& s) {
        return s.find("1 words stand in more than one group: 'poes' in Kat, Hond") != std::string::npos;
    }));
}

TEST(PictureFiles, NamesAsWindowsOpensThem) {
    EXPECT_EQ(PictureFile("Dieren|Huisdieren|Hond"), "I/Dieren/Huisdieren/Hond.jpg");
    EXPECT_EQ(PictureFile("Eten en drinken|Zoet, zuur|Caf\xE9"), "I/Eten en drinken/Zoet, zuur/Caf\xE9.jpg");
    EXPECT_EQ(PictureFile("Enz.|Sub|Ding."), "I/Enz/Sub/Ding..jpg");  // one dot off a folder name
    EXPECT_EQ(PictureFile("Cat|Sub|In/uit"), "I/Cat/Sub/In/uit.jpg");
    EXPECT_EQ(PictureFile("Cat|Sub|Wat?"), "");
    EXPECT_EQ(PictureFile("Cat|Sub"), "");
}

TEST(PictureFiles, MapIsReadAndChecked) {
    const auto dir = std::filesystem::temp_directory_path() / ("slumra-map-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(dir / "set");
    std::ofstream(dir / "set" / "dog.svg") << "<svg/>";
    std::ofstream(dir / "pictures.txt") << ";; comment\n\nHond = dog.svg\nKat = cat\nKat = dog\nGeen regel\nSpook = Ghost!\nDraak = dog\n";
    std::vector<Problem> errors;
    const auto map = ReadPictureMap((dir / "pictures.txt").string(), errors);
    EXPECT_EQ(map.size(), 4u);
    EXPECT_TRUE(Mentions(errors, "a line is 'Symbol = picture'"));
    EXPECT_TRUE(Mentions(errors, "'Ghost!' is no picture name"));

    Findings f;
    CheckPictureMap(map, "pictures.txt", {Symbol("Hond", "x"), Symbol("Kat", "x"), Symbol("Vos", "x")},
                    (dir / "set").string(), f);
    EXPECT_TRUE(Mentions(f.errors, "no picture cat.svg"));
    EXPECT_TRUE(Mentions(f.errors, "Kat mapped twice"));
    EXPECT_TRUE(Mentions(f.warnings, "Draak is no symbol"));
    EXPECT_FALSE(Mentions(f.errors, "dog.svg"));
    EXPECT_NE(f.info.back().find("2 of 3 symbols mapped (66.7 %)"), std::string::npos);
    std::filesystem::remove_all(dir);
}

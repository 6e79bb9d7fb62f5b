#include "data/Find.h"

#include "TestUtil.h"

namespace slumra {
namespace {

using test::DbBytes;
using test::DbRecord;
using Records = std::vector<std::int32_t>;

class FindTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string bytes = DbBytes({
            {1, "Natuur", "Over de zee en het land."},            // 1: category
            {2, "Natuur|Zee", "Een deel over zee."},              // 2: subcategory
            {3, "Natuur|Zee|Zee", "Golven. Zie ook {Strand}."},   // 3
            {4, "Natuur|Zee|Zeehond", "Een dier."},               // 4
            {5, "Natuur|Zee|Strand", "Zand en schelpen."},        // 5: group holds "zee"
            {6, "Natuur|Zee|Haven", "Schepen."},                  // 6: group holds "zeeen"
            {7, "Natuur|Zee|Boot", "Op zee varen."},              // 7: text holds "zee"
            {8, "Natuur|Zee|Misselijk", "Zeeziek op de boot."},   // 8: text begins "zee"
            {9, "Natuur|Lucht|Vliegen", "Los van de grond."},     // 9
            {10, "Natuur|Lucht|Ru\xefne", "Een caf\xe9 in puin."},  // 10
            {11, "Natuur|Lucht|Rode kool", "Groente."},           // 11
        });
        MemorySource source(bytes);
        ASSERT_TRUE(db_.LoadFromSource(source));
        index_.Build(db_, {"|zee|golf|", "|strand|zee|kust|", "|haven|zeeen|", "|vliegen|vloog|vliegt|",
                           "|ru\xefne|rune|ruine|"});
    }
    TiDbRecFile db_;
    TFindIndex index_;
};

TEST_F(FindTest, RanksNameThenPrefixThenGroupThenText) {
    // Whole name, name prefix, group word, group prefix, text word, text prefix; never the
    // category or subcategory that carry the word in their names.
    EXPECT_EQ(index_.Find("zee"), (Records{3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(index_.Find("zee", 2), (Records{3, 4}));
}

TEST_F(FindTest, IgnoresCaseAndAccentsBothWays) {
    for (const char* q : {"ruine", "RU\xcfNE", "ru\xefne", "  Ru\xefne!  "}) EXPECT_EQ(index_.Find(q), Records{10}) << q;
    EXPECT_EQ(index_.Find("CAFE"), Records{10});
    EXPECT_EQ(FoldWords("Stra\xdf" "e \xc6sop-\x8cuvre auto's \xa0x"),
              (std::vector<std::string>{"strasse", "aesop", "oeuvre", "autos", "x"}));
}

TEST_F(FindTest, InflectionsComeThroughTheGroup) {
    EXPECT_EQ(index_.Find("vloog"), Records{9});
    EXPECT_EQ(index_.Find("vliegt"), Records{9});
    EXPECT_EQ(index_.Find("kust"), Records{5});
}

TEST_F(FindTest, EveryWordMustMatchAndNamesWeighMore) {
    EXPECT_EQ(index_.Find("boot zee"), (Records{7, 8}));  // Boot by name and text; Misselijk by text
    EXPECT_EQ(index_.Find("zee boot"), (Records{7, 8}));
    EXPECT_TRUE(index_.Find("zee vloog").empty());
    // A name of two words: the whole query is the name.
    EXPECT_EQ(index_.Find("rode kool"), Records{11});
    EXPECT_EQ(index_.Find("kool ro"), Records{11});
}

TEST_F(FindTest, NothingForNoMatchOrNoWord) {
    for (const char* q : {"xyzzy", "", "  ", "?!{}", "zeex"}) EXPECT_TRUE(index_.Find(q).empty()) << q;
    TFindIndex empty;
    EXPECT_TRUE(empty.Find("zee").empty());
    EXPECT_EQ(empty.RecordOfName("Zee"), 0);
}

TEST_F(FindTest, QueryIsCutAt255Bytes) {
    std::string q(250, ' ');
    q += "zee x";  // "x" stands at byte 254 and is searched; what follows is not
    EXPECT_TRUE(index_.Find(q).empty());
    q.back() = ' ';
    q += std::string(100, 'q');
    EXPECT_EQ(index_.Find(q).size(), 6u);
    EXPECT_TRUE(index_.Find(std::string(255, 'z')).empty());
}

TEST_F(FindTest, NameLookupIsWholeNameOnly) {
    EXPECT_EQ(index_.RecordOfName("zee"), 3);
    EXPECT_EQ(index_.RecordOfName(" RUINE "), 10);
    EXPECT_EQ(index_.RecordOfName("rode  kool"), 11);
    EXPECT_EQ(index_.RecordOfName("Zeeh"), 0);
    EXPECT_EQ(index_.RecordOfName("Natuur"), 0);  // a category, no symbol
    EXPECT_EQ(index_.SymbolName(10), "Ru\xefne");
    EXPECT_EQ(index_.SymbolName(2), "");
}

TEST_F(FindTest, ReferencesPerDisplayedLine) {
    const std::vector<std::string> lines = {
        "Zie {Zee} en {Nergens} ",  // 0: a dangling reference before a good one
        "en {Nergens} of {Rode",    // 1: opened here...
        "kool}.",                   // 2: ...closed here (the caller trimmed the space between)
        "",                         // 3: paragraph break
        "{Zee",                     // 4: never closed: an empty line ends it
        "",
        "Zee} {Strand",             // 6: a "}" without "{" and an unclosed "{"
    };
    const auto refs = FindReferences(lines);
    ASSERT_EQ(refs.size(), 4u);
    EXPECT_EQ(refs[3].Name, "Rode kool");
    EXPECT_EQ(refs[3].FirstLine, 1u);
    EXPECT_EQ(refs[3].LastLine, 2u);
    EXPECT_EQ(ReferencedRecord(index_, lines, 0), 3);
    EXPECT_EQ(ReferencedRecord(index_, lines, 1), 11);
    EXPECT_EQ(ReferencedRecord(index_, lines, 2), 11);
    for (std::size_t line : {3, 4, 6, 99}) EXPECT_EQ(ReferencedRecord(index_, lines, line), 0) << line;
    EXPECT_EQ(ReferencedRecord(index_, {"alleen {Nergens}"}, 0), 0);
}

TEST(RecordHistoryTest, BackForwardAndTruncation) {
    TRecordHistory h;
    EXPECT_EQ(h.Back(), 0);
    EXPECT_EQ(h.Forward(), 0);
    h.Visit(1);
    h.Visit(1);  // the current one again: no entry
    h.Visit(0);
    h.Visit(2);
    h.Visit(3);
    EXPECT_EQ(h.Back(), 2);
    h.Visit(2);  // showing what Back answered changes nothing
    EXPECT_EQ(h.Back(), 1);
    EXPECT_EQ(h.Back(), 0);
    EXPECT_EQ(h.Current(), 1);
    EXPECT_EQ(h.Forward(), 2);
    h.Visit(7);  // drops 3
    EXPECT_FALSE(h.CanGoForward());
    EXPECT_EQ(h.Back(), 2);
    EXPECT_EQ(h.Forward(), 7);
    EXPECT_EQ(h.Forward(), 0);
}

TEST(RecordHistoryTest, KeepsTheLatestWhenFull) {
    TRecordHistory h;
    const int visits = static_cast<int>(TRecordHistory::kCapacity) + 20;
    for (int r = 1; r <= visits; ++r) h.Visit(r);
    int steps = 0;
    while (h.Back() != 0) ++steps;
    EXPECT_EQ(steps + 1, static_cast<int>(TRecordHistory::kCapacity));
    EXPECT_GE(TRecordHistory::kCapacity, 50u);
    EXPECT_EQ(h.Current(), 21);
}

}  // namespace
}  // namespace slumra

#include "TestUtil.h"

#include "data/Files.h"
#include "data/Index.h"
#include "data/Synonyms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace slumra {
namespace {

using test::DbRecord;
using Lines = std::vector<std::string>;

TEST(Index, OutlineAndIndexFromHeadingsAndSymbols) {
    TiDbRecFile file;
    const std::string bytes = test::DbBytes({{1, "A", "intro"},
                                             {2, "A|B", "intro"},
                                             {3, "A|B|C", "tekst"},
                                             {4, "", "zonder pad"},
                                             {5, "A||D", "zonder subcategorie"},
                                             {6, "X|Y|Z|overbodig", ""}});
    MemorySource source(bytes);
    ASSERT_TRUE(file.LoadFromSource(source));
    Lines outline, index;
    BuildIndexLists(file, outline, index);
    EXPECT_EQ(outline, (Lines{"1|A", " 2|B", "  3|C", "  5|D", "  6|Z"}));
    EXPECT_EQ(index, (Lines{"3|C", "5|D", "6|Z"}));
}

TEST(Index, EmptyDatabaseGivesEmptyLists) {
    TiDbRecFile file;
    Lines outline, index;
    BuildIndexLists(file, outline, index);
    EXPECT_TRUE(outline.empty());
    EXPECT_TRUE(index.empty());
}

TEST(Index, SortIsByteOrderWithPrefixesFirst) {
    Lines items{"1|aap",
                "2|Zee",
                "3|\xE9"
                "cole",
                "4|Aapje",
                "5|Aap",
                "6|zebra",
                "7|Zeeuw",
                "8|b"};
    SortIndex(items, 0, static_cast<int>(items.size()) - 1);
    EXPECT_EQ(items, (Lines{"5|Aap", "4|Aapje", "2|Zee", "7|Zeeuw", "1|aap", "8|b", "6|zebra",
                            "3|\xE9"
                            "cole"}));
}

TEST(Index, SortKeyIsTextAfterFirstBarCutTo255) {
    EXPECT_EQ(IndexKey("12|Hond"), "Hond");
    EXPECT_EQ(IndexKey("geen streep"), "geen streep");
    EXPECT_EQ(IndexKey("1|a|b"), "a|b");
    EXPECT_EQ(IndexKey("1|" + std::string(300, 'x')).size(), 255u);
    // Keys equal in their first 255 bytes compare equal.
    EXPECT_EQ(CompareKeys(IndexKey("1|" + std::string(260, 'x') + "a"),
                          IndexKey("2|" + std::string(260, 'x') + "b")),
              0);
}

TEST(Index, SortMatchesAReferenceOnRandomAndOrderedInput) {
    std::mt19937 rng(12345);
    for (int round = 0; round < 20; ++round) {
        Lines items;
        const int n = 1 + static_cast<int>(rng() % 300);
        for (int i = 0; i < n; ++i) {
            std::string name;
            const int len = static_cast<int>(rng() % 6);
            for (int k = 0; k < len; ++k) name.push_back(static_cast<char>("aAbZz\xE9\x80|"[rng() % 8]));
            items.push_back(std::to_string(i) + "|" + name);
        }
        if (round % 5 == 0) std::sort(items.begin(), items.end());
        SortIndex(items, 0, n - 1);
        EXPECT_TRUE(
            std::is_sorted(items.begin(), items.end(), [](const std::string& a, const std::string& b) {
                return CompareKeys(IndexKey(a), IndexKey(b)) < 0;
            }));
    }
    Lines one{"4|enkel"};
    SortIndex(one, 0, 0);
    EXPECT_EQ(one, Lines{"4|enkel"});
}

TEST(Index, SortKeepsTheOrderOfEqualKeysAndLooksPastSixteenBytes) {
    const std::string same16 = "abcdefghijklmnop";
    Lines items{"1|" + same16 + "z", "2|b", "3|" + same16 + "a", "4|b", "5|" + same16, "6|b",
                "7|" + same16 + "a", std::string("8|b\0", 4), "9|" + same16.substr(0, 15)};
    SortIndex(items, 0, static_cast<int>(items.size()) - 1);
    EXPECT_EQ(items, (Lines{"9|" + same16.substr(0, 15), "5|" + same16, "3|" + same16 + "a", "7|" + same16 + "a",
                            "1|" + same16 + "z", "2|b", "4|b", "6|b", std::string("8|b\0", 4)}));
}

TEST(Index, CompactListsSortLikeTheStringLists) {
    std::mt19937 rng(99);
    std::vector<DbRecord> recs;
    for (std::uint32_t i = 1; i <= 3000; ++i) {
        std::string symbol;
        for (int k = static_cast<int>(rng() % 20); k > 0; --k) symbol.push_back("aAbZ\xE9|"[rng() % 6]);
        recs.push_back({i, rng() % 5 == 0 ? "Cat" : rng() % 5 == 0 ? "Cat|Sub" : "Cat|Sub|" + symbol, "t"});
    }
    const std::string bytes = test::DbBytes(recs);
    MemorySource source(bytes);
    TiDbRecFile file;
    ASSERT_TRUE(file.LoadFromSource(source));
    TIndexLists lists;
    BuildIndexLists(file, lists);
    Lines outline, index;
    BuildIndexLists(file, outline, index);
    EXPECT_EQ(lists.OutlineStrings(), outline);
    lists.SortIndex(0, static_cast<int>(lists.IndexCount()) - 1);
    Lines stable = index;
    std::stable_sort(stable.begin(), stable.end(), [](const std::string& a, const std::string& b) {
        return CompareKeys(IndexKey(a), IndexKey(b)) < 0;
    });
    SortIndex(index, 0, static_cast<int>(index.size()) - 1);
    EXPECT_EQ(index, stable);
    EXPECT_EQ(lists.IndexStrings(), stable);
}

TEST(Index, SortOfManyEqualOrSortedKeysDoesNotRecurseDeeply) {
    Lines items(200000, "1|gelijk");
    SortIndex(items, 0, static_cast<int>(items.size()) - 1);
    Lines sorted;
    for (int i = 0; i < 200000; ++i) sorted.push_back("1|" + std::to_string(1000000 + i));
    SortIndex(sorted, 0, static_cast<int>(sorted.size()) - 1);
    EXPECT_EQ(sorted.front(), "1|1000000");
}

TEST(Index, RecordNumberOfItems) {
    EXPECT_EQ(ItemRecordNumber("12|Hond"), 12);
    EXPECT_EQ(ItemRecordNumber("  7|Kat"), 7);
    EXPECT_EQ(ItemRecordNumber("|leeg"), 0);
    EXPECT_EQ(ItemRecordNumber("x1|Kat"), 0);
    EXPECT_EQ(ItemRecordNumber("99999999999|Te groot"), 0);
    EXPECT_EQ(ItemRecordNumber("geen streep"), 0);
}

TEST(Synonyms, LineEndsOfEveryKind) {
    EXPECT_EQ(SplitTextLines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitTextLines("a\r\n\r\nb\n"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitTextLines("a\n\rb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitTextLines(std::string("a\nb\0c\nd", 7)), (Lines{"a", "b"}));
    EXPECT_EQ(SplitTextLines(""), Lines{});
    EXPECT_EQ(SplitTextLines("\r"), Lines{""});
}

TEST(Synonyms, MissingFileGivesEmptyList) {
    EXPECT_TRUE(LoadSynonymList("no/such/Syn.dat").empty());
    test::ScratchDir dir;
    {
        FileSink sink(dir.Path("Syn.dat"));
        const std::string text = "|hond|honden|\r\n|kat|poes|";
        ASSERT_EQ(sink.Write(text.data(), text.size()), text.size());
        ASSERT_TRUE(sink.Close());
    }
    EXPECT_EQ(LoadSynonymList(dir.Path("Syn.dat")), (Lines{"|hond|honden|", "|kat|poes|"}));
}

}  // namespace
}  // namespace slumra

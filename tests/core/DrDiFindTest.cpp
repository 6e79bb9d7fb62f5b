#include "TestUtil.h"

#include "diary/DrDiExport.h"
#include "diary/DrDiFind.h"
#include "diary/DrDiRecs.h"

#include <gtest/gtest.h>

namespace slumra {
namespace {

using Lines = std::vector<std::string>;

void Add(TDrDiRecFile& diary, const std::string& head, const std::string& description,
         const std::string& explanation = "") {
    DrDiRec rec;
    rec.Head = head;
    rec.Description = description;
    rec.Explanation = explanation;
    ASSERT_TRUE(diary.AddRecord(rec));
    diary.ShowAll();
}

TEST(DrDiFind, DreamsHoldingEveryWordIgnoringCaseAndAccents) {
    TDrDiRecFile diary;
    Add(diary, "Slangen|12-03-2024|07:30", "In het caf\xE9 kroop iets.");
    Add(diary, "Zee|13-03-2024|hh:mm", "Golven.", "Angst voor SLANGEN");
    Add(diary, "Leeg|dd-mm-yyyy|hh:mm", "");
    using N = std::vector<std::int32_t>;
    EXPECT_EQ(FindDreams(diary, "slang"), (N{1, 2}));
    EXPECT_EQ(FindDreams(diary, "CAFE"), N{1});
    EXPECT_EQ(FindDreams(diary, "Caf\xC9  slang"), N{1});
    EXPECT_EQ(FindDreams(diary, "slang golven"), N{2});
    EXPECT_EQ(FindDreams(diary, "13-03"), N{2});
    EXPECT_EQ(FindDreams(diary, "07:30"), N{1});
    EXPECT_EQ(FindDreams(diary, "slang vlinder"), N{});
    EXPECT_EQ(FindDreams(diary, "zeegolven"), N{});  // no word across two fields
    EXPECT_EQ(FindDreams(diary, " "), (N{1, 2, 3}));
}

TEST(DrDiFind, LookingThroughTheDiaryLeavesTheCurrentDream) {
    TDrDiRecFile diary;
    for (const char* name : {"a", "b", "c"}) Add(diary, std::string(name) + "||", "slang");
    (void)diary.GetVisibleRecord(2);
    const TSymbolLookup lookup({"|slang|"}, Lines{"1|Slang"});
    EXPECT_EQ(FindDreams(diary, "slang").size(), 3u);
    EXPECT_EQ(DiaryStatistics(diary, lookup, {}).Dreams, 3);
    EXPECT_FALSE(DiaryHtml(diary, "d", lookup, {}).empty());
    EXPECT_FALSE(DiaryText(diary, "d", lookup, {}).empty());
    EXPECT_EQ(diary.CursorIndex(), 2);
}

TEST(DrDiFind, DatesReadOnlyAsExistingDays) {
    int d = 0, m = 0, y = 0;
    EXPECT_TRUE(ReadDreamDate(" 7-3-2024 ", d, m, y));
    EXPECT_EQ(d * 10000 + m * 100 + (y - 2000), 70324);
    EXPECT_TRUE(ReadDreamDate("29.02.2024", d, m, y));
    EXPECT_TRUE(ReadDreamDate("31/12/1999", d, m, y));
    for (const char* bad : {"dd-mm-yyyy", "", "29-02-2023", "31-04-2024", "0-1-2024", "1-13-2024", "12-03-24",
                            "1-2/2024", "001-02-2024", "1-2-2024-5", "1 -2-2024", "12-03-20245"})
        EXPECT_FALSE(ReadDreamDate(bad, d, m, y)) << bad;
}

TEST(DrDiFind, StatisticsCountDreamsMonthsAndSymbolsOncePerDream) {
    TDrDiRecFile diary;
    Add(diary, "a|12-03-2024|", "slang slang adders");
    Add(diary, "b|01-01-2023|", "een adder en de zee\xEBn");
    Add(diary, "c|5-3-2024|", "zee");
    Add(diary, "d|dd-mm-yyyy|", "niets");
    Add(diary, "e|gisteren|", "de slang");
    const TSymbolLookup lookup({"|slang|adder|adders|", "|zee|zeeen|"}, Lines{"1|Slang", "2|Zee"});
    const TDiaryStats stats = DiaryStatistics(diary, lookup, {});
    EXPECT_EQ(stats.Dreams, 5);
    EXPECT_EQ(stats.Undated, 2);
    ASSERT_EQ(stats.Months.size(), 2u);
    EXPECT_EQ(stats.Months[0].Year * 100 + stats.Months[0].Month, 202301);
    EXPECT_EQ(stats.Months[0].Count, 1);
    EXPECT_EQ(stats.Months[1].Year * 100 + stats.Months[1].Month, 202403);
    EXPECT_EQ(stats.Months[1].Count, 2);
    ASSERT_EQ(stats.Symbols.size(), 2u);
    EXPECT_EQ(stats.Symbols[0].Item, "1|Slang");
    EXPECT_EQ(stats.Symbols[0].Count, 3);
    EXPECT_EQ(stats.Symbols[1].Item, "2|Zee");  // once through the second pass ("zeeën")
    EXPECT_EQ(stats.Symbols[1].Count, 2);
}

TEST(DrDiExport, EscapesMarkupAndWritesUtf8) {
    EXPECT_EQ(HtmlEscape("<b> & \"x\" 'y' caf\xE9 \x80"),
              "&lt;b&gt; &amp; &quot;x&quot; &#39;y&#39; caf\xC3\xA9 \xE2\x82\xAC");
    TDrDiRecFile diary;
    Add(diary, "<script>|12-03-2024|hh:mm", "Een slang & een \"adder\".\r\n\r\nTweede alinea.",
        "Ik ben bang");
    const TSymbolLookup lookup({"|slang|", "|zee|zeeen|"}, Lines{"1|Slang", "2|Zee"});
    const std::string html = DiaryHtml(diary, "Jan's", lookup, {});
    EXPECT_NE(html.find("<html lang=\"nl\">"), std::string::npos);
    EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(html.find("<title>Droomnachtboek Jan&#39;s</title>"), std::string::npos);
    EXPECT_NE(html.find("<h2>&lt;script&gt;</h2>"), std::string::npos);
    EXPECT_EQ(html.find("<script>"), std::string::npos);
    EXPECT_EQ(html.find("hh:mm"), std::string::npos);  // the placeholder time is left out
    EXPECT_NE(html.find("<p>Een slang &amp; een &quot;adder&quot;.</p>\n<p>Tweede alinea.</p>"),
              std::string::npos);
    EXPECT_NE(html.find("<p class=\"symbols\">Slang</p>"), std::string::npos);

    const std::string text = DiaryText(diary, "Jan", lookup, {});
    EXPECT_EQ(text.rfind("\xEF\xBB\xBF"
                         "Droomnachtboek Jan\r\n",
                         0),
              0u);
    EXPECT_NE(text.find("\r\nGevonden symbolen: Slang\r\n"), std::string::npos);
    EXPECT_EQ(text.find("hh:mm"), std::string::npos);
}

TEST(DrDiExport, WriteReplacesWholeFilesAndFailsIntoMissingFolders) {
    const auto dir = test::ScratchPath("slumra-export");
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "d.html").string();
    ASSERT_TRUE(WriteExport(path, "old"));
    ASSERT_TRUE(WriteExport(path, "new"));
    std::string back;
    ASSERT_TRUE(ReadWholeFile(path, back));
    EXPECT_EQ(back, "new");
    EXPECT_FALSE(FileExists(path + ".new"));
    FileError why = FileError::None;
    EXPECT_FALSE(WriteExport((dir / "missing" / "d.html").string(), "x", RealFileSystem(), &why));
    EXPECT_NE(why, FileError::None);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace slumra

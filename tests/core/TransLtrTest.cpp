#include "TestUtil.h"

#include "lang/TVWriter.h"
#include "lang/TransLtr.h"

#include <gtest/gtest.h>

#include <fstream>

namespace slumra {
namespace {

using Rows = std::vector<std::vector<TVWriteValue>>;

TVWriteTable ContentsTable(Rows rows) {
    return {"Contents", {{"iCountry", TVType::Integer}, {"sCountry", TVType::String, 20}}, std::move(rows)};
}

TVWriteTable ProgramTable(const std::string& language, Rows rows) {
    return {"Program (" + language + ")",
            {{"Tag", TVType::Integer}, {"Caption", TVType::String, 40}, {"Hint", TVType::String, 40}},
            std::move(rows)};
}

Rows Row(std::int64_t tag, const std::string& caption, const std::string& hint = "") {
    return {{TVWriteValue(tag), TVWriteValue(caption), TVWriteValue(hint)}};
}

Rows operator+(Rows a, const Rows& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::string Bytes(const std::vector<TVWriteTable>& tables, const TVWriteOptions& options = {}) {
    std::string out, error;
    EXPECT_TRUE(WriteTableFile(tables, options, out, error)) << error;
    return out;
}

void Save(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Sets LanguageCode and LanguageFile for one test and puts them back after it.
class TransLtrTest : public ::testing::Test {
protected:
    void TearDown() override {
        LanguageCode = 44;
        LanguageFile.clear();
        SetTranslatorHooks({});
    }
    test::ScratchDir dir;
};

TEST(TVWriter, EveryColumnKindReadsBackThroughTheEngine) {
    const std::vector<TVWriteTable> tables = {
        {"Numbers",
         {{"b", TVType::Boolean},
          {"u8", TVType::Byte},
          {"i8", TVType::ShortInt},
          {"u16", TVType::Word},
          {"i32", TVType::Integer},
          {"i64", TVType::Int64},
          {"s", TVType::String, 5}},
         {{std::int64_t{1}, std::int64_t{255}, std::int64_t{-128}, std::int64_t{65535}, std::int64_t{-7},
           std::int64_t{1} << 40, std::string("abcde")},
          {std::int64_t{0}, std::int64_t{0}, std::int64_t{127}, std::int64_t{0}, std::int64_t{42},
           std::int64_t{-1}, std::string("\xE9\xFF")}}},
        ContentsTable({{std::int64_t{44}, std::string("English")}}),
    };
    const std::string bytes = Bytes(tables);
    TVWriteOptions scramble;
    scramble.Scrambled = true;
    for (const bool scrambled : {false, true}) {
        TTVObject db;
        std::string stored, error;
        // 0xFF cannot be stored scrambled: the writer says so instead of writing a wrong text.
        if (scrambled) {
            EXPECT_FALSE(WriteTableFile(tables, scramble, stored, error));
            auto fixed = tables;
            fixed[0].Rows[1][6] = std::string("\xE9\x80");
            ASSERT_TRUE(WriteTableFile(fixed, scramble, stored, error)) << error;
        } else {
            stored = bytes;
        }
        ASSERT_TRUE(db.OpenBytes(stored, ""));
        EXPECT_EQ(db.CellText("Numbers", "b", 1), "Yes");
        EXPECT_EQ(db.CellText("Numbers", "u8", 1), "255");
        EXPECT_EQ(db.CellText("Numbers", "i8", 1), "-128");
        EXPECT_EQ(db.CellText("Numbers", "u16", 1), "65535");
        EXPECT_EQ(db.CellText("Numbers", "i32", 1), "-7");
        EXPECT_EQ(db.CellText("Numbers", "i64", 1), "1099511627776");
        EXPECT_EQ(db.CellText("Numbers", "s", 1), "abcde");  // full width: no ending zero needed
        EXPECT_EQ(db.CellText("Numbers", "s", 2), scrambled ? "\xE9\x80" : "\xE9\xFF");
        EXPECT_EQ(db.FindRow("Numbers", "i32", "42"), 2);
        EXPECT_EQ(db.FindRow("Contents", "iCountry", "44"), 1);
        EXPECT_EQ(db.CellText("Contents", "sCountry", 1), "English");
    }
}

TEST(TVWriter, RefusesWhatTheFileCannotHold) {
    std::string out, error;
    const auto refused = [&](std::vector<TVWriteTable> tables) {
        return !WriteTableFile(tables, {}, out, error) && !error.empty();
    };
    EXPECT_TRUE(refused({{std::string(64, 'x'), {{"a", TVType::Integer}}, {}}}));
    EXPECT_TRUE(refused({{"t", {{std::string(64, 'c'), TVType::Integer}}, {}}}));
    EXPECT_TRUE(refused({{"t", {{"d", TVType::Double}}, {}}}));
    EXPECT_TRUE(refused({{"t", {{"s", TVType::String, 0}}, {}}}));
    EXPECT_TRUE(refused({{"t", {{"s", TVType::String, 3}}, {{std::string("four")}}}}));
    EXPECT_TRUE(refused({{"t", {{"s", TVType::String, 3}}, {{std::string("a\0b", 3)}}}}));
    EXPECT_TRUE(refused({{"t", {{"s", TVType::String, 3}}, {{std::int64_t{1}}}}}));
    EXPECT_TRUE(refused({{"t", {{"n", TVType::Byte}}, {{std::int64_t{256}}}}}));
    EXPECT_TRUE(refused({{"t", {{"n", TVType::Integer}}, {{std::int64_t{1} << 31}}}}));
    EXPECT_TRUE(refused({{"t", {{"n", TVType::Integer}}, {{std::string("1")}}}}));
    EXPECT_TRUE(refused({{"t", {{"n", TVType::Integer}, {"m", TVType::Integer}}, {{std::int64_t{1}}}}}));
}

TEST(TransLtr, LanguageArgumentAnywhereInAnyCase) {
    EXPECT_EQ(LanguageFromArguments({}, 31), 31);
    EXPECT_EQ(LanguageFromArguments({"/lang:44"}, 31), 44);
    EXPECT_EQ(LanguageFromArguments({"x", "/LANG:49", "y"}, 31), 49);
    EXPECT_EQ(LanguageFromArguments({"/Lang:44", "/lang:49"}, 31), 49);
    for (const char* bad : {"/lang:", "/lang:4x", "/lang:-44", "/lang:0", "/lang:10000", "/lang: 44",
                            "lang:44", "/language:44", "/lang:99999999999"})
        EXPECT_EQ(LanguageFromArguments({bad}, 31), 31) << bad;
}

TEST_F(TransLtrTest, DutchReadsNoFileAndMissingFileOrLanguageStaysDutch) {
    // A protected file shows whether it is read at all: opening it asks for the password (and
    // opens only when the writer's check values are right).
    int asked = 0;
    TranslatorHooks hooks;
    hooks.OnPassword = [&] {
        ++asked;
        return std::optional<std::string>("pw");
    };
    SetTranslatorHooks(hooks);
    LanguageFile = dir.Path("UI.LNG");
    Save(LanguageFile, Bytes({ContentsTable({{std::int64_t{44}, std::string("English")}}),
                              ProgramTable("English", Row(3305, "Error"))},
                             {.Password = "pw"}));
    LanguageCode = 31;
    EXPECT_EQ(ProgramText(3305, "Fout"), "Fout");
    EXPECT_EQ(asked, 0);
    LanguageCode = 44;
    EXPECT_EQ(ProgramText(3305, "Fout"), "Error");
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(ProgramText(9999, "Fout"), "Fout");

    LanguageFile = dir.Path("missing.LNG");
    EXPECT_EQ(ProgramText(3305, "Fout"), "Fout");

    // The section's table exists, but "Contents" does not name the language.
    LanguageFile = dir.Path("other.LNG");
    Save(LanguageFile, Bytes({ContentsTable({{std::int64_t{49}, std::string("Deutsch")}}),
                              ProgramTable("English", Row(3305, "Error"))}));
    EXPECT_EQ(ProgramText(3305, "Fout"), "Fout");
    TLanguageTable table;
    EXPECT_FALSE(table.Open(LanguageFile, kProgramSection, 44));
    EXPECT_TRUE(table.Open(LanguageFile, kProgramSection, 49));
    EXPECT_EQ(table.TableName(), "Program (Deutsch)");
}

TEST_F(TransLtrTest, ComponentTextsFollowTheirRows) {
    LanguageFile = dir.Path("UI.LNG");
    Save(LanguageFile,
         Bytes({ContentsTable({{std::int64_t{44}, std::string("English")}}),
                ProgramTable("English", Row(3201, "", "Diary") + Row(2100, "Contents", "Pick one") +
                                            Row(8, "page one") + Row(1008, "page two", "book") +
                                            Row(51, "first", "list hint") + Row(52, "second"))}));
    LanguageCode = 44;
    EXPECT_EQ(ProgramText(3201, "Droomnachtboek van"), "");
    TLanguageTable table;
    ASSERT_TRUE(table.Open(LanguageFile, kProgramSection, 44));

    // A row with an empty caption empties the label.
    TComponentTexts label = TranslateTexts(table, TComponentKind::Captioned, 3201, 0);
    EXPECT_EQ(label.Caption, "");
    EXPECT_EQ(label.Hint, "Diary");

    // A list whose own tag has a row takes only that row's hint; its entries stay.
    TComponentTexts list = TranslateTexts(table, TComponentKind::Listed, 2100, 3);
    EXPECT_FALSE(list.Caption);
    EXPECT_EQ(list.Hint, "Pick one");
    EXPECT_TRUE(list.Entries.empty());

    // Without one, entries come from the rows from Tag + 1 on; past the file's end they read empty.
    list = TranslateTexts(table, TComponentKind::Listed, 50, 4);
    ASSERT_EQ(list.Entries.size(), 4u);
    EXPECT_EQ(list.Entries[0], "first");
    EXPECT_EQ(list.Entries[1], "second");
    EXPECT_EQ(list.Entries[3], "");
    EXPECT_EQ(list.Hint, "list hint");
    EXPECT_TRUE(TranslateTexts(table, TComponentKind::Listed, 60, 4).Entries.empty());

    // A notebook with Tag 7: page q from row q * 1000 + 8; a page without a row keeps its name.
    TComponentTexts book = TranslateTexts(table, TComponentKind::Paged, 7, 3);
    ASSERT_EQ(book.Entries.size(), 3u);
    EXPECT_EQ(book.Entries[0], "page one");
    EXPECT_EQ(book.Entries[1], "page two");
    EXPECT_FALSE(book.Entries[2]);
    EXPECT_FALSE(book.Hint);  // the last page has no row
    EXPECT_EQ(TranslateTexts(table, TComponentKind::Paged, 7, 2).Hint, "book");

    // Tag 0 and below are left alone; other components take just the hint.
    EXPECT_FALSE(TranslateTexts(table, TComponentKind::Captioned, 0, 0).Caption);
    EXPECT_FALSE(TranslateTexts(table, TComponentKind::Captioned, -3201, 0).Hint);
    TComponentTexts edit = TranslateTexts(table, TComponentKind::Other, 3201, 0);
    EXPECT_FALSE(edit.Caption);
    EXPECT_EQ(edit.Hint, "Diary");
}

}  // namespace
}  // namespace slumra

#include "diary/NameFilter.h"

#include <gtest/gtest.h>

namespace slumra {
namespace {

TEST(NameFilter, PathAndAccentCharactersNeverReachAName) {
    EXPECT_EQ(NameFilter("Jan|Piet.ddf"), "JanPietddf");
    EXPECT_EQ(NameFilter("\xC8ve"), "ve");  // È and every other letter C0..FF
    EXPECT_EQ(NameFilter("..\\..\\Windows/win:ini*?\"<>"), "Windowswinini");
    EXPECT_EQ(NameFilter(std::string("a\0b\tc\x7F", 6)), "abc");
    // Space, digits and the bytes 80..A5 stay; A6 and beyond go.
    EXPECT_EQ(NameFilter("Jan 2 \x80\x8A\xA5\xA6\xFF"), "Jan 2 \x80\x8A\xA5");
    EXPECT_EQ(NameFilter(""), "");
}

TEST(NameFilter, TextIsCutTo255BytesBeforeFiltering) {
    EXPECT_EQ(NameFilter(std::string(300, 'a')), std::string(255, 'a'));
    // What lies beyond byte 255 is gone even when the filter removed bytes before it.
    EXPECT_EQ(NameFilter(std::string(250, '.') + std::string(10, 'a')), std::string(5, 'a'));
}

TEST(DiaryName, DeviceNamesAndTrailingSpacesCannotBeDiaries) {
    for (const char* refused :
         {"", " ", "Jan ", "CON", "con", "Prn", "aux", "NUL", "COM1", "com9", "LPT1", "lPt9"})
        EXPECT_FALSE(IsUsableDiaryName(refused)) << '"' << refused << '"';
    for (const char* usable :
         {"Jan", " Jan", "Con Amore", "CONSOLE", "COM", "COM10", "LPT", "NULL", "AUX1", "Jan 2"})
        EXPECT_TRUE(IsUsableDiaryName(usable)) << '"' << usable << '"';
}

TEST(DiaryName, AFileIsListedByItsWholeNameSoEachEntryAddressesItsOwnFile) {
    std::string name;
    ASSERT_TRUE(DiaryNameOfFile("Jan.oud.ddf", name));
    EXPECT_EQ(name, "Jan.oud");
    ASSERT_TRUE(DiaryNameOfFile("Piet.DDF", name));
    EXPECT_EQ(name, "Piet");
    name = "unchanged";
    EXPECT_FALSE(DiaryNameOfFile("Kees.ddfx", name));  // matched by its short name only
    EXPECT_FALSE(DiaryNameOfFile("Kees.ddf.tmp", name));
    EXPECT_FALSE(DiaryNameOfFile(".ddf", name));
    EXPECT_FALSE(DiaryNameOfFile("ddf", name));
    EXPECT_EQ(name, "unchanged");
}

}  // namespace
}  // namespace slumra

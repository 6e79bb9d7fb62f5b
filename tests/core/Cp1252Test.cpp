#include "lang/Cp1252.h"

#include <gtest/gtest.h>

namespace slumra {
namespace {

TEST(Cp1252, EveryByteRoundTripsThroughUtf16AndUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    std::string back;
    ASSERT_TRUE(Utf16ToCp1252(Cp1252ToUtf16(all), back));
    EXPECT_EQ(back, all);
    // UTF-8 input is refused for the C1 range, which only stands for unassigned bytes.
    std::string printable;
    for (int b = 0; b < 256; ++b) {
        if (b < 0x80 || b >= 0xA0 || (b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D))
            printable.push_back(static_cast<char>(b));
    }
    ASSERT_TRUE(Utf8ToCp1252(Cp1252ToUtf8(printable), back));
    EXPECT_EQ(back, printable);
}

TEST(Cp1252, KnownCharacters) {
    std::string out;
    ASSERT_TRUE(Utf8ToCp1252("ru\xC3\xAFne \xE2\x82\xAC \xE2\x80\x9Cq\xE2\x80\x9D", out));
    EXPECT_EQ(out, "ru\xEFne \x80 \x93q\x94");
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");
}

TEST(Cp1252, RefusesWhatDoesNotFitAndSaysWhere) {
    std::string out;
    std::size_t bad = 0;
    EXPECT_FALSE(Utf8ToCp1252("ab\xE2\x86\x92", out, &bad));  // an arrow
    EXPECT_EQ(bad, 2u);
    EXPECT_FALSE(Utf8ToCp1252("a\xC3", out, &bad));  // cut sequence
    EXPECT_EQ(bad, 1u);
    EXPECT_FALSE(Utf8ToCp1252("\xC0\xAF", out, &bad));  // overlong
    EXPECT_FALSE(Utf8ToCp1252("\xFF", out, &bad));
    EXPECT_FALSE(Utf8ToCp1252("\xF0\x9F\x98\x80", out, &bad));  // emoji
    EXPECT_FALSE(Utf16ToCp1252(u"x\u4E2D", out, &bad));
    EXPECT_EQ(bad, 1u);
}

TEST(Cp1252, CaseInsensitiveComparison) {
    EXPECT_TRUE(SameTextIgnoringCase("Hond", "hOND"));
    EXPECT_TRUE(
        SameTextIgnoringCase("\xC9"
                             "cole",
                             "\xE9"
                             "COLE"));
    EXPECT_TRUE(SameTextIgnoringCase("\x8A", "\x9A"));
    EXPECT_FALSE(SameTextIgnoringCase("\xD7", "\xF7"));  // multiplication and division signs
    EXPECT_FALSE(SameTextIgnoringCase("ab", "abc"));
}

}  // namespace
}  // namespace slumra

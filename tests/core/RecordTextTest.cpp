#include "app/RecordText.h"

#include <gtest/gtest.h>

namespace slumra {
namespace {

using Lines = std::vector<std::string>;
// One pixel a character.
const MeasureText kChars = [](const std::string& s) { return static_cast<int>(s.size()); };

TEST(RecordText, ParagraphsWrapAtWholeWordsKeepingTheirSpaces) {
    EXPECT_EQ(WrapRecordText("een twee drie vier", 10, kChars), (Lines{"een twee ", "drie vier"}));
    EXPECT_EQ(WrapRecordText("Eerste alinea.\r\n\r\nTweede.", 40, kChars),
              (Lines{"Eerste alinea.", "", "Tweede."}));
}

TEST(RecordText, TooWideWordsGetTheirOwnLine) {
    // The very first word too wide: an empty line comes before it.
    EXPECT_EQ(WrapRecordText("onmogelijklangwoord kort", 8, kChars),
              (Lines{"", "onmogelijklangwoord ", "kort"}));
    EXPECT_EQ(WrapRecordText("a onmogelijklangwoord", 8, kChars), (Lines{"a ", "onmogelijklangwoord"}));
}

TEST(RecordText, EmptyAndOddLineEnds) {
    EXPECT_EQ(WrapRecordText("", 10, kChars), Lines{});
    EXPECT_EQ(WrapRecordText("a\nb", 10, kChars), Lines{"ab"});  // a lone LF ends nothing
    EXPECT_EQ(WrapRecordText("trailing ", 20, kChars), Lines{"trailing "});
    EXPECT_EQ(WrapRecordText(std::string("ab\0cd", 5), 20, kChars), Lines{"ab"});
}

}  // namespace
}  // namespace slumra

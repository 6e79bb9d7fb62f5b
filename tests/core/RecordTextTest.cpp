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

TEST(RecordText, EachDistinctWordIsMeasuredOnceAndLongLinesAreCut) {
    std::string text;
    for (int i = 0; i < 2000; ++i) text += i % 3 == 0 ? "droom " : i % 3 == 1 ? "en " : "nacht ";
    int calls = 0;
    const MeasureText counting = [&calls](const std::string& s) {
        ++calls;
        return static_cast<int>(s.size());
    };
    const Lines lines = WrapRecordText(text, 60, counting);
    EXPECT_EQ(calls, 3);
    for (const auto& line : lines) EXPECT_LE(line.size(), 60u);
    // With room for everything the line stops at 255 bytes and is measured as cut.
    calls = 0;
    const Lines one = WrapRecordText(text, 100000, counting);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].size(), 255u);
    EXPECT_LE(calls, 3 + 2000);
}

}  // namespace
}  // namespace slumra

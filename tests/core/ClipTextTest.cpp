#include "output/ClipText.h"

#include <gtest/gtest.h>

namespace slumra {
namespace {

const std::string kTrailer = std::string("\r\n") + kPublisherNotice + "\r\nBron: Slumra 2.2 release 2";

TEST(ClipText, HeadingTextWithoutBracesAndTrailer) {
    EXPECT_EQ(RecordClipboardText("Dieren|Reptielen|Adder", "Zie ook {Slang}.\r\nTweede regel.",
                                  "Slumra 2.2 release 2"),
              "Dieren, Reptielen\r\n\r\nAdder\r\n\r\nZie ook Slang.\r\nTweede regel." + kTrailer);
}

TEST(ClipText, CategoryRecordsAndMissingText) {
    EXPECT_EQ(RecordClipboardText("Dieren", nullptr, "Slumra 2.2 release 2"),
              "Dieren, \r\n\r\n\r\n\r\n" + kTrailer);
    EXPECT_EQ(RecordClipboardText(nullptr, nullptr, "Slumra 2.2 release 2"), ", \r\n\r\n\r\n\r\n" + kTrailer);
}

TEST(ClipText, LongHeadingAndCaptionAreCut) {
    const std::string longName(300, 'x');
    const std::string text = RecordClipboardText(("A|B|" + longName).c_str(), "t", std::string(300, 'c'));
    EXPECT_EQ(text.substr(0, 255), "A, B\r\n\r\n" + longName.substr(0, 255 - 8));
    EXPECT_EQ(text[255], 't');
    EXPECT_EQ(text.size(), 255u + 1u + 255u);
}

}  // namespace
}  // namespace slumra

#include "output/PrintLayout.h"

#include <gtest/gtest.h>

namespace slumra {
namespace {

// Records what is printed. Every character is `points` wide and 2 × `points` high, so at 10
// points "H" is 10 × 20: left edge 60, lines up to Width − 120, footer at Height − 60.
class RecordingPage : public PrintPage {
public:
    struct Item {
        int page, x, y, points;
        std::string text;
    };
    RecordingPage(int w, int h) : FW(w), FH(h) {}
    int Width() const override { return FW; }
    int Height() const override { return FH; }
    void SetFontSize(int points) override { FPoints = points; }
    int FontSize() const override { return FPoints; }
    TextSize Measure(const std::string& text) override {
        return {static_cast<int>(text.size()) * FPoints, 2 * FPoints};
    }
    void Print(int x, int y, const std::string& text) override {
        items.push_back({FPage, x, y, FPoints, text});
    }
    void NewPage() override { ++FPage; }
    int PageNumber() const override { return FPage; }

    // The texts printed at the left edge in the body area of `page`, in order.
    std::vector<std::string> Body(int page = 1, int fromY = 60) const {
        std::vector<std::string> out;
        for (const Item& i : items)
            if (i.page == page && i.x == 60 && i.y >= fromY && i.y < FH - 60) out.push_back(i.text);
        return out;
    }
    const Item* Find(const std::string& text, int page) const {
        for (const Item& i : items)
            if (i.text == text && i.page == page) return &i;
        return nullptr;
    }
    std::vector<Item> items;

private:
    int FW, FH, FPoints = 0, FPage = 1;
};

using Lines = std::vector<std::string>;

RecordPrint Record(std::string head, std::string text) {
    return {"Slumra 2.2", std::move(head), std::move(text), "Uit Slumra", kPageLabel};
}

TEST(PrintLayout, RecordParagraphsBareLfAndBraces) {
    RecordingPage page(1000, 1400);
    LayOutRecord(page, Record("Dieren|Reptielen|Adder", "Zie {Slang}.\r\nTwee\nregels.\r\n\r\nDrie."));
    EXPECT_EQ(page.Body(), (Lines{"Dieren, Reptielen", "Adder", "Zie Slang.", "Tweeregels.", "", "Drie."}));
    const RecordingPage::Item* title = page.Find("Dieren, Reptielen", 1);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->points, 14);
    EXPECT_EQ(title->y, 60);
    // Caption right-aligned on the header line; page label and notice on the footer line.
    const RecordingPage::Item* caption = page.Find("Slumra 2.2", 1);
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->x + 10 * 10, 1000 - 30);
    EXPECT_EQ(caption->y, 40);
    ASSERT_NE(page.Find("Pagina 1", 1), nullptr);
    EXPECT_EQ(page.Find("Pagina 1", 1)->y, 1340);
    EXPECT_EQ(page.Find("Uit Slumra", 1)->y, 1340);
}

TEST(PrintLayout, RecordWithoutLevelsOrText) {
    RecordingPage page(1000, 1400);
    LayOutRecord(page, Record("|Reptielen|Adder", "Tekst."));
    EXPECT_EQ(page.Body(), (Lines{"Adder", "Tekst."}));

    RecordingPage noSymbol(1000, 1400);
    LayOutRecord(noSymbol, Record("Dieren||", "Tekst."));
    EXPECT_EQ(noSymbol.Body(), (Lines{"Dieren", "Tekst."}));

    RecordingPage noText(1000, 1400);
    LayOutRecord(noText, Record("Dieren|Reptielen|Adder", ""));
    EXPECT_EQ(noText.Body(), (Lines{"Dieren, Reptielen", "Adder"}));
}

TEST(PrintLayout, RecordRunsOntoSecondPageWithItsHeader) {
    RecordingPage page(1000, 1400);
    std::string text;
    for (int i = 0; i < 80; ++i) text += "Regel " + std::to_string(i) + ".\r\n";
    LayOutRecord(page, Record("Dieren|Reptielen|Adder", text));
    EXPECT_EQ(page.PageNumber(), 2);
    EXPECT_EQ(page.Find("Dieren, Reptielen, Adder", 2)->y, 40);
    EXPECT_EQ(page.Find("Slumra 2.2", 2)->y, 40);
    EXPECT_EQ(page.Find("Pagina 2", 2)->y, 1340);
    EXPECT_NE(page.Find("Uit Slumra", 2), nullptr);
    // Nothing lost, nothing twice, nothing below the break line.
    Lines body = page.Body(1, 60);
    const Lines second = page.Body(2, 60);
    body.insert(body.end(), second.begin(), second.end());
    ASSERT_EQ(body.size(), 2u + 80u);
    EXPECT_EQ(body[2], "Regel 0.");
    EXPECT_EQ(body.back(), "Regel 79.");
    for (const auto& i : page.items) EXPECT_LE(i.y, 1340) << i.text;
}

TEST(PrintLayout, WrapKeepsTrailingSpacesAndCutsOnlyWordsWiderThanTheLine) {
    RecordingPage page(1000, 1400);
    page.SetFontSize(10);
    Lines printed;
    int y = 0;
    auto wrap = [&](const std::string& text, int width) {
        page.items.clear();
        WrapText(page, 0, width, y, text, [] {});
        printed.clear();
        for (const auto& i : page.items) printed.push_back(i.text);
    };
    wrap("aa bb cc dd", 60);
    EXPECT_EQ(printed, (Lines{"aa bb ", "cc dd"}));
    wrap("aa bbbbbbbbbbbbbb cc", 60);
    EXPECT_EQ(printed, (Lines{"aa ", "bbbbbb", "bbbbbb", "bb cc"}));
    wrap("cccccccccccccc\r\nx", 60);
    EXPECT_EQ(printed, (Lines{"cccccc", "cccccc", "cc", "x"}));
    for (const auto& i : page.items) EXPECT_LE(static_cast<int>(i.text.size()) * 10, 60) << i.text;
}

DiaryPrint Diary(std::vector<DrDiRec> dreams) {
    DiaryPrint d;
    d.Caption = "Slumra 2.2";
    d.Title = DiaryTitle("C:\\Slumra\\User\\Anna.oud.ddf");
    d.Dreams = std::move(dreams);
    return d;
}

TEST(PrintLayout, EmptyDiaryAndUneditedDream) {
    RecordingPage empty(1000, 1400);
    LayOutDiary(empty, Diary({}));
    EXPECT_EQ(empty.PageNumber(), 1);
    EXPECT_EQ(empty.Body(1, 0), (Lines{"Droomnachtboek van \"Anna\""}));
    EXPECT_NE(empty.Find("Slumra 2.2", 1), nullptr);
    EXPECT_NE(empty.Find("Pagina 1", 1), nullptr);

    RecordingPage page(1000, 1400);
    LayOutDiary(page, Diary({{1, "Nieuwe droom|08-12-2026|07:30", "", "", 1},
                             {2, "Vlucht||", "{Hoog} boven.", "", 1}}));
    EXPECT_EQ(page.Body(1, 0),
              (Lines{"Droomnachtboek van \"Anna\"", "Nieuwe droom", "Datum: 08-12-2026", "Tijdstip: 07:30",
                     "Droomomschrijving:", "Mijn eigen verklaring:", "Vlucht", "Datum: ", "Tijdstip: ",
                     "Droomomschrijving:", "Hoog boven.", "Mijn eigen verklaring:"}));
}

TEST(PrintLayout, DiaryPageBreakRepeatsCaptionAndTitle) {
    RecordingPage page(1000, 1400);
    std::vector<DrDiRec> dreams;
    for (int i = 0; i < 3; ++i) {
        std::string text;
        for (int j = 0; j < 15; ++j)
            text += "Droom " + std::to_string(i) + " regel " + std::to_string(j) + "\r\n";
        dreams.push_back({i + 1, "Droom " + std::to_string(i) + "|01-01-2026|00:00", text, "Uitleg.", 1});
    }
    LayOutDiary(page, Diary(dreams));
    ASSERT_EQ(page.PageNumber(), 2);
    EXPECT_EQ(page.Find("Slumra 2.2", 2)->y, 40);
    const RecordingPage::Item* title = page.Find("Droomnachtboek van \"Anna\"", 2);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->y, 80);
    EXPECT_EQ(title->points, 14);
    EXPECT_NE(page.Find("Pagina 2", 2), nullptr);
    const Lines second = page.Body(2, 81);
    ASSERT_FALSE(second.empty());
    EXPECT_EQ(page.Body(2, 81).back(), "Uitleg.");
    for (const auto& i : page.items) EXPECT_LE(i.y, 1340) << i.text;
}

}  // namespace
}  // namespace slumra

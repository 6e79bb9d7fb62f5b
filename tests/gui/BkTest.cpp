#include "GuiTest.h"

#include "widgets/Bk.h"

#include <gtest/gtest.h>

namespace slumra {
namespace {

using test::MakeBitmap;
using test::Render;

constexpr std::uint32_t kMark = 0xFF0000;  // top-left pixel of every tile
constexpr std::uint32_t kFill = 0x0000FF;
constexpr std::uint32_t kPanel = 0x00FF00;

// A panel holding a background control with a w × h picture whose top-left pixel is marked.
struct Scene {
    Scene(int panelW, int panelH, int picW, int picH) : panel(nullptr), bk(&panel) {
        panel.SetBounds(0, 0, panelW, panelH);
        panel.Color = RGB(0, 255, 0);
        bk.SetAlign(tk::TAlign::Client);
        bk.Background.Brush.SetStyle(tk::BrushStyle::Clear);
        bk.Background.Pen.SetStyle(tk::PenStyle::Clear);
        if (picW > 0)
            bk.Background.Image.Assign(
                MakeBitmap(picW, picH, [](int x, int y) { return x == 0 && y == 0 ? kMark : kFill; }));
    }
    tk::TPanel panel;
    TBkControl bk;
};

int CountMarks(const test::Pixels& p) {
    int n = 0;
    for (int y = 0; y < p.Height(); ++y)
        for (int x = 0; x < p.Width(); ++x) n += p.At(x, y) == kMark;
    return n;
}

TEST(Bk, TilesAlongsideFromTheOrigin) {
    Scene s(50, 30, 20, 20);
    const test::Pixels p = Render(s.panel);
    for (int x : {0, 20, 40})
        for (int y : {0, 20}) EXPECT_EQ(p.At(x, y), kMark) << x << "," << y;
    EXPECT_EQ(CountMarks(p), 6);
    EXPECT_EQ(p.At(49, 29), kFill);  // the last tiles are clipped, not missing
}

TEST(Bk, NegativeOffsetStillCoversTheRightEdge) {
    Scene s(50, 30, 20, 20);
    s.bk.SetImageXOffset(-15);
    const test::Pixels p = Render(s.panel);
    EXPECT_EQ(p.At(5, 0), kMark);
    EXPECT_EQ(p.At(25, 0), kMark);
    EXPECT_EQ(p.At(45, 0), kMark);
    EXPECT_EQ(p.At(49, 10), kFill);
}

TEST(Bk, PositiveOffsetLeavesTheStripBeforeItUncovered) {
    Scene s(50, 30, 20, 20);
    s.bk.SetImageXOffset(7);
    s.bk.Background.SetImageDrawStyle(TImageDrawStyle::idsTopLeft);
    const test::Pixels p = Render(s.panel);
    EXPECT_EQ(p.At(3, 3), kPanel);
    EXPECT_EQ(p.At(7, 0), kMark);
    EXPECT_EQ(CountMarks(p), 1);
}

TEST(Bk, CenterStretchAndHide) {
    Scene s(50, 30, 20, 10);
    s.bk.Background.SetImageDrawStyle(TImageDrawStyle::idsCenter);
    EXPECT_EQ(Render(s.panel).At(15, 10), kMark);

    s.bk.Background.SetImageDrawStyle(TImageDrawStyle::idsStretch);
    test::Pixels p = Render(s.panel);
    // Drawn at (0, 0) with size (W − 1) × (H − 1): the last column and row stay uncovered.
    EXPECT_EQ(p.At(0, 0), kMark);
    EXPECT_EQ(p.At(48, 28), kFill);
    EXPECT_EQ(p.At(49, 29), kPanel);

    s.bk.Background.SetImageDrawStyle(TImageDrawStyle::idsHide);
    s.bk.Background.Pen.SetStyle(tk::PenStyle::Solid);
    s.bk.Background.Pen.SetColor(RGB(0, 0, 0));
    p = Render(s.panel);
    EXPECT_EQ(CountMarks(p), 0);
    EXPECT_EQ(p.At(0, 15), 0x000000u);  // the covering rectangle's outline
    EXPECT_EQ(p.At(25, 15), kPanel);
}

TEST(Bk, ZeroSizedOrMissingPictureDrawsOnlyTheRectangle) {
    Scene s(50, 30, 0, 0);
    const test::Pixels p = Render(s.panel);
    EXPECT_EQ(p.At(25, 15), kPanel);
    EXPECT_EQ(s.bk.PaintCount(), 1);
}

}  // namespace
}  // namespace slumra

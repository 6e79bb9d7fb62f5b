#include "GuiTest.h"

#include "widgets/Effects.h"
#include "widgets/ProImg.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace slumra {
namespace {

using test::MakeBitmap;
using test::Render;

constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;

tk::TPicture Picture(int w, int h, const std::function<std::uint32_t(int, int)>& color) {
    tk::TPicture p;
    p.Assign(MakeBitmap(w, h, color));
    return p;
}

// A green panel holding a proportional image on a black background, as the main window has it.
struct Scene {
    Scene(int w, int h) : panel(nullptr), image(&panel) {
        panel.SetBounds(0, 0, w, h);
        panel.Color = RGB(0, 255, 0);
        image.SetBounds(0, 0, w, h);
        image.Background.Brush.SetColor(tk::clBlack);
    }
    tk::TPanel panel;
    TProportionalImage image;
};

// The pixels of a bitmap, 0x00RRGGBB, row by row from the top.
std::vector<std::uint32_t> PixelsOf(const tk::TBitmap& bmp) {
    std::vector<std::uint32_t> px(static_cast<std::size_t>(bmp.Width()) * bmp.Height());
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = bmp.Width();
    bi.bmiHeader.biHeight = -bmp.Height();
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    tk::MemoryDC dc(nullptr);
    GetDIBits(dc.Get(), bmp.Handle(), 0, static_cast<UINT>(bmp.Height()), px.data(), &bi, DIB_RGB_COLORS);
    for (std::uint32_t& p : px) p &= 0xFFFFFF;
    return px;
}

bool SamePixels(const test::Pixels& a, const test::Pixels& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.At(x, y) != b.At(x, y)) return false;
    return true;
}

std::uint32_t Pattern(int x, int y) {
    return static_cast<std::uint32_t>((x * 37 + y * 11) & 0xFF) << 16 |
           static_cast<std::uint32_t>(y * 5 & 0xFF);
}

TEST(ProImg, SubjectPicturesAreCroppedEquallyOnTheirLongSide) {
    Scene s(125, 125);
    s.image.SetSx(140);
    s.image.SetSy(140);
    // Wide, left half red: 175 × 88 at (−25, 18), its middle in the control's middle.
    s.image.SetImage(Picture(200, 100, [](int x, int) { return x < 100 ? kRed : kBlue; }));
    test::Pixels p = Render(s.panel);
    EXPECT_EQ(p.At(62, 17), kBlack);
    EXPECT_EQ(p.At(0, 18), kRed);
    EXPECT_EQ(p.At(61, 105), kRed);
    EXPECT_EQ(p.At(63, 105), kBlue);
    EXPECT_EQ(p.At(124, 106), kBlack);
    // Tall, top half red: 88 × 175 at (18, −25).
    s.image.SetImage(Picture(100, 200, [](int, int y) { return y < 100 ? kRed : kBlue; }));
    p = Render(s.panel);
    EXPECT_EQ(p.At(17, 0), kBlack);
    EXPECT_EQ(p.At(18, 61), kRed);
    EXPECT_EQ(p.At(105, 63), kBlue);
    EXPECT_EQ(p.At(106, 124), kBlack);
}

TEST(ProImg, AboutBoxPictureLiesOverItsWhiteFrame) {
    Scene s(325, 325);
    s.image.SetSx(100);
    s.image.SetSy(100);
    s.image.Background.Pen.SetColor(tk::clWhite);
    s.image.Background.SetImageDrawStyle(TImageDrawStyle::idsCenter);
    s.image.SetImage(Picture(200, 100, [](int, int) { return kRed; }));
    const test::Pixels p = Render(s.panel);
    EXPECT_EQ(p.At(0, 0), kWhite);
    EXPECT_EQ(p.At(324, 324), kWhite);
    EXPECT_EQ(p.At(1, 1), kBlack);
    EXPECT_EQ(p.At(162, 80), kBlack);
    EXPECT_EQ(p.At(0, 81), kRed);  // 325 × 162 at (0, 81), over the frame
    EXPECT_EQ(p.At(324, 242), kRed);
    EXPECT_EQ(p.At(162, 243), kBlack);
}

TEST(ProImg, CaptionBoxInBlackOnWhiteAtTheBottomCentre) {
    Scene s(125, 125);
    s.image.Background.Brush.SetColor(RGB(0, 0, 255));
    s.image.Font.SetName("Arial");
    s.image.Font.SetHeight(-15);
    s.image.Font.SetColor(tk::clWhite);  // the caption is black whatever the font says
    s.image.SetText("Droom");
    const test::Pixels p = Render(s.panel);

    tk::MemoryDC dc(nullptr);
    tk::TCanvas measure(dc.Get());
    measure.Font = s.image.Font;
    const SIZE ext = measure.TextExtent("Droom");
    const int ppi = GetDeviceCaps(dc.Get(), LOGPIXELSY);
    const CaptionLayout c = CaptionPlacement(125, 125, ext.cx, ext.cy, FontPointSize(-15, ppi), ppi);
    ASSERT_GT(c.Box.Width(), 10);
    EXPECT_EQ(p.At(c.Box.Left, c.Box.Top), kBlack);
    EXPECT_EQ(p.At(c.Box.Right - 1, c.Box.Top + 2), kBlack);
    EXPECT_EQ(p.At(c.Box.Left - 1, c.Box.Top + 2), kBlue);
    EXPECT_EQ(p.At(c.Box.Right, c.Box.Top + 2), kBlue);
    EXPECT_EQ(p.At(c.Box.Left + 1, c.Box.Top + 1), kWhite);
    int dark = 0;
    for (int y = c.Clip.Top; y < c.Clip.Bottom; ++y)
        for (int x = c.Clip.Left; x < c.Clip.Right; ++x) dark += (p.At(x, y) >> 16) < 0x80;
    EXPECT_GT(dark, 20);
}

TEST(ProImg, RasterOperationReachesTheScreen) {
    struct Case {
        TRasterOperation op;
        std::uint32_t onPicture, onBackground;
    };
    // Under the control lies the green panel; the canvas's brush is white.
    const Case cases[] = {
        {TRasterOperation::roSRCCOPY, kRed, kBlack},      {TRasterOperation::roNOTSRCCOPY, 0x00FFFF, kWhite},
        {TRasterOperation::roBLACKNESS, kBlack, kBlack},  {TRasterOperation::roSRCINVERT, 0xFFFF00, kGreen},
        {TRasterOperation::roSRCPAINT, 0xFFFF00, kGreen}, {TRasterOperation::roDSTINVERT, 0xFF00FF, 0xFF00FF},
        {TRasterOperation::roPATCOPY, kWhite, kWhite},
    };
    Scene s(50, 50);
    s.image.SetImage(Picture(10, 10, [](int, int) { return kRed; }));
    for (const Case& c : cases) {
        s.image.SetRasterOperation(c.op);
        const test::Pixels p = Render(s.panel);
        EXPECT_EQ(p.At(25, 25), c.onPicture) << static_cast<int>(c.op);
        EXPECT_EQ(p.At(1, 1), c.onBackground) << static_cast<int>(c.op);
    }
}

// The blocks alone, without the final full copy, must already rebuild the whole picture,
// including the narrow blocks at the right and bottom edges.
TEST(Effects, BlocksAloneRebuildTheWholePicture) {
    for (auto [w, h] : {std::pair{37, 23}, {23, 37}, {125, 125}}) {
        tk::TBitmap source = MakeBitmap(w, h, Pattern);
        // The picture copied whole into a bitmap like the targets, at the display's depth.
        tk::TBitmap whole;
        ASSERT_TRUE(whole.SetSize(w, h));
        BitBlt(whole.DC(), 0, 0, w, h, source.DC(), 0, 0, SRCCOPY);
        const std::vector<std::uint32_t> want = PixelsOf(whole);
        for (EffectStyle style : {EffectStyle::esRandom, EffectStyle::esExplode, EffectStyle::esImplode}) {
            for (int size : {1, 4, 7, 200}) {
                tk::TBitmap target;
                ASSERT_TRUE(target.SetSize(w, h));
                CopyBlocks(
                    target.Canvas(), source.Canvas(), w, h, size,
                    EffectBlocks(style, GridFor(w, h, size), 1, [](unsigned bound) { return bound / 2; }));
                GdiFlush();
                ASSERT_EQ(PixelsOf(target), want)
                    << w << "x" << h << " style " << static_cast<int>(style) << " size " << size;
            }
        }
    }
}

TEST(ProImg, TransitionRunsOnceForANewPictureAndEndsOnTheSamePicture) {
    Scene s(37, 23);
    int draws = 0;
    s.image.Random = [&draws](unsigned bound) {
        ++draws;
        return bound - 1;
    };
    s.image.SetImage(Picture(30, 30, Pattern));
    s.image.SetText("x");
    const test::Pixels plain = Render(s.panel);

    s.image.SetEffects(true);
    s.image.SetEffectSize(4);
    for (EffectStyle style : {EffectStyle::esRandom, EffectStyle::esExplode, EffectStyle::esImplode}) {
        s.image.SetEffect(style);
        s.image.SetImage(Picture(30, 30, Pattern));
        EXPECT_TRUE(SamePixels(Render(s.panel), plain)) << static_cast<int>(style);
        EXPECT_FALSE(s.image.NewImage());
    }
    EXPECT_EQ(draws, 10 * 6);  // the random one only: 10 × 6 blocks, each drawn once

    // No new picture, or a picture assigned straight to Image: shown at once.
    draws = 0;
    s.image.SetEffect(EffectStyle::esRandom);
    Render(s.panel);
    s.image.Image.Assign(MakeBitmap(30, 30, Pattern));
    EXPECT_FALSE(s.image.NewImage());
    Render(s.panel);
    EXPECT_EQ(draws, 0);
}

TEST(ProImg, ShownControlPaintsAtOnceAndKeepsTheFinishedTransition) {
    tk::TForm form;
    form.SetBounds(0, 0, 200, 160);
    form.Color = RGB(0, 255, 0);
    TProportionalImage image(&form);
    image.SetBounds(20, 10, 125, 125);
    image.Background.Brush.SetColor(tk::clBlack);
    form.Show();
    test::Pump(100);

    image.SetImage(Picture(200, 100, [](int x, int) { return x < 100 ? kRed : kBlue; }));
    // Painted synchronously: no messages pumped before looking.
    test::Pixels shown = test::Grab(form);
    EXPECT_EQ(shown.At(20 + 30, 10 + 60), kRed);
    EXPECT_EQ(shown.At(20 + 62, 10 + 10), kBlack);

    image.SetSx(50);  // 62 × 31 at (31, 47)
    shown = test::Grab(form);
    EXPECT_EQ(shown.At(20 + 30, 10 + 60), kBlack);
    EXPECT_EQ(shown.At(20 + 32, 10 + 60), kRed);

    image.SetEffects(true);
    image.SetEffect(EffectStyle::esImplode);
    image.SetEffectSize(9);
    image.SetImage(Picture(100, 200, [](int, int y) { return y < 100 ? kRed : kBlue; }));
    shown = test::Grab(form);
    EXPECT_TRUE(SamePixels(shown, Render(form)));
    EXPECT_EQ(shown.At(20 + 62, 10 + 50), kRed);
    EXPECT_EQ(shown.At(20 + 62, 10 + 70), kBlue);
    form.Hide();
}

}  // namespace
}  // namespace slumra

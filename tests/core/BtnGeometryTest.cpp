#include "widgets/BtnGeometry.h"

#include <gtest/gtest.h>

#include <limits>

namespace slumra {
namespace {

TEST(BtnGeometry, TitleBarCloseButtonPressesOntoItsShadow) {
    BtnFractions f;  // 18 × 18, face 0.777, shadow 0.02 / 0.05, caption at 0.15
    f.FaceWidth = f.FaceHeight = 0.777;
    f.ShadowXOffset = 0.02;
    f.ShadowYOffset = 0.05;
    f.CaptionXOffset = 0.15;
    EXPECT_EQ(BtnShadowRect(f, 18, 18), (Rect{0, 1, 14, 15}));
    EXPECT_EQ(BtnFaceRect(f, 18, 18, false), (Rect{0, 0, 14, 14}));
    EXPECT_EQ(BtnFaceRect(f, 18, 18, true), BtnShadowRect(f, 18, 18));
    EXPECT_EQ(BtnCaptionOrigin(f, 18, 18, false), (Point{3, 0}));
    EXPECT_EQ(BtnCaptionOrigin(f, 18, 18, true), (Point{3, 1}));
}

TEST(BtnGeometry, HalvesRoundToEvenAndPressedPlacesRoundTheSum) {
    BtnFractions f;
    f.FaceXOffset = 0.25;
    f.FaceWidth = 0.5;
    EXPECT_EQ(BtnFaceRect(f, 10, 4, false).Left, 2);   // 2.5
    EXPECT_EQ(BtnFaceRect(f, 10, 4, false).Right, 8);  // 7.5
    EXPECT_EQ(BtnFaceRect(f, 14, 4, false).Left, 4);   // 3.5
    // 2.4 and 0.4 would each round down; together they make 2.8 → 3.
    f.CaptionXOffset = f.GlyphXOffset = 0.24;
    f.ShadowXOffset = 0.04;
    EXPECT_EQ(BtnCaptionOrigin(f, 10, 10, true).X, 3);
    EXPECT_EQ(BtnGlyphRect(f, 10, 10, true, GlyphLayout::Placed, 4, 4).Left, 3);
    EXPECT_EQ(BtnGlyphRect(f, 10, 10, false, GlyphLayout::Placed, 4, 4).Left, 2);
}

TEST(BtnGeometry, CentredGlyphHalvesTowardZeroAndAddsTheShadowRoundedAlone) {
    BtnFractions f;
    f.ShadowXOffset = 0.04;  // 0.4 → 0
    f.ShadowYOffset = 0.25;  // 2.5 → 2
    EXPECT_EQ(BtnGlyphRect(f, 10, 10, true, GlyphLayout::Centered, 3, 4), (Rect{3, 5, 6, 9}));
    EXPECT_EQ(BtnGlyphRect(f, 10, 10, false, GlyphLayout::Centered, 15, 10).Left, -2);  // -5 / 2
}

TEST(BtnGeometry, StretchedGlyphFillsItsBoxWhereverTheBoxStands) {
    BtnFractions f;
    f.GlyphXOffset = 0.5;
    f.GlyphYOffset = 0.25;
    f.GlyphWidth = 0.25;
    f.GlyphHeight = 0.5;
    f.ShadowXOffset = f.ShadowYOffset = 0.125;
    EXPECT_EQ(BtnGlyphRect(f, 40, 40, false, GlyphLayout::Stretched, 7, 7), (Rect{20, 10, 30, 30}));
    EXPECT_EQ(BtnGlyphRect(f, 40, 40, true, GlyphLayout::Stretched, 7, 7), (Rect{25, 15, 35, 35}));
}

TEST(BtnGeometry, WildFractionsGiveBoundedPixels) {
    EXPECT_EQ(FractionPixels(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(FractionPixels(-std::numeric_limits<double>::infinity()), -(1 << 30));
    BtnFractions f;
    f.FaceWidth = 1e20;
    EXPECT_EQ(BtnFaceRect(f, 120, 40, false).Right, 1 << 30);
}

}  // namespace
}  // namespace slumra

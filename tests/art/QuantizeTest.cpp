// Colour reduction and the encoders' row layouts, on small pictures made here.

#include "ArtTestUtil.h"
#include "Encoders.h"
#include "Quantize.h"

#include <gtest/gtest.h>

#include <set>

namespace slumra::art {
namespace {

std::uint32_t Key(Rgb8 c) {
    return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b;
}

TEST(Quantize, FewColoursSurviveExactly) {
    // 150 distinct colours fit in 256 entries: each must come back unchanged, even after dithering.
    Image img(30, 5);
    std::vector<Rgb8> px;
    for (int i = 0; i < 150; ++i) {
        const Rgb8 c{static_cast<std::uint8_t>(i * 37 % 256), static_cast<std::uint8_t>(i * 11 % 256),
                     static_cast<std::uint8_t>(255 - i)};
        img.At(i % 30, i / 30) = {c.r / 255.0f, c.g / 255.0f, c.b / 255.0f};
        px.push_back(c);
    }
    const Palette pal = MedianCut(px, 256);
    std::set<std::uint32_t> in;
    for (Rgb8 c : pal) in.insert(Key(c));
    for (Rgb8 c : px) EXPECT_TRUE(in.count(Key(c))) << int(c.r) << "," << int(c.g) << "," << int(c.b);
    const auto indices = Dither(img, pal);
    for (std::size_t i = 0; i < px.size(); ++i) EXPECT_EQ(pal[indices[i]], px[i]) << i;
}

TEST(Quantize, FixedEntriesStayFirstAndUnchanged) {
    std::vector<Rgb8> px;
    for (int i = 0; i < 4000; ++i)
        px.push_back({static_cast<std::uint8_t>(i % 200 + 20), static_cast<std::uint8_t>(i % 77), 90});
    const Palette fixed = {{0, 0, 0}, {255, 255, 255}};
    const Palette pal = MedianCut(px, 16, fixed);
    ASSERT_LE(pal.size(), 16u);
    ASSERT_GE(pal.size(), 3u);
    EXPECT_EQ(pal[0], (Rgb8{0, 0, 0}));
    EXPECT_EQ(pal[1], (Rgb8{255, 255, 255}));
}

TEST(Quantize, DitheringKeepsTheAverageOfAFlatArea) {
    // A colour between palette entries: error diffusion must mix neighbours to the same mean,
    // in every channel and in both directions of the serpentine scan.
    Palette pal;  // the 27 colours of a three-level cube
    for (int r = 0; r < 3; ++r)
        for (int g = 0; g < 3; ++g)
            for (int b = 0; b < 3; ++b)
                pal.push_back({static_cast<std::uint8_t>(r * 127), static_cast<std::uint8_t>(g * 127),
                               static_cast<std::uint8_t>(b * 127)});
    const Rgb want{0.31f, 0.22f, 0.43f};
    Image img(64, 64, want);
    const auto indices = Dither(img, pal);
    double r = 0, g = 0, b = 0;
    for (std::uint8_t i : indices) {
        r += pal[i].r;
        g += pal[i].g;
        b += pal[i].b;
    }
    const double n = 255.0 * static_cast<double>(indices.size());
    EXPECT_NEAR(r / n, want.r, 0.01);
    EXPECT_NEAR(g / n, want.g, 0.01);
    EXPECT_NEAR(b / n, want.b, 0.01);
    // Without diffusion every pixel takes the one nearest entry.
    const auto plain = Dither(img, pal, 0.0f);
    EXPECT_EQ(std::set<std::uint8_t>(plain.begin(), plain.end()).size(), 1u);
}

TEST(Encoders, FourBitRowsPackHighNibbleFirstBottomUpPadded) {
    // 3 x 2 pixels: each row is 2 bytes of nibbles, padded to 4.
    const std::string rows = DibRows(3, 2, 4, {1, 2, 3, 4, 5, 6});
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows, std::string("\x45\x60\0\0\x12\x30\0\0", 8));
    const std::string rows8 = DibRows(5, 2, 8, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    EXPECT_EQ(rows8, std::string("\x06\x07\x08\x09\x0a\0\0\0\x01\x02\x03\x04\x05\0\0\0", 16));
}

TEST(Encoders, Bmp24RowsAreBgrBottomUpPadded) {
    const std::string bmp = EncodeBmp24(1, 2, {{1, 2, 3}, {4, 5, 6}});
    ASSERT_EQ(bmp.size(), 54u + 8);
    EXPECT_EQ(bmp.substr(54), std::string("\x06\x05\x04\0\x03\x02\x01\0", 8));
}

TEST(Encoders, JpegComesBackCloseToThePicture) {
    std::vector<Rgb8> px;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            px.push_back({static_cast<std::uint8_t>(x * 4), static_cast<std::uint8_t>(y * 5),
                          static_cast<std::uint8_t>(60)});
    const auto p = test::DecodeJpeg(EncodeJpeg(64, 48, px, 90));
    ASSERT_EQ(p.width, 64);
    ASSERT_EQ(p.height, 48);
    int worst = 0;
    for (std::size_t i = 0; i < px.size(); ++i) {
        worst = std::max(worst, std::abs(p.rgb[3 * i] - px[i].r));
        worst = std::max(worst, std::abs(p.rgb[3 * i + 1] - px[i].g));
        worst = std::max(worst, std::abs(p.rgb[3 * i + 2] - px[i].b));
    }
    EXPECT_LE(worst, 8);
}

}  // namespace
}  // namespace slumra::art

#include "imaging/ColorReduce.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <vector>

namespace slumra {
namespace {

const std::vector<Rgb> kEga = {{0, 0, 0},     {0, 0, 170},    {0, 170, 0},    {0, 170, 170},
                               {170, 0, 0},   {170, 0, 170},  {170, 85, 0},   {170, 170, 170},
                               {85, 85, 85},  {85, 85, 255},  {85, 255, 85},  {85, 255, 255},
                               {255, 85, 85}, {255, 85, 255}, {255, 255, 85}, {255, 255, 255}};

// A 256-colour display palette: a 6 x 6 x 6 cube, then greys close enough together that
// several share a cell of the lookup.
std::vector<Rgb> DisplayPalette() {
    std::vector<Rgb> palette;
    for (int i = 0; i < 216; ++i)
        palette.push_back(
            Rgb{std::uint8_t(i / 36 * 51), std::uint8_t(i / 6 % 6 * 51), std::uint8_t(i % 6 * 51)});
    for (int i = 0; palette.size() < 256; ++i)
        palette.push_back(Rgb{std::uint8_t(1 + i * 6), std::uint8_t(1 + i * 6), std::uint8_t(2 + i * 6)});
    return palette;
}

RgbImage Flat(int width, int height, Rgb c) {
    RgbImage image{width, height, {}};
    for (int i = 0; i < width * height; ++i) image.Pixels.insert(image.Pixels.end(), {c.R, c.G, c.B});
    return image;
}

// Warm colours, 50 x 40 x 21 of them, in a small part of the cube.
RgbImage Sunset() {
    RgbImage image = Flat(200, 100, Rgb{});
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            image.Set(x, y,
                      Rgb{std::uint8_t(180 + x / 4), std::uint8_t(120 + y * 2 / 5),
                          std::uint8_t(90 + (x + y) % 21)});
    return image;
}

int Distance(Rgb a, Rgb b) {
    return (a.R - b.R) * (a.R - b.R) + (a.G - b.G) * (a.G - b.G) + (a.B - b.B) * (a.B - b.B);
}

double MeanError(const RgbImage& image, const IndexedImage& reduced) {
    const RgbImage back = ExpandToRgb(reduced);
    double sum = 0;
    for (int y = 0; y < image.Height; ++y)
        for (int x = 0; x < image.Width; ++x) sum += Distance(image.At(x, y), back.At(x, y));
    return sum / (double(image.Width) * image.Height);
}

TEST(ColorReduce, NearestAgreesWithASearchOfThePalette) {
    std::mt19937 rng(17);
    const auto random = [&](int n, unsigned range) {
        std::vector<Rgb> colours(static_cast<std::size_t>(n));
        for (Rgb& c : colours)
            c = Rgb{std::uint8_t(rng() % range), std::uint8_t(rng() % range), std::uint8_t(rng() % range)};
        return colours;
    };
    // The clustered palette leaves far cells with many candidates.
    for (const std::vector<Rgb>& palette :
         {kEga, DisplayPalette(), random(1, 256), random(256, 256), random(200, 24)}) {
        PaletteMatcher matcher(palette);
        for (const Rgb c : random(8000, 256)) {
            std::size_t best = 0;
            for (std::size_t k = 1; k < palette.size(); ++k) {
                if (Distance(c, palette[k]) < Distance(c, palette[best])) best = k;
            }
            ASSERT_EQ(matcher.Nearest(c), best)
                << palette.size() << " colours, " << testing::PrintToString(c.R) << "," << int(c.G) << ","
                << int(c.B);
        }
    }
}

TEST(ColorReduce, PaletteColoursMapToThemselves) {
    const std::vector<Rgb> palette = DisplayPalette();
    RgbImage image = Flat(16, 16, Rgb{});
    for (int i = 0; i < 256; ++i) image.Set(i % 16, i / 16, palette[std::size_t(i)]);
    for (const Dithering dithering : {Dithering::None, Dithering::FloydSteinberg}) {
        IndexedImage indexed;
        ASSERT_TRUE(ReduceToPalette(image, palette, 8, dithering, indexed));
        EXPECT_EQ(ExpandToRgb(indexed).Pixels, image.Pixels);
    }
}

TEST(ColorReduce, DitheringKeepsTheMeanColourOfAFlatArea) {
    const Rgb colour{100, 150, 200};
    const RgbImage flat = Flat(64, 64, colour);
    for (const std::vector<Rgb>& palette : {kEga, DisplayPalette()}) {
        IndexedImage indexed;
        ASSERT_TRUE(ReduceToPalette(flat, palette, 8, Dithering::FloydSteinberg, indexed));
        double sum[3] = {0, 0, 0};
        const RgbImage back = ExpandToRgb(indexed);
        for (std::size_t i = 0; i < back.Pixels.size(); ++i) sum[i % 3] += back.Pixels[i] / (64.0 * 64.0);
        EXPECT_NEAR(sum[0], colour.R, 2.0);
        EXPECT_NEAR(sum[1], colour.G, 2.0);
        EXPECT_NEAR(sum[2], colour.B, 2.0);
        // Without dithering the area is one colour, away from the mean.
        ASSERT_TRUE(ReduceToPalette(flat, palette, 8, Dithering::None, indexed));
        EXPECT_EQ(std::set<int>(indexed.Indices.begin(), indexed.Indices.end()).size(), 1u);
    }
}

TEST(ColorReduce, OptimalPaletteFitsTheDepthAndFollowsThePicture) {
    const RgbImage sunset = Sunset();
    for (const int bits : {4, 8}) {
        for (const Dithering dithering : {Dithering::None, Dithering::FloydSteinberg}) {
            IndexedImage indexed;
            ASSERT_TRUE(ReduceToOptimalPalette(sunset, bits, dithering, indexed));
            EXPECT_EQ(indexed.BitsPerPixel, bits);
            EXPECT_EQ(indexed.Palette.size(), std::size_t{1} << bits);
            EXPECT_LT(*std::max_element(indexed.Indices.begin(), indexed.Indices.end()),
                      indexed.Palette.size());
        }
    }
    IndexedImage fixed, optimal, full;
    ASSERT_TRUE(ReduceToPalette(sunset, kEga, 4, Dithering::None, fixed));
    ASSERT_TRUE(ReduceToOptimalPalette(sunset, 4, Dithering::None, optimal));
    ASSERT_TRUE(ReduceToOptimalPalette(sunset, 8, Dithering::None, full));
    EXPECT_LT(MeanError(sunset, optimal), MeanError(sunset, fixed) / 20);
    // Boxes of about 14 colours a side for 16 colours, about 5 for 256.
    EXPECT_LT(MeanError(sunset, optimal), 100.0);
    EXPECT_LT(MeanError(sunset, full), 15.0);
}

TEST(ColorReduce, FewColoursAreKeptExactly) {
    std::mt19937 rng(23);
    std::vector<Rgb> colours(16);
    for (Rgb& c : colours) c = Rgb{std::uint8_t(rng()), std::uint8_t(rng()), std::uint8_t(rng())};
    colours[1] = Rgb{colours[0].R, colours[0].G, std::uint8_t(colours[0].B ^ 1)};  // one step apart
    RgbImage image = Flat(40, 30, Rgb{});
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) image.Set(x, y, colours[rng() % 16]);
    for (const Dithering dithering : {Dithering::None, Dithering::FloydSteinberg}) {
        IndexedImage indexed;
        ASSERT_TRUE(ReduceToOptimalPalette(image, 4, dithering, indexed));
        EXPECT_EQ(ExpandToRgb(indexed).Pixels, image.Pixels);
    }
}

TEST(ColorReduce, BadArgumentsAreRefused) {
    const RgbImage image = Flat(4, 4, Rgb{1, 2, 3});
    IndexedImage out;
    std::vector<Rgb> seventeen = kEga;
    seventeen.push_back(Rgb{1, 1, 1});
    EXPECT_FALSE(ReduceToPalette(image, seventeen, 4, Dithering::None, out));
    EXPECT_FALSE(ReduceToPalette(image, {}, 8, Dithering::None, out));
    RgbImage broken = image;
    broken.Pixels.pop_back();
    EXPECT_FALSE(ReduceToPalette(broken, kEga, 4, Dithering::FloydSteinberg, out));
    EXPECT_FALSE(ReduceToOptimalPalette(broken, 8, Dithering::None, out));
    // Indices beyond the palette expand to black rather than past its end.
    const IndexedImage stray{2, 1, 8, {0, 9}, {{10, 20, 30}}};
    EXPECT_EQ(ExpandToRgb(stray).Pixels, (std::vector<std::uint8_t>{10, 20, 30, 0, 0, 0}));
}

}  // namespace
}  // namespace slumra

#include "imaging/ColorReduce.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <tuple>
#include <vector>

namespace slumra {
namespace {

std::vector<Rgb> EgaColours() {
    return {{0x00, 0x00, 0x00}, {0x00, 0x00, 0xAA}, {0x00, 0xAA, 0x00}, {0x00, 0xAA, 0xAA},
            {0xAA, 0x00, 0x00}, {0xAA, 0x00, 0xAA}, {0xAA, 0x55, 0x00}, {0xAA, 0xAA, 0xAA},
            {0x55, 0x55, 0x55}, {0x55, 0x55, 0xFF}, {0x55, 0xFF, 0x55}, {0x55, 0xFF, 0xFF},
            {0xFF, 0x55, 0x55}, {0xFF, 0x55, 0xFF}, {0xFF, 0xFF, 0x55}, {0xFF, 0xFF, 0xFF}};
}

// A 256-colour palette as a display palette is built: a 6 x 6 x 6 cube, then greys, some of
// them so close together that they share a cell of the lookup.
std::vector<Rgb> DisplayPalette() {
    std::vector<Rgb> palette;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                palette.push_back(Rgb{std::uint8_t(r * 51), std::uint8_t(g * 51), std::uint8_t(b * 51)});
    for (int i = 0; palette.size() < 256; ++i) {
        const auto v = static_cast<std::uint8_t>(1 + i * 6);
        palette.push_back(Rgb{v, v, std::uint8_t(v + 1)});
    }
    return palette;
}

RgbImage Flat(int width, int height, Rgb c) {
    RgbImage image{width, height, {}};
    for (int i = 0; i < width * height; ++i) image.Pixels.insert(image.Pixels.end(), {c.R, c.G, c.B});
    return image;
}

// Smooth gradients with some noise: many colours, as in a photograph.
RgbImage Photo(int width, int height) {
    std::mt19937 rng(42);
    RgbImage image = Flat(width, height, Rgb{});
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int noise = int(rng() % 9) - 4;
            image.Set(x, y, Rgb{std::uint8_t(std::clamp(x * 255 / width + noise, 0, 255)),
                                std::uint8_t(std::clamp(y * 255 / height + noise, 0, 255)),
                                std::uint8_t(std::clamp(128 + noise * 8, 0, 255))});
        }
    }
    return image;
}

int Distance(Rgb a, Rgb b) {
    const auto sq = [](int v) { return v * v; };
    return sq(a.R - b.R) + sq(a.G - b.G) + sq(a.B - b.B);
}

double MeanError(const RgbImage& a, const RgbImage& b) {
    double sum = 0;
    for (int y = 0; y < a.Height; ++y)
        for (int x = 0; x < a.Width; ++x) sum += Distance(a.At(x, y), b.At(x, y));
    return sum / (double(a.Width) * a.Height);
}

TEST(ColorReduce, NearestAgreesWithASearchOfThePalette) {
    std::mt19937 rng(17);
    std::vector<std::vector<Rgb>> palettes = {EgaColours(), DisplayPalette(), {{200, 10, 10}}};
    std::vector<Rgb> random(256);
    for (Rgb& c : random) c = Rgb{std::uint8_t(rng()), std::uint8_t(rng()), std::uint8_t(rng())};
    palettes.push_back(random);
    std::vector<Rgb> clustered(200);  // all in one corner: far cells see many candidates
    for (Rgb& c : clustered) c = Rgb{std::uint8_t(rng() % 24), std::uint8_t(rng() % 24), std::uint8_t(rng() % 24)};
    palettes.push_back(clustered);

    for (const std::vector<Rgb>& palette : palettes) {
        SCOPED_TRACE(testing::Message() << palette.size() << " colours");
        PaletteMatcher matcher(palette);
        for (int i = 0; i < 8000; ++i) {
            const Rgb c{std::uint8_t(rng()), std::uint8_t(rng()), std::uint8_t(rng())};
            std::size_t best = 0;
            for (std::size_t k = 1; k < palette.size(); ++k) {
                if (Distance(c, palette[k]) < Distance(c, palette[best])) best = k;
            }
            ASSERT_EQ(matcher.Nearest(c), best) << int(c.R) << "," << int(c.G) << "," << int(c.B);
        }
    }
}

TEST(ColorReduce, PaletteColoursMapToThemselves) {
    const std::vector<Rgb> palette = DisplayPalette();
    RgbImage image = Flat(16, 16, Rgb{});
    for (int i = 0; i < 256; ++i) image.Set(i % 16, i / 16, palette[i]);
    for (const Dithering dithering : {Dithering::None, Dithering::FloydSteinberg}) {
        IndexedImage indexed;
        ASSERT_TRUE(ReduceToPalette(image, palette, 8, dithering, indexed));
        for (int i = 0; i < 256; ++i) EXPECT_EQ(indexed.Indices[i], i);
        EXPECT_EQ(ExpandToRgb(indexed).Pixels, image.Pixels);
    }
}

TEST(ColorReduce, DitheringKeepsTheMeanColourOfAFlatArea) {
    const Rgb colour{100, 150, 200};
    const RgbImage flat = Flat(64, 64, colour);
    for (const std::vector<Rgb>& palette : {EgaColours(), DisplayPalette()}) {
        IndexedImage indexed;
        ASSERT_TRUE(ReduceToPalette(flat, palette, palette.size() <= 16 ? 4 : 8, Dithering::FloydSteinberg, indexed));
        const RgbImage back = ExpandToRgb(indexed);
        double sum[3] = {0, 0, 0};
        for (std::size_t i = 0; i < back.Pixels.size(); ++i) sum[i % 3] += back.Pixels[i];
        const double n = 64.0 * 64.0;
        EXPECT_NEAR(sum[0] / n, colour.R, 2.0);
        EXPECT_NEAR(sum[1] / n, colour.G, 2.0);
        EXPECT_NEAR(sum[2] / n, colour.B, 2.0);
        // Without dithering the area is one colour, away from the mean.
        ASSERT_TRUE(ReduceToPalette(flat, palette, 8, Dithering::None, indexed));
        EXPECT_EQ(std::set<int>(indexed.Indices.begin(), indexed.Indices.end()).size(), 1u);
    }
}

TEST(ColorReduce, OptimalPaletteFitsTheDepth) {
    const RgbImage photo = Photo(160, 120);
    for (const int bits : {4, 8}) {
        for (const Dithering dithering : {Dithering::None, Dithering::FloydSteinberg}) {
            SCOPED_TRACE(testing::Message() << bits << " bits, dithering " << (dithering == Dithering::FloydSteinberg));
            IndexedImage indexed;
            ASSERT_TRUE(ReduceToOptimalPalette(photo, bits, dithering, indexed));
            EXPECT_EQ(indexed.BitsPerPixel, bits);
            EXPECT_EQ(indexed.Palette.size(), std::size_t{1} << bits) << "a photograph uses every entry";
            const std::uint8_t top = *std::max_element(indexed.Indices.begin(), indexed.Indices.end());
            EXPECT_LT(top, indexed.Palette.size());
        }
    }
}

TEST(ColorReduce, OptimalPaletteFollowsTheColoursOfThePicture) {
    // Warm colours in a small part of the cube, where a fixed palette has little to offer.
    RgbImage sunset = Flat(200, 100, Rgb{});
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            sunset.Set(x, y, Rgb{std::uint8_t(180 + x / 4), std::uint8_t(120 + y * 2 / 5), std::uint8_t(90 + (x + y) % 21)});
    IndexedImage fixed;
    IndexedImage optimal;
    ASSERT_TRUE(ReduceToPalette(sunset, EgaColours(), 4, Dithering::None, fixed));
    ASSERT_TRUE(ReduceToOptimalPalette(sunset, 4, Dithering::None, optimal));
    const double fixedError = MeanError(sunset, ExpandToRgb(fixed));
    const double optimalError = MeanError(sunset, ExpandToRgb(optimal));
    EXPECT_LT(optimalError, fixedError / 20);
    // 50 x 40 x 21 colours in 16 boxes: about 14 steps a side, 50 squared error on average.
    EXPECT_LT(optimalError, 100.0);

    IndexedImage full;
    ASSERT_TRUE(ReduceToOptimalPalette(sunset, 8, Dithering::None, full));
    // In 256 boxes: about 5 steps a side.
    EXPECT_LT(MeanError(sunset, ExpandToRgb(full)), 15.0);
}

TEST(ColorReduce, FewColoursAreKeptExactly) {
    std::mt19937 rng(23);
    RgbImage image = Flat(40, 30, Rgb{});
    std::vector<Rgb> colours(16);
    for (Rgb& c : colours) c = Rgb{std::uint8_t(rng()), std::uint8_t(rng()), std::uint8_t(rng())};
    colours[1] = Rgb{colours[0].R, colours[0].G, std::uint8_t(colours[0].B ^ 1)};  // one step apart
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) image.Set(x, y, colours[rng() % 16]);

    for (const Dithering dithering : {Dithering::None, Dithering::FloydSteinberg}) {
        IndexedImage indexed;
        ASSERT_TRUE(ReduceToOptimalPalette(image, 4, dithering, indexed));
        EXPECT_EQ(ExpandToRgb(indexed).Pixels, image.Pixels);
    }
    const std::vector<Rgb> palette = OptimalPalette(image, 256);
    EXPECT_EQ(palette.size(), 16u);
    EXPECT_TRUE(std::is_sorted(palette.begin(), palette.end(), [](Rgb a, Rgb b) {
        return std::tie(a.R, a.G, a.B) < std::tie(b.R, b.G, b.B);
    }));
}

TEST(ColorReduce, BadArgumentsAreRefused) {
    const RgbImage image = Flat(4, 4, Rgb{1, 2, 3});
    IndexedImage out;
    std::vector<Rgb> seventeen = EgaColours();
    seventeen.push_back(Rgb{1, 1, 1});
    EXPECT_FALSE(ReduceToPalette(image, seventeen, 4, Dithering::None, out));
    EXPECT_TRUE(ReduceToPalette(image, seventeen, 8, Dithering::None, out));
    EXPECT_FALSE(ReduceToPalette(image, {}, 8, Dithering::None, out));
    EXPECT_FALSE(ReduceToPalette(image, EgaColours(), 5, Dithering::None, out));
    EXPECT_FALSE(ReduceToOptimalPalette(image, 1, Dithering::None, out));
    RgbImage broken = image;
    broken.Pixels.pop_back();
    EXPECT_FALSE(ReduceToPalette(broken, EgaColours(), 4, Dithering::FloydSteinberg, out));
    EXPECT_FALSE(ReduceToOptimalPalette(broken, 8, Dithering::None, out));
    EXPECT_TRUE(OptimalPalette(broken, 16).empty());

    // An empty picture is no error.
    EXPECT_TRUE(ReduceToOptimalPalette(RgbImage{}, 8, Dithering::FloydSteinberg, out));
    EXPECT_TRUE(out.Indices.empty());

    // Indices beyond the palette expand to black rather than past its end.
    IndexedImage stray{2, 1, 8, {0, 9}, {{10, 20, 30}}};
    EXPECT_EQ(ExpandToRgb(stray).Pixels, (std::vector<std::uint8_t>{10, 20, 30, 0, 0, 0}));
}

}  // namespace
}  // namespace slumra

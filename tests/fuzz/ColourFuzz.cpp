// Colour reduction of fuzzed pictures against fuzzed palettes, checked by brute force: without
// dithering every pixel gets the nearest palette colour (lowest index on a tie); with it every
// index lies in the palette; the optimal palette of a picture with few colours is exactly
// those colours, so that reducing to it and expanding again gives the picture back.
#include "FuzzInput.h"

#include "imaging/ColorReduce.h"

#include <algorithm>
#include <set>
#include <tuple>
#include <vector>

using namespace slumra;
using fuzz::Check;
using fuzz::TakeByte;

namespace {

std::uint32_t Distance(Rgb a, Rgb b) {
    const int r = a.R - b.R, g = a.G - b.G, bl = a.B - b.B;
    return static_cast<std::uint32_t>(r * r + g * g + bl * bl);
}

std::uint8_t Nearest(const std::vector<Rgb>& palette, Rgb c) {
    std::size_t best = 0;
    for (std::size_t i = 1; i < palette.size(); ++i)
        if (Distance(palette[i], c) < Distance(palette[best], c)) best = i;
    return static_cast<std::uint8_t>(best);
}

bool Less(Rgb a, Rgb b) {
    return std::tie(a.R, a.G, a.B) < std::tie(b.R, b.G, b.B);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const int bits = TakeByte(bytes) & 1 ? 4 : 8;
    const std::size_t colours = 1 + TakeByte(bytes) % (std::size_t{1} << bits);
    std::vector<Rgb> palette;
    for (std::size_t i = 0; i < colours; ++i)
        palette.push_back({TakeByte(bytes), TakeByte(bytes), TakeByte(bytes)});
    RgbImage image;
    image.Width = 1 + TakeByte(bytes) % 64;
    image.Height = static_cast<int>(bytes.size() / 3 / static_cast<std::size_t>(image.Width));
    image.Pixels.assign(bytes.begin(),
                        bytes.begin() + static_cast<std::ptrdiff_t>(image.Width) * image.Height * 3);
    if (image.Height == 0) {
        Check(OptimalPalette(image, static_cast<int>(colours)).empty());
        return 0;
    }

    IndexedImage plain;
    Check(ReduceToPalette(image, palette, bits, Dithering::None, plain));
    Check(plain.IsValid() && plain.Width == image.Width && plain.Height == image.Height);
    PaletteMatcher matcher(palette);
    for (int y = 0; y < image.Height; ++y) {
        for (int x = 0; x < image.Width; ++x) {
            const std::uint8_t expected = Nearest(palette, image.At(x, y));
            Check(plain.At(x, y) == expected && matcher.Nearest(image.At(x, y)) == expected);
        }
    }
    IndexedImage dithered;
    Check(ReduceToPalette(image, palette, bits, Dithering::FloydSteinberg, dithered));
    Check(dithered.IsValid());
    for (std::uint8_t index : dithered.Indices) Check(index < palette.size());

    std::set<std::tuple<int, int, int>> distinct;
    for (int y = 0; y < image.Height; ++y)
        for (int x = 0; x < image.Width; ++x)
            distinct.insert({image.At(x, y).R, image.At(x, y).G, image.At(x, y).B});
    const std::vector<Rgb> optimal = OptimalPalette(image, static_cast<int>(colours));
    Check(!optimal.empty() && optimal.size() <= colours);
    if (distinct.size() <= colours) {
        Check(optimal.size() == distinct.size() && std::is_sorted(optimal.begin(), optimal.end(), Less));
        for (const Rgb& c : optimal) Check(distinct.count({c.R, c.G, c.B}) == 1);
        IndexedImage exact;
        Check(ReduceToPalette(image, optimal, 8, Dithering::FloydSteinberg, exact));
        const RgbImage back = ExpandToRgb(exact);
        Check(back.Pixels == image.Pixels);
    }
    return 0;
}

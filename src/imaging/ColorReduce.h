// Reducing full-colour pictures to 16 or 256 colours, for palette displays and 8-bit bitmaps.
#pragma once

#include "imaging/Image.h"

#include <cstdint>
#include <vector>

namespace slumra {

enum class Dithering { None, FloydSteinberg };

// Finds the palette colour nearest to a colour: least squared distance in RGB, the lowest index
// on a tie. The colour cube is cut into cells of 8 x 8 x 8 colours; for every cell, once asked,
// it keeps the palette entries that can be nearest to any colour in the cell, ordered by their
// least distance to the cell, so a lookup compares against a few entries only.
class PaletteMatcher {
public:
    // The palette must hold 1 to 256 colours (an empty one is taken as black, entries past 256
    // are left out).
    explicit PaletteMatcher(std::vector<Rgb> palette);

    std::uint8_t Nearest(Rgb c);
    const std::vector<Rgb>& Palette() const { return palette_; }

private:
    struct Candidate {
        std::uint32_t LeastDistance;  // to any colour of the cell
        std::uint32_t Index;
    };
    static constexpr std::uint32_t kNotBuilt = 0xFFFFFFFF;

    const std::vector<std::uint8_t>& BlockCandidates(unsigned block);
    void BuildCell(unsigned cell);

    std::vector<Rgb> palette_;
    // Cells are found through blocks of 4 x 4 x 4 cells, whose candidates are found first.
    std::vector<std::vector<std::uint8_t>> blocks_;
    std::vector<bool> blockBuilt_;
    std::vector<std::uint32_t> cellStart_;  // per cell: its first candidate, or kNotBuilt
    std::vector<std::uint16_t> cellCount_;
    std::vector<Candidate> candidates_;
    std::uint32_t lastKey_ = 0xFFFFFFFF;  // the colour asked last and its answer
    std::uint8_t lastIndex_ = 0;
};

// Maps every pixel to the nearest colour of `palette` (1 to 256 colours, at most 16 when
// bitsPerPixel is 4), with or without Floyd-Steinberg error diffusion. False when the image or
// the arguments are invalid, or memory runs out.
[[nodiscard]] bool ReduceToPalette(const RgbImage& image, const std::vector<Rgb>& palette, int bitsPerPixel,
                                   Dithering dithering, IndexedImage& out);

// A palette of at most maxColors (1 to 256) colours for the image, by median cut over its
// colours weighted by their pixel counts, every entry the mean of its box. When the image has
// no more colours than that, the palette is exactly those colours, sorted; an empty or invalid
// image gives an empty palette.
std::vector<Rgb> OptimalPalette(const RgbImage& image, int maxColors);

// ReduceToPalette with OptimalPalette(image, 1 << bitsPerPixel); bitsPerPixel is 4 or 8.
[[nodiscard]] bool ReduceToOptimalPalette(const RgbImage& image, int bitsPerPixel, Dithering dithering,
                                          IndexedImage& out);

// The full-colour picture of an indexed one; indices beyond the palette give black, and an
// invalid image gives an empty picture.
RgbImage ExpandToRgb(const IndexedImage& image);

}  // namespace slumra

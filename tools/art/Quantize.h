// Colour reduction for the 8-bit pictures: median-cut palettes and Floyd-Steinberg dithering.
#pragma once

#include "Encoders.h"
#include "Image.h"

#include <cstdint>
#include <vector>

namespace slumra::art {

// A palette of at most `colours` entries for the given pixels: median cut (splitting the box
// with the largest squared error at its weighted median) refined by a few k-means passes.
// `fixed` entries come first and stay exactly as given (e.g. pure black for a background).
Palette MedianCut(const std::vector<Rgb8>& pixels, int colours, const Palette& fixed = {});

// Index of the palette entry nearest to c (squared RGB distance; first one on ties).
std::uint8_t Nearest(const Palette& palette, Rgb c);

// Maps a picture to palette indices with serpentine Floyd-Steinberg error diffusion; strength
// scales the diffused error (0 = plain nearest colour, 1 = full). Top-down, one index per pixel.
std::vector<std::uint8_t> Dither(const Image& img, const Palette& palette, float strength = 1.0f);

}  // namespace slumra::art

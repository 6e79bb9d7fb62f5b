// Pictures in memory as the portable imaging code passes them around: full colour and indexed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace slumra {

struct Rgb {
    std::uint8_t R = 0;
    std::uint8_t G = 0;
    std::uint8_t B = 0;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A 24-bit picture: rows top-down, each Width * 3 bytes in the order R, G, B, no padding
// between rows. (A Windows DIB wants B, G, R bottom-up with rows padded to 4 bytes; the
// platform side converts.)
struct RgbImage {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Pixels;

    // True when the pixel buffer holds exactly Width * Height pixels.
    bool IsValid() const {
        return Width >= 0 && Height >= 0 &&
               Pixels.size() == static_cast<std::size_t>(Width) * static_cast<std::size_t>(Height) * 3;
    }
    Rgb At(int x, int y) const {
        const std::uint8_t* p = &Pixels[(static_cast<std::size_t>(y) * Width + x) * 3];
        return Rgb{p[0], p[1], p[2]};
    }
    void Set(int x, int y, Rgb c) {
        std::uint8_t* p = &Pixels[(static_cast<std::size_t>(y) * Width + x) * 3];
        p[0] = c.R;
        p[1] = c.G;
        p[2] = c.B;
    }
};

// A palettized picture: one byte per pixel, rows top-down without padding. BitsPerPixel (1, 4
// or 8) is the depth a bitmap of it needs; the palette has at most 1 << BitsPerPixel entries
// and every index is below Palette.size().
struct IndexedImage {
    int Width = 0;
    int Height = 0;
    int BitsPerPixel = 8;
    std::vector<std::uint8_t> Indices;
    std::vector<Rgb> Palette;

    bool IsValid() const {
        return Width >= 0 && Height >= 0 &&
               Indices.size() == static_cast<std::size_t>(Width) * static_cast<std::size_t>(Height);
    }
    std::uint8_t At(int x, int y) const { return Indices[static_cast<std::size_t>(y) * Width + x]; }
};

}  // namespace slumra

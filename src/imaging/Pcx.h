// Decoding PCX pictures (ZSoft Paintbrush) from bytes in memory.
#pragma once

#include "imaging/Image.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace slumra {

// The fields of the 128-byte header that decoding uses (the layout is described in Pcx.cpp).
struct PcxHeader {
    int Version = 0;
    int BitsPerPlane = 0;
    int Planes = 0;
    int BytesPerLine = 0;  // per plane; may be padded beyond the width, and may be odd
    int Xmin = 0, Ymin = 0, Xmax = 0, Ymax = 0;
    Rgb Colormap[16];

    int Width() const { return Xmax - Xmin + 1; }
    int Height() const { return Ymax - Ymin + 1; }
};

// What a decode found besides the pixels.
struct PcxDecodeInfo {
    PcxHeader Header;
    // Scan lines fully present in the data; when the file was cut short this is below the
    // height and the missing pixels are black (index 0).
    int CompleteLines = 0;
    // Whether an 8-bit picture carried its 256-colour palette at the end. Without it the
    // picture is shown in shades of grey.
    bool VgaPaletteFound = false;
};

// The largest picture decoded, in pixels; larger ones are refused before anything is allocated.
inline constexpr std::int64_t kMaxPcxPixels = 64 * 1024 * 1024;

// Reads and checks the header: depth and plane combination supported, window not inverted,
// line length enough for the width. False (with a reason in `error`) otherwise.
[[nodiscard]] bool ReadPcxHeader(std::string_view bytes, PcxHeader& out, std::string* error = nullptr);

// Decodes a palettized picture (1, 2 or 4 bits in one plane, 1 bit in up to 4 planes, 8 bits in
// one plane); 24- and 32-bit pictures are refused. The result has 1 bit per pixel for two
// colours, 4 for up to sixteen, 8 otherwise.
[[nodiscard]] bool DecodePcxIndexed(std::string_view bytes, IndexedImage& out, std::string* error = nullptr,
                                    PcxDecodeInfo* info = nullptr);

// Decodes any supported picture to full colour; the alpha plane of 4-plane pictures is ignored.
// A file cut short inside the pixel data gives the lines that are there (see PcxDecodeInfo); a
// header that claims more pixels than the file could encode, or more than kMaxPcxPixels, is
// refused. On failure `out` is left empty.
[[nodiscard]] bool DecodePcx(std::string_view bytes, RgbImage& out, std::string* error = nullptr,
                             PcxDecodeInfo* info = nullptr);

}  // namespace slumra

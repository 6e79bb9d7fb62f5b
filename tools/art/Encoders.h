// The file formats the art tool writes: BMP, JPEG, AVI, WAV and cursor files, built in memory.
#pragma once

#include "Image.h"

#include <cstdint>
#include <string>
#include <vector>

namespace slumra::art {

using Palette = std::vector<Rgb8>;

// Little-endian appenders.
inline void Put16(std::string& out, std::uint32_t v) {
    out.push_back(static_cast<char>(v & 255));
    out.push_back(static_cast<char>((v >> 8) & 255));
}
inline void Put32(std::string& out, std::uint32_t v) {
    Put16(out, v & 0xffff);
    Put16(out, v >> 16);
}
inline void PutTag(std::string& out, const char (&tag)[5]) {
    out.append(tag, 4);
}

// A 40-byte BITMAPINFOHEADER for a bottom-up, uncompressed picture.
std::string InfoHeader(int width, int height, int bitCount, std::uint32_t colours, std::uint32_t imageSize);

// Colour table entries B, G, R, 0.
std::string ColourTable(const Palette& palette);

// Bottom-up rows of 4- or 8-bit indices (given top-down, one per pixel), each row padded to 4 bytes.
std::string DibRows(int width, int height, int bitCount, const std::vector<std::uint8_t>& indices);

// A complete .bmp: BITMAPFILEHEADER, BITMAPINFOHEADER, colour table (biClrUsed = its size), rows.
std::string EncodeBmpIndexed(int width, int height, int bitCount, const Palette& palette,
                             const std::vector<std::uint8_t>& indices);
std::string EncodeBmp24(int width, int height, const std::vector<Rgb8>& pixels);

// Baseline JPEG, 4:4:4, optimised Huffman tables. Empty on failure.
std::string EncodeJpeg(int width, int height, const std::vector<Rgb8>& pixels, int quality);

// An AVI the animation control plays: one video stream of uncompressed 8-bit frames (BI_RGB)
// sharing one palette, every frame a key frame, with an idx1 index. Frames are top-down indices.
std::string EncodeAvi(int width, int height, int framesPerSecond, const Palette& palette,
                      const std::vector<std::vector<std::uint8_t>>& frames);

// PCM 16-bit WAVE; samples interleaved by channel.
std::string EncodeWav(int sampleRate, int channels, const std::vector<std::int16_t>& samples);

// A square picture with straight (not premultiplied) alpha: top-down, 0xAARRGGBB.
struct IconImage {
    int size;
    std::vector<std::uint32_t> argb;
};

// A 32x32 cursor with 32-bit ARGB pixels and a matching AND mask (for systems that ignore alpha).
std::string EncodeCursor(const std::vector<std::uint32_t>& argb, int hotX, int hotY);

// An icon file holding the pictures (32-bit, each with its AND mask), smallest first.
std::string EncodeIcon(const std::vector<IconImage>& images);

}  // namespace slumra::art

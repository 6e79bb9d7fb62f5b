#include "imaging/Pcx.h"

#include "data/Coding.h"
#include "imaging/ColorReduce.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

namespace slumra {

// A PCX file: a 128-byte header, the run-length coded scan lines, and for 8-bit pictures of
// version 5 a 256-colour palette at the very end.
//
// Header, multi-byte fields little-endian:
//   offset size  field
//      0     1   manufacturer, always 0A hex
//      1     1   version: 0 (2.5, fixed palette), 2 (2.8 with palette), 3 (2.8 without
//                palette), 4 (Paintbrush for Windows), 5 (3.0 and later)
//      2     1   encoding, 1 = run-length
//      3     1   bits per pixel in each plane: 1, 2, 4 or 8
//      4     2   Xmin   picture window, both ends inclusive:
//      6     2   Ymin     width  = Xmax - Xmin + 1
//      8     2   Xmax     height = Ymax - Ymin + 1
//     10     2   Ymax
//     12     2   horizontal resolution in dpi (unused)
//     14     2   vertical resolution in dpi (unused)
//     16    48   16-colour palette: 16 x (R, G, B)
//     64     1   reserved, 0
//     65     1   colour planes: 1 to 4
//     66     2   bytes per scan line in each plane; even by the rules, but odd in some files,
//                and often more than the width needs
//     68     2   palette meaning: 1 colour or black and white, 2 grey (unused)
//     70     2   screen width (unused)
//     72     2   screen height (unused)
//     74    54   filler
//
// Scan lines, top to bottom: every line holds Planes x BytesPerLine bytes, plane after plane
// (planes in the order bit 0, bit 1, ... for 1-bit pictures; red, green, blue, alpha for 8-bit
// ones). Within a plane the leftmost pixel sits in the highest bits of the first byte. Coding:
// a byte C0..FF hex repeats the byte after it (value & 3F) times; any other byte stands for
// itself. Some writers let a run go on past the end of a line, so the lines are decoded as one
// continuous stream.
//
// 256-colour palette (8 bits, 1 plane): the last 769 bytes of the file, 0C hex followed by
// 256 x (R, G, B).

namespace {

constexpr std::size_t kHeaderSize = 128;
constexpr std::size_t kVgaPaletteSize = 1 + 256 * 3;
constexpr std::uint8_t kVgaPaletteMarker = 0x0C;
// Two bytes of data give at most 63 bytes of scan line; no file holds more than this many
// scan-line bytes per byte of data.
constexpr std::uint64_t kMaxExpansion = 32;

// The colours of 16-colour pictures whose header carries no palette.
constexpr Rgb kEgaPalette[16] = {
    {0x00, 0x00, 0x00}, {0x00, 0x00, 0xAA}, {0x00, 0xAA, 0x00}, {0x00, 0xAA, 0xAA},
    {0xAA, 0x00, 0x00}, {0xAA, 0x00, 0xAA}, {0xAA, 0x55, 0x00}, {0xAA, 0xAA, 0xAA},
    {0x55, 0x55, 0x55}, {0x55, 0x55, 0xFF}, {0x55, 0xFF, 0x55}, {0x55, 0xFF, 0xFF},
    {0xFF, 0x55, 0x55}, {0xFF, 0x55, 0xFF}, {0xFF, 0xFF, 0x55}, {0xFF, 0xFF, 0xFF},
};

// Four-colour pictures: the header palette when it has one, else the bright CGA colours.
// (CGA files encode background and palette choice in the header bytes instead; those files
// are rare enough that showing them in these colours is good enough.)
constexpr Rgb kCgaPalette[4] = {
    {0x00, 0x00, 0x00}, {0x55, 0xFF, 0xFF}, {0xFF, 0x55, 0xFF}, {0xFF, 0xFF, 0xFF}};

bool Fail(std::string* error, const char* why) {
    if (error != nullptr) *error = why;
    return false;
}

// The run-length coded scan-line bytes, read front to back.
class RleStream {
public:
    RleStream(const unsigned char* p, const unsigned char* end) : p_(p), end_(end) {}

    // Writes up to n bytes to dst; fewer only when the data ends.
    std::size_t Read(std::uint8_t* dst, std::size_t n) {
        std::size_t done = 0;
        while (done < n) {
            if (runLeft_ > 0) {
                const std::size_t take = std::min<std::size_t>(runLeft_, n - done);
                std::memset(dst + done, runValue_, take);
                done += take;
                runLeft_ -= static_cast<unsigned>(take);
                continue;
            }
            if (p_ == end_) break;
            const std::uint8_t b = *p_++;
            if ((b & 0xC0) != 0xC0) {
                dst[done++] = b;
                continue;
            }
            if (p_ == end_) break;  // a run count without its value: the file was cut here
            runLeft_ = b & 0x3Fu;
            runValue_ = *p_++;
        }
        return done;
    }

private:
    const unsigned char* p_;
    const unsigned char* end_;
    unsigned runLeft_ = 0;
    std::uint8_t runValue_ = 0;
};

enum class Layout {
    BitPlanes,   // 1 bit in 1 to 4 planes: a pixel's index gathers one bit from every plane
    Packed,      // 2, 4 or 8 bits in one plane
    TrueColour,  // 8 bits in 3 or 4 planes: red, green, blue (and alpha, ignored)
};

Layout LayoutOf(const PcxHeader& h) {
    if (h.BitsPerPlane == 1) return Layout::BitPlanes;
    return h.Planes == 1 ? Layout::Packed : Layout::TrueColour;
}

// Everything decoding needs beyond the header: where the scan-line data lies, and the palette.
struct Body {
    const unsigned char* Data = nullptr;
    const unsigned char* End = nullptr;
    std::vector<Rgb> Palette;  // empty for true-colour pictures
    bool VgaPaletteFound = false;
};

// Sets the palette of a palettized picture. For 8-bit pictures it is taken from the end of the
// file, which then no longer counts as scan-line data.
void ReadPalette(const PcxHeader& h, std::string_view bytes, Body& body) {
    const int depth = h.BitsPerPlane * h.Planes;
    if (depth == 1) {
        body.Palette = {{0, 0, 0}, {0xFF, 0xFF, 0xFF}};
        return;
    }
    if (depth == 8) {
        body.Palette.resize(256);
        const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
        if (bytes.size() >= kHeaderSize + kVgaPaletteSize &&
            p[bytes.size() - kVgaPaletteSize] == kVgaPaletteMarker) {
            const unsigned char* q = p + bytes.size() - kVgaPaletteSize + 1;
            for (Rgb& c : body.Palette) {
                c = Rgb{q[0], q[1], q[2]};
                q += 3;
            }
            body.VgaPaletteFound = true;
            body.End -= kVgaPaletteSize;
        } else {
            for (int i = 0; i < 256; ++i) {
                const auto v = static_cast<std::uint8_t>(i);
                body.Palette[i] = Rgb{v, v, v};
            }
        }
        return;
    }
    const std::size_t colours = std::size_t{1} << depth;
    body.Palette.assign(h.Colormap, h.Colormap + colours);
    const bool empty =
        std::all_of(body.Palette.begin(), body.Palette.end(), [](Rgb c) { return c == Rgb{}; });
    if (h.Version == 3 || empty) {
        if (colours == 4) {
            body.Palette.assign(std::begin(kCgaPalette), std::end(kCgaPalette));
        } else {
            body.Palette.assign(kEgaPalette, kEgaPalette + colours);
        }
    }
}

// Checks what the header claims against the limits and the data there is.
bool PrepareBody(std::string_view bytes, const PcxHeader& h, Body& body, std::string* error) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    body.Data = p + kHeaderSize;
    body.End = p + bytes.size();
    if (LayoutOf(h) != Layout::TrueColour) ReadPalette(h, bytes, body);

    const std::int64_t pixels = std::int64_t{h.Width()} * h.Height();
    if (pixels > kMaxPcxPixels) return Fail(error, "picture too large");
    const std::uint64_t lineBytes = std::uint64_t(h.Planes) * std::uint64_t(h.BytesPerLine);
    const std::uint64_t dataBytes = static_cast<std::uint64_t>(body.End - body.Data);
    if (lineBytes * std::uint64_t(h.Height()) > dataBytes * kMaxExpansion)
        return Fail(error, "the header claims more scan lines than the file can hold");
    return true;
}

// Decodes the scan lines one by one and hands each to `takeLine(y, line)`, the line holding
// Planes x BytesPerLine bytes. A line cut short is handed over with zeros for what is missing,
// and ends the decoding. Returns the number of complete lines.
template <typename TakeLine>
int DecodeScanLines(const PcxHeader& h, const Body& body, TakeLine&& takeLine) {
    const std::size_t lineBytes = std::size_t(h.Planes) * std::size_t(h.BytesPerLine);
    std::vector<std::uint8_t> line(lineBytes);
    RleStream stream(body.Data, body.End);
    const int height = h.Height();
    for (int y = 0; y < height; ++y) {
        const std::size_t got = stream.Read(line.data(), lineBytes);
        if (got == 0) return y;
        if (got < lineBytes) {
            std::fill(line.begin() + static_cast<std::ptrdiff_t>(got), line.end(), std::uint8_t{0});
            takeLine(y, line.data());
            return y;
        }
        takeLine(y, line.data());
    }
    return height;
}

int IndexedDepth(int colourBits) {
    if (colourBits == 1) return 1;
    return colourBits <= 4 ? 4 : 8;
}

void DecodeIndexedBody(const PcxHeader& h, Body& body, IndexedImage& out, PcxDecodeInfo* info) {
    const int width = h.Width();
    const int bits = h.BitsPerPlane;
    const int planes = h.Planes;
    const std::size_t bpl = std::size_t(h.BytesPerLine);
    out.Width = width;
    out.Height = h.Height();
    out.BitsPerPixel = IndexedDepth(bits * planes);
    out.Palette = std::move(body.Palette);
    out.Indices.assign(std::size_t(width) * std::size_t(out.Height), 0);

    const Layout layout = LayoutOf(h);
    const unsigned mask = (1u << bits) - 1;
    const int lines = DecodeScanLines(h, body, [&](int y, const std::uint8_t* line) {
        std::uint8_t* row = out.Indices.data() + std::size_t(y) * std::size_t(width);
        if (layout == Layout::BitPlanes) {
            for (int x = 0; x < width; ++x) {
                const std::size_t at = std::size_t(x) >> 3;
                const int shift = 7 - (x & 7);
                unsigned index = 0;
                for (int plane = 0; plane < planes; ++plane)
                    index |= ((line[std::size_t(plane) * bpl + at] >> shift) & 1u) << plane;
                row[x] = static_cast<std::uint8_t>(index);
            }
        } else if (bits == 8) {
            std::memcpy(row, line, std::size_t(width));
        } else {
            for (int x = 0; x < width; ++x) {
                const std::size_t bit = std::size_t(x) * std::size_t(bits);
                const int shift = 8 - bits - static_cast<int>(bit & 7);
                row[x] = static_cast<std::uint8_t>((line[bit >> 3] >> shift) & mask);
            }
        }
    });
    if (info != nullptr) {
        info->CompleteLines = lines;
        info->VgaPaletteFound = body.VgaPaletteFound;
    }
}

void DecodeTrueColourBody(const PcxHeader& h, const Body& body, RgbImage& out, PcxDecodeInfo* info) {
    const int width = h.Width();
    const std::size_t bpl = std::size_t(h.BytesPerLine);
    out.Width = width;
    out.Height = h.Height();
    out.Pixels.assign(std::size_t(width) * std::size_t(out.Height) * 3, 0);
    const int lines = DecodeScanLines(h, body, [&](int y, const std::uint8_t* line) {
        std::uint8_t* row = out.Pixels.data() + std::size_t(y) * std::size_t(width) * 3;
        const std::uint8_t* red = line;
        const std::uint8_t* green = line + bpl;
        const std::uint8_t* blue = line + 2 * bpl;
        for (int x = 0; x < width; ++x) {
            *row++ = red[x];
            *row++ = green[x];
            *row++ = blue[x];
        }
    });
    if (info != nullptr) {
        info->CompleteLines = lines;
        info->VgaPaletteFound = false;
    }
}

}  // namespace

bool ReadPcxHeader(std::string_view bytes, PcxHeader& out, std::string* error) {
    out = PcxHeader{};
    if (bytes.size() < kHeaderSize) return Fail(error, "shorter than a PCX header");
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    if (p[0] != 0x0A) return Fail(error, "not a PCX file");
    if (p[1] != 0 && p[1] != 2 && p[1] != 3 && p[1] != 4 && p[1] != 5)
        return Fail(error, "unknown PCX version");
    if (p[2] != 1) return Fail(error, "unknown PCX encoding");

    PcxHeader h;
    h.Version = p[1];
    h.BitsPerPlane = p[3];
    h.Xmin = DecodeFixed16(p + 4);
    h.Ymin = DecodeFixed16(p + 6);
    h.Xmax = DecodeFixed16(p + 8);
    h.Ymax = DecodeFixed16(p + 10);
    for (int i = 0; i < 16; ++i) h.Colormap[i] = Rgb{p[16 + 3 * i], p[17 + 3 * i], p[18 + 3 * i]};
    h.Planes = p[65];
    h.BytesPerLine = DecodeFixed16(p + 66);

    const int bits = h.BitsPerPlane;
    const bool supported = (bits == 1 && h.Planes >= 1 && h.Planes <= 4) ||
                           ((bits == 2 || bits == 4 || bits == 8) && h.Planes == 1) ||
                           (bits == 8 && (h.Planes == 3 || h.Planes == 4));
    if (!supported) return Fail(error, "unsupported PCX colour depth");
    if (h.Xmax < h.Xmin || h.Ymax < h.Ymin) return Fail(error, "inverted PCX picture window");
    if (std::int64_t{h.BytesPerLine} * 8 < std::int64_t{h.Width()} * bits)
        return Fail(error, "PCX scan line shorter than the picture width");
    out = h;
    return true;
}

bool DecodePcxIndexed(std::string_view bytes, IndexedImage& out, std::string* error, PcxDecodeInfo* info) {
    out = IndexedImage{};
    PcxHeader h;
    if (!ReadPcxHeader(bytes, h, error)) return false;
    if (info != nullptr) *info = PcxDecodeInfo{h, 0, false};
    if (LayoutOf(h) == Layout::TrueColour) return Fail(error, "PCX picture has no palette");
    try {
        Body body;
        if (!PrepareBody(bytes, h, body, error)) return false;
        DecodeIndexedBody(h, body, out, info);
        return true;
    } catch (const std::bad_alloc&) {
        out = IndexedImage{};
        return Fail(error, "out of memory");
    }
}

bool DecodePcx(std::string_view bytes, RgbImage& out, std::string* error, PcxDecodeInfo* info) {
    out = RgbImage{};
    PcxHeader h;
    if (!ReadPcxHeader(bytes, h, error)) return false;
    if (info != nullptr) *info = PcxDecodeInfo{h, 0, false};
    try {
        Body body;
        if (!PrepareBody(bytes, h, body, error)) return false;
        if (LayoutOf(h) == Layout::TrueColour) {
            DecodeTrueColourBody(h, body, out, info);
        } else {
            IndexedImage indexed;
            DecodeIndexedBody(h, body, indexed, info);
            out = ExpandToRgb(indexed);
        }
        return true;
    } catch (const std::bad_alloc&) {
        out = RgbImage{};
        return Fail(error, "out of memory");
    }
}

}  // namespace slumra

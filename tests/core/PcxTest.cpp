#include "imaging/Pcx.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace slumra {
namespace {

// A picture to be written as a PCX file by the small encoder below.
struct PcxPicture {
    int Bits = 8;
    int Planes = 1;
    int Width = 0;
    int Height = 0;
    int BytesPerLine = 0;  // 0: the least even length that holds the width
    int Version = 5;
    int Xmin = 0;
    int Ymin = 0;
    // Per pixel: the colour index, or R, G, B (and A) for 8-bit pictures of 3 or 4 planes.
    std::vector<std::uint8_t> Values;
    std::vector<Rgb> HeaderPalette;  // up to 16 colours
    std::vector<Rgb> VgaPalette;     // written after the data when not empty
    bool RunsAcrossLines = false;
    std::uint8_t Padding = 0;  // the value of line bytes beyond the width

    bool TrueColour() const { return Bits == 8 && Planes >= 3; }
    int LineLength() const {
        if (BytesPerLine != 0) return BytesPerLine;
        const int bytes = (Width * Bits + 7) / 8;
        return bytes + (bytes & 1);
    }
};

void Put16(std::string& out, std::size_t at, int v) {
    out[at] = static_cast<char>(v & 0xFF);
    out[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

std::vector<std::uint8_t> ScanLines(const PcxPicture& p) {
    const std::size_t bpl = std::size_t(p.LineLength());
    const std::size_t lineBytes = bpl * std::size_t(p.Planes);
    std::vector<std::uint8_t> raw(lineBytes * std::size_t(p.Height), p.Padding);
    for (int y = 0; y < p.Height; ++y) {
        std::uint8_t* line = raw.data() + std::size_t(y) * lineBytes;
        for (int x = 0; x < p.Width; ++x) {
            const std::size_t pixel = std::size_t(y) * std::size_t(p.Width) + std::size_t(x);
            if (p.TrueColour()) {
                for (int plane = 0; plane < p.Planes; ++plane)
                    line[std::size_t(plane) * bpl + std::size_t(x)] = p.Values[pixel * std::size_t(p.Planes) + std::size_t(plane)];
                continue;
            }
            const unsigned value = p.Values[pixel];
            for (int plane = 0; plane < p.Planes; ++plane) {
                const unsigned part = p.Planes == 1 ? value : (value >> plane) & 1u;
                const int bit = x * p.Bits;
                const int shift = 8 - p.Bits - (bit & 7);
                std::uint8_t& byte = line[std::size_t(plane) * bpl + std::size_t(bit >> 3)];
                const unsigned mask = ((1u << p.Bits) - 1) << shift;
                byte = static_cast<std::uint8_t>((byte & ~mask) | (part << shift));
            }
        }
    }
    return raw;
}

// Run-length codes `raw`, line by line or as one stream whose runs cross line ends.
std::string Rle(const std::vector<std::uint8_t>& raw, std::size_t lineBytes, bool acrossLines) {
    std::string out;
    const std::size_t segment = acrossLines ? raw.size() : lineBytes;
    for (std::size_t start = 0; start < raw.size(); start += segment) {
        const std::size_t end = std::min(raw.size(), start + segment);
        for (std::size_t i = start; i < end;) {
            std::size_t run = 1;
            while (i + run < end && raw[i + run] == raw[i] && run < 63) ++run;
            if (run > 1 || raw[i] >= 0xC0) out.push_back(static_cast<char>(0xC0 | run));
            out.push_back(static_cast<char>(raw[i]));
            i += run;
        }
    }
    return out;
}

std::string PcxFile(const PcxPicture& p) {
    std::string out(128, '\0');
    out[0] = 0x0A;
    out[1] = static_cast<char>(p.Version);
    out[2] = 1;
    out[3] = static_cast<char>(p.Bits);
    Put16(out, 4, p.Xmin);
    Put16(out, 6, p.Ymin);
    Put16(out, 8, p.Xmin + p.Width - 1);
    Put16(out, 10, p.Ymin + p.Height - 1);
    Put16(out, 12, 72);
    Put16(out, 14, 72);
    for (std::size_t i = 0; i < p.HeaderPalette.size() && i < 16; ++i) {
        out[16 + 3 * i] = static_cast<char>(p.HeaderPalette[i].R);
        out[17 + 3 * i] = static_cast<char>(p.HeaderPalette[i].G);
        out[18 + 3 * i] = static_cast<char>(p.HeaderPalette[i].B);
    }
    out[65] = static_cast<char>(p.Planes);
    Put16(out, 66, p.LineLength());
    Put16(out, 68, 1);
    out += Rle(ScanLines(p), std::size_t(p.LineLength()) * std::size_t(p.Planes), p.RunsAcrossLines);
    if (!p.VgaPalette.empty()) {
        out.push_back(0x0C);
        for (Rgb c : p.VgaPalette) {
            out.push_back(static_cast<char>(c.R));
            out.push_back(static_cast<char>(c.G));
            out.push_back(static_cast<char>(c.B));
        }
    }
    return out;
}

std::vector<Rgb> RandomColours(std::mt19937& rng, int count) {
    std::vector<Rgb> colours;
    for (int i = 0; i < count; ++i)
        colours.push_back(Rgb{std::uint8_t(rng() & 0xFF), std::uint8_t(rng() & 0xFF), std::uint8_t(rng() & 0xFF)});
    return colours;
}

// A picture of every supported kind, with random pixels, an odd width and palettes set the way
// a writer of that kind sets them.
PcxPicture Variant(int bits, int planes, std::mt19937& rng, int width = 13, int height = 7) {
    PcxPicture p;
    p.Bits = bits;
    p.Planes = planes;
    p.Width = width;
    p.Height = height;
    const int perPixel = p.TrueColour() ? planes : 1;
    const unsigned colours = p.TrueColour() ? 256 : 1u << (bits * planes);
    p.Values.resize(std::size_t(width) * std::size_t(height) * std::size_t(perPixel));
    for (std::uint8_t& v : p.Values) v = static_cast<std::uint8_t>(rng() % colours);
    if (bits * planes > 1 && bits * planes <= 4) p.HeaderPalette = RandomColours(rng, 16);
    if (bits == 8 && planes == 1) p.VgaPalette = RandomColours(rng, 256);
    return p;
}

// What the decoder should give for a picture written by PcxFile.
RgbImage Expected(const PcxPicture& p) {
    RgbImage image;
    image.Width = p.Width;
    image.Height = p.Height;
    image.Pixels.resize(std::size_t(p.Width) * std::size_t(p.Height) * 3);
    for (int y = 0; y < p.Height; ++y) {
        for (int x = 0; x < p.Width; ++x) {
            const std::size_t pixel = std::size_t(y) * std::size_t(p.Width) + std::size_t(x);
            Rgb c;
            if (p.TrueColour()) {
                const std::uint8_t* v = &p.Values[pixel * std::size_t(p.Planes)];
                c = Rgb{v[0], v[1], v[2]};
            } else if (p.Bits * p.Planes == 1) {
                c = p.Values[pixel] ? Rgb{255, 255, 255} : Rgb{0, 0, 0};
            } else if (!p.VgaPalette.empty()) {
                c = p.VgaPalette[p.Values[pixel]];
            } else {
                c = p.HeaderPalette[p.Values[pixel]];
            }
            image.Set(x, y, c);
        }
    }
    return image;
}

struct Kind {
    int Bits;
    int Planes;
};
const Kind kKinds[] = {{1, 1}, {1, 2}, {1, 4}, {2, 1}, {4, 1}, {8, 1}, {8, 3}, {8, 4}};

// The bytes in a heap block of exactly their size, so that AddressSanitizer sees any read
// past the end.
class ExactBytes {
public:
    explicit ExactBytes(std::string_view bytes) : size_(bytes.size()), data_(new char[bytes.size() + (bytes.empty() ? 1 : 0)]) {
        std::copy(bytes.begin(), bytes.end(), data_.get());
    }
    std::string_view View() const { return {data_.get(), size_}; }

private:
    std::size_t size_;
    std::unique_ptr<char[]> data_;
};

TEST(Pcx, DecodesEveryKindOfPicture) {
    std::mt19937 rng(7);
    for (const Kind kind : kKinds) {
        for (const bool across : {false, true}) {
            SCOPED_TRACE(testing::Message() << kind.Bits << " bits x " << kind.Planes << " planes, runs across lines "
                                            << across);
            PcxPicture p = Variant(kind.Bits, kind.Planes, rng);
            p.RunsAcrossLines = across;
            const std::string file = PcxFile(p);

            RgbImage rgb;
            PcxDecodeInfo info;
            std::string error;
            ASSERT_TRUE(DecodePcx(file, rgb, &error, &info)) << error;
            EXPECT_EQ(info.CompleteLines, p.Height);
            EXPECT_EQ(rgb.Width, p.Width);
            EXPECT_EQ(rgb.Height, p.Height);
            EXPECT_EQ(rgb.Pixels, Expected(p).Pixels);

            IndexedImage indexed;
            if (p.TrueColour()) {
                EXPECT_FALSE(DecodePcxIndexed(file, indexed, &error));
                continue;
            }
            ASSERT_TRUE(DecodePcxIndexed(file, indexed, &error)) << error;
            EXPECT_EQ(indexed.Indices, p.Values);
            const int depth = kind.Bits * kind.Planes;
            EXPECT_EQ(indexed.BitsPerPixel, depth == 1 ? 1 : depth <= 4 ? 4 : 8);
            EXPECT_EQ(indexed.Palette.size(), std::size_t{1} << depth);
        }
    }
}

TEST(Pcx, PaddedAndOddLineLengthsAndWindowOffsets) {
    std::mt19937 rng(11);
    for (const Kind kind : kKinds) {
        for (const int extra : {1, 3, 200}) {
            SCOPED_TRACE(testing::Message() << kind.Bits << "x" << kind.Planes << ", extra bytes " << extra);
            PcxPicture p = Variant(kind.Bits, kind.Planes, rng, 10, 4);
            p.BytesPerLine = (10 * kind.Bits + 7) / 8 + extra;
            p.Padding = 0xE7;  // garbage beyond the width must not show
            p.Xmin = 300;
            p.Ymin = 65000;
            RgbImage rgb;
            ASSERT_TRUE(DecodePcx(PcxFile(p), rgb));
            EXPECT_EQ(rgb.Width, 10);
            EXPECT_EQ(rgb.Height, 4);
            EXPECT_EQ(rgb.Pixels, Expected(p).Pixels);
        }
    }
}

TEST(Pcx, MissingPalettesFallBackToStandardColours) {
    std::mt19937 rng(3);
    // 8 bits without the 0C marker before the last 769 bytes: grey, and the bytes that are
    // there instead are not taken for a palette.
    PcxPicture grey = Variant(8, 1, rng);
    std::string file = PcxFile(grey);
    file[file.size() - 769] = 0x0B;
    IndexedImage indexed;
    PcxDecodeInfo info;
    ASSERT_TRUE(DecodePcxIndexed(file, indexed, nullptr, &info));
    EXPECT_FALSE(info.VgaPaletteFound);
    EXPECT_EQ(indexed.Indices, grey.Values);
    EXPECT_EQ(indexed.Palette[0x80], (Rgb{0x80, 0x80, 0x80}));
    // A file too short to hold a palette at all.
    grey.VgaPalette.clear();
    ASSERT_TRUE(DecodePcxIndexed(PcxFile(grey), indexed, nullptr, &info));
    EXPECT_FALSE(info.VgaPaletteFound);
    EXPECT_EQ(indexed.Indices, grey.Values);

    // Version 3 means "no palette" whatever the header holds; an all-zero palette means the same.
    PcxPicture ega = Variant(4, 1, rng);
    ega.Version = 3;
    ASSERT_TRUE(DecodePcxIndexed(PcxFile(ega), indexed));
    EXPECT_EQ(indexed.Palette[1], (Rgb{0x00, 0x00, 0xAA}));
    EXPECT_EQ(indexed.Palette[14], (Rgb{0xFF, 0xFF, 0x55}));
    ega.Version = 5;
    ega.HeaderPalette.clear();
    ASSERT_TRUE(DecodePcxIndexed(PcxFile(ega), indexed));
    EXPECT_EQ(indexed.Palette[14], (Rgb{0xFF, 0xFF, 0x55}));
    PcxPicture cga = Variant(2, 1, rng);
    cga.HeaderPalette.clear();
    ASSERT_TRUE(DecodePcxIndexed(PcxFile(cga), indexed));
    ASSERT_EQ(indexed.Palette.size(), 4u);
    EXPECT_EQ(indexed.Palette[3], (Rgb{0xFF, 0xFF, 0xFF}));
}

TEST(Pcx, TruncationAtEveryOffsetKeepsTheLinesThatAreThere) {
    std::mt19937 rng(5);
    for (const Kind kind : kKinds) {
        SCOPED_TRACE(testing::Message() << kind.Bits << "x" << kind.Planes);
        PcxPicture p = Variant(kind.Bits, kind.Planes, rng, 21, 6);
        p.RunsAcrossLines = kind.Bits == 4;  // cut inside a run that crosses a line end, too
        // Runs in the upper half, literals below.
        for (std::size_t i = 0; i < p.Values.size() / 2; ++i) p.Values[i] = 1;
        const std::string file = PcxFile(p);
        const RgbImage expected = Expected(p);
        const std::size_t rowBytes = std::size_t(p.Width) * 3;
        int lastLines = 0;
        for (std::size_t cut = 0; cut <= file.size(); ++cut) {
            const ExactBytes bytes(std::string_view(file).substr(0, cut));
            RgbImage rgb;
            PcxDecodeInfo info;
            if (!DecodePcx(bytes.View(), rgb, nullptr, &info)) {
                EXPECT_TRUE(rgb.Pixels.empty());
                // Refused only when the data could not possibly hold the lines the header claims.
                const std::size_t claimed = std::size_t(p.LineLength()) * std::size_t(p.Planes) * std::size_t(p.Height);
                EXPECT_TRUE(cut < 128 || (cut - 128) * 32 < claimed) << "refused at " << cut;
                continue;
            }
            ASSERT_TRUE(rgb.IsValid());
            ASSERT_EQ(rgb.Height, p.Height);
            ASSERT_LE(info.CompleteLines, p.Height);
            EXPECT_GE(info.CompleteLines, lastLines) << "at " << cut;
            lastLines = info.CompleteLines;
            if (!p.TrueColour() && p.Bits == 8) {
                // Without its palette the picture turns grey, but the indices stay.
                IndexedImage indexed;
                ASSERT_TRUE(DecodePcxIndexed(bytes.View(), indexed));
                const std::size_t n = std::size_t(info.CompleteLines) * std::size_t(p.Width);
                EXPECT_TRUE(std::equal(indexed.Indices.begin(), indexed.Indices.begin() + std::ptrdiff_t(n),
                                       p.Values.begin()));
                continue;
            }
            const std::size_t n = std::size_t(info.CompleteLines) * rowBytes;
            EXPECT_TRUE(std::equal(rgb.Pixels.begin(), rgb.Pixels.begin() + std::ptrdiff_t(n),
                                   expected.Pixels.begin()))
                << "at " << cut;
        }
        EXPECT_EQ(lastLines, p.Height);
    }
}

TEST(Pcx, DamagedBytesGiveAValidPictureOrAFailure) {
    std::mt19937 rng(9);
    for (const Kind kind : kKinds) {
        const std::string file = PcxFile(Variant(kind.Bits, kind.Planes, rng, 9, 5));
        for (std::size_t at = 0; at < file.size(); ++at) {
            for (const int flip : {0x01, 0x40, 0xFF}) {
                std::string damaged = file;
                damaged[at] = static_cast<char>(damaged[at] ^ flip);
                const ExactBytes bytes(damaged);
                RgbImage rgb;
                if (DecodePcx(bytes.View(), rgb)) {
                    ASSERT_TRUE(rgb.IsValid());
                }
                IndexedImage indexed;
                if (DecodePcxIndexed(bytes.View(), indexed)) {
                    ASSERT_TRUE(indexed.IsValid());
                    for (std::uint8_t index : indexed.Indices) ASSERT_LT(index, indexed.Palette.size());
                }
            }
        }
    }
}

TEST(Pcx, HeadersThatLieAreRefused) {
    std::mt19937 rng(1);
    const std::string good = PcxFile(Variant(8, 1, rng));
    const auto withField = [](std::string file, std::size_t at, int value, bool wide) {
        if (wide) {
            Put16(file, at, value);
        } else {
            file[at] = static_cast<char>(value);
        }
        return file;
    };
    struct Case {
        const char* what;
        std::string file;
    };
    const Case cases[] = {
        {"65535 x 65535", withField(withField(good, 8, 0xFFFF, true), 10, 0xFFFF, true)},
        {"more lines than the data could hold", withField(good, 10, 30000, true)},
        {"line length shorter than the width", withField(good, 66, 12, true)},
        {"inverted window", withField(good, 4, 100, true)},
        {"no planes", withField(good, 65, 0, false)},
        {"8 bits in 2 planes", withField(good, 65, 2, false)},
        {"3 bits per pixel", withField(good, 3, 3, false)},
        {"uncoded data", withField(good, 2, 0, false)},
        {"unknown version", withField(good, 1, 1, false)},
        {"not a PCX file", withField(good, 0, 0x0B, false)},
        {"header only, half of it", good.substr(0, 64)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RgbImage rgb;
        std::string error;
        EXPECT_FALSE(DecodePcx(c.file, rgb, &error));
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(rgb.Pixels.empty());
    }
}

TEST(Pcx, FullyCompressedPictureIsNotTakenForALie) {
    // The best the coding can do, 63 bytes from two, must pass the check against lying sizes.
    PcxPicture flat;
    flat.Width = 630;
    flat.Height = 200;
    flat.Values.assign(std::size_t(630) * 200, 0x21);
    flat.RunsAcrossLines = true;
    RgbImage rgb;
    PcxDecodeInfo info;
    std::string error;
    ASSERT_TRUE(DecodePcx(PcxFile(flat), rgb, &error, &info)) << error;
    EXPECT_EQ(info.CompleteLines, 200);
    EXPECT_EQ(rgb.At(629, 199), (Rgb{0x21, 0x21, 0x21}));
}

TEST(Pcx, ZeroLengthRunsAddNothing) {
    PcxPicture p;
    p.Width = 2;
    p.Height = 1;
    p.Values = {0x10, 0x20};
    std::string file = PcxFile(p);
    file.insert(128, "\xC0\x55\xC0\x66", 4);
    IndexedImage indexed;
    ASSERT_TRUE(DecodePcxIndexed(file, indexed));
    EXPECT_EQ(indexed.Indices, p.Values);
}

}  // namespace
}  // namespace slumra

#include "imaging/Pcx.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace slumra {
namespace {

// A picture for the small PCX writer below.
struct PcxPicture {
    int Bits = 8, Planes = 1, Width = 0, Height = 0;
    int BytesPerLine = 0;  // 0: the least even length that holds the width
    int Version = 5, Xmin = 0, Ymin = 0;
    std::vector<std::uint8_t> Values;  // per pixel the index, or R, G, B (, A) for 3 or 4 planes
    std::vector<Rgb> HeaderPalette;    // up to 16 colours
    std::vector<Rgb> VgaPalette;       // written after the data when not empty
    bool RunsAcrossLines = false;
    std::uint8_t Padding = 0;  // line bytes beyond the width

    bool TrueColour() const { return Bits == 8 && Planes >= 3; }
    int LineLength() const {
        const int bytes = (Width * Bits + 7) / 8;
        return BytesPerLine != 0 ? BytesPerLine : bytes + (bytes & 1);
    }
};

void Put16(std::string& out, std::size_t at, int v) {
    out[at] = static_cast<char>(v & 0xFF);
    out[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

std::vector<std::uint8_t> ScanLines(const PcxPicture& p) {
    const std::size_t bpl = std::size_t(p.LineLength()), planes = std::size_t(p.Planes);
    std::vector<std::uint8_t> raw(bpl * planes * std::size_t(p.Height), p.Padding);
    for (int y = 0; y < p.Height; ++y) {
        std::uint8_t* line = raw.data() + std::size_t(y) * bpl * planes;
        for (int x = 0; x < p.Width; ++x) {
            const std::size_t pixel = std::size_t(y) * std::size_t(p.Width) + std::size_t(x);
            for (std::size_t plane = 0; plane < planes; ++plane) {
                if (p.TrueColour()) {
                    line[plane * bpl + std::size_t(x)] = p.Values[pixel * planes + plane];
                    continue;
                }
                const unsigned part = planes == 1 ? p.Values[pixel] : (p.Values[pixel] >> plane) & 1u;
                const int shift = 8 - p.Bits - (x * p.Bits & 7);
                const unsigned mask = ((1u << p.Bits) - 1) << shift;
                std::uint8_t& byte = line[plane * bpl + std::size_t(x * p.Bits >> 3)];
                byte = static_cast<std::uint8_t>((byte & ~mask) | (part << shift));
            }
        }
    }
    return raw;
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
    for (std::size_t i = 0; i < p.HeaderPalette.size(); ++i) {
        out[16 + 3 * i] = static_cast<char>(p.HeaderPalette[i].R);
        out[17 + 3 * i] = static_cast<char>(p.HeaderPalette[i].G);
        out[18 + 3 * i] = static_cast<char>(p.HeaderPalette[i].B);
    }
    out[65] = static_cast<char>(p.Planes);
    Put16(out, 66, p.LineLength());
    // Run-length coding, line by line or as one stream whose runs cross line ends.
    const std::vector<std::uint8_t> raw = ScanLines(p);
    const std::size_t segment = p.RunsAcrossLines ? raw.size() : std::size_t(p.LineLength() * p.Planes);
    for (std::size_t start = 0; start < raw.size(); start += segment) {
        for (std::size_t i = start, run = 1; i < start + segment; i += run, run = 1) {
            while (i + run < start + segment && raw[i + run] == raw[i] && run < 63) ++run;
            if (run > 1 || raw[i] >= 0xC0) out.push_back(static_cast<char>(0xC0 | run));
            out.push_back(static_cast<char>(raw[i]));
        }
    }
    if (!p.VgaPalette.empty()) out.push_back(0x0C);
    for (Rgb c : p.VgaPalette)
        out += {static_cast<char>(c.R), static_cast<char>(c.G), static_cast<char>(c.B)};
    return out;
}

// A picture of the given kind with random pixels and an odd width, its palettes set the way
// a writer of that kind sets them.
PcxPicture Variant(int bits, int planes, std::mt19937& rng, int width = 13, int height = 7) {
    PcxPicture p;
    p.Bits = bits;
    p.Planes = planes;
    p.Width = width;
    p.Height = height;
    const int perPixel = p.TrueColour() ? planes : 1;
    const unsigned colours = p.TrueColour() ? 256 : 1u << (bits * planes);
    p.Values.resize(std::size_t(width * height * perPixel));
    for (std::uint8_t& v : p.Values) v = static_cast<std::uint8_t>(rng() % colours);
    const auto randomColours = [&](std::vector<Rgb>& out, int n) {
        for (int i = 0; i < n; ++i)
            out.push_back(Rgb{std::uint8_t(rng()), std::uint8_t(rng()), std::uint8_t(rng())});
    };
    if (bits * planes > 1 && bits * planes <= 4) randomColours(p.HeaderPalette, 16);
    if (bits == 8 && planes == 1) randomColours(p.VgaPalette, 256);
    return p;
}

// What the decoder should give, row after row, R, G, B.
std::vector<std::uint8_t> Expected(const PcxPicture& p) {
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i < std::size_t(p.Width * p.Height); ++i) {
        if (p.TrueColour()) {
            const std::uint8_t* v = p.Values.data() + i * std::size_t(p.Planes);
            out.insert(out.end(), v, v + 3);
            continue;
        }
        const std::uint8_t v = p.Values[i];
        const Rgb c = p.Bits * p.Planes == 1 ? (v ? Rgb{255, 255, 255} : Rgb{})
                      : p.VgaPalette.empty() ? p.HeaderPalette[v]
                                             : p.VgaPalette[v];
        out.insert(out.end(), {c.R, c.G, c.B});
    }
    return out;
}

struct Kind {
    int Bits, Planes;
};
const Kind kKinds[] = {{1, 1}, {1, 2}, {1, 4}, {2, 1}, {4, 1}, {8, 1}, {8, 3}, {8, 4}};

// The bytes in a heap block of exactly their size, so AddressSanitizer sees a read past the end.
class ExactBytes {
public:
    explicit ExactBytes(std::string_view bytes) : size_(bytes.size()), data_(new char[bytes.size() + 1]) {
        std::copy(bytes.begin(), bytes.end(), data_.get());
    }
    std::string_view View() const { return {data_.get(), size_}; }

private:
    std::size_t size_;
    std::unique_ptr<char[]> data_;
};

TEST(Pcx, DecodesEveryKindWithPaddedOddLinesAndRunsAcrossLines) {
    std::mt19937 rng(7);
    for (const Kind kind : kKinds) {
        for (const int extra : {0, 1, 3, 200}) {
            SCOPED_TRACE(testing::Message() << kind.Bits << " bits x " << kind.Planes << ", extra " << extra);
            PcxPicture p = Variant(kind.Bits, kind.Planes, rng);
            if (extra > 0) p.BytesPerLine = (p.Width * kind.Bits + 7) / 8 + extra;
            p.Padding = 0xE7;  // garbage beyond the width must not show
            p.RunsAcrossLines = extra == 1;
            p.Xmin = 300 * extra;
            p.Ymin = 65000;
            const std::string file = PcxFile(p);

            RgbImage rgb;
            PcxDecodeInfo info;
            std::string error;
            ASSERT_TRUE(DecodePcx(file, rgb, &error, &info)) << error;
            EXPECT_EQ(info.CompleteLines, p.Height);
            EXPECT_EQ(rgb.Width, p.Width);
            EXPECT_EQ(rgb.Height, p.Height);
            EXPECT_EQ(rgb.Pixels, Expected(p));

            IndexedImage indexed;
            EXPECT_EQ(DecodePcxIndexed(file, indexed), !p.TrueColour());
            if (p.TrueColour()) continue;
            EXPECT_EQ(indexed.Indices, p.Values);
            const int depth = kind.Bits * kind.Planes;
            EXPECT_EQ(indexed.BitsPerPixel, depth == 1 ? 1 : depth <= 4 ? 4 : 8);
            EXPECT_EQ(indexed.Palette.size(), std::size_t{1} << depth);
        }
    }
}

TEST(Pcx, MissingPalettesFallBackToStandardColours) {
    std::mt19937 rng(3);
    // 8 bits without the 0C marker 769 bytes before the end: grey, and the bytes there are not
    // taken for a palette.
    PcxPicture grey = Variant(8, 1, rng);
    std::string file = PcxFile(grey);
    file[file.size() - 769] = 0x0B;
    IndexedImage indexed;
    PcxDecodeInfo info;
    ASSERT_TRUE(DecodePcxIndexed(file, indexed, nullptr, &info));
    EXPECT_FALSE(info.VgaPaletteFound);
    EXPECT_EQ(indexed.Indices, grey.Values);
    EXPECT_EQ(indexed.Palette[0x80], (Rgb{0x80, 0x80, 0x80}));

    // Version 3 means "no palette" whatever the header holds; an all-zero palette the same.
    PcxPicture ega = Variant(4, 1, rng);
    ega.Version = 3;
    ASSERT_TRUE(DecodePcxIndexed(PcxFile(ega), indexed));
    EXPECT_EQ(indexed.Palette[1], (Rgb{0x00, 0x00, 0xAA}));
    ega.Version = 5;
    ega.HeaderPalette.clear();
    ASSERT_TRUE(DecodePcxIndexed(PcxFile(ega), indexed));
    EXPECT_EQ(indexed.Palette[14], (Rgb{0xFF, 0xFF, 0x55}));
    PcxPicture cga = Variant(2, 1, rng);
    cga.HeaderPalette.clear();
    ASSERT_TRUE(DecodePcxIndexed(PcxFile(cga), indexed));
    EXPECT_EQ(indexed.Palette[3], (Rgb{0xFF, 0xFF, 0xFF}));
}

TEST(Pcx, TruncationAtEveryOffsetKeepsTheLinesThatAreThere) {
    std::mt19937 rng(5);
    for (const Kind kind : kKinds) {
        SCOPED_TRACE(testing::Message() << kind.Bits << "x" << kind.Planes);
        PcxPicture p = Variant(kind.Bits, kind.Planes, rng, 21, 6);
        p.RunsAcrossLines = kind.Bits == 4;  // cuts inside runs that cross a line end, too
        std::fill(p.Values.begin(), p.Values.begin() + std::ptrdiff_t(p.Values.size() / 2), 1);
        const std::string file = PcxFile(p);
        const std::vector<std::uint8_t> expected = Expected(p);
        const std::size_t claimed = std::size_t(p.LineLength() * p.Planes * p.Height);
        int lastLines = 0;
        for (std::size_t cut = 0; cut <= file.size(); ++cut) {
            const ExactBytes bytes(std::string_view(file).substr(0, cut));
            RgbImage rgb;
            PcxDecodeInfo info;
            if (!DecodePcx(bytes.View(), rgb, nullptr, &info)) {
                // Refused only when the data could not possibly hold the lines the header claims.
                EXPECT_TRUE(cut < 128 || (cut - 128) * 32 < claimed) << "refused at " << cut;
                continue;
            }
            ASSERT_TRUE(rgb.IsValid());
            ASSERT_EQ(rgb.Height, p.Height);
            ASSERT_GE(info.CompleteLines, lastLines) << "at " << cut;
            lastLines = info.CompleteLines;
            if (kind.Bits == 8 && kind.Planes == 1) {
                // Cut into its palette, the picture turns grey, but the indices stay.
                IndexedImage indexed;
                ASSERT_TRUE(DecodePcxIndexed(bytes.View(), indexed));
                const auto n = std::ptrdiff_t(info.CompleteLines * p.Width);
                EXPECT_TRUE(
                    std::equal(indexed.Indices.begin(), indexed.Indices.begin() + n, p.Values.begin()));
            } else {
                const auto n = std::ptrdiff_t(info.CompleteLines * p.Width * 3);
                EXPECT_TRUE(std::equal(rgb.Pixels.begin(), rgb.Pixels.begin() + n, expected.begin())) << cut;
            }
        }
        EXPECT_EQ(lastLines, p.Height);
    }
}

TEST(Pcx, HeadersThatLieAreRefused) {
    std::mt19937 rng(1);
    const std::string good = PcxFile(Variant(8, 1, rng));
    const auto with = [](std::string file, std::size_t at, int value, bool wide = false) {
        if (wide) Put16(file, at, value);
        if (!wide) file[at] = static_cast<char>(value);
        return file;
    };
    const std::pair<const char*, std::string> cases[] = {
        {"65535 x 65535", with(with(good, 8, 0xFFFF, true), 10, 0xFFFF, true)},
        {"more lines than the data could hold", with(good, 10, 30000, true)},
        {"line length shorter than the width", with(good, 66, 12, true)},
        {"inverted window", with(good, 4, 100, true)},
        {"no planes", with(good, 65, 0)},
        {"8 bits in 2 planes", with(good, 65, 2)},
        {"3 bits per pixel", with(good, 3, 3)},
        {"uncoded data", with(good, 2, 0)},
        {"unknown version", with(good, 1, 1)},
        {"half a header", good.substr(0, 64)},
    };
    for (const auto& [what, file] : cases) {
        RgbImage rgb;
        std::string error;
        EXPECT_FALSE(DecodePcx(file, rgb, &error)) << what;
        EXPECT_FALSE(error.empty()) << what;
        EXPECT_TRUE(rgb.Pixels.empty()) << what;
    }

    // The best the coding can do, 63 bytes from two, is no lie.
    PcxPicture flat;
    flat.Width = 630;
    flat.Height = 200;
    flat.Values.assign(630 * 200, 0x21);
    flat.RunsAcrossLines = true;
    RgbImage rgb;
    ASSERT_TRUE(DecodePcx(PcxFile(flat), rgb));
    EXPECT_EQ(rgb.At(629, 199), (Rgb{0x21, 0x21, 0x21}));
}

}  // namespace
}  // namespace slumra

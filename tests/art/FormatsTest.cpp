// The binary formats as Windows readers see them: bitmap headers and colour tables, the logo
// clip's RIFF structure, the sound's header and loop point, the cursors.

#include "ArtTestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

namespace slumra::art::test {
namespace {

const std::vector<std::string> kBitmaps = {"res/PAL16.bmp",    "res/PAL256.bmp", "res/Intro.bmp",
                                           "res/Intro256.bmp", "res/About.bmp",  "res/About256.bmp",
                                           "program/I/B/abk"};

TEST(Bitmaps, HeadersAgreeWithTheBytes) {
    for (const std::string& key : kBitmaps) {
        const std::string& b = Generated().at(key);
        ASSERT_GE(b.size(), 54u) << key;
        EXPECT_EQ(b.substr(0, 2), "BM") << key;
        const Bmp m = ReadBmp(b);
        EXPECT_EQ(m.fileSize, b.size()) << key;
        EXPECT_EQ(m.headerSize, 40u) << key;
        EXPECT_GT(m.height, 0) << key << ": bottom-up";
        EXPECT_EQ(m.compression, 0u) << key;
        EXPECT_EQ(m.offset, 54u + 4 * m.clrUsed) << key;
        if (m.bitCount <= 8) {
            EXPECT_EQ(m.clrUsed, 1u << m.bitCount) << key;
        }
        const std::size_t stride = (static_cast<std::size_t>(m.width) * m.bitCount + 31) / 32 * 4;
        EXPECT_EQ(m.sizeImage, stride * m.height) << key;
        EXPECT_EQ(b.size(), m.offset + stride * m.height) << key;
    }
    EXPECT_EQ(ReadBmp(Generated().at("res/PAL16.bmp")).bitCount, 4);
    for (const char* key :
         {"res/PAL256.bmp", "res/Intro.bmp", "res/Intro256.bmp", "res/About.bmp", "res/About256.bmp"})
        EXPECT_EQ(ReadBmp(Generated().at(key)).bitCount, 8) << key;
    for (const auto& [key, size] : std::vector<std::pair<std::string, int>>{{"res/Intro.bmp", 282},
                                                                            {"res/Intro256.bmp", 282},
                                                                            {"res/About.bmp", 325},
                                                                            {"res/About256.bmp", 325}}) {
        EXPECT_EQ(ReadBmp(Generated().at(key)).width, size) << key;
        EXPECT_EQ(ReadBmp(Generated().at(key)).height, size) << key;
    }
}

TEST(Bitmaps, Pal16HoldsTheStandardColoursInOrder) {
    const std::vector<Rgb> expected = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                       {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {128, 128, 128},
                                       {192, 192, 192}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                       {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    EXPECT_EQ(ReadBmp(Generated().at("res/PAL16.bmp")).table, expected);
    // The reserved byte of every entry is zero.
    const std::string& b = Generated().at("res/PAL16.bmp");
    for (int i = 0; i < 16; ++i) EXPECT_EQ(b[54 + 4 * i + 3], 0) << i;
}

TEST(Bitmaps, Pal256HasFixedEndsAndAGridSpreadByRed) {
    const auto table = ReadBmp(Generated().at("res/PAL256.bmp")).table;
    ASSERT_EQ(table.size(), 256u);
    const std::vector<Rgb> first = {{0, 0, 0},       {128, 0, 0},    {0, 128, 0},   {128, 128, 0},
                                    {0, 0, 128},     {128, 0, 128},  {0, 128, 128}, {128, 128, 128},
                                    {192, 220, 192}, {166, 202, 240}};
    const std::vector<Rgb> last = {{255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},
                                   {0, 255, 0},     {255, 255, 0},   {0, 0, 255},     {255, 0, 255},
                                   {0, 255, 255},   {255, 255, 255}};
    EXPECT_EQ(std::vector<Rgb>(table.begin(), table.begin() + 10), first);
    EXPECT_EQ(std::vector<Rgb>(table.begin() + 246, table.end()), last);

    const std::set<int> reds = {0, 42, 85, 127, 170, 212, 255},
                        greens = {0, 31, 63, 95, 127, 159, 191, 223, 255}, blues = {0, 85, 170, 255};
    std::set<std::tuple<int, int, int>> seen;
    for (int i = 10; i < 246; ++i) {
        const Rgb c = table[static_cast<std::size_t>(i)];
        EXPECT_TRUE(reds.count(c.r) && greens.count(c.g) && blues.count(c.b)) << i;
        EXPECT_TRUE(seen.insert({c.r, c.g, c.b}).second) << i << ": twice";
        if (i > 10) {
            EXPECT_GE(c.r, table[static_cast<std::size_t>(i) - 1].r) << i << ": grouped by red";
        }
        EXPECT_FALSE(std::find(last.begin(), last.end(), c) != last.end()) << i << ": repeats a fixed entry";
    }
    // The image shows each entry once, so the table can be read back from the pixels as well.
    const std::string& b = Generated().at("res/PAL256.bmp");
    std::set<int> indices;
    for (std::size_t i = ReadBmp(b).offset; i < b.size(); ++i)
        indices.insert(static_cast<unsigned char>(b[i]));
    EXPECT_EQ(indices.size(), 256u);
}

TEST(Bitmaps, The256VersionsUsePal256) {
    const auto pal = ReadBmp(Generated().at("res/PAL256.bmp")).table;
    EXPECT_EQ(ReadBmp(Generated().at("res/Intro256.bmp")).table, pal);
    EXPECT_EQ(ReadBmp(Generated().at("res/About256.bmp")).table, pal);
    // Only the twenty static entries, the colours every palette display shows; dithered, so
    // the night keeps its blue rather than falling to black.
    for (const char* key : {"res/Intro256.bmp", "res/About256.bmp"}) {
        const std::string& b = Generated().at(key);
        std::set<int> used;
        for (std::size_t i = ReadBmp(b).offset; i < b.size(); ++i) used.insert(static_cast<unsigned char>(b[i]));
        EXPECT_TRUE(used.lower_bound(10) == used.lower_bound(246)) << key << ": an entry of the spread";
        EXPECT_TRUE(used.count(4) == 1) << key << ": no dark blue";
    }
    // The versions with their own palettes use it: it differs from the fixed one, and most of
    // its entries are really used.
    for (const char* key : {"res/Intro.bmp", "res/About.bmp"}) {
        const std::string& b = Generated().at(key);
        const Bmp m = ReadBmp(b);
        EXPECT_NE(m.table, pal) << key;
        std::set<int> used;
        for (std::size_t i = m.offset; i < b.size(); ++i) used.insert(static_cast<unsigned char>(b[i]));
        EXPECT_GT(used.size(), 200u) << key;
    }
}

TEST(Bitmaps, SplashKeepsItsStatusLineAreaQuiet) {
    const std::string& b = Generated().at("res/Intro.bmp");
    const Bmp m = ReadBmp(b);
    const std::size_t stride = (static_cast<std::size_t>(m.width) + 3) / 4 * 4;
    // Bottom-up: the lowest 40 rows are the first 40 in the file.
    double sum = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < m.width; ++x) {
            const Rgb c = m.table[static_cast<unsigned char>(b[m.offset + stride * y + x])];
            sum += (0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b) / 255;
        }
    EXPECT_LT(sum / (40.0 * m.width), 0.08);
}

struct Clip {
    std::uint32_t frames = 0, width = 0, height = 0, microSeconds = 0;
    std::vector<Rgb> palette;
    std::vector<std::string> pictures;  // frame bytes, bottom-up rows
};

// Walks the clip as the animation control does, checking every size on the way.
Clip ReadClip(const std::string& b) {
    Clip clip;
    bool ok = false;
    EXPECT_EQ(Tag(b, 0), "RIFF");
    EXPECT_EQ(Tag(b, 8), "AVI ");
    EXPECT_EQ(U32(b, 4) + 8, b.size());
    const auto top = Chunks(b, 12, b.size(), ok);
    EXPECT_TRUE(ok);
    std::vector<std::string> ids;
    for (const Chunk& c : top) ids.push_back(c.id);
    EXPECT_EQ(ids, (std::vector<std::string>{"LIST:hdrl", "LIST:movi", "idx1"}));
    if (ids.size() != 3) return clip;

    const auto hdrl = Chunks(b, top[0].body + 4, top[0].body + top[0].size, ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(hdrl.size(), 2u) << "avih and exactly one stream";
    if (hdrl.size() != 2) return clip;
    EXPECT_EQ(hdrl[0].id, "avih");
    EXPECT_EQ(hdrl[0].size, 56u);
    clip.microSeconds = U32(b, hdrl[0].body);
    clip.frames = U32(b, hdrl[0].body + 16);
    EXPECT_EQ(U32(b, hdrl[0].body + 24), 1u) << "streams";
    clip.width = U32(b, hdrl[0].body + 32);
    clip.height = U32(b, hdrl[0].body + 36);

    EXPECT_EQ(hdrl[1].id, "LIST:strl");
    const auto strl = Chunks(b, hdrl[1].body + 4, hdrl[1].body + hdrl[1].size, ok);
    EXPECT_TRUE(ok);
    if (strl.size() < 2) return clip;
    EXPECT_EQ(strl[0].id, "strh");
    EXPECT_EQ(Tag(b, strl[0].body), "vids");
    const std::string handler = Tag(b, strl[0].body + 4);
    EXPECT_TRUE(handler == "DIB " || handler == std::string(4, '\0')) << "uncompressed";
    EXPECT_EQ(U32(b, strl[0].body + 32), clip.frames) << "stream length";
    const std::uint32_t suggested = U32(b, strl[0].body + 36);
    EXPECT_EQ(strl[1].id, "strf");
    const std::size_t bih = strl[1].body;
    EXPECT_EQ(U32(b, bih), 40u);
    EXPECT_EQ(U32(b, bih + 4), clip.width);
    EXPECT_EQ(U32(b, bih + 8), clip.height);
    EXPECT_EQ(U16(b, bih + 14), 8u);
    EXPECT_EQ(U32(b, bih + 16), 0u) << "BI_RGB";
    const std::uint32_t colours = U32(b, bih + 32);
    EXPECT_EQ(colours, 256u);
    EXPECT_EQ(strl[1].size, 40 + 4 * colours);
    for (std::uint32_t i = 0; i < colours && bih + 40 + 4 * i + 2 < b.size(); ++i) {
        const std::size_t at = bih + 40 + 4 * i;
        clip.palette.push_back({static_cast<unsigned char>(b[at + 2]), static_cast<unsigned char>(b[at + 1]),
                                static_cast<unsigned char>(b[at])});
    }

    const std::size_t frameSize = (clip.width + 3) / 4 * 4 * clip.height;
    const auto movi = Chunks(b, top[1].body + 4, top[1].body + top[1].size, ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(movi.size(), clip.frames) << "the control counts every chunk in movi as a frame";
    for (const Chunk& c : movi) {
        EXPECT_EQ(c.id, "00db");
        EXPECT_EQ(c.size, frameSize);
        EXPECT_LE(c.size, suggested);
        clip.pictures.push_back(b.substr(c.body, c.size));
    }

    // idx1: one entry per frame, each pointing at its chunk (offsets count from the 'movi' tag).
    const std::size_t moviTag = top[1].body;
    EXPECT_EQ(top[2].size, 16u * clip.frames);
    for (std::size_t i = 0; i < movi.size() && 16 * i + 16 <= top[2].size; ++i) {
        const std::size_t entry = top[2].body + 16 * i;
        EXPECT_EQ(Tag(b, entry), "00db");
        EXPECT_EQ(U32(b, entry + 4) & 0x10, 0x10u) << "key frame";
        EXPECT_EQ(moviTag + U32(b, entry + 8), movi[i].body - 8) << i;
        EXPECT_EQ(U32(b, entry + 12), movi[i].size) << i;
    }
    return clip;
}

TEST(LogoClip, PlayableByTheAnimationControl) {
    const std::pair<const char*, std::uint32_t> clips[] = {
        {"program/V/ov6x4", 45}, {"program/V/ov8x6", 56}, {"program/V/ov10x7", 72}};
    for (const auto& [key, size] : clips) {
        SCOPED_TRACE(key);
        const Clip clip = ReadClip(Generated().at(key));
        EXPECT_EQ(clip.width, size);
        EXPECT_EQ(clip.height, size);
        EXPECT_GE(clip.frames, 30u);
        EXPECT_GE(clip.microSeconds, 1000000u / 15);
        EXPECT_LE(clip.microSeconds, 1000000u / 10);
    }
}

TEST(LogoClip, LoopsWithoutAJumpOnABlackGround) {
    const Clip clip = ReadClip(Generated().at("program/V/ov10x7"));
    ASSERT_GE(clip.pictures.size(), 30u);
    ASSERT_EQ(clip.palette.size(), 256u);
    auto difference = [&](const std::string& a, const std::string& b) {
        double sum = 0;
        for (std::size_t i = 0; i < a.size(); ++i) {
            const Rgb p = clip.palette[static_cast<unsigned char>(a[i])],
                      q = clip.palette[static_cast<unsigned char>(b[i])];
            sum += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b);
        }
        return sum / static_cast<double>(a.size());
    };
    double largest = 0;
    for (std::size_t i = 0; i + 1 < clip.pictures.size(); ++i)
        largest = std::max(largest, difference(clip.pictures[i], clip.pictures[i + 1]));
    EXPECT_GT(largest, 0.0) << "it moves";
    EXPECT_LE(difference(clip.pictures.back(), clip.pictures.front()), largest * 1.2);
    // The corners, outside the circle the clip is shown in, are black.
    const std::size_t stride = (clip.width + 3) / 4 * 4, w = clip.width, h = clip.height;
    const std::size_t corners[] = {0, w - 1, stride * (h - 1), stride * (h - 1) + w - 1};
    for (const std::string& f : clip.pictures)
        for (std::size_t at : corners)
            EXPECT_EQ(clip.palette[static_cast<unsigned char>(f[at])], (Rgb{0, 0, 0}));
}

TEST(Sound, PcmHeaderAndLevel) {
    const std::string& b = Generated().at("program/a/somnar.wav");
    ASSERT_GE(b.size(), 44u);
    EXPECT_EQ(Tag(b, 0), "RIFF");
    EXPECT_EQ(U32(b, 4) + 8, b.size());
    EXPECT_EQ(Tag(b, 8), "WAVE");
    EXPECT_EQ(Tag(b, 12), "fmt ");
    EXPECT_EQ(U32(b, 16), 16u);
    EXPECT_EQ(U16(b, 20), 1u) << "PCM";
    const std::uint32_t channels = U16(b, 22), rate = U32(b, 24);
    EXPECT_TRUE(channels == 1 || channels == 2);
    EXPECT_EQ(rate, 22050u);
    EXPECT_EQ(U32(b, 28), rate * channels * 2);
    EXPECT_EQ(U16(b, 32), channels * 2);
    EXPECT_EQ(U16(b, 34), 16u);
    EXPECT_EQ(Tag(b, 36), "data");
    EXPECT_EQ(U32(b, 40), b.size() - 44);
    const double seconds = static_cast<double>(b.size() - 44) / (rate * channels * 2);
    EXPECT_GE(seconds, 20.0);
    EXPECT_LE(seconds, 40.0);
    int peak = 0;
    for (std::size_t i = 44; i + 1 < b.size(); i += 2)
        peak = std::max(peak, std::abs(static_cast<std::int16_t>(U16(b, i))));
    const double dbfs = 20 * std::log10(peak / 32768.0);
    EXPECT_GT(dbfs, -14.0);
    EXPECT_LT(dbfs, -10.0);
}

TEST(Sound, LoopPointIsNoClick) {
    const std::string& b = Generated().at("program/a/somnar.wav");
    const std::uint32_t channels = U16(b, 22);
    const std::size_t frames = (b.size() - 44) / (2 * channels);
    for (std::uint32_t ch = 0; ch < channels; ++ch) {
        auto at = [&](std::size_t i) {
            return static_cast<double>(
                static_cast<std::int16_t>(U16(b, 44 + 2 * ((i % frames) * channels + ch))));
        };
        // Played in a loop, the sample after the last is the first: the step across the seam and
        // the bend there must look like those anywhere else in the sound.
        double step = 0, bend = 0;
        for (std::size_t i = 1; i + 1 < frames; ++i) {
            step = std::max(step, std::fabs(at(i + 1) - at(i)));
            bend = std::max(bend, std::fabs(at(i + 1) - 2 * at(i) + at(i - 1)));
        }
        EXPECT_LE(std::fabs(at(0) - at(frames - 1)), step) << ch;
        EXPECT_LE(std::fabs(at(0) - 2 * at(frames - 1) + at(frames - 2)), bend) << ch;
        EXPECT_LE(std::fabs(at(1) - 2 * at(0) + at(frames - 1)), bend) << ch;
    }
}

struct Cursor {
    int hotX = 0, hotY = 0;
    std::vector<std::uint32_t> argb;  // top-down
    std::vector<bool> transparent;    // from the AND mask, top-down
};

Cursor ReadCursor(const std::string& b) {
    Cursor c;
    EXPECT_EQ(U16(b, 0), 0u);
    EXPECT_EQ(U16(b, 2), 2u) << "cursor";
    EXPECT_EQ(U16(b, 4), 1u);
    EXPECT_EQ(static_cast<unsigned char>(b[6]), 32);
    EXPECT_EQ(static_cast<unsigned char>(b[7]), 32);
    c.hotX = static_cast<int>(U16(b, 10));
    c.hotY = static_cast<int>(U16(b, 12));
    const std::uint32_t size = U32(b, 14), offset = U32(b, 18);
    EXPECT_EQ(offset, 22u);
    EXPECT_EQ(offset + size, b.size());
    EXPECT_EQ(U32(b, offset), 40u);
    EXPECT_EQ(I32(b, offset + 4), 32);
    EXPECT_EQ(I32(b, offset + 8), 64) << "colour and mask rows";
    EXPECT_EQ(U16(b, offset + 14), 32u);
    EXPECT_EQ(size, 40u + 32 * 32 * 4 + 32 * 4);
    if (size != 40u + 32 * 32 * 4 + 32 * 4) return c;
    c.argb.resize(32 * 32);
    c.transparent.resize(32 * 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            c.argb[static_cast<std::size_t>(y) * 32 + x] = U32(b, offset + 40 + 4 * ((31 - y) * 32 + x));
            const auto maskByte = static_cast<unsigned char>(b[offset + 40 + 4096 + 4 * (31 - y) + x / 8]);
            c.transparent[static_cast<std::size_t>(y) * 32 + x] = (maskByte >> (7 - x % 8)) & 1;
        }
    return c;
}

TEST(Cursors, HotspotOnTheHandAndMaskMatchingAlpha) {
    for (const char* key : {"res/HandCursor.cur", "res/HandNoFingersCursor.cur"}) {
        SCOPED_TRACE(key);
        const Cursor c = ReadCursor(Generated().at(key));
        ASSERT_EQ(c.argb.size(), 1024u);
        int opaque = 0, nearHot = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const std::uint32_t p = c.argb[static_cast<std::size_t>(y) * 32 + x];
                const bool solid = (p >> 24) >= 128;
                opaque += solid;
                EXPECT_EQ(c.transparent[static_cast<std::size_t>(y) * 32 + x], !solid) << x << "," << y;
                if (solid && std::abs(x - c.hotX) <= 1 && std::abs(y - c.hotY) <= 1) ++nearHot;
                if ((p >> 24) == 0) {
                    EXPECT_EQ(p, 0u) << "nothing to XOR where the cursor is clear";
                }
            }
        EXPECT_GT(opaque, 150);
        EXPECT_GT(nearHot, 0) << "the hotspot touches the hand";
    }
}

TEST(Cursors, OnlyThePointingHandStretchesAFinger) {
    auto highest = [](const Cursor& c) {
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if ((c.argb[static_cast<std::size_t>(y) * 32 + x] >> 24) >= 128) return y;
        return 32;
    };
    const Cursor point = ReadCursor(Generated().at("res/HandCursor.cur"));
    const Cursor fist = ReadCursor(Generated().at("res/HandNoFingersCursor.cur"));
    EXPECT_LE(highest(point), 1);
    EXPECT_GE(highest(fist), 6);
    EXPECT_EQ(point.hotY, highest(point));
}

TEST(Icon, EverySizeWithAlphaAndMask) {
    const std::string& b = Generated().at("res/slumra.ico");
    ASSERT_GE(b.size(), 6u);
    EXPECT_EQ(U16(b, 0), 0u);
    EXPECT_EQ(U16(b, 2), 1u) << "icon";
    const std::uint32_t count = U16(b, 4);
    std::set<int> sizes;
    std::size_t expectedOffset = 6 + 16 * count;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + 16 * i;
        const int size =
            static_cast<unsigned char>(b[entry]) == 0 ? 256 : static_cast<unsigned char>(b[entry]);
        SCOPED_TRACE(size);
        sizes.insert(size);
        EXPECT_EQ(b[entry + 1], b[entry]) << "square";
        EXPECT_EQ(U16(b, entry + 4), 1u) << "planes";
        EXPECT_EQ(U16(b, entry + 6), 32u) << "bits";
        const std::uint32_t bytes = U32(b, entry + 8), offset = U32(b, entry + 12);
        EXPECT_EQ(offset, expectedOffset) << "images follow one another";
        expectedOffset += bytes;
        const std::size_t maskStride = (static_cast<std::size_t>(size) + 31) / 32 * 4;
        ASSERT_EQ(bytes, 40 + 4u * size * size + maskStride * size);
        ASSERT_LE(offset + bytes, b.size());
        EXPECT_EQ(I32(b, offset + 4), size);
        EXPECT_EQ(I32(b, offset + 8), 2 * size);
        // Round: clear in the corners, solid in the middle (rows are bottom-up).
        auto alpha = [&](int x, int y) {
            return static_cast<unsigned char>(b[offset + 40 + 4 * ((size - 1 - y) * size + x) + 3]);
        };
        EXPECT_EQ(alpha(0, 0), 0);
        EXPECT_EQ(alpha(size - 1, size - 1), 0);
        EXPECT_EQ(alpha(size / 2, size / 2), 255);
        auto masked = [&](int x, int y) {
            return (static_cast<unsigned char>(
                        b[offset + 40 + 4u * size * size + maskStride * (size - 1 - y) + x / 8]) >>
                    (7 - x % 8)) &
                   1;
        };
        EXPECT_EQ(masked(0, 0), 1);
        EXPECT_EQ(masked(size / 2, size / 2), 0);
    }
    EXPECT_EQ(expectedOffset, b.size());
    EXPECT_EQ(sizes, (std::set<int>{16, 24, 32, 48, 64, 256}));
}

}  // namespace
}  // namespace slumra::art::test

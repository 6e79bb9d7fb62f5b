// The program's two fixed palettes: the 16 standard colours and the 256-colour "halftone" table
// used on palette displays. The resource bitmaps PAL16 and PAL256 carry exactly these tables,
// and the 256-colour versions of the splash and about pictures are dithered to PAL256.
#pragma once

#include <array>
#include <cstdint>

namespace slumra::palettes {

struct Entry {
    std::uint8_t r, g, b;
    constexpr bool operator==(const Entry&) const = default;
};

// The sixteen standard colours in their usual order.
inline constexpr std::array<Entry, 16> kPal16 = {{
    {0, 0, 0},
    {128, 0, 0},
    {0, 128, 0},
    {128, 128, 0},
    {0, 0, 128},
    {128, 0, 128},
    {0, 128, 128},
    {128, 128, 128},
    {192, 192, 192},
    {255, 0, 0},
    {0, 255, 0},
    {255, 255, 0},
    {0, 0, 255},
    {255, 0, 255},
    {0, 255, 255},
    {255, 255, 255},
}};

namespace detail {

inline constexpr std::array<std::uint8_t, 7> kRed = {0, 42, 85, 127, 170, 212, 255};
inline constexpr std::array<std::uint8_t, 9> kGreen = {0, 31, 63, 95, 127, 159, 191, 223, 255};
inline constexpr std::array<std::uint8_t, 4> kBlue = {0, 85, 170, 255};

// Grid colours left out of the spread (16 of the 252), so that 236 remain:
// - the eight that repeat a fixed entry exactly (black, white and the six pure primaries and
//   secondaries at 255);
// - three that are a step away from a fixed entry: (127,0,0), (0,127,0), (127,127,0) against
//   the 128-level dark colours, (170,159,170) against (160,160,164), (170,191,255) against
//   (166,202,240);
// - three that are all but black: (0,31,0), (42,0,0), (42,31,0).
inline constexpr std::array<Entry, 16> kLeftOut = {{
    {0, 0, 0},
    {255, 0, 0},
    {0, 255, 0},
    {255, 255, 0},
    {0, 0, 255},
    {255, 0, 255},
    {0, 255, 255},
    {255, 255, 255},
    {127, 0, 0},
    {0, 127, 0},
    {127, 127, 0},
    {170, 159, 170},
    {170, 191, 255},
    {0, 31, 0},
    {42, 0, 0},
    {42, 31, 0},
}};

constexpr bool LeftOut(Entry e) {
    for (const Entry& l : kLeftOut)
        if (l == e) return true;
    return false;
}

}  // namespace detail

// The 256-colour table:
//   0..9     the first static colours: the eight dark standard colours, (192,220,192) and
//            (166,202,240);
//   10..245  the spread: every red level 0,42,85,127,170,212,255 (outer loop), green level
//            0,31,...,255 (middle), blue level 0,85,170,255 (inner), minus detail::kLeftOut;
//   246..255 the last static colours: (255,251,240), (160,160,164), (128,128,128) and the
//            seven bright standard colours.
constexpr std::array<Entry, 256> MakePal256() {
    std::array<Entry, 256> t{};
    constexpr Entry first[10] = {{0, 0, 0},       {128, 0, 0},    {0, 128, 0},   {128, 128, 0},
                                 {0, 0, 128},     {128, 0, 128},  {0, 128, 128}, {128, 128, 128},
                                 {192, 220, 192}, {166, 202, 240}};
    constexpr Entry last[10] = {{255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},
                                {0, 255, 0},     {255, 255, 0},   {0, 0, 255},     {255, 0, 255},
                                {0, 255, 255},   {255, 255, 255}};
    std::size_t n = 0;
    for (const Entry& e : first) t[n++] = e;
    for (std::uint8_t r : detail::kRed)
        for (std::uint8_t g : detail::kGreen)
            for (std::uint8_t b : detail::kBlue)
                if (!detail::LeftOut({r, g, b})) t[n++] = {r, g, b};
    for (const Entry& e : last) t[n++] = e;
    return t;
}

inline constexpr std::array<Entry, 256> kPal256 = MakePal256();
// The spread fills 10..245 exactly: one entry more or less would shift the last static colours.
static_assert(kPal256[245] == Entry{255, 255, 170} && kPal256[246] == Entry{255, 251, 240});

}  // namespace slumra::palettes

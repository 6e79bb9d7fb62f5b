#include "imaging/ColorReduce.h"

#include <algorithm>
#include <new>
#include <utility>

namespace slumra {

namespace {

constexpr int kCellBits = 5;
constexpr unsigned kCellsPerAxis = 1u << kCellBits;
constexpr unsigned kCellCount = kCellsPerAxis * kCellsPerAxis * kCellsPerAxis;
constexpr int kCellShift = 8 - kCellBits;
constexpr int kCellSide = 1 << kCellShift;
constexpr int kBlockBits = 3;  // blocks of 4 x 4 x 4 cells
constexpr int kBlockShift = 8 - kBlockBits;
constexpr int kBlockSide = 1 << kBlockShift;

unsigned CellOf(Rgb c) {
    return (unsigned(c.R >> kCellShift) << (2 * kCellBits)) | (unsigned(c.G >> kCellShift) << kCellBits) |
           unsigned(c.B >> kCellShift);
}

std::uint32_t KeyOf(Rgb c) {
    return (std::uint32_t(c.R) << 16) | (std::uint32_t(c.G) << 8) | c.B;
}

Rgb ColourOfKey(std::uint32_t key) {
    return Rgb{static_cast<std::uint8_t>(key >> 16), static_cast<std::uint8_t>(key >> 8),
               static_cast<std::uint8_t>(key)};
}

int Square(int v) {
    return v * v;
}

int Distance(Rgb a, Rgb b) {
    return Square(a.R - b.R) + Square(a.G - b.G) + Square(a.B - b.B);
}

// Least and greatest squared distance from v to the values lo..lo + side - 1.
int NearestOnAxis(int v, int lo, int side) {
    if (v < lo) return Square(lo - v);
    if (v >= lo + side) return Square(v - (lo + side - 1));
    return 0;
}
int FarthestOnAxis(int v, int lo, int side) {
    return Square(std::max(v - lo, lo + side - 1 - v));
}

// The entries of `from` that can be nearest to some colour of the box lo..lo + side - 1: those
// whose least distance to the box is within the smallest greatest distance of any entry. An
// entry beyond that is farther from every colour of the box than the entry that sets the bound.
// Narrowing a box only narrows this set, so a cell's candidates are found among its block's.
template <typename Take>
void BoxCandidates(const std::vector<Rgb>& palette, const std::uint8_t* from, std::size_t count,
                   const int lo[3], int side, Take&& take) {
    int bound = 0x7FFFFFFF;
    for (std::size_t i = 0; i < count; ++i) {
        const Rgb p = palette[from[i]];
        bound = std::min(bound, FarthestOnAxis(p.R, lo[0], side) + FarthestOnAxis(p.G, lo[1], side) +
                                    FarthestOnAxis(p.B, lo[2], side));
    }
    for (std::size_t i = 0; i < count; ++i) {
        const Rgb p = palette[from[i]];
        const int least = NearestOnAxis(p.R, lo[0], side) + NearestOnAxis(p.G, lo[1], side) +
                          NearestOnAxis(p.B, lo[2], side);
        if (least <= bound) take(from[i], least);
    }
}

std::uint8_t Clamp255(int v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
}

bool ValidBitsPerPixel(int bits) {
    return bits == 4 || bits == 8;
}

void MapPlain(const RgbImage& image, PaletteMatcher& matcher, IndexedImage& out) {
    const std::uint8_t* src = image.Pixels.data();
    for (std::uint8_t& index : out.Indices) {
        index = matcher.Nearest(Rgb{src[0], src[1], src[2]});
        src += 3;
    }
}

// Floyd-Steinberg error diffusion, in serpentine order (every other line right to left) so
// that the error does not drift to one side. Errors are kept in sixteenths: 7 go to the next
// pixel on the line, 3, 5 and 1 to the three below it.
void MapDithered(const RgbImage& image, PaletteMatcher& matcher, IndexedImage& out) {
    const int width = image.Width;
    const std::size_t rowLength = (std::size_t(width) + 2) * 3;  // one spare pixel at each end
    std::vector<int> fromAbove(rowLength, 0);
    std::vector<int> toBelow(rowLength, 0);
    const std::vector<Rgb>& palette = matcher.Palette();

    for (int y = 0; y < image.Height; ++y) {
        const bool leftToRight = (y & 1) == 0;
        const int step = leftToRight ? 3 : -3;
        const std::uint8_t* srcRow = image.Pixels.data() + std::size_t(y) * std::size_t(width) * 3;
        std::uint8_t* dstRow = out.Indices.data() + std::size_t(y) * std::size_t(width);
        int ahead[3] = {0, 0, 0};
        for (int i = 0; i < width; ++i) {
            const int x = leftToRight ? i : width - 1 - i;
            const std::uint8_t* src = srcRow + std::size_t(x) * 3;
            const int* above = &fromAbove[(std::size_t(x) + 1) * 3];
            int* below = &toBelow[(std::size_t(x) + 1) * 3];
            // The wanted colour is clamped, so the error stays bounded even where the palette
            // cannot reach the image's colours.
            const Rgb want{Clamp255(src[0] + ((above[0] + ahead[0] + 8) >> 4)),
                           Clamp255(src[1] + ((above[1] + ahead[1] + 8) >> 4)),
                           Clamp255(src[2] + ((above[2] + ahead[2] + 8) >> 4))};
            const std::uint8_t index = matcher.Nearest(want);
            dstRow[x] = index;
            const Rgb got = palette[index];
            const int error[3] = {want.R - got.R, want.G - got.G, want.B - got.B};
            for (int c = 0; c < 3; ++c) {
                ahead[c] = error[c] * 7;
                below[c - step] += error[c] * 3;
                below[c] += error[c] * 5;
                below[c + step] += error[c];
            }
        }
        std::swap(fromAbove, toBelow);
        std::fill(toBelow.begin(), toBelow.end(), 0);
    }
}

// Optimal palettes are cut from the distinct colours of the picture with their pixel counts.
// Pictures above this many pixels are sampled evenly instead, to bound the memory it takes.
constexpr std::size_t kMaxSampledPixels = std::size_t{1} << 22;

struct ColourCount {
    std::uint32_t Key;
    std::uint32_t Count;
};

int Channel(std::uint32_t key, int channel) {
    return int((key >> (16 - 8 * channel)) & 0xFF);
}

// Sorts by one byte of the key, stably, using `spare` (at least as long) as room.
template <typename T, typename KeyOfElement>
void SortByByte(T* first, T* last, T* spare, KeyOfElement&& byteOf) {
    std::size_t start[257] = {};
    for (T* e = first; e != last; ++e) ++start[byteOf(*e) + 1];
    for (int b = 0; b < 256; ++b) start[b + 1] += start[b];
    for (T* e = first; e != last; ++e) spare[start[byteOf(*e)]++] = *e;
    std::copy(spare, spare + (last - first), first);
}

// The distinct colours of the picture (or of an even sample of it), sorted by key.
std::vector<ColourCount> CountColours(const RgbImage& image) {
    const std::size_t pixels = image.Pixels.size() / 3;
    const std::size_t step = (pixels + kMaxSampledPixels - 1) / kMaxSampledPixels;
    std::vector<std::uint32_t> keys;
    keys.reserve(pixels / step + 1);
    for (std::size_t i = 0; i < pixels; i += step) {
        const std::uint8_t* p = &image.Pixels[i * 3];
        keys.push_back(KeyOf(Rgb{p[0], p[1], p[2]}));
    }
    std::vector<std::uint32_t> spare(keys.size());
    for (int shift = 0; shift < 24; shift += 8) {
        SortByByte(keys.data(), keys.data() + keys.size(), spare.data(),
                   [shift](std::uint32_t key) { return (key >> shift) & 0xFF; });
    }
    std::vector<ColourCount> colours;
    for (std::uint32_t key : keys) {
        if (colours.empty() || colours.back().Key != key) {
            colours.push_back(ColourCount{key, 1});
        } else {
            ++colours.back().Count;
        }
    }
    return colours;
}

// Whether every pixel has one of the colours (sorted by key).
bool AllPixelsAmong(const RgbImage& image, const std::vector<ColourCount>& colours) {
    for (std::size_t i = 0; i < image.Pixels.size(); i += 3) {
        const std::uint32_t key = KeyOf(Rgb{image.Pixels[i], image.Pixels[i + 1], image.Pixels[i + 2]});
        const auto at = std::lower_bound(colours.begin(), colours.end(), key,
                                         [](const ColourCount& c, std::uint32_t k) { return c.Key < k; });
        if (at == colours.end() || at->Key != key) return false;
    }
    return true;
}

// A box of median cut: a range of the colour list, with its pixel count, the sums of its
// channel values and of their squares, and per channel the sum of squared deviations.
struct Box {
    std::size_t Begin = 0;
    std::size_t End = 0;
    double Count = 0;
    double Sum[3] = {0, 0, 0};
    double Squares[3] = {0, 0, 0};
    double Spread[3] = {0, 0, 0};
    double TotalSpread = 0;
};

void UpdateSpread(Box& box) {
    box.TotalSpread = 0;
    for (int k = 0; k < 3; ++k) {
        const double spread = box.Squares[k] - box.Sum[k] * box.Sum[k] / box.Count;
        box.Spread[k] = box.Count > 0 ? std::max(0.0, spread) : 0.0;
        box.TotalSpread += box.Spread[k];
    }
}

void Measure(const std::vector<ColourCount>& colours, Box& box) {
    box.Count = 0;
    for (int k = 0; k < 3; ++k) box.Sum[k] = box.Squares[k] = 0;
    for (std::size_t i = box.Begin; i < box.End; ++i) {
        const double n = colours[i].Count;
        box.Count += n;
        for (int k = 0; k < 3; ++k) {
            const double v = Channel(colours[i].Key, k);
            box.Sum[k] += n * v;
            box.Squares[k] += n * v * v;
        }
    }
    UpdateSpread(box);
}

// Splits the box at the pixel median of its widest-spread channel; both halves keep at least
// one colour. False when the box holds a single colour.
bool Split(std::vector<ColourCount>& colours, std::vector<ColourCount>& spare, Box& box, Box& other) {
    if (box.End - box.Begin < 2) return false;
    int axis = 0;
    for (int k = 1; k < 3; ++k) {
        if (box.Spread[k] > box.Spread[axis]) axis = k;
    }
    SortByByte(colours.data() + box.Begin, colours.data() + box.End, spare.data(),
               [axis](const ColourCount& c) { return unsigned(Channel(c.Key, axis)); });
    std::size_t cut = box.Begin;
    double below = 0;
    while (cut < box.End - 1 && 2 * (below + colours[cut].Count) <= box.Count) below += colours[cut++].Count;
    cut = std::max(cut, box.Begin + 1);

    // Only the smaller half is measured; the other is what remains of the box.
    const Box whole = box;
    other = box;
    box.End = cut;
    other.Begin = cut;
    Box& measured = cut - whole.Begin <= whole.End - cut ? box : other;
    Box& rest = &measured == &box ? other : box;
    Measure(colours, measured);
    rest.Count = whole.Count - measured.Count;
    for (int k = 0; k < 3; ++k) {
        rest.Sum[k] = whole.Sum[k] - measured.Sum[k];
        rest.Squares[k] = whole.Squares[k] - measured.Squares[k];
    }
    UpdateSpread(rest);
    return true;
}

}  // namespace

PaletteMatcher::PaletteMatcher(std::vector<Rgb> palette)
    : palette_(std::move(palette)),
      blocks_(std::size_t{1} << (3 * kBlockBits)),
      blockBuilt_(std::size_t{1} << (3 * kBlockBits), false),
      cellStart_(kCellCount, kNotBuilt),
      cellCount_(kCellCount, 0) {
    if (palette_.empty()) palette_.push_back(Rgb{});
    if (palette_.size() > 256) palette_.resize(256);
}

const std::vector<std::uint8_t>& PaletteMatcher::BlockCandidates(unsigned block) {
    std::vector<std::uint8_t>& list = blocks_[block];
    if (blockBuilt_[block]) return list;
    std::vector<std::uint8_t> all(palette_.size());
    for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<std::uint8_t>(i);
    const unsigned mask = (1u << kBlockBits) - 1;
    const int lo[3] = {int((block >> (2 * kBlockBits)) & mask) << kBlockShift,
                       int((block >> kBlockBits) & mask) << kBlockShift, int(block & mask) << kBlockShift};
    BoxCandidates(palette_, all.data(), all.size(), lo, kBlockSide,
                  [&](std::uint8_t index, int) { list.push_back(index); });
    blockBuilt_[block] = true;
    return list;
}

void PaletteMatcher::BuildCell(unsigned cell) {
    const unsigned mask = kCellsPerAxis - 1;
    const unsigned r = (cell >> (2 * kCellBits)) & mask;
    const unsigned g = (cell >> kCellBits) & mask;
    const unsigned b = cell & mask;
    const int down = kCellBits - kBlockBits;
    const unsigned block = ((r >> down) << (2 * kBlockBits)) | ((g >> down) << kBlockBits) | (b >> down);
    const std::vector<std::uint8_t>& from = BlockCandidates(block);

    const int lo[3] = {int(r) << kCellShift, int(g) << kCellShift, int(b) << kCellShift};
    const std::size_t start = candidates_.size();
    BoxCandidates(palette_, from.data(), from.size(), lo, kCellSide, [&](std::uint8_t index, int least) {
        candidates_.push_back(Candidate{static_cast<std::uint32_t>(least), index});
    });
    // Nearest first, so that a lookup can stop at the first entry too far away to win.
    std::sort(candidates_.begin() + std::ptrdiff_t(start), candidates_.end(), [](Candidate x, Candidate y) {
        return x.LeastDistance < y.LeastDistance || (x.LeastDistance == y.LeastDistance && x.Index < y.Index);
    });
    cellStart_[cell] = static_cast<std::uint32_t>(start);
    cellCount_[cell] = static_cast<std::uint16_t>(candidates_.size() - start);
}

std::uint8_t PaletteMatcher::Nearest(Rgb c) {
    const std::uint32_t key = KeyOf(c);
    if (key == lastKey_) return lastIndex_;
    const unsigned cell = CellOf(c);
    if (cellStart_[cell] == kNotBuilt) BuildCell(cell);
    const Candidate* candidate = candidates_.data() + cellStart_[cell];
    const Candidate* end = candidate + cellCount_[cell];
    std::uint32_t best = candidate->Index;
    std::uint32_t bestDistance = static_cast<std::uint32_t>(Distance(c, palette_[best]));
    for (++candidate; candidate != end && candidate->LeastDistance <= bestDistance; ++candidate) {
        const auto d = static_cast<std::uint32_t>(Distance(c, palette_[candidate->Index]));
        if (d < bestDistance || (d == bestDistance && candidate->Index < best)) {
            bestDistance = d;
            best = candidate->Index;
        }
    }
    lastKey_ = key;
    lastIndex_ = static_cast<std::uint8_t>(best);
    return lastIndex_;
}

bool ReduceToPalette(const RgbImage& image, const std::vector<Rgb>& palette, int bitsPerPixel,
                     Dithering dithering, IndexedImage& out) {
    out = IndexedImage{};
    if (!image.IsValid() || !ValidBitsPerPixel(bitsPerPixel)) return false;
    if (palette.empty() || palette.size() > (std::size_t{1} << bitsPerPixel)) return false;
    try {
        PaletteMatcher matcher(palette);
        out.Width = image.Width;
        out.Height = image.Height;
        out.BitsPerPixel = bitsPerPixel;
        out.Palette = palette;
        out.Indices.resize(std::size_t(image.Width) * std::size_t(image.Height));
        if (dithering == Dithering::FloydSteinberg) {
            MapDithered(image, matcher, out);
        } else {
            MapPlain(image, matcher, out);
        }
        return true;
    } catch (const std::bad_alloc&) {
        out = IndexedImage{};
        return false;
    }
}

std::vector<Rgb> OptimalPalette(const RgbImage& image, int maxColors) {
    if (!image.IsValid() || image.Pixels.empty() || maxColors < 1) return {};
    const std::size_t limit = std::size_t(std::min(maxColors, 256));
    std::vector<ColourCount> colours = CountColours(image);

    std::vector<Rgb> palette;
    if (colours.size() <= limit &&
        (image.Pixels.size() / 3 <= kMaxSampledPixels || AllPixelsAmong(image, colours))) {
        for (const ColourCount& c : colours) palette.push_back(ColourOfKey(c.Key));
        return palette;
    }

    std::vector<ColourCount> spare(colours.size());
    std::vector<Box> boxes(1);
    boxes[0].End = colours.size();
    Measure(colours, boxes[0]);
    while (boxes.size() < limit) {
        // Split the box whose pixels lie farthest from its mean.
        auto widest = std::max_element(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) {
            return a.TotalSpread < b.TotalSpread;
        });
        Box other;
        if (widest->TotalSpread <= 0 || !Split(colours, spare, *widest, other)) break;
        boxes.push_back(other);
    }
    for (const Box& box : boxes) {
        palette.push_back(Rgb{Clamp255(int(box.Sum[0] / box.Count + 0.5)),
                              Clamp255(int(box.Sum[1] / box.Count + 0.5)),
                              Clamp255(int(box.Sum[2] / box.Count + 0.5))});
    }
    return palette;
}

bool ReduceToOptimalPalette(const RgbImage& image, int bitsPerPixel, Dithering dithering, IndexedImage& out) {
    out = IndexedImage{};
    if (!image.IsValid() || !ValidBitsPerPixel(bitsPerPixel)) return false;
    std::vector<Rgb> palette;
    try {
        palette = OptimalPalette(image, 1 << bitsPerPixel);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (palette.empty()) palette.push_back(Rgb{});  // an empty picture still gets a palette
    return ReduceToPalette(image, palette, bitsPerPixel, dithering, out);
}

RgbImage ExpandToRgb(const IndexedImage& image) {
    RgbImage out;
    if (!image.IsValid()) return out;
    out.Width = image.Width;
    out.Height = image.Height;
    out.Pixels.resize(image.Indices.size() * 3);
    std::uint8_t* dst = out.Pixels.data();
    for (std::uint8_t index : image.Indices) {
        const Rgb c = index < image.Palette.size() ? image.Palette[index] : Rgb{};
        *dst++ = c.R;
        *dst++ = c.G;
        *dst++ = c.B;
    }
    return out;
}

}  // namespace slumra

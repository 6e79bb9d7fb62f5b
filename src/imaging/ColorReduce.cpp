#include "imaging/ColorReduce.h"

#include <algorithm>
#include <array>
#include <new>
#include <unordered_set>
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

std::uint32_t KeyOf(Rgb c) { return (std::uint32_t(c.R) << 16) | (std::uint32_t(c.G) << 8) | c.B; }

Rgb ColourOfKey(std::uint32_t key) {
    return Rgb{static_cast<std::uint8_t>(key >> 16), static_cast<std::uint8_t>(key >> 8),
               static_cast<std::uint8_t>(key)};
}

int Square(int v) { return v * v; }

int Distance(Rgb a, Rgb b) { return Square(a.R - b.R) + Square(a.G - b.G) + Square(a.B - b.B); }

// Least and greatest squared distance from v to the values lo..lo + side - 1.
int NearestOnAxis(int v, int lo, int side) {
    if (v < lo) return Square(lo - v);
    if (v >= lo + side) return Square(v - (lo + side - 1));
    return 0;
}
int FarthestOnAxis(int v, int lo, int side) { return Square(std::max(v - lo, lo + side - 1 - v)); }

// The entries of `from` that can be nearest to some colour of the box lo..lo + side - 1: those
// whose least distance to the box is within the smallest greatest distance of any entry. An
// entry beyond that is farther from every colour of the box than the entry that sets the bound.
// Narrowing a box only narrows this set, so a cell's candidates are found among its block's.
template <typename Take>
void BoxCandidates(const std::vector<Rgb>& palette, const std::uint8_t* from, std::size_t count, const int lo[3],
                   int side, Take&& take) {
    int bound = 0x7FFFFFFF;
    for (std::size_t i = 0; i < count; ++i) {
        const Rgb p = palette[from[i]];
        bound = std::min(bound, FarthestOnAxis(p.R, lo[0], side) + FarthestOnAxis(p.G, lo[1], side) +
                                    FarthestOnAxis(p.B, lo[2], side));
    }
    for (std::size_t i = 0; i < count; ++i) {
        const Rgb p = palette[from[i]];
        const int least =
            NearestOnAxis(p.R, lo[0], side) + NearestOnAxis(p.G, lo[1], side) + NearestOnAxis(p.B, lo[2], side);
        if (least <= bound) take(from[i], least);
    }
}

std::uint8_t Clamp255(int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); }

bool ValidBitsPerPixel(int bits) { return bits == 4 || bits == 8; }

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

// The colour cube in cells of 8 x 8 x 8 with the pixel count and colour sums of every cell.
struct Histogram {
    struct Cell {
        std::uint64_t Count = 0;
        std::uint64_t Sum[3] = {0, 0, 0};
    };
    std::vector<Cell> Cells = std::vector<Cell>(kCellCount);

    const Cell& At(const int c[3]) const {
        return Cells[(unsigned(c[0]) << (2 * kCellBits)) | (unsigned(c[1]) << kCellBits) | unsigned(c[2])];
    }
};

// A box of cells for median cut, bounds inclusive and tight around its filled cells.
struct Box {
    int Lo[3] = {0, 0, 0};
    int Hi[3] = {kCellsPerAxis - 1, kCellsPerAxis - 1, kCellsPerAxis - 1};
    std::uint64_t Count = 0;
    double Sum[3] = {0, 0, 0};
    double Spread[3] = {0, 0, 0};  // per channel: the sum of squared deviations of the cells
    double TotalSpread = 0;
};

template <typename Visit>
void ForEachCell(const Box& box, Visit&& visit) {
    int c[3];
    for (c[0] = box.Lo[0]; c[0] <= box.Hi[0]; ++c[0])
        for (c[1] = box.Lo[1]; c[1] <= box.Hi[1]; ++c[1])
            for (c[2] = box.Lo[2]; c[2] <= box.Hi[2]; ++c[2]) visit(c);
}

// Shrinks the box to its filled cells and measures it; cells are weighed at their mean colour.
void Measure(const Histogram& histogram, Box& box) {
    int lo[3] = {kCellsPerAxis, kCellsPerAxis, kCellsPerAxis};
    int hi[3] = {-1, -1, -1};
    double sum[3] = {0, 0, 0};
    double squares[3] = {0, 0, 0};
    std::uint64_t count = 0;
    ForEachCell(box, [&](const int c[3]) {
        const Histogram::Cell& cell = histogram.At(c);
        if (cell.Count == 0) return;
        count += cell.Count;
        for (int k = 0; k < 3; ++k) {
            lo[k] = std::min(lo[k], c[k]);
            hi[k] = std::max(hi[k], c[k]);
            const double s = double(cell.Sum[k]);
            sum[k] += s;
            squares[k] += s * s / double(cell.Count);
        }
    });
    box.Count = count;
    box.TotalSpread = 0;
    for (int k = 0; k < 3; ++k) {
        box.Lo[k] = count == 0 ? 0 : lo[k];
        box.Hi[k] = count == 0 ? 0 : hi[k];
        box.Sum[k] = sum[k];
        box.Spread[k] = count == 0 ? 0 : std::max(0.0, squares[k] - sum[k] * sum[k] / double(count));
        box.TotalSpread += box.Spread[k];
    }
}

// Splits the box at the median of its widest-spread channel; false when it is a single cell.
bool Split(const Histogram& histogram, Box& box, Box& other) {
    int axis = -1;
    for (int k = 0; k < 3; ++k) {
        if (box.Hi[k] > box.Lo[k] && (axis < 0 || box.Spread[k] > box.Spread[axis])) axis = k;
    }
    if (axis < 0) return false;

    std::vector<std::uint64_t> slices(std::size_t(box.Hi[axis] - box.Lo[axis] + 1), 0);
    ForEachCell(box, [&](const int c[3]) { slices[std::size_t(c[axis] - box.Lo[axis])] += histogram.At(c).Count; });
    std::uint64_t below = 0;
    int cut = box.Lo[axis];
    for (;; ++cut) {
        below += slices[std::size_t(cut - box.Lo[axis])];
        if (2 * below >= box.Count) break;
    }
    // Both halves keep at least one filled slice: the box is tight, so its last slice is filled.
    cut = std::min(cut, box.Hi[axis] - 1);

    other = box;
    box.Hi[axis] = cut;
    other.Lo[axis] = cut + 1;
    Measure(histogram, box);
    Measure(histogram, other);
    return true;
}

// The image's distinct colours, sorted, or nothing when there are more than `limit`.
std::vector<std::uint32_t> FewColours(const RgbImage& image, std::size_t limit) {
    std::unordered_set<std::uint32_t> seen;
    std::uint32_t last = 0xFFFFFFFF;
    for (std::size_t i = 0; i < image.Pixels.size(); i += 3) {
        const std::uint32_t key = KeyOf(Rgb{image.Pixels[i], image.Pixels[i + 1], image.Pixels[i + 2]});
        if (key == last) continue;
        last = key;
        seen.insert(key);
        if (seen.size() > limit) return {};
    }
    std::vector<std::uint32_t> keys(seen.begin(), seen.end());
    std::sort(keys.begin(), keys.end());
    return keys;
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
    BoxCandidates(palette_, all.data(), all.size(), lo, kBlockSide, [&](std::uint8_t index, int) {
        list.push_back(index);
    });
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

    const std::vector<std::uint32_t> few = FewColours(image, limit);
    if (!few.empty()) {
        std::vector<Rgb> palette;
        palette.reserve(few.size());
        for (std::uint32_t key : few) palette.push_back(ColourOfKey(key));
        return palette;
    }

    Histogram histogram;
    for (std::size_t i = 0; i < image.Pixels.size(); i += 3) {
        const Rgb c{image.Pixels[i], image.Pixels[i + 1], image.Pixels[i + 2]};
        Histogram::Cell& cell = histogram.Cells[CellOf(c)];
        ++cell.Count;
        cell.Sum[0] += c.R;
        cell.Sum[1] += c.G;
        cell.Sum[2] += c.B;
    }

    std::vector<Box> boxes(1);
    Measure(histogram, boxes[0]);
    while (boxes.size() < limit) {
        // Split the box whose colours lie farthest from their mean.
        auto widest = std::max_element(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) {
            return a.TotalSpread < b.TotalSpread;
        });
        if (widest->TotalSpread <= 0) break;
        Box other;
        if (!Split(histogram, *widest, other)) {
            widest->TotalSpread = 0;  // a single cell: nothing left to split here
            continue;
        }
        boxes.push_back(other);
    }

    std::vector<Rgb> palette;
    palette.reserve(boxes.size());
    for (const Box& box : boxes) {
        const double n = double(box.Count);
        palette.push_back(Rgb{Clamp255(int(box.Sum[0] / n + 0.5)), Clamp255(int(box.Sum[1] / n + 0.5)),
                              Clamp255(int(box.Sum[2] / n + 0.5))});
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

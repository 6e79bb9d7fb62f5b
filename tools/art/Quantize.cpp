#include "Quantize.h"

#include <algorithm>
#include <array>
#include <map>

namespace slumra::art {

namespace {

struct Bin {
    std::array<int, 3> c;
    double n;
};

struct Box {
    std::size_t lo, hi;  // bins [lo, hi)
    double error = 0;    // weighted squared distance to the mean, summed
    int axis = 0;        // channel with the widest spread
};

void Measure(const std::vector<Bin>& bins, Box& box) {
    std::array<double, 3> sum{}, sq{};
    double n = 0;
    for (std::size_t i = box.lo; i < box.hi; ++i) {
        for (int k = 0; k < 3; ++k) {
            sum[k] += bins[i].c[k] * bins[i].n;
            sq[k] += static_cast<double>(bins[i].c[k]) * bins[i].c[k] * bins[i].n;
        }
        n += bins[i].n;
    }
    box.error = 0;
    double widest = -1;
    for (int k = 0; k < 3; ++k) {
        const double var = sq[k] - sum[k] * sum[k] / n;
        box.error += var;
        if (var > widest) {
            widest = var;
            box.axis = k;
        }
    }
}

Rgb8 Mean(const std::vector<Bin>& bins, std::size_t lo, std::size_t hi) {
    std::array<double, 3> sum{};
    double n = 0;
    for (std::size_t i = lo; i < hi; ++i) {
        for (int k = 0; k < 3; ++k) sum[k] += bins[i].c[k] * bins[i].n;
        n += bins[i].n;
    }
    auto ch = [&](int k) {
        return static_cast<std::uint8_t>(std::clamp(static_cast<int>(sum[k] / n + 0.5), 0, 255));
    };
    return {ch(0), ch(1), ch(2)};
}

int Distance(const std::array<int, 3>& a, const Rgb8& b) {
    const int dr = a[0] - b.r, dg = a[1] - b.g, db = a[2] - b.b;
    return dr * dr + dg * dg + db * db;
}

}  // namespace

Palette MedianCut(const std::vector<Rgb8>& pixels, int colours, const Palette& fixed) {
    std::map<std::uint32_t, double> histogram;  // ordered: the result never depends on hashing
    for (const Rgb8& p : pixels) histogram[(std::uint32_t{p.r} << 16) | (std::uint32_t{p.g} << 8) | p.b] += 1;
    std::vector<Bin> bins;
    bins.reserve(histogram.size());
    for (const auto& [key, n] : histogram)
        bins.push_back(
            {{static_cast<int>(key >> 16), static_cast<int>((key >> 8) & 255), static_cast<int>(key & 255)},
             n});

    const auto wanted = static_cast<std::size_t>(std::max<int>(1, colours - static_cast<int>(fixed.size())));
    std::vector<Box> boxes{{0, bins.size()}};
    Measure(bins, boxes[0]);
    while (boxes.size() < wanted) {
        std::size_t pick = boxes.size();
        for (std::size_t i = 0; i < boxes.size(); ++i)
            if (boxes[i].hi - boxes[i].lo > 1 && boxes[i].error > 0 &&
                (pick == boxes.size() || boxes[i].error > boxes[pick].error))
                pick = i;
        if (pick == boxes.size()) break;
        Box box = boxes[pick];
        const int axis = box.axis;
        std::sort(bins.begin() + static_cast<std::ptrdiff_t>(box.lo),
                  bins.begin() + static_cast<std::ptrdiff_t>(box.hi), [axis](const Bin& a, const Bin& b) {
                      return a.c[axis] != b.c[axis] ? a.c[axis] < b.c[axis] : a.c < b.c;
                  });
        double total = 0;
        for (std::size_t i = box.lo; i < box.hi; ++i) total += bins[i].n;
        std::size_t mid = box.lo;
        for (double run = 0; mid < box.hi - 1 && run + bins[mid].n <= total / 2; ++mid) run += bins[mid].n;
        mid = std::clamp(mid, box.lo + 1, box.hi - 1);
        Box a{box.lo, mid}, b{mid, box.hi};
        Measure(bins, a);
        Measure(bins, b);
        boxes[pick] = a;
        boxes.push_back(b);
    }

    Palette palette = fixed;
    for (const Box& box : boxes) palette.push_back(Mean(bins, box.lo, box.hi));

    // k-means: move every free entry to the mean of the colours nearest to it.
    for (int pass = 0; pass < 4; ++pass) {
        std::vector<std::array<double, 4>> acc(palette.size(), {0, 0, 0, 0});
        for (const Bin& bin : bins) {
            std::size_t best = 0;
            int bestD = Distance(bin.c, palette[0]);
            for (std::size_t i = 1; i < palette.size(); ++i) {
                const int d = Distance(bin.c, palette[i]);
                if (d < bestD) {
                    bestD = d;
                    best = i;
                }
            }
            for (int k = 0; k < 3; ++k) acc[best][k] += bin.c[k] * bin.n;
            acc[best][3] += bin.n;
        }
        for (std::size_t i = fixed.size(); i < palette.size(); ++i) {
            if (acc[i][3] == 0) continue;
            auto ch = [&](int k) {
                return static_cast<std::uint8_t>(
                    std::clamp(static_cast<int>(acc[i][k] / acc[i][3] + 0.5), 0, 255));
            };
            palette[i] = {ch(0), ch(1), ch(2)};
        }
    }
    return palette;
}

std::uint8_t Nearest(const Palette& palette, Rgb c) {
    const float r = c.r * 255, g = c.g * 255, b = c.b * 255;
    std::size_t best = 0;
    float bestD = 1e30f;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const float dr = r - palette[i].r, dg = g - palette[i].g, db = b - palette[i].b;
        const float d = dr * dr + dg * dg + db * db;
        if (d < bestD) {
            bestD = d;
            best = i;
        }
    }
    return static_cast<std::uint8_t>(best);
}

std::vector<std::uint8_t> Dither(const Image& img, const Palette& palette, float strength) {
    const int w = img.Width(), h = img.Height();
    std::vector<std::uint8_t> out(static_cast<std::size_t>(w) * h);
    // Error carried to this row and the next, one cell of margin on each side.
    std::vector<Rgb> cur(static_cast<std::size_t>(w) + 2), next(static_cast<std::size_t>(w) + 2);
    for (int y = 0; y < h; ++y) {
        const bool leftToRight = y % 2 == 0;
        const int dir = leftToRight ? 1 : -1;
        for (int i = 0; i < w; ++i) {
            const int x = leftToRight ? i : w - 1 - i;
            const Rgb want = img.At(x, y) + cur[static_cast<std::size_t>(x) + 1];
            const Rgb clamped{std::clamp(want.r, -0.1f, 1.1f), std::clamp(want.g, -0.1f, 1.1f),
                              std::clamp(want.b, -0.1f, 1.1f)};
            const std::uint8_t idx = Nearest(palette, clamped);
            out[static_cast<std::size_t>(y) * w + x] = idx;
            const Rgb8 got = palette[idx];
            const Rgb err = (clamped - Rgb{got.r / 255.0f, got.g / 255.0f, got.b / 255.0f}) * strength;
            const auto at = [&](int dx) { return static_cast<std::size_t>(x + dx + 1); };
            cur[at(dir)] += err * (7.0f / 16);
            next[at(-dir)] += err * (3.0f / 16);
            next[at(0)] += err * (5.0f / 16);
            next[at(dir)] += err * (1.0f / 16);
        }
        std::swap(cur, next);
        std::fill(next.begin(), next.end(), Rgb{});
    }
    return out;
}

}  // namespace slumra::art

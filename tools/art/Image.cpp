#include "Image.h"

#include "Noise.h"

namespace slumra::art {

Rgb Image::Sample(float x, float y) const {
    x = std::clamp(x - 0.5f, 0.0f, static_cast<float>(w_ - 1));
    y = std::clamp(y - 0.5f, 0.0f, static_cast<float>(h_ - 1));
    const int x0 = static_cast<int>(x), y0 = static_cast<int>(y);
    const int x1 = std::min(x0 + 1, w_ - 1), y1 = std::min(y0 + 1, h_ - 1);
    const float fx = x - static_cast<float>(x0), fy = y - static_cast<float>(y0);
    const Rgb top = Mix(At(x0, y0), At(x1, y0), fx);
    const Rgb bottom = Mix(At(x0, y1), At(x1, y1), fx);
    return Mix(top, bottom, fy);
}

namespace {

// Weights of the source cells [i, i+1) that fall inside the destination cell [lo, hi).
struct Span {
    int first = 0;
    std::vector<float> weights;
};

std::vector<Span> Spans(int srcSize, int dstSize) {
    std::vector<Span> spans(static_cast<std::size_t>(dstSize));
    const double scale = static_cast<double>(srcSize) / dstSize;
    for (int d = 0; d < dstSize; ++d) {
        double lo = d * scale, hi = (d + 1) * scale;
        if (hi - lo < 1.0) {  // enlarging: a one-pixel window around the centre
            const double c = (lo + hi) / 2;
            lo = c - 0.5;
            hi = c + 0.5;
        }
        Span& s = spans[static_cast<std::size_t>(d)];
        s.first = std::max(0, static_cast<int>(std::floor(lo)));
        const int last = std::min(srcSize - 1, static_cast<int>(std::ceil(hi)) - 1);
        double total = 0;
        for (int i = s.first; i <= last; ++i) {
            const double wgt = std::min<double>(hi, i + 1) - std::max<double>(lo, i);
            s.weights.push_back(static_cast<float>(std::max(0.0, wgt)));
            total += std::max(0.0, wgt);
        }
        for (float& wgt : s.weights) wgt = static_cast<float>(wgt / total);
    }
    return spans;
}

}  // namespace

Image Resize(const Image& src, int width, int height) {
    const auto xs = Spans(src.Width(), width), ys = Spans(src.Height(), height);
    Image rows(width, src.Height());
    for (int y = 0; y < src.Height(); ++y) {
        for (int x = 0; x < width; ++x) {
            const Span& s = xs[static_cast<std::size_t>(x)];
            Rgb sum;
            for (std::size_t i = 0; i < s.weights.size(); ++i)
                sum += src.At(s.first + static_cast<int>(i), y) * s.weights[i];
            rows.At(x, y) = sum;
        }
    }
    Image out(width, height);
    for (int y = 0; y < height; ++y) {
        const Span& s = ys[static_cast<std::size_t>(y)];
        for (int x = 0; x < width; ++x) {
            Rgb sum;
            for (std::size_t i = 0; i < s.weights.size(); ++i)
                sum += rows.At(x, s.first + static_cast<int>(i)) * s.weights[i];
            out.At(x, y) = sum;
        }
    }
    return out;
}

Image Crop(const Image& src, int x0, int y0, int width, int height) {
    Image out(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) out.At(x, y) = src.At(x0 + x, y0 + y);
    return out;
}

namespace {

std::uint8_t To8(float v) {
    return static_cast<std::uint8_t>(std::clamp(static_cast<int>(std::floor(v * 255.0f + 0.5f)), 0, 255));
}

}  // namespace

std::vector<Rgb8> ToRgb8(const Image& img, std::uint64_t ditherState) {
    Rng rng(ditherState);
    std::vector<Rgb8> out;
    out.reserve(img.Pixels().size());
    for (const Rgb& c : img.Pixels()) {
        // One triangular offset for all channels keeps the dither free of colour speckle.
        const float d = (rng.Uniform() - rng.Uniform()) / 255.0f;
        out.push_back({To8(c.r + d), To8(c.g + d), To8(c.b + d)});
    }
    return out;
}

std::vector<Rgb8> ToRgb8Exact(const Image& img) {
    std::vector<Rgb8> out;
    out.reserve(img.Pixels().size());
    for (const Rgb& c : img.Pixels()) out.push_back({To8(c.r), To8(c.g), To8(c.b)});
    return out;
}

}  // namespace slumra::art

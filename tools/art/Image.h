// Floating-point RGB pictures the art tool paints on, and their conversion to 8-bit pixels.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace slumra::art {

// A colour with channels in 0..1 (display values, not linear light); may exceed 1 while painting.
struct Rgb {
    float r = 0, g = 0, b = 0;
};

inline Rgb operator+(Rgb a, Rgb b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}
inline Rgb operator-(Rgb a, Rgb b) {
    return {a.r - b.r, a.g - b.g, a.b - b.b};
}
inline Rgb operator*(Rgb a, float k) {
    return {a.r * k, a.g * k, a.b * k};
}
inline Rgb operator*(float k, Rgb a) {
    return a * k;
}
inline Rgb operator*(Rgb a, Rgb b) {
    return {a.r * b.r, a.g * b.g, a.b * b.b};
}
inline Rgb& operator+=(Rgb& a, Rgb b) {
    return a = a + b;
}

// 0xRRGGBB.
constexpr Rgb Hex(std::uint32_t rgb) {
    return {static_cast<float>((rgb >> 16) & 255) / 255.0f, static_cast<float>((rgb >> 8) & 255) / 255.0f,
            static_cast<float>(rgb & 255) / 255.0f};
}

inline float Clamp01(float x) {
    return std::clamp(x, 0.0f, 1.0f);
}
inline Rgb Mix(Rgb a, Rgb b, float t) {
    return a + (b - a) * t;
}
inline float Mixf(float a, float b, float t) {
    return a + (b - a) * t;
}
inline float Smoothstep(float e0, float e1, float x) {
    const float t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}
inline float Luma(Rgb c) {
    return 0.2126f * c.r + 0.7152f * c.g + 0.0722f * c.b;
}

// Blends c over the pixel with coverage a (0..1).
inline Rgb Over(Rgb under, Rgb c, float a) {
    return under + (c - under) * a;
}
// Screen blend: light added without ever passing white.
inline Rgb Screen(Rgb under, Rgb light) {
    return {1 - (1 - under.r) * (1 - Clamp01(light.r)), 1 - (1 - under.g) * (1 - Clamp01(light.g)),
            1 - (1 - under.b) * (1 - Clamp01(light.b))};
}

inline constexpr float kPi = 3.14159265358979f;

class Image {
public:
    Image() = default;
    Image(int width, int height, Rgb fill = {})
        : w_(width), h_(height), px_(static_cast<std::size_t>(width) * height, fill) {}

    int Width() const { return w_; }
    int Height() const { return h_; }
    Rgb& At(int x, int y) { return px_[static_cast<std::size_t>(y) * w_ + x]; }
    const Rgb& At(int x, int y) const { return px_[static_cast<std::size_t>(y) * w_ + x]; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }
    std::vector<Rgb>& Pixels() { return px_; }
    const std::vector<Rgb>& Pixels() const { return px_; }

    // Bilinear sample at pixel coordinates (pixel centres at +0.5), clamped at the borders.
    Rgb Sample(float x, float y) const;

    // Adds colour c at (x, y) when that pixel exists.
    void Add(int x, int y, Rgb c) {
        if (Inside(x, y)) At(x, y) += c;
    }

private:
    int w_ = 0, h_ = 0;
    std::vector<Rgb> px_;
};

// Area-averaging resize (for shrinking supersampled pictures; also fine for mild enlarging).
Image Resize(const Image& src, int width, int height);

// A part of a picture.
Image Crop(const Image& src, int x, int y, int width, int height);

struct Rgb8 {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb8&) const = default;
};

// Rounds to 8 bits with a small triangular dither (from the given rng state) so that slow dark
// gradients do not band; the same state gives the same bytes.
std::vector<Rgb8> ToRgb8(const Image& img, std::uint64_t ditherState);

// Rounds to 8 bits without dither.
std::vector<Rgb8> ToRgb8Exact(const Image& img);

}  // namespace slumra::art

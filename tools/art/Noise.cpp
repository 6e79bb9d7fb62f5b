#include "Noise.h"

#include <algorithm>

namespace slumra::art {

float Rng::Gauss() {
    const float u = std::max(Uniform(), 1e-7f), v = Uniform();
    return std::sqrt(-2.0f * std::log(u)) * std::cos(6.2831853f * v);
}

namespace {

std::uint32_t Hash(std::int32_t x, std::int32_t y, std::uint32_t key) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 0x8da6b343u ^
                      static_cast<std::uint32_t>(y) * 0xd8163841u ^ (key + 1u) * 0xcb1ab31fu;
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    h *= 0x297a2d39u;
    h ^= h >> 15;
    return h;
}

// Sixteen evenly spread unit gradients.
constexpr float kGx[16] = {1.0f,  0.9239f,  0.7071f,  0.3827f,  0.0f, -0.3827f, -0.7071f, -0.9239f,
                           -1.0f, -0.9239f, -0.7071f, -0.3827f, 0.0f, 0.3827f,  0.7071f,  0.9239f};
constexpr float kGy[16] = {0.0f, 0.3827f,  0.7071f,  0.9239f,  1.0f,  0.9239f,  0.7071f,  0.3827f,
                           0.0f, -0.3827f, -0.7071f, -0.9239f, -1.0f, -0.9239f, -0.7071f, -0.3827f};

float Fade(float t) {
    return t * t * t * (t * (t * 6 - 15) + 10);
}

float Corner(std::int32_t ix, std::int32_t iy, float dx, float dy, std::uint32_t key) {
    const std::uint32_t h = Hash(ix, iy, key) & 15u;
    return kGx[h] * dx + kGy[h] * dy;
}

float Gradient(float x, float y, int period, std::uint32_t key) {
    const float fx0 = std::floor(x), fy0 = std::floor(y);
    auto ix = static_cast<std::int32_t>(fx0), iy = static_cast<std::int32_t>(fy0);
    const float dx = x - fx0, dy = y - fy0;
    std::int32_t ix1 = ix + 1, iy1 = iy + 1;
    if (period > 0) {
        auto wrap = [period](std::int32_t i) { return ((i % period) + period) % period; };
        ix = wrap(ix);
        iy = wrap(iy);
        ix1 = wrap(ix1);
        iy1 = wrap(iy1);
    }
    const float n00 = Corner(ix, iy, dx, dy, key), n10 = Corner(ix1, iy, dx - 1, dy, key);
    const float n01 = Corner(ix, iy1, dx, dy - 1, key), n11 = Corner(ix1, iy1, dx - 1, dy - 1, key);
    const float u = Fade(dx), v = Fade(dy);
    const float a = n00 + (n10 - n00) * u, b = n01 + (n11 - n01) * u;
    return 1.41421356f * (a + (b - a) * v);
}

}  // namespace

float Noise(float x, float y, std::uint32_t key) {
    return Gradient(x, y, 0, key);
}

float NoiseTiled(float x, float y, int period, std::uint32_t key) {
    return Gradient(x, y, period, key);
}

float Noise1(float x, std::uint32_t key) {
    const float fx0 = std::floor(x);
    const auto ix = static_cast<std::int32_t>(fx0);
    const float dx = x - fx0;
    auto grad = [key](std::int32_t i) {
        return static_cast<float>(Hash(i, 0x51ed, key) & 0xffffu) / 32767.5f - 1.0f;
    };
    const float a = grad(ix) * dx, b = grad(ix + 1) * (dx - 1);
    return 2.0f * (a + (b - a) * Fade(dx));
}

float Fbm(float x, float y, int octaves, std::uint32_t key, float gain) {
    float sum = 0, amp = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        // A fixed rotation between octaves hides the lattice.
        sum += amp * Noise(x, y, key + static_cast<std::uint32_t>(i) * 101u);
        norm += amp;
        const float nx = 1.6f * x - 1.2f * y, ny = 1.2f * x + 1.6f * y;
        x = nx + 17.3f;
        y = ny - 9.1f;
        amp *= gain;
    }
    return sum / norm;
}

float FbmTiled(float x, float y, int period, int octaves, std::uint32_t key, float gain) {
    float sum = 0, amp = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        // No rotation here: tiling needs the lattice to stay aligned with the period.
        sum += amp * NoiseTiled(x, y, period, key + static_cast<std::uint32_t>(i) * 101u);
        norm += amp;
        x *= 2;
        y *= 2;
        period *= 2;
        amp *= gain;
    }
    return sum / norm;
}

float Fbm1(float x, int octaves, std::uint32_t key, float gain) {
    float sum = 0, amp = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * Noise1(x, key + static_cast<std::uint32_t>(i) * 101u);
        norm += amp;
        x = x * 2.03f + 3.7f;
        amp *= gain;
    }
    return sum / norm;
}

float Ridged(float x, float y, int octaves, std::uint32_t key) {
    float sum = 0, amp = 1, norm = 0, weight = 1;
    for (int i = 0; i < octaves; ++i) {
        float n = 1.0f - std::fabs(Noise(x, y, key + static_cast<std::uint32_t>(i) * 101u));
        n *= n * weight;
        weight = std::clamp(n * 1.5f, 0.0f, 1.0f);
        sum += amp * n;
        norm += amp;
        const float nx = 1.6f * x - 1.2f * y, ny = 1.2f * x + 1.6f * y;
        x = nx + 5.1f;
        y = ny + 11.7f;
        amp *= 0.5f;
    }
    return sum / norm;
}

Field::Field(int width, int height, const std::function<float(float, float)>& fn)
    : w_(width), h_(height), v_(static_cast<std::size_t>(width) * height) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            v_[static_cast<std::size_t>(y) * width + x] =
                fn((static_cast<float>(x) + 0.5f) / static_cast<float>(width),
                   (static_cast<float>(y) + 0.5f) / static_cast<float>(height));
}

float Field::operator()(float u, float v) const {
    const float x = std::clamp(u * static_cast<float>(w_) - 0.5f, 0.0f, static_cast<float>(w_ - 1));
    const float y = std::clamp(v * static_cast<float>(h_) - 0.5f, 0.0f, static_cast<float>(h_ - 1));
    const int x0 = static_cast<int>(x), y0 = static_cast<int>(y);
    const int x1 = std::min(x0 + 1, w_ - 1), y1 = std::min(y0 + 1, h_ - 1);
    const float fx = x - static_cast<float>(x0), fy = y - static_cast<float>(y0);
    auto at = [this](int xx, int yy) { return v_[static_cast<std::size_t>(yy) * w_ + xx]; };
    const float a = at(x0, y0) + (at(x1, y0) - at(x0, y0)) * fx;
    const float b = at(x0, y1) + (at(x1, y1) - at(x0, y1)) * fx;
    return a + (b - a) * fy;
}

}  // namespace slumra::art

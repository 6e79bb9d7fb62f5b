// Deterministic randomness for the art tool: a small rng and gradient noise (plain and tiling).
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

namespace slumra::art {

// SplitMix64: tiny, fast and the same on every platform.
class Rng {
public:
    explicit Rng(std::uint64_t state) : state_(state) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    // 0 <= x < 1.
    float Uniform() { return static_cast<float>(Next() >> 40) / 16777216.0f; }
    float Range(float lo, float hi) { return lo + (hi - lo) * Uniform(); }
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
    // Standard normal (Box-Muller).
    float Gauss();

private:
    std::uint64_t state_;
};

// Gradient noise in about -1..1 with features one unit apart; key picks an independent field.
float Noise(float x, float y, std::uint32_t key);
// The same, repeating every `period` units in x and y (period >= 1).
float NoiseTiled(float x, float y, int period, std::uint32_t key);
// One-dimensional gradient noise.
float Noise1(float x, std::uint32_t key);

// Sums of octaves (each twice the frequency, `gain` times the amplitude of the one before).
float Fbm(float x, float y, int octaves, std::uint32_t key, float gain = 0.5f);
float FbmTiled(float x, float y, int period, int octaves, std::uint32_t key, float gain = 0.5f);
float Fbm1(float x, int octaves, std::uint32_t key, float gain = 0.5f);
// Ridged octaves (sharp crests), about 0..1.
float Ridged(float x, float y, int octaves, std::uint32_t key);

// A scalar field over the unit square held at a fixed resolution, sampled bilinearly: soft
// structures (mist, nebulae, clouds) are computed once and drawn at every picture size.
class Field {
public:
    Field() = default;
    // Evaluates fn(u, v) with u, v in 0..1 at width x height points.
    Field(int width, int height, const std::function<float(float, float)>& fn);
    float operator()(float u, float v) const;

private:
    int w_ = 0, h_ = 0;
    std::vector<float> v_;
};

}  // namespace slumra::art

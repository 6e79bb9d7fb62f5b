// The ten night scenes behind the main window. The window's title row, the list on the left, the
// record oval on the right and the menu strip at the bottom cover much of each picture, so the
// scenes keep their skies dark at the top and their detail soft.

#include "Scenes.h"
#include "Sky.h"

#include <functional>

namespace slumra::art {

namespace {

constexpr float kAspect = 4.0f / 3.0f;

// Distance between two points in picture heights (the pictures are all 4:3).
float Dist(float u0, float v0, float u1, float v1) {
    return std::hypot((u0 - u1) * kAspect, v0 - v1);
}

float F(int v) {
    return static_cast<float>(v);
}

// Rolling land: base minus a smooth rise of up to amp.
Profile Rolling(float base, float amp, float freq, std::uint32_t key, int octaves = 4) {
    return [=](float u) { return base - amp * Clamp01(0.5f + 0.8f * Fbm1(u * freq, octaves, key)); };
}

// Mountains: sharp crests from folded noise.
Profile Peaks(float base, float amp, float freq, std::uint32_t key) {
    return [=](float u) {
        float sum = 0, a = 1, norm = 0, f = freq;
        for (int i = 0; i < 5; ++i) {
            const float n =
                1.0f - std::fabs(Noise1(u * f + F(i) * 3.1f, key + static_cast<std::uint32_t>(i)));
            sum += a * n * n;
            norm += a;
            a *= 0.45f;
            f *= 2.1f;
        }
        return base - amp * sum / norm;
    };
}

// A broad-leaved tree standing on (cu, base): a trunk, a few limbs and a crown of lumps.
bool InsideTree(float u, float v, float cu, float base, float height, std::uint32_t key) {
    const float x = (u - cu) * kAspect / height, y = (base - v) / height;  // tree units, y up
    if (y < -0.01f || y > 1.1f) return false;
    const float trunk = 0.03f + 0.035f * Smoothstep(0.3f, 0.0f, y);
    if (y < 0.5f && std::fabs(x + 0.02f * std::sin(y * 9)) < trunk) return true;
    struct Limb {
        float x0, y0, x1, y1, w;
    };
    constexpr Limb limbs[] = {{0.0f, 0.35f, 0.3f, 0.62f, 0.022f},
                              {0.0f, 0.4f, -0.28f, 0.66f, 0.02f},
                              {0.0f, 0.45f, 0.05f, 0.8f, 0.02f}};
    for (const Limb& l : limbs) {
        const float dx = l.x1 - l.x0, dy = l.y1 - l.y0;
        const float t = std::clamp(((x - l.x0) * dx + (y - l.y0) * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
        if (std::hypot(x - l.x0 - t * dx, y - l.y0 - t * dy) < l.w * (1.2f - 0.5f * t)) return true;
    }
    struct Lump {
        float x, y, r;
    };
    constexpr Lump lumps[] = {{0.0f, 0.74f, 0.27f},  {-0.3f, 0.64f, 0.2f},  {0.32f, 0.62f, 0.21f},
                              {-0.17f, 0.88f, 0.2f}, {0.17f, 0.87f, 0.21f}, {0.45f, 0.7f, 0.13f},
                              {-0.45f, 0.72f, 0.12f}};
    const float ragged = 0.05f * Fbm(x * 14, y * 14, 4, key);
    for (const Lump& l : lumps)
        if (std::hypot(x - l.x, (y - l.y) * 1.15f) < l.r + ragged) return true;
    return false;
}

using Painter = std::function<Image(int, int)>;

// 1: the full moon over a quiet sea, its light scattered into a path on the water.
Painter MoonSea() {
    const auto stars = ScatterStars(101, 650, [](float, float v) { return Smoothstep(0.66f, 0.15f, v); });
    const Field streaks(400, 300, [](float u, float v) {
        const float f = Fbm(u * 2.2f, v * 15.0f, 5, 11);
        return Smoothstep(0.02f, 0.5f, f) * Smoothstep(0.28f, 0.42f, v) * Smoothstep(0.6f, 0.5f, v);
    });
    const Moon moon{0.73f, 0.2f, 0.036f, 0.5f, 0.4f, 3};
    const float horizon = 0.64f;
    return [=](int w, int h) {
        Image img(w, h);
        VerticalGradient(img, {{0.0f, Hex(0x02040c)},
                               {0.3f, Hex(0x081030)},
                               {0.52f, Hex(0x151e4a)},
                               {0.62f, Hex(0x272a5e)},
                               {0.645f, Hex(0x33336a)},
                               {1.0f, Hex(0x05070f)}});
        DrawStars(img, stars, [&](float u, float v) {
            return Smoothstep(0.05f, 0.4f, Dist(u, v, moon.u, moon.v)) * Smoothstep(horizon, 0.45f, v);
        });
        DrawMoonGlow(img, moon, Hex(0x7c90d0), 0.55f, 3.5f);
        Veil(img, streaks, Hex(0x9ea6d8), 0.3f,
             [&](float u, float v) { return 0.3f + 0.7f * std::exp(-Dist(u, v, moon.u, moon.v) / 0.3f); });
        DrawMoon(img, moon);
        const Profile island = [horizon](float u) {
            const float bump = 0.038f * std::exp(-std::pow((u - 0.13f) / 0.09f, 2.0f)) +
                               0.018f * std::exp(-std::pow((u - 0.27f) / 0.06f, 2.0f));
            return horizon - bump * (1.0f + 0.25f * Fbm1(u * 30, 3, 21)) + 0.001f;
        };
        FillBelow(img, island, [](float, float, float) { return Hex(0x080b1a); });
        Reflect(img, horizon, 0.3f, Hex(0x04060e), 5);
        Glitter(img, horizon, moon.u, 0.028f, Hex(0xe4e9ff), 1.0f, 9);
        return img;
    };
}

// 2: the northern lights over snowy mountains and a still lake.
Painter Aurora() {
    const auto stars = ScatterStars(202, 800, [](float, float v) { return Smoothstep(0.8f, 0.3f, v); });
    const auto faint = ScatterStars(
        203, 1500, [](float, float v) { return Smoothstep(0.8f, 0.3f, v); }, 0.35f);
    const float lake = 0.8f;
    // Two ribbons of light sweeping down to the right, folded, with rays rising from a bright hem.
    struct Ribbon {
        float base, slope, from, to, strength;
        std::uint32_t key;
    };
    const std::vector<Ribbon> ribbons = {{0.2f, 0.24f, -0.05f, 1.05f, 1.0f, 31},
                                         {0.1f, 0.12f, 0.35f, 1.05f, 0.5f, 37}};
    auto light = [ribbons](float u, float v) {
        Rgb sum;
        for (const Ribbon& r : ribbons) {
            const float span = Smoothstep(r.from, r.from + 0.2f, u) * Smoothstep(r.to, r.to - 0.25f, u);
            if (span <= 0) continue;
            const float base =
                r.base + r.slope * u + 0.05f * std::sin(u * 7.0f + 1.0f) + 0.05f * Fbm1(u * 3.0f, 3, r.key);
            const float height = 0.09f + 0.12f * (0.5f + 0.5f * Fbm1(u * 2.5f, 2, r.key + 2));
            const float above = base - v;
            const float rays =
                0.3f + 0.7f * Smoothstep(-0.5f, 0.7f, Fbm1(u * 60.0f + above * 3.0f, 3, r.key + 5));
            // Brightest at the hem, fading upwards along the rays and quickly below.
            const float k0 =
                above >= 0 ? std::exp(-above / height) * rays + 0.3f * std::exp(-above / (height * 1.8f))
                           : (rays + 0.3f) * std::exp(-std::pow(above / 0.022f, 2.0f));
            float k = k0;
            const float pulse = 0.6f + 0.4f * Smoothstep(-0.4f, 0.5f, Fbm1(u * 4.0f, 2, r.key + 9));
            k *= span * pulse * r.strength;
            const float t = std::max(above, 0.0f) / height;
            const Rgb colour = t < 0.7f ? Mix(Hex(0x58f0a0), Hex(0x38b8c0), t / 0.7f)
                                        : Mix(Hex(0x38b8c0), Hex(0x7048c0), Smoothstep(0.7f, 2.0f, t));
            sum += colour * k;
        }
        return sum;
    };
    const Profile far = [](float u) {
        const float massif = 0.6f + 0.4f * std::exp(-std::pow((u - 0.58f) / 0.22f, 2.0f));
        float sum = 0, a = 1, norm = 0, f = 2.6f;
        for (int i = 0; i < 5; ++i) {
            const float n =
                1.0f - std::fabs(Noise1(u * f + F(i) * 3.1f, 41u + static_cast<std::uint32_t>(i)));
            sum += a * n * n;
            norm += a;
            a *= 0.45f;
            f *= 2.1f;
        }
        return 0.77f - 0.2f * massif * sum / norm;
    };
    const Profile near = Rolling(lake + 0.002f, 0.05f, 2.5f, 43);
    return [=](int w, int h) {
        Image img(w, h);
        VerticalGradient(
            img,
            {{0.0f, Hex(0x02030a)}, {0.4f, Hex(0x06102a)}, {0.66f, Hex(0x0c1d3c)}, {0.78f, Hex(0x12284a)}});
        DrawStars(img, faint);
        DrawStars(img, stars, [&](float u, float v) { return 1.0f - 0.6f * Clamp01(Luma(light(u, v)) * 2); });
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const float u = (F(x) + 0.5f) / F(w), v = (F(y) + 0.5f) / F(h);
                if (v < lake) img.At(x, y) = Screen(img.At(x, y), light(u, v) * 0.6f);
            }
        FillBelow(img, far, [](float u, float v, float depth) {
            // Snow on the heights, faint in the dark; the crests catch the green of the sky.
            const float snow = Smoothstep(0.68f, 0.6f, v) * (0.5f + 0.5f * Fbm(u * 40, v * 25, 3, 45));
            const Rgb rock = Mix(Hex(0x0e1828), Hex(0x080d1a), Smoothstep(0, 0.12f, depth));
            return Mix(rock, Hex(0x3c5670), snow * 0.55f) +
                   Hex(0x1c5a50) * (0.25f * Smoothstep(0.008f, 0.0f, depth));
        });
        FillBelow(img, near, [](float, float, float) { return Hex(0x04070e); });
        Reflect(img, lake, 0.3f, Hex(0x03060c), 47, 0.4f);
        return img;
    };
}

// 3: the Milky Way rising over dark hills with a few pines.
Painter MilkyWay() {
    // The band runs from low left to high right.
    auto across = [](float u, float v) {
        const float ax = 0.1f, ay = 1.0f, bx = 0.95f, by = -0.1f;
        const float dx = bx - ax, dy = by - ay, len = std::hypot(dx * kAspect, dy);
        return ((u - ax) * kAspect * dy - (v - ay) * dx * kAspect) / len / kAspect;
    };
    auto along = [](float u, float v) {
        const float ax = 0.1f, ay = 1.0f, bx = 0.95f, by = -0.1f;
        const float dx = (bx - ax) * kAspect, dy = by - ay, len = std::hypot(dx, dy);
        return ((u - ax) * kAspect * dx + (v - ay) * dy) / len;
    };
    const Field band(400, 300, [across, along](float u, float v) {
        const float d = across(u, v) + 0.04f * Fbm(u * 3, v * 3, 3, 51);
        const float a = along(u, v);
        const float glow = std::exp(-std::pow(d / 0.14f, 2.0f));
        const float clumps = 0.55f + 0.45f * Fbm(u * 7, v * 7, 5, 52);
        // Dark lanes of dust drawn out along the band.
        const float lanes = Fbm(a * 3.0f + 4, d * 9.0f + 0.6f * Fbm(u * 4, v * 4, 3, 54), 5, 53);
        const float dust = Smoothstep(-0.05f, 0.45f, lanes) * std::exp(-std::pow((d + 0.02f) / 0.07f, 2.0f));
        return Clamp01(glow * clumps * (1 - 0.7f * dust));
    });
    const auto stars = ScatterStars(303, 2600, [across](float u, float v) {
        return (0.2f + 0.8f * std::exp(-std::pow(across(u, v) / 0.16f, 2.0f))) * Smoothstep(0.9f, 0.6f, v);
    });
    const auto faint = ScatterStars(
        304, 5000,
        [across](float u, float v) {
            return (0.15f + 0.85f * std::exp(-std::pow(across(u, v) / 0.12f, 2.0f))) *
                   Smoothstep(0.9f, 0.6f, v);
        },
        0.3f);
    const Profile hills = Rolling(0.86f, 0.12f, 1.6f, 55);
    struct Pine {
        float u, height, width;
    };
    std::vector<Pine> pines;
    Rng rng(56);
    for (float u = 0.55f; u < 1.0f; u += rng.Range(0.012f, 0.05f))
        pines.push_back({u, rng.Range(0.05f, 0.12f), rng.Range(0.016f, 0.024f)});
    return [=](int w, int h) {
        Image img(w, h);
        VerticalGradient(
            img,
            {{0.0f, Hex(0x03030b)}, {0.5f, Hex(0x070b22)}, {0.74f, Hex(0x121840)}, {0.82f, Hex(0x261f4a)}});
        Veil(img, band, Hex(0x8890d0), 0.5f, [](float, float v) { return Smoothstep(0.95f, 0.55f, v); });
        Veil(img, band, Hex(0xc89a90), 0.22f,
             [](float u, float v) { return Smoothstep(0.5f, 0.85f, v) * Smoothstep(0.5f, 0.2f, u); });
        DrawStars(img, faint);
        DrawStars(img, stars, [](float, float v) { return Smoothstep(0.86f, 0.6f, v); });
        FillBelow(img, hills, [](float, float, float) { return Hex(0x04050c); });
        for (std::size_t i = 0; i < pines.size(); ++i) {
            const Pine p = pines[i];
            const float base = hills(p.u) + 0.01f;
            FillShape(
                img, p.u - p.width, base - p.height, p.u + p.width, base + 0.01f,
                [&](float u, float v) {
                    return InsidePine(u, v, p.u, base, p.height, p.width, static_cast<std::uint32_t>(i));
                },
                Hex(0x04050c));
        }
        return img;
    };
}

// 4: a thin crescent in a violet dusk over hills that fade into mist.
Painter Crescent() {
    const auto stars = ScatterStars(404, 500, [](float, float v) { return Smoothstep(0.7f, 0.1f, v); });
    const Field wisps(400, 300, [](float u, float v) {
        const float f = Fbm(u * 3.0f + 0.6f * Fbm(u * 2, v * 4, 3, 61), v * 9.0f, 5, 62);
        return Smoothstep(0.05f, 0.55f, f) * Smoothstep(0.4f, 0.6f, v) * Smoothstep(0.75f, 0.64f, v);
    });
    const Field mist(400, 300, [](float u, float v) { return 0.6f + 0.4f * Fbm(u * 4, v * 10, 4, 63); });
    const Moon moon{0.43f, 0.1f, 0.036f, 0.13f, -0.45f, 7, Hex(0xf7f0e0), 0.12f};
    const std::vector<Profile> layers = {Rolling(0.72f, 0.1f, 2.2f, 64, 5), Rolling(0.8f, 0.11f, 2.6f, 65, 5),
                                         Rolling(0.9f, 0.12f, 1.8f, 66, 5)};
    const std::vector<Rgb> colours = {Hex(0x3b2f66), Hex(0x1f1a44), Hex(0x0a0a1a)};
    return [=](int w, int h) {
        Image img(w, h);
        VerticalGradient(img, {{0.0f, Hex(0x05040f)},
                               {0.33f, Hex(0x120f33)},
                               {0.58f, Hex(0x281e52)},
                               {0.7f, Hex(0x463470)},
                               {0.78f, Hex(0x5a4480)}});
        DrawStars(img, stars, [&](float u, float v) {
            return Smoothstep(0.04f, 0.2f, Dist(u, v, moon.u, moon.v)) * Smoothstep(0.7f, 0.35f, v);
        });
        DrawMoonGlow(img, moon, Hex(0x9a88d8), 0.22f, 3.0f);
        DrawMoon(img, moon);
        Veil(img, wisps, Hex(0xb08ad0), 0.3f);
        for (std::size_t i = 0; i < layers.size(); ++i) {
            const Rgb colour = colours[i];
            FillBelow(img, layers[i], [&](float u, float v, float depth) {
                return Mix(
                    colour, Hex(0x6a58a0),
                    (0.5f - 0.15f * F(static_cast<int>(i))) * Smoothstep(0.0f, 0.12f, depth) * mist(u, v));
            });
        }
        return img;
    };
}

// 5: the moon behind broken clouds, their edges silvered.
Painter CloudMoon() {
    const auto stars = ScatterStars(505, 700);
    const Moon moon{0.6f, 0.34f, 0.048f, 0.5f, 0.2f, 11};
    const Field clouds(480, 360, [](float u, float v) {
        const float wu = u * 2.4f + 0.35f * Fbm(u * 2, v * 2, 3, 71),
                    wv = v * 4.2f + 0.25f * Fbm(u * 2 + 5, v * 2, 3, 72);
        const float f = Fbm(wu, wv, 6, 73);
        const float cover = Mixf(0.12f, -0.08f, v);  // thicker towards the bottom
        const float clear =
            std::exp(-std::pow(Dist(u, v, 0.6f, 0.34f) / 0.12f, 2.0f));  // the moon looks through a gap
        return Smoothstep(0.0f, 0.3f, f - cover - 0.25f * clear);
    });
    return [=](int w, int h) {
        Image img(w, h);
        VerticalGradient(img, {{0.0f, Hex(0x03050f)}, {0.5f, Hex(0x0a1634)}, {1.0f, Hex(0x111a3c)}});
        DrawStars(img, stars,
                  [&](float u, float v) { return Smoothstep(0.06f, 0.35f, Dist(u, v, moon.u, moon.v)); });
        DrawMoonGlow(img, moon, Hex(0x8898d0), 0.6f, 3.0f);
        DrawMoon(img, moon);
        // A faint coloured ring round the moon, as thin ice clouds make.
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const float u = (F(x) + 0.5f) / F(w), v = (F(y) + 0.5f) / F(h);
                const float d = Dist(u, v, moon.u, moon.v) / (moon.radius * kAspect);
                const float ring = std::exp(-std::pow((d - 4.2f) / 0.9f, 2.0f));
                const Rgb tint = Mix(Hex(0xb09070), Hex(0x7088c8), Smoothstep(3.6f, 4.8f, d));
                img.At(x, y) = Screen(img.At(x, y), tint * (0.07f * ring));
            }
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const float u = (F(x) + 0.5f) / F(w), v = (F(y) + 0.5f) / F(h);
                const float a = clouds(u, v);
                if (a <= 0) continue;
                const float near = std::exp(-Dist(u, v, moon.u, moon.v) / 0.25f);
                const float rim = 1 - a;  // thin parts let the light through and glow
                const Rgb body = Mix(Hex(0x1c2548), Hex(0x141b38), a);
                const Rgb c = body + Hex(0xa8b4e8) * (near * (0.18f + 0.6f * rim * rim)) +
                              Hex(0x1a2040) * (0.5f * (1 - near));
                img.At(x, y) = Over(img.At(x, y), c, Clamp01(a * 1.2f));
            }
        return img;
    };
}

// 6: ridge behind ridge, mist in every valley, a half moon high up.
Painter MistyMountains() {
    const auto stars = ScatterStars(606, 600, [](float, float v) { return Smoothstep(0.6f, 0.1f, v); });
    const Moon moon{0.8f, 0.15f, 0.028f, 0.25f, 0.5f, 13};
    const std::vector<Profile> ridges = {Peaks(0.58f, 0.16f, 2.2f, 81), Peaks(0.66f, 0.16f, 2.8f, 82),
                                         Peaks(0.75f, 0.15f, 2.4f, 83), Peaks(0.85f, 0.15f, 3.0f, 84),
                                         Rolling(0.96f, 0.1f, 2.0f, 85)};
    const std::vector<Rgb> colours = {Hex(0x34456f), Hex(0x26355c), Hex(0x1a2646), Hex(0x101831),
                                      Hex(0x070b18)};
    const Field mist(400, 300, [](float u, float v) { return 0.5f + 0.5f * Fbm(u * 5, v * 14, 4, 86); });
    return [=](int w, int h) {
        Image img(w, h);
        VerticalGradient(img, {{0.0f, Hex(0x030610)}, {0.42f, Hex(0x0b1838)}, {0.6f, Hex(0x1c2e58)}});
        DrawStars(img, stars, [&](float u, float v) {
            return Smoothstep(0.03f, 0.25f, Dist(u, v, moon.u, moon.v)) * Smoothstep(0.55f, 0.3f, v);
        });
        DrawMoonGlow(img, moon, Hex(0x8090c8), 0.35f, 3.0f);
        DrawMoon(img, moon);
        for (std::size_t i = 0; i < ridges.size(); ++i) {
            const Rgb colour = colours[i];
            const float amount = 0.55f - 0.08f * F(static_cast<int>(i));
            FillBelow(img, ridges[i], [&](float u, float v, float depth) {
                const float lit = 0.08f * Smoothstep(0.02f, 0.0f, depth);  // moonlight catching the crest
                return Mix(colour + Hex(0x8090c0) * lit, Hex(0x5a6c9c),
                           amount * Smoothstep(0.0f, 0.16f, depth) * mist(u, v));
            });
        }
        return img;
    };
}

// 7: a still lake between pine forests, mirroring the stars and a waning crescent.
Painter MirrorLake() {
    const float shore = 0.6f;
    const auto stars =
        ScatterStars(707, 1000, [shore](float, float v) { return Smoothstep(shore + 0.02f, 0.2f, v); });
    const Moon moon{0.6f, 0.18f, 0.028f, 0.8f, 0.35f, 17, Hex(0xf4efe2), 0.1f};
    struct Pine {
        float u, base, height, width;
    };
    std::vector<Pine> pines;
    Rng rng(71);
    // Distant tree line all along the shore, tall forest on both sides.
    for (float u = -0.01f; u < 1.01f; u += rng.Range(0.004f, 0.012f))
        pines.push_back({u, shore + 0.002f, rng.Range(0.012f, 0.03f), rng.Range(0.005f, 0.008f)});
    for (float u = -0.02f; u < 0.26f; u += rng.Range(0.015f, 0.035f)) {
        const float edge = Smoothstep(0.26f, 0.0f, u);
        pines.push_back(
            {u, shore + 0.004f, rng.Range(0.1f, 0.17f) * (0.4f + 0.6f * edge), rng.Range(0.02f, 0.03f)});
    }
    for (float u = 0.82f; u < 1.03f; u += rng.Range(0.015f, 0.035f)) {
        const float edge = Smoothstep(0.82f, 1.0f, u);
        pines.push_back(
            {u, shore + 0.004f, rng.Range(0.08f, 0.15f) * (0.4f + 0.6f * edge), rng.Range(0.02f, 0.03f)});
    }
    return [=](int w, int h) {
        Image img(w, h);
        VerticalGradient(
            img,
            {{0.0f, Hex(0x02040b)}, {0.38f, Hex(0x091433)}, {0.56f, Hex(0x182a58)}, {0.6f, Hex(0x24325f)}});
        DrawStars(img, stars, [&](float u, float v) {
            return Smoothstep(0.03f, 0.2f, Dist(u, v, moon.u, moon.v)) * Smoothstep(shore, 0.45f, v);
        });
        DrawMoonGlow(img, moon, Hex(0x8094d0), 0.3f, 3.0f);
        DrawMoon(img, moon);
        for (std::size_t i = 0; i < pines.size(); ++i) {
            const Pine p = pines[i];
            FillShape(
                img, p.u - p.width, p.base - p.height, p.u + p.width, p.base + 0.005f,
                [&](float u, float v) {
                    return InsidePine(u, v, p.u, p.base, p.height, p.width, static_cast<std::uint32_t>(i));
                },
                Hex(0x03050b));
        }
        Reflect(img, shore + 0.004f, 0.2f, Hex(0x03050c), 73, 0.25f);
        return img;
    };
}

// 8: a great moon rising over desert dunes.
Painter Dunes() {
    const auto stars = ScatterStars(808, 700, [](float, float v) { return Smoothstep(0.7f, 0.15f, v); });
    const Moon moon{0.92f, 0.7f, 0.085f, 0.5f, 0.1f, 19, Hex(0xf6e4c8), 0.05f};
    auto dune = [](float base, float amp, float freq, std::uint32_t key) -> Profile {
        return [=](float u) {
            // A softened fold gives the crests of wind-blown sand without a kink.
            const float n = Noise1(u * freq, key);
            const float crest = 1.0f - std::sqrt(n * n + 0.004f);
            return base - amp * (0.45f * crest + 0.55f * (0.5f + 0.5f * Fbm1(u * freq * 0.5f, 3, key + 1)));
        };
    };
    const std::vector<Profile> layers = {dune(0.7f, 0.06f, 3.0f, 91), dune(0.8f, 0.08f, 2.4f, 93),
                                         dune(0.93f, 0.11f, 1.8f, 95)};
    const std::vector<Rgb> lit = {Hex(0x4a3c6a), Hex(0x3c2e58), Hex(0x2c2040)};
    const std::vector<Rgb> shade = {Hex(0x2a2046), Hex(0x1a1434), Hex(0x0d0a1c)};
    return [=](int w, int h) {
        Image img(w, h);
        VerticalGradient(
            img,
            {{0.0f, Hex(0x040510)}, {0.45f, Hex(0x0e1233)}, {0.62f, Hex(0x2a2350)}, {0.7f, Hex(0x4a3560)}});
        DrawStars(img, stars, [&](float u, float v) {
            return Smoothstep(0.1f, 0.45f, Dist(u, v, moon.u, moon.v)) * Smoothstep(0.68f, 0.4f, v);
        });
        DrawMoonGlow(img, moon, Hex(0xb8907c), 0.45f, 3.0f);
        DrawMoon(img, moon);
        for (std::size_t i = 0; i < layers.size(); ++i) {
            const Profile top = layers[i];
            const Rgb l = lit[i], s = shade[i];
            FillBelow(img, top, [&](float u, float, float depth) {
                // Slopes rising to the right face the moon on the left; the slope is taken over a
                // width that grows with the depth, so the shading runs down the face softly.
                const float e = 0.006f + depth * 0.4f;
                const float slope = (top(u + e) - top(u - e)) / (2 * e);
                const float towards = Smoothstep(-0.1f, 0.35f, slope);
                const float glow = std::exp(-std::fabs(u - moon.u) / 0.25f) * 0.3f;
                const float crest = Smoothstep(0.008f, 0.0f, depth) * towards;  // moonlight along the ridge
                return Mix(s, l, Clamp01(towards * (0.75f + glow)) * Smoothstep(0.16f, 0.0f, depth)) +
                       Hex(0x6a5a80) * (0.35f * crest);
            });
        }
        return img;
    };
}

// 9: deep space: a glowing nebula with dark dust, a far spiral galaxy.
Painter Nebula() {
    auto warp = [](float u, float v) {
        return std::pair{Fbm(u * 2.5f, v * 2.5f, 4, 101), Fbm(u * 2.5f + 5.2f, v * 2.5f + 1.3f, 4, 102)};
    };
    const Field density(480, 360, [warp](float u, float v) {
        const auto [qx, qy] = warp(u, v);
        const float f = Fbm(u * 3.0f + 1.6f * qx, v * 3.0f + 1.6f * qy, 6, 103);
        const float centre = std::exp(-std::pow(Dist(u, v, 0.6f, 0.45f) / 0.5f, 2.0f));
        return Clamp01((f + 0.3f) * 1.5f) * centre;
    });
    const Field filaments(480, 360, [warp](float u, float v) {
        const auto [qx, qy] = warp(u, v);
        const float r = Ridged(u * 3.5f + 1.2f * qx, v * 3.5f + 1.2f * qy, 5, 107);
        return std::pow(r, 3.0f);
    });
    const Field hue(240, 180,
                    [](float u, float v) { return 0.5f + 0.6f * Fbm(u * 2.0f + 3, v * 2.0f, 3, 104); });
    const Field dust(480, 360, [](float u, float v) {
        return Smoothstep(0.05f, 0.4f, Fbm(u * 5.0f + 0.7f * Fbm(u * 3, v * 3, 3, 105), v * 5.0f, 5, 106));
    });
    const auto stars =
        ScatterStars(909, 1400, [density](float u, float v) { return 0.3f + 0.7f * density(u, v); });
    const auto faint = ScatterStars(
        910, 4000, [density](float u, float v) { return 0.3f + 0.7f * density(u, v); }, 0.3f);
    return [=](int w, int h) {
        Image img(w, h);
        VerticalGradient(img, {{0.0f, Hex(0x03020a)}, {1.0f, Hex(0x07061a)}});
        DrawStars(img, faint);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const float u = (F(x) + 0.5f) / F(w), v = (F(y) + 0.5f) / F(h);
                const float clear = 1 - 0.85f * dust(u, v);
                const float d = density(u, v) * clear;
                const float t = hue(u, v);
                const Rgb colour = t < 0.5f ? Mix(Hex(0x2a7c9a), Hex(0x6a3cb0), Smoothstep(0.2f, 0.5f, t))
                                            : Mix(Hex(0x6a3cb0), Hex(0xb0407a), Smoothstep(0.5f, 0.9f, t));
                const float core = std::exp(-std::pow(Dist(u, v, 0.62f, 0.44f) / 0.14f, 2.0f));
                const float glow = 0.7f * d + 0.8f * filaments(u, v) * density(u, v) * clear;
                img.At(x, y) = Screen(img.At(x, y), colour * glow + Hex(0xe8c8f0) * (0.25f * core * d));
            }
        // A spiral galaxy far away, seen at a slant.
        const float gu = 0.44f, gv = 0.12f, gr = 0.06f;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const float u = (F(x) + 0.5f) / F(w), v = (F(y) + 0.5f) / F(h);
                const float dx = (u - gu) * kAspect / gr, dy = (v - gv) / gr;
                const float rx = dx * 0.87f + dy * 0.5f, ry = (-dx * 0.5f + dy * 0.87f) / 0.42f;
                const float r = std::hypot(rx, ry);
                if (r > 3.0f) continue;
                const float arms =
                    0.5f + 0.5f * std::cos(2 * std::atan2(ry, rx) - 5.5f * std::log(r + 0.05f));
                const float lum = std::exp(-r * 2.0f) * (0.4f + 0.8f * arms) + 0.7f * std::exp(-r * r * 30);
                img.At(x, y) =
                    Screen(img.At(x, y), Mix(Hex(0x9aa8f0), Hex(0xf0e0d0), std::exp(-r * 3)) * (0.5f * lum));
            }
        DrawStars(img, stars);
        return img;
    };
}

// 10: falling stars over a meadow with a lone tree, a late moon low in the east.
Painter FallingStars() {
    const auto stars = ScatterStars(1010, 900, [](float, float v) { return Smoothstep(0.8f, 0.2f, v); });
    const Moon moon{0.88f, 0.56f, 0.026f, 0.63f, -0.3f, 23};
    struct Streak {
        float u0, v0, u1, v1, width;
    };
    std::vector<Streak> streaks;
    Rng rng(1011);
    const float ru = 0.18f, rv = 0.06f;  // they all seem to come from one point
    for (int i = 0; i < 6; ++i) {
        const float a = rng.Range(0.35f, 1.2f), start = rng.Range(0.1f, 0.45f), len = rng.Range(0.08f, 0.2f);
        const float ca = std::cos(a) / kAspect, sa = std::sin(a);
        streaks.push_back({ru + ca * start, rv + sa * start, ru + ca * (start + len), rv + sa * (start + len),
                           rng.Range(0.6f, 1.1f)});
    }
    const Profile hill = [](float u) {
        return 0.86f - 0.1f * std::exp(-std::pow((u - 0.7f) / 0.3f, 2.0f)) - 0.02f * Fbm1(u * 4, 3, 111);
    };
    return [=](int w, int h) {
        Image img(w, h);
        VerticalGradient(
            img,
            {{0.0f, Hex(0x03040d)}, {0.5f, Hex(0x0b1232)}, {0.74f, Hex(0x1f2550)}, {0.8f, Hex(0x2d2b5c)}});
        DrawStars(img, stars, [&](float u, float v) {
            return Smoothstep(0.03f, 0.2f, Dist(u, v, moon.u, moon.v)) * Smoothstep(0.82f, 0.5f, v);
        });
        const float scale = F(w) / 1024.0f;
        for (const Streak& s : streaks)
            DrawStreak(img, s.u0, s.v0, s.u1, s.v1, s.width * std::max(scale, 0.8f), Hex(0xdfe8ff));
        DrawMoonGlow(img, moon, Hex(0x9088c0), 0.35f, 3.0f);
        DrawMoon(img, moon);
        FillBelow(img, hill, [](float, float, float depth) {
            return Mix(Hex(0x0c1024), Hex(0x05070f), Smoothstep(0.0f, 0.05f, depth));
        });
        const float base = hill(0.7f) + 0.005f;
        FillShape(
            img, 0.5f, base - 0.32f, 0.9f, base + 0.01f,
            [base](float u, float v) { return InsideTree(u, v, 0.7f, base, 0.28f, 113); }, Hex(0x05070f));
        return img;
    };
}

// The list and its caption on the left of the window: no light there may come near the light
// text. Brightness above a low knee is squeezed, so stars and glows stay as faint traces.
void QuietListArea(Image& img) {
    const float u0 = 25.0f / 640, u1 = 245.0f / 640, v0 = 55.0f / 480, v1 = 352.0f / 480, soft = 0.04f;
    const float knee = 0.24f, cap = 0.32f;
    for (int y = 0; y < img.Height(); ++y)
        for (int x = 0; x < img.Width(); ++x) {
            const float u = (F(x) + 0.5f) / F(img.Width()), v = (F(y) + 0.5f) / F(img.Height());
            const float m = Smoothstep(u0 - soft, u0, u) * Smoothstep(u1 + soft, u1, u) *
                            Smoothstep(v0 - soft, v0, v) * Smoothstep(v1 + soft, v1, v);
            if (m <= 0) continue;
            Rgb& p = img.At(x, y);
            const float l = std::max({Luma(p), p.r * 0.6f, p.g * 0.6f, p.b * 0.6f});
            if (l <= knee) continue;
            const float want = std::min(cap, knee + (l - knee) * 0.25f);
            p = p * Mixf(1.0f, want / l, m);
        }
}

Painter Make(int number) {
    switch (number) {
        case 1:
            return MoonSea();
        case 2:
            return Aurora();
        case 3:
            return MilkyWay();
        case 4:
            return Crescent();
        case 5:
            return CloudMoon();
        case 6:
            return MistyMountains();
        case 7:
            return MirrorLake();
        case 8:
            return Dunes();
        case 9:
            return Nebula();
        default:
            return FallingStars();
    }
}

}  // namespace

std::vector<Image> PaintBackground(int number, const std::vector<Size>& sizes) {
    const Painter paint = Make(number);
    std::vector<Image> out;
    for (const Size& s : sizes) {
        Image img = paint(s.w, s.h);
        QuietListArea(img);
        Grain(img, 0.006f, static_cast<std::uint64_t>(number) * 977 + static_cast<std::uint64_t>(s.w));
        out.push_back(std::move(img));
    }
    return out;
}

}  // namespace slumra::art

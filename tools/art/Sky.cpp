#include "Sky.h"

#include <algorithm>

namespace slumra::art {

namespace {

float Fw(const Image& img) {
    return static_cast<float>(img.Width());
}
float Fh(const Image& img) {
    return static_cast<float>(img.Height());
}
float F(int v) {
    return static_cast<float>(v);
}

}  // namespace

Rgb Gradient(const std::vector<Stop>& stops, float t) {
    if (t <= stops.front().at) return stops.front().colour;
    for (std::size_t i = 1; i < stops.size(); ++i) {
        if (t <= stops[i].at) {
            const float k = Smoothstep(stops[i - 1].at, stops[i].at, t);
            return Mix(stops[i - 1].colour, stops[i].colour, k);
        }
    }
    return stops.back().colour;
}

void VerticalGradient(Image& img, const std::vector<Stop>& stops) {
    for (int y = 0; y < img.Height(); ++y) {
        const Rgb c = Gradient(stops, (F(y) + 0.5f) / Fh(img));
        for (int x = 0; x < img.Width(); ++x) img.At(x, y) = c;
    }
}

std::vector<Star> ScatterStars(std::uint64_t state, int count,
                               const std::function<float(float, float)>& density, float brightness) {
    Rng rng(state);
    std::vector<Star> stars;
    for (int tries = 0; static_cast<int>(stars.size()) < count && tries < count * 60; ++tries) {
        const float u = rng.Uniform(), v = rng.Uniform();
        const float keep = rng.Uniform();
        const float b = rng.Uniform(), t = rng.Uniform(), jitter = rng.Uniform();
        if (density && keep >= density(u, v)) continue;
        Star s;
        s.u = u;
        s.v = v;
        s.bright = 0.12f + 0.88f * std::pow(b, 5.5f);
        s.sigma = 0.42f + 0.55f * s.bright;
        s.bright *= brightness;
        const Rgb blue{0.78f, 0.86f, 1.0f}, white{1, 1, 1}, warm{1.0f, 0.88f, 0.72f};
        s.tint = t < 0.55f   ? Mix(blue, white, jitter * 0.5f)
                 : t < 0.88f ? Mix(white, blue, jitter * 0.3f)
                             : Mix(warm, white, jitter * 0.4f);
        stars.push_back(s);
    }
    return stars;
}

void DrawStars(Image& img, const std::vector<Star>& stars,
               const std::function<float(float, float)>& visibility, bool wrap) {
    const int w = img.Width(), h = img.Height();
    // Stars keep their size in pixels down to 800 wide and shrink a little below.
    const float scale = std::clamp(Fw(img) / 1024.0f, 0.8f, 1.2f);
    for (const Star& s : stars) {
        const float vis = visibility ? visibility(s.u, s.v) : 1.0f;
        if (vis <= 0.01f) continue;
        const float px = s.u * F(w), py = s.v * F(h);
        const float sigma = s.sigma * scale;
        const float halo = s.bright > 0.5f ? (s.bright - 0.5f) * 2 : 0;
        const float haloR = 6.0f * scale;
        const int reach = static_cast<int>(std::ceil(halo > 0 ? haloR * 2.5f : sigma * 3.2f));
        const int cx = static_cast<int>(px), cy = static_cast<int>(py);
        for (int y = cy - reach; y <= cy + reach; ++y) {
            for (int x = cx - reach; x <= cx + reach; ++x) {
                int xx = x, yy = y;
                if (wrap) {
                    xx = (x % w + w) % w;
                    yy = (y % h + h) % h;
                } else if (!img.Inside(x, y)) {
                    continue;
                }
                const float dx = F(x) + 0.5f - px, dy = F(y) + 0.5f - py;
                const float d2 = dx * dx + dy * dy;
                float v = s.bright * std::exp(-d2 / (2 * sigma * sigma));
                if (halo > 0) v += halo * 0.07f * std::exp(-std::sqrt(d2) / haloR);
                img.At(xx, yy) += s.tint * (v * vis);
            }
        }
    }
}

void DrawMoonGlow(Image& img, const Moon& moon, Rgb colour, float strength, float spread) {
    const float cx = moon.u * Fw(img), cy = moon.v * Fh(img), r = moon.radius * Fw(img);
    for (int y = 0; y < img.Height(); ++y) {
        for (int x = 0; x < img.Width(); ++x) {
            const float dx = F(x) + 0.5f - cx, dy = F(y) + 0.5f - cy;
            const float d = std::sqrt(dx * dx + dy * dy) / r;
            const float near = std::exp(-std::max(d - 1.0f, 0.0f) / (0.25f * spread));
            const float far = 1.0f / (1.0f + (d / spread) * (d / spread));
            img.At(x, y) = Screen(img.At(x, y), colour * (strength * (0.45f * near + 0.55f * far)));
        }
    }
}

void DrawMoon(Image& img, const Moon& moon) {
    const float cx = moon.u * Fw(img), cy = moon.v * Fh(img), r = moon.radius * Fw(img);
    const float lx = std::sin(2 * kPi * moon.phase), lz = -std::cos(2 * kPi * moon.phase);
    const float ct = std::cos(moon.tilt), st = std::sin(moon.tilt);
    // Craters: position on the disc and radius, in moon radii.
    struct Crater {
        float x, y, r;
    };
    std::vector<Crater> craters;
    Rng rng(moon.key * 7919ULL + 17);
    for (int i = 0; i < 10; ++i) {
        const float a = rng.Range(0, 2 * kPi), d = std::sqrt(rng.Uniform()) * 0.85f;
        craters.push_back({d * std::cos(a), d * std::sin(a), 0.03f + 0.06f * std::pow(rng.Uniform(), 2.0f)});
    }
    const Rgb seaTint{0.80f, 0.83f, 0.90f};
    const Rgb shineColour{0.42f, 0.48f, 0.66f};
    const int x0 = std::max(0, static_cast<int>(cx - r - 2)),
              x1 = std::min(img.Width() - 1, static_cast<int>(cx + r + 2));
    const int y0 = std::max(0, static_cast<int>(cy - r - 2)),
              y1 = std::min(img.Height() - 1, static_cast<int>(cy + r + 2));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const float dx = F(x) + 0.5f - cx, dy = F(y) + 0.5f - cy;
            const float dist = std::sqrt(dx * dx + dy * dy);
            const float cover = Clamp01(r - dist + 0.5f);
            if (cover <= 0) continue;
            const float nx = std::clamp(dx / r, -1.0f, 1.0f), ny = std::clamp(dy / r, -1.0f, 1.0f);
            const float nz = std::sqrt(std::max(0.0f, 1 - nx * nx - ny * ny));
            const float rx = nx * ct + ny * st;  // turned so that the light comes from +x
            const float lit = rx * lx + nz * lz;
            const float shade =
                Smoothstep(-0.03f, 0.12f, lit) * (0.8f + 0.2f * std::sqrt(std::max(lit, 0.0f)));

            // Seas: large soft patches, a little cooler than the highlands.
            const float seas = Smoothstep(0.0f, 0.45f, Fbm(nx * 1.2f + 3.1f, ny * 1.2f - 1.3f, 3, moon.key));
            float albedo = 1.0f - 0.15f * seas + 0.03f * Fbm(nx * 8, ny * 8, 3, moon.key + 50);
            for (const Crater& c : craters) {
                const float cd = std::hypot(nx - c.x, ny - c.y) / c.r;
                albedo += 0.025f * std::exp(-std::pow((cd - 1.0f) / 0.35f, 2.0f)) -
                          0.03f * Smoothstep(1.1f, 0.3f, cd);
            }
            albedo *= 0.93f + 0.07f * nz;  // a little limb darkening
            const Rgb surface = Mix(moon.light, moon.light * seaTint, seas) * albedo;
            // The unlit part is seen only faintly (earthshine) against the sky it hides.
            const Rgb dark = Mix(img.At(x, y) * moon.seeThrough, shineColour, moon.earthshine * 1.6f);
            const Rgb c = Mix(dark, surface, shade);
            img.At(x, y) = Over(img.At(x, y), c, cover);
        }
    }
}

void FillBelow(Image& img, const Profile& top, const std::function<Rgb(float, float, float)>& colour) {
    const int w = img.Width(), h = img.Height();
    for (int x = 0; x < w; ++x) {
        float tops[4];
        float highest = 1e9f;
        for (int s = 0; s < 4; ++s) {
            tops[s] = top((F(x) + (F(s) + 0.5f) / 4) / F(w)) * F(h);
            highest = std::min(highest, tops[s]);
        }
        const float u = (F(x) + 0.5f) / F(w);
        const float edge = top(u);
        for (int y = std::max(0, static_cast<int>(std::floor(highest))); y < h; ++y) {
            float cover = 0;
            for (float t : tops) cover += Clamp01(F(y) + 1 - t);
            cover /= 4;
            if (cover <= 0) continue;
            const float v = (F(y) + 0.5f) / F(h);
            img.At(x, y) = Over(img.At(x, y), colour(u, v, v - edge), cover);
        }
    }
}

void FillShape(Image& img, float u0, float v0, float u1, float v1,
               const std::function<bool(float, float)>& inside, Rgb colour) {
    const int x0 = std::max(0, static_cast<int>(u0 * Fw(img)) - 1),
              x1 = std::min(img.Width() - 1, static_cast<int>(u1 * Fw(img)) + 1);
    const int y0 = std::max(0, static_cast<int>(v0 * Fh(img)) - 1),
              y1 = std::min(img.Height() - 1, static_cast<int>(v1 * Fh(img)) + 1);
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx)
                    hits +=
                        inside((F(x) + (F(sx) + 0.5f) / 4) / Fw(img), (F(y) + (F(sy) + 0.5f) / 4) / Fh(img))
                            ? 1
                            : 0;
            if (hits) img.At(x, y) = Over(img.At(x, y), colour, F(hits) / 16);
        }
    }
}

bool InsidePine(float u, float v, float cu, float base, float height, float halfWidth, std::uint32_t key) {
    const float du = std::fabs(u - cu);
    if (v > base + height * 0.02f || v < base - height) return false;
    const float t = (base - v) / height;  // 0 at the foot, 1 at the tip
    if (t < 0.1f) return du < halfWidth * 0.09f;
    const float tiers = 5.0f + static_cast<float>(key % 3);
    const float layer = t * tiers - std::floor(t * tiers);
    const float ragged = 1.0f + 0.12f * Noise1(v * 400.0f + static_cast<float>(key), key);
    const float reach = halfWidth * std::pow(1 - t, 0.95f) * (0.55f + 0.45f * (1 - layer)) * ragged;
    return du < std::max(reach, halfWidth * 0.05f);
}

void Veil(Image& img, const Field& field, Rgb colour, float strength,
          const std::function<float(float, float)>& mask) {
    for (int y = 0; y < img.Height(); ++y) {
        const float v = (F(y) + 0.5f) / Fh(img);
        for (int x = 0; x < img.Width(); ++x) {
            const float u = (F(x) + 0.5f) / Fw(img);
            float f = field(u, v) * strength;
            if (mask) f *= mask(u, v);
            if (f > 0) img.At(x, y) = Screen(img.At(x, y), colour * f);
        }
    }
}

void Reflect(Image& img, float horizon, float darken, Rgb tint, std::uint32_t key, float ripples) {
    const float hp = horizon * Fh(img);
    for (int y = static_cast<int>(std::ceil(hp)); y < img.Height(); ++y) {
        const float depth = F(y) + 0.5f - hp;
        const float t = depth / (Fh(img) - hp);
        const float q = 1.0f / (t + 0.06f);  // waves crowd together towards the horizon
        for (int x = 0; x < img.Width(); ++x) {
            const float u = (F(x) + 0.5f) / Fw(img);
            const float ripple =
                Noise(u * 5.0f, q * 2.2f, key) * 0.6f + Noise(u * 17.0f, q * 6.0f, key + 1) * 0.4f;
            const float ox = ripple * ripples * (0.002f + 0.03f * t) * Fw(img);
            const float oy = std::fabs(ripple) * ripples * 3.0f * t;
            const float my = std::max(0.5f, hp - depth - oy), smear = ripples * (1.0f + 6.0f * t);
            const Rgb mirrored =
                (img.Sample(F(x) + 0.5f + ox - smear, my) + img.Sample(F(x) + 0.5f + ox, my) * 2.0f +
                 img.Sample(F(x) + 0.5f + ox + smear, my)) *
                0.25f;
            const float keep = (1 - darken) * Mixf(0.92f, 0.45f, t);
            img.At(x, y) = mirrored * keep + tint * (1 - keep);
        }
    }
}

void DrawStreak(Image& img, float u0, float v0, float u1, float v1, float widthPx, Rgb colour) {
    const float x0 = u0 * Fw(img), y0 = v0 * Fh(img), x1 = u1 * Fw(img), y1 = v1 * Fh(img);
    const float len2 = (x1 - x0) * (x1 - x0) + (y1 - y0) * (y1 - y0);
    const int reach = static_cast<int>(std::ceil(widthPx * 3)) + 1;
    const int left = std::max(0, static_cast<int>(std::min(x0, x1)) - reach);
    const int right = std::min(img.Width() - 1, static_cast<int>(std::max(x0, x1)) + reach);
    const int top = std::max(0, static_cast<int>(std::min(y0, y1)) - reach);
    const int bottom = std::min(img.Height() - 1, static_cast<int>(std::max(y0, y1)) + reach);
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            const float px = F(x) + 0.5f, py = F(y) + 0.5f;
            const float t = std::clamp(((px - x0) * (x1 - x0) + (py - y0) * (y1 - y0)) / len2, 0.0f, 1.0f);
            const float dx = px - (x0 + t * (x1 - x0)), dy = py - (y0 + t * (y1 - y0));
            const float across = std::exp(-(dx * dx + dy * dy) / (widthPx * widthPx));
            const float along = t * t * Smoothstep(1.0f, 0.93f, t);  // fades in from the tail, ends softly
            img.At(x, y) = Screen(img.At(x, y), colour * (across * along));
        }
    }
}

void Glitter(Image& img, float horizon, float lightU, float width, Rgb colour, float strength,
             std::uint32_t key) {
    const float hp = horizon * Fh(img);
    for (int y = static_cast<int>(std::ceil(hp)); y < img.Height(); ++y) {
        const float t = (F(y) + 0.5f - hp) / (Fh(img) - hp);
        const float q = 1.0f / (t + 0.05f);
        const float spread = width * (0.25f + 2.2f * t);
        for (int x = 0; x < img.Width(); ++x) {
            const float u = (F(x) + 0.5f) / Fw(img);
            const float along = (u - lightU) / spread;
            const float path = std::exp(-along * along);
            if (path < 0.01f) continue;
            const float n =
                Noise(u * 60.0f / (0.15f + t), q * 4.0f, key) + 0.5f * Noise(u * 160.0f, q * 9.0f, key + 7);
            const float sparkle = Smoothstep(0.25f, 0.9f, n);
            const float v = path * (0.25f * path + sparkle) * strength * (1.0f - 0.5f * t);
            img.At(x, y) = Screen(img.At(x, y), colour * v);
        }
    }
}

void Grain(Image& img, float amount, std::uint64_t state) {
    Rng rng(state);
    for (Rgb& c : img.Pixels()) {
        const float g = (rng.Uniform() + rng.Uniform() - 1.0f) * amount;
        c = c + Rgb{g, g, g * 1.15f};
    }
}

}  // namespace slumra::art

// The splash and about pictures and the frames of the logo clip.

#include "Lettering.h"
#include "Text.h"
#include "Scenes.h"
#include "Sky.h"

namespace slumra::art {

namespace {

float F(int v) {
    return static_cast<float>(v);
}

// A four-pointed sparkle: a round core with thin rays along the axes.
void Sparkle(Image& img, float x, float y, float radius, float bright, Rgb colour) {
    const int reach = static_cast<int>(std::ceil(radius * 3));
    for (int yy = static_cast<int>(y) - reach; yy <= static_cast<int>(y) + reach; ++yy)
        for (int xx = static_cast<int>(x) - reach; xx <= static_cast<int>(x) + reach; ++xx) {
            if (!img.Inside(xx, yy)) continue;
            const float dx = std::fabs(F(xx) + 0.5f - x) / radius, dy = std::fabs(F(yy) + 0.5f - y) / radius;
            const float core = std::exp(-(dx * dx + dy * dy) * 4.0f);
            const float rays = std::exp(-dx * 1.2f - dy * 14.0f) + std::exp(-dy * 1.2f - dx * 14.0f);
            img.At(xx, yy) = Screen(img.At(xx, yy), colour * (bright * (core + 0.6f * rays)));
        }
}

}  // namespace

Image PaintIntro(int size) {
    const float s = F(size) / 282.0f;
    Image img(size, size);
    VerticalGradient(img, {{0.0f, Hex(0x04061a)},
                           {0.55f, Hex(0x0c1034)},
                           {0.78f, Hex(0x151440)},
                           {0.86f, Hex(0x0a0b22)},
                           {1.0f, Hex(0x05060f)}});
    const Field mist(141, 141, [](float u, float v) {
        return Smoothstep(0.55f, 0.75f, v) * Smoothstep(0.86f, 0.76f, v) *
               Smoothstep(-0.2f, 0.6f, Fbm(u * 4, v * 8, 5, 301));
    });
    Veil(img, mist, Hex(0x6a58b0), 0.35f);
    const Moon moon{0.5f, 0.36f, 0.2f, 0.15f, -0.55f, 302, Hex(0xf6f0e2), 0.1f};
    const auto stars = ScatterStars(303, 160, [](float, float v) { return Smoothstep(0.8f, 0.6f, v); });
    DrawStars(img, stars,
              [&](float u, float v) { return Smoothstep(0.2f, 0.26f, std::hypot(u - moon.u, v - moon.v)); });
    DrawMoonGlow(img, moon, Hex(0x8a80d8), 0.32f, 2.2f);
    DrawMoon(img, moon);
    Sparkle(img, 0.73f * F(size), 0.2f * F(size), 3.5f * s, 0.9f, Hex(0xe8ecff));
    Sparkle(img, 0.22f * F(size), 0.56f * F(size), 2.5f * s, 0.7f, Hex(0xe0e4ff));
    DrawWordmark(img, 0.5f * F(size), 0.78f * F(size), 0.085f * F(size), Hex(0xeae6f6), Hex(0x7a6ad8));
    return img;
}

Image PaintAbout(int size) {
    // The lower part holds two click areas (left and right of the middle) and stays free of text;
    // the name, version, copyright and the credits of the shipped fonts and pictures run above.
    const float s = F(size) / 325.0f;
    Image img(size, size);
    VerticalGradient(img, {{0.0f, Hex(0x03051a)}, {0.5f, Hex(0x0b1236)}, {0.78f, Hex(0x221e52)}});
    const Moon moon{0.79f, 0.14f, 0.065f, 0.5f, 0.2f, 311};
    const auto stars = ScatterStars(312, 220, [](float, float v) { return Smoothstep(0.8f, 0.5f, v); });
    DrawStars(img, stars, [&](float u, float v) {
        // None behind the lines of text, which keeps them clean.
        const float text = Smoothstep(0.13f, 0.16f, v) * Smoothstep(0.64f, 0.6f, v);
        return Smoothstep(0.07f, 0.14f, std::hypot(u - moon.u, v - moon.v)) * (1.0f - 0.85f * text);
    });
    DrawMoonGlow(img, moon, Hex(0x8898e0), 0.5f, 2.5f);
    DrawMoon(img, moon);
    // A ring round the moon, like the halo of thin high cloud.
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float u = (F(x) + 0.5f) / F(size), v = (F(y) + 0.5f) / F(size);
            const float d = std::hypot(u - moon.u, v - moon.v) / moon.radius;
            img.At(x, y) =
                Screen(img.At(x, y), Hex(0x9aa0e0) * (0.12f * std::exp(-std::pow((d - 1.6f) / 0.12f, 2.0f))));
        }
    const Profile far = [](float u) { return 0.8f - 0.06f * Clamp01(0.5f + Fbm1(u * 2.5f, 4, 313)); };
    const Profile near = [](float u) {
        return 0.88f - 0.05f * std::exp(-std::pow((u - 0.2f) / 0.25f, 2.0f)) - 0.02f * Fbm1(u * 4, 3, 314);
    };
    FillBelow(img, far, [](float, float, float depth) {
        return Mix(Hex(0x282a5c), Hex(0x161840), Smoothstep(0, 0.08f, depth));
    });
    FillBelow(img, near, [](float, float, float) { return Hex(0x07081a); });
    const float cx = 0.5f * F(size);
    DrawWordmark(img, cx, 0.3f * F(size), 0.07f * F(size), Hex(0xeae6f6), Hex(0x7a6ad8));
    const Rgb light = Hex(0xe4e6f4), soft = Hex(0xb4b8dc);
    DrawText(img, Face::ComicBold, 15 * s, cx, 0.37f * F(size), "2.2 release 2", light);
    DrawText(img, Face::Sans, 10.5f * s, cx, 0.425f * F(size), "\xC2\xA9 2026 Slumra", soft);
    DrawText(img, Face::Sans, 10 * s, cx, 0.49f * F(size), "Lettertypen: Comic Neue en Liberation Sans", soft);
    DrawText(img, Face::Sans, 10 * s, cx, 0.525f * F(size), "(SIL Open Font License 1.1)", soft);
    DrawText(img, Face::Sans, 10 * s, cx, 0.57f * F(size), "Afbeeldingen: Fluent Emoji van Microsoft", soft);
    DrawText(img, Face::Sans, 10 * s, cx, 0.605f * F(size), "(MIT License)", soft);
    return img;
}

Image PaintLogoFrame(int size, int frame, int count) {
    // Painted four times larger and reduced, which smooths every edge.
    constexpr int kOver = 4;
    const int big = size * kOver;
    const float t = F(frame) / F(count);  // 0..1 over the loop
    Image img(big, big);
    const float c = F(big) / 2;
    for (int y = 0; y < big; ++y)
        for (int x = 0; x < big; ++x) {
            const float d = std::hypot(F(x) + 0.5f - c, F(y) + 0.5f - c) / c;
            img.At(x, y) = Hex(0x0a0c2c) * Smoothstep(1.0f, 0.1f, d);
        }
    const float breathe = 0.5f + 0.5f * std::sin(2 * kPi * t);
    const Moon moon{0.44f, 0.5f, 0.27f, 0.16f, -0.45f, 321, Hex(0xf8f2e0), 0.04f};
    DrawMoonGlow(img, moon, Hex(0x8a80e0), 0.22f + 0.12f * breathe, 1.6f);
    DrawMoon(img, moon);
    // Stars twinkle each at its own pace; every pace fits a whole number of times in the loop.
    struct Twinkle {
        float u, v, size, cycles, offset;
    };
    constexpr Twinkle stars[] = {{0.74f, 0.26f, 1.0f, 1, 0.0f},   {0.8f, 0.62f, 0.7f, 2, 0.3f},
                                 {0.6f, 0.8f, 0.55f, 1, 0.55f},   {0.26f, 0.2f, 0.5f, 2, 0.8f},
                                 {0.66f, 0.44f, 0.45f, 3, 0.15f}, {0.3f, 0.82f, 0.45f, 1, 0.7f}};
    for (const Twinkle& s : stars) {
        const float phase = 0.5f + 0.5f * std::sin(2 * kPi * (s.cycles * t + s.offset));
        Sparkle(img, s.u * F(big), s.v * F(big), F(big) * 0.05f * s.size * (0.7f + 0.5f * phase),
                0.2f + 0.8f * phase, Hex(0xe6eaff));
    }
    // Black outside the circle the clip is shown in.
    for (int y = 0; y < big; ++y)
        for (int x = 0; x < big; ++x) {
            const float d = std::hypot(F(x) + 0.5f - c, F(y) + 0.5f - c) / c;
            img.At(x, y) = img.At(x, y) * Smoothstep(1.0f, 0.96f, d);
        }
    return Resize(img, size, size);
}

std::vector<std::uint32_t> PaintIcon(int size) {
    constexpr int kOver = 4;
    const int big = size * kOver;
    const float c = F(big) / 2, radius = F(big) * 0.47f;
    Image colour(big, big), cover(big, big);
    for (int y = 0; y < big; ++y)
        for (int x = 0; x < big; ++x) {
            const float d = std::hypot(F(x) + 0.5f - c, F(y) + 0.5f - c);
            const float v = (F(y) + 0.5f) / F(big);
            colour.At(x, y) =
                Mix(Hex(0x232a6c), Hex(0x0b0d2c), v) +
                Hex(0x6a74c8) * (0.5f * std::exp(-std::pow((radius - d) / (F(big) * 0.02f), 2.0f)));
            const float a = Clamp01(radius - d + 0.5f);
            cover.At(x, y) = {a, a, a};
        }
    const Moon moon{0.45f, 0.5f, 0.27f, 0.17f, -0.45f, 331, Hex(0xfaf4e2), 0.0f, 0.95f};
    DrawMoonGlow(colour, moon, Hex(0x9088e0), 0.15f, 1.5f);
    DrawMoon(colour, moon);
    Sparkle(colour, 0.72f * F(big), 0.3f * F(big), F(big) * 0.06f, 1.0f, Hex(0xf0f2ff));
    for (int y = 0; y < big; ++y)
        for (int x = 0; x < big; ++x) colour.At(x, y) = colour.At(x, y) * cover.At(x, y).r;  // premultiply
    const Image small = Resize(colour, size, size), alpha = Resize(cover, size, size);
    std::vector<std::uint32_t> argb(static_cast<std::size_t>(size) * size, 0);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float a = alpha.At(x, y).r;
            if (a < 1.0f / 255) continue;
            auto ch = [a](float v) { return static_cast<std::uint32_t>(std::lround(Clamp01(v / a) * 255)); };
            const Rgb p = small.At(x, y);
            argb[static_cast<std::size_t>(y) * size + x] =
                (static_cast<std::uint32_t>(std::lround(a * 255)) << 24) | (ch(p.r) << 16) | (ch(p.g) << 8) |
                ch(p.b);
        }
    return argb;
}

}  // namespace slumra::art

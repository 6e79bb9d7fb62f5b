// The skins of the main window's panels and of the small dialogs. Light text stands on all of
// them, so they stay dark where text goes and keep their light for edges and corners.

#include "Scenes.h"
#include "Sky.h"

namespace slumra::art {

namespace {

float F(int v) {
    return static_cast<float>(v);
}

// Approximate signed distance (in pixels, negative inside) to the ellipse inscribed in a box.
float EllipseDistance(float x, float y, float left, float top, float right, float bottom) {
    const float rx = (right - left) / 2, ry = (bottom - top) / 2;
    const float px = x - (left + right) / 2, py = y - (top + bottom) / 2;
    const float k = std::hypot(px / rx, py / ry);
    const float grad = std::hypot(px / (rx * rx), py / (ry * ry));
    if (grad < 1e-6f) return -std::min(rx, ry);
    return (k - 1) * k / grad;
}

// A thin light line just inside an outline at signed distance d, width in pixels.
float Rim(float d, float width) {
    return std::exp(-std::pow((d + width * 1.2f) / width, 2.0f));
}

}  // namespace

Image PaintMenuStrip(int w, int h) {
    // The window shows the strip from u = 1/8 + (p-1)/4 over a width of 3/8, for p = 1, 2, 3;
    // each scene keeps its moon on the right, clear of the highlight oval on the left.
    const float s = F(h) / 75.0f;
    const float aspect = F(w) / F(h);
    Image img(w, h);
    const Rgb low1 = Hex(0x30285e), low2 = Hex(0x1c2c5c), low3 = Hex(0x22305a);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float u = (F(x) + 0.5f) / F(w), v = (F(y) + 0.5f) / F(h);
            const Rgb low = u < 0.5f ? Mix(low1, low2, Smoothstep(0.3f, 0.6f, u))
                                     : Mix(low2, low3, Smoothstep(0.6f, 0.9f, u));
            img.At(x, y) = Mix(Hex(0x050817), low, std::pow(v, 1.6f));
        }
    // A veil of mist along the horizon.
    const Field mist(600, 30, [](float u, float v) {
        return Smoothstep(0.3f, 0.95f, v) * (0.5f + 0.5f * Fbm(u * 40, v * 2, 4, 201));
    });
    Veil(img, mist, Hex(0x4a4a90), 0.35f);
    const auto stars =
        ScatterStars(202, w * h / 700, [](float, float v) { return Smoothstep(0.85f, 0.2f, v); });
    const float moonU[3] = {0.415f, 0.665f, 0.915f};
    DrawStars(img, stars, [&](float u, float) {
        float vis = 1;
        for (float m : moonU) vis = std::min(vis, Smoothstep(0.004f, 0.03f, std::fabs(u - m)));
        return vis;
    });
    // A faint constellation over the index scene: five stars in a W, linked by fine lines.
    const float wu[5] = {0.575f, 0.588f, 0.6f, 0.613f, 0.627f}, wv[5] = {0.22f, 0.46f, 0.3f, 0.5f, 0.26f};
    for (int i = 0; i < 4; ++i) {
        const float x0 = wu[i] * F(w), y0 = wv[i] * F(h), x1 = wu[i + 1] * F(w), y1 = wv[i + 1] * F(h);
        const int steps = static_cast<int>(std::hypot(x1 - x0, y1 - y0) * 2);
        for (int k = 3; k < steps - 3; ++k) {
            const float t = F(k) / F(steps);
            img.Add(static_cast<int>(x0 + (x1 - x0) * t), static_cast<int>(y0 + (y1 - y0) * t),
                    Hex(0x6070b0) * 0.07f);
        }
    }
    std::vector<Star> w5;
    for (int i = 0; i < 5; ++i) w5.push_back({wu[i], wv[i], 0.9f, 0.7f, Rgb{0.85f, 0.9f, 1.0f}});
    DrawStars(img, w5);

    // The moon waxes from scene to scene: a crescent, a half moon, the full moon.
    const float phases[3] = {0.14f, 0.27f, 0.5f};
    const float tilts[3] = {-0.5f, -0.2f, 0.0f};
    for (int i = 0; i < 3; ++i) {
        const Moon moon{moonU[i],  0.36f,    13.0f * s / F(w),
                        phases[i], tilts[i], static_cast<std::uint32_t>(203 + i)};
        DrawMoonGlow(img, moon, Hex(0x8090d0), i == 2 ? 0.35f : 0.15f + 0.1f * F(i), 2.5f);
        DrawMoon(img, moon);
    }
    // Two rows of hills; the far one blue with mist, the near one almost black.
    const Profile far = [aspect](float u) {
        return 0.82f - 0.22f * Clamp01(0.5f + 1.2f * Fbm1(u * aspect / 5.0f, 4, 205));
    };
    const Profile near = [aspect](float u) {
        return 0.92f - 0.14f * Clamp01(0.5f + 0.9f * Fbm1(u * aspect / 6.0f + 7, 4, 206));
    };
    FillBelow(img, far, [](float, float, float depth) {
        return Mix(Hex(0x1c2048), Hex(0x2a2e60), Smoothstep(0.0f, 0.15f, depth));
    });
    FillBelow(img, near, [](float, float, float) { return Hex(0x080a18); });
    // Pines here and there on the near hills, and a cottage with a lit window in the diary scene.
    Rng rng(207);
    for (float u = 0.02f; u < 1.0f; u += rng.Range(0.01f, 0.06f)) {
        const float base = near(u) + 0.03f, height = rng.Range(0.14f, 0.3f), half = height * 0.28f / aspect;
        const auto key = static_cast<std::uint32_t>(rng.Next() & 0xffff);
        if (std::fabs(u - 0.84f) < 0.02f) continue;
        FillShape(
            img, u - half, base - height, u + half, base,
            [&](float pu, float pv) { return InsidePine(pu, pv, u, base, height, half, key); },
            Hex(0x080a18));
    }
    const float hu = 0.84f, hb = near(hu) + 0.02f, hw = 0.1f / aspect, hh = 0.12f;
    FillShape(
        img, hu - hw, hb - hh - 0.1f, hu + hw, hb,
        [&](float pu, float pv) {
            const float dx = std::fabs(pu - hu);
            const bool walls = pv > hb - hh && dx < hw * 0.8f;
            const bool roof =
                pv <= hb - hh && pv > hb - hh - 0.1f && dx < (pv - (hb - hh - 0.1f)) / 0.1f * hw;
            return walls || roof;
        },
        Hex(0x080a18));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float u = (F(x) + 0.5f) / F(w), v = (F(y) + 0.5f) / F(h);
            const float dx = (u - hu) * aspect, dy = v - (hb - hh * 0.55f);
            const float window = (std::fabs(dx) < 0.03f && std::fabs(dy) < 0.03f) ? 1.0f : 0.0f;
            const float glow = std::exp(-(dx * dx + dy * dy) / 0.004f);
            img.At(x, y) =
                Screen(img.At(x, y), Hex(0xf0c078) * (0.8f * window) + Hex(0xc09060) * (0.25f * glow));
        }
    return img;
}

Image PaintMenuHighlight(int w, int h) {
    Image img(w, h);
    const auto stars = ScatterStars(211, 14, nullptr, 0.6f);
    const Field wisps(120, 60,
                      [](float u, float v) { return Smoothstep(-0.1f, 0.6f, Fbm(u * 3, v * 2, 4, 212)); });
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float px = F(x) + 0.5f, py = F(y) + 0.5f;
            const float d = EllipseDistance(px, py, 0, 0, F(w), F(h));
            const float k = Clamp01(1 + d / (F(h) / 2));  // 0 at the centre, 1 at the edge
            Rgb c = Mix(Hex(0x2c2a66), Hex(0x15163e), Smoothstep(0.0f, 1.0f, k));
            c = Screen(c, Hex(0x6048a0) * (0.18f * wisps(px / F(w), py / F(h))));
            c = Screen(c, Hex(0xa8b0f0) * (0.55f * Rim(d, 1.3f * F(h) / 95)));
            img.At(x, y) = c;
        }
    DrawStars(img, stars, [](float u, float v) {
        const float du = (u - 0.5f) * 2, dv = (v - 0.5f) * 2;
        return Smoothstep(0.55f, 0.8f, std::hypot(du, dv)) * Smoothstep(1.0f, 0.9f, std::hypot(du, dv));
    });
    return img;
}

Image PaintRecordPanel(int w, int h, float scale) {
    // The panel is cut to the union of three ellipses (boxes at scale 1).
    const float big[4] = {6, 6, 396, 291}, logo[4] = {280, 0, 325, 45}, picture[4] = {0, 230, 125, 355};
    auto dist = [scale](const float(&b)[4], float x, float y) {
        return EllipseDistance(x, y, b[0] * scale, b[1] * scale, b[2] * scale, b[3] * scale);
    };
    const Field mist(200, 180,
                     [](float u, float v) { return Smoothstep(-0.2f, 0.6f, Fbm(u * 3, v * 3, 5, 221)); });
    const auto stars = ScatterStars(222, 160, nullptr, 0.8f);
    Image img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float px = F(x) + 0.5f, py = F(y) + 0.5f, u = px / F(w), v = py / F(h);
            const float db = dist(big, px, py), dl = dist(logo, px, py), dp = dist(picture, px, py);
            const float edge = std::min({db, dl, dp});
            Rgb c = Hex(0x070918);
            if (db < 0) {
                // The text area: near black blue in the middle, a violet mist towards the edge.
                const float k = Clamp01(1 + db / (142.5f * scale));
                const Rgb rimward = Mix(Hex(0x141640), Hex(0x221a4c), v);
                c = Mix(Hex(0x070b20), rimward, std::pow(k, 2.4f));
                c = Screen(c, Mix(Hex(0x3c5a9a), Hex(0x7a4aa0), mist(v, u)) *
                                  (0.3f * std::pow(k, 3.0f) * mist(u, v)));
            }
            if (dl < 0) c = Mix(Hex(0x04050c), Hex(0x141a40), Clamp01(1 + dl / (22.5f * scale)));
            if (dp < 0)
                c = Mix(Hex(0x05060f), Hex(0x161a44), std::pow(Clamp01(1 + dp / (62.5f * scale)), 2.0f));
            // Rims along the outline of the whole panel and round the two circles inside it.
            float rim = Rim(edge, 1.4f * scale);
            rim = std::max(rim, 0.6f * Rim(dl, 1.2f * scale));
            rim = std::max(rim, 0.6f * Rim(dp, 1.2f * scale));
            c = Screen(c, Hex(0x9aa4e8) * (0.6f * rim));
            img.At(x, y) = c;
        }
    // A few stars in the quiet margin of the oval, none where the text runs.
    DrawStars(img, stars, [&](float u, float v) {
        const float d = dist(big, u * F(w), v * F(h));
        return Smoothstep(-4 * scale, -10 * scale, d) * Smoothstep(-45 * scale, -18 * scale, d) *
               (dist(picture, u * F(w), v * F(h)) > 0 ? 1.0f : 0.0f);
    });
    return img;
}

Image PaintDiaryPanel(int w, int h) {
    Image img(w, h);
    VerticalGradient(img, {{0.0f, Hex(0x070a1e)}, {0.6f, Hex(0x0d1230)}, {1.0f, Hex(0x1a1a44)}});
    const Field mist(300, 200, [](float u, float v) {
        return Smoothstep(0.45f, 1.0f, v) * Smoothstep(-0.2f, 0.6f, Fbm(u * 4, v * 5, 5, 231));
    });
    Veil(img, mist, Hex(0x5a4c9c), 0.3f);
    const float aspect = F(w) / F(h);
    const auto stars = ScatterStars(
        232, w * h / 1500, [](float, float v) { return Smoothstep(0.8f, 0.1f, v); }, 0.8f);
    const Moon moon{0.93f, 0.12f, 0.02f, 0.15f, -0.5f, 233, Hex(0xf4efe2), 0.1f};
    DrawStars(img, stars, [&](float u, float v) {
        return Smoothstep(0.02f, 0.12f, std::hypot((u - moon.u) * aspect, v - moon.v));
    });
    DrawMoonGlow(img, moon, Hex(0x8a84d0), 0.2f, 3.0f);
    DrawMoon(img, moon);
    Grain(img, 0.006f, 234);
    return img;
}

Image PaintOverlayPanel(int w, int h) {
    Image img(w, h);
    VerticalGradient(img, {{0.0f, Hex(0x0a0d26)}, {1.0f, Hex(0x13143a)}});
    const Field wisps(
        224, 200, [](float u, float v) { return Smoothstep(-0.1f, 0.7f, Fbm(u * 3 + 2, v * 3, 5, 241)); });
    Veil(img, wisps, Hex(0x4a4288), 0.22f);
    const auto stars = ScatterStars(242, w * h / 2500, nullptr, 0.5f);
    DrawStars(img, stars);
    Grain(img, 0.006f, 243);
    return img;
}

Image PaintDialogTile(int size) {
    // Everything here repeats every `size` pixels: tiling noise and stars that wrap at the edges.
    Image img(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float u = (F(x) + 0.5f) / F(size), v = (F(y) + 0.5f) / F(size);
            const float m = Smoothstep(-0.3f, 0.6f, FbmTiled(u * 3, v * 3, 3, 5, 251));
            const float fine = FbmTiled(u * 12, v * 12, 12, 3, 252);
            Rgb c = Mix(Hex(0x0a0e28), Hex(0x1a1a46), m);
            c = c + Hex(0x101030) * (0.25f * fine);
            img.At(x, y) = c;
        }
    const auto stars = ScatterStars(253, size * size / 1400, nullptr, 0.6f);
    DrawStars(img, stars, nullptr, true);
    return img;
}

Image PaintDialogSkin(int w, int h, int corner, float tone) {
    // The same night as the tile, framed: a light rim just inside the window's rounded outline
    // and a faint glow along it, so that a dialog stands clear of whatever lies under it.
    const Image tile = PaintDialogTile(320);
    Image img(w, h);
    const float r = F(corner) / 2;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            // Signed distance to the rounded rectangle (negative inside).
            const float px = F(x) + 0.5f, py = F(y) + 0.5f;
            const float qx = std::fabs(px - F(w) / 2) - (F(w) / 2 - r), qy = std::fabs(py - F(h) / 2) - (F(h) / 2 - r);
            const float d = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - r;
            Rgb c = tile.At(x % 320, y % 320);
            c = Screen(c, Hex(0x4a4890) * (tone * 0.35f));
            c = Screen(c, Hex(0x6a70c8) * (0.35f * std::exp(d / 7.0f)));
            c = Screen(c, Hex(0xb8c0ff) * (0.9f * Rim(d, 1.1f)));
            img.At(x, y) = c;
        }
    return img;
}

}  // namespace slumra::art

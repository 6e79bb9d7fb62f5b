#include "Lettering.h"

#include <algorithm>
#include <vector>

namespace slumra::art {

namespace {

struct Point {
    float x, y;
};

// A letter: strokes through control points (x-height units, y up from the baseline) and the
// distance to the next letter.
struct Glyph {
    std::vector<std::vector<Point>> strokes;
    float advance;
};

std::vector<Point> Ellipse(float cx, float cy, float rx, float ry) {
    std::vector<Point> p;
    for (int i = 0; i <= 48; ++i) {
        const float a = 2 * kPi * static_cast<float>(i) / 48;
        p.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
    }
    return p;
}

const std::vector<Glyph>& Word() {
    static const std::vector<Glyph> word = {
        // S
        {{{{0.80f, 1.22f},
           {0.62f, 1.40f},
           {0.36f, 1.43f},
           {0.12f, 1.30f},
           {0.09f, 1.05f},
           {0.30f, 0.84f},
           {0.60f, 0.68f},
           {0.80f, 0.42f},
           {0.74f, 0.14f},
           {0.48f, 0.0f},
           {0.20f, 0.02f},
           {0.02f, 0.18f}}},
         0.98f},
        // l
        {{{{0.12f, 1.5f}, {0.12f, 0.22f}, {0.17f, 0.04f}, {0.32f, 0.0f}}}, 0.46f},
        // u
        {{{{0.1f, 1.0f}, {0.1f, 0.42f}, {0.2f, 0.1f}, {0.42f, 0.0f}, {0.64f, 0.08f}, {0.78f, 0.4f}},
          {{0.78f, 1.0f}, {0.78f, 0.0f}}},
         1.02f},
        // m
        {{{{0.1f, 1.0f}, {0.1f, 0.0f}},
          {{0.1f, 0.66f}, {0.22f, 0.93f}, {0.4f, 1.0f}, {0.54f, 0.88f}, {0.58f, 0.6f}, {0.58f, 0.0f}},
          {{0.58f, 0.66f}, {0.7f, 0.93f}, {0.88f, 1.0f}, {1.02f, 0.88f}, {1.06f, 0.6f}, {1.06f, 0.0f}}},
         1.3f},
        // r
        {{{{0.1f, 1.0f}, {0.1f, 0.0f}}, {{0.1f, 0.6f}, {0.2f, 0.89f}, {0.4f, 1.0f}, {0.58f, 0.95f}}}, 0.7f},
        // a
        {{Ellipse(0.42f, 0.5f, 0.34f, 0.5f), {{0.76f, 1.0f}, {0.76f, 0.0f}}}, 0.9f},
    };
    return word;
}

// Catmull-Rom curve through the points, as a polyline.
std::vector<Point> Curve(const std::vector<Point>& p) {
    if (p.size() < 3) return p;
    std::vector<Point> out;
    for (std::size_t i = 0; i + 1 < p.size(); ++i) {
        const Point p0 = p[i == 0 ? 0 : i - 1], p1 = p[i], p2 = p[i + 1],
                    p3 = p[std::min(i + 2, p.size() - 1)];
        for (int k = 0; k < 12; ++k) {
            const float t = static_cast<float>(k) / 12, t2 = t * t, t3 = t2 * t;
            auto f = [&](float a, float b, float c, float d) {
                return 0.5f * (2 * b + (-a + c) * t + (2 * a - 5 * b + 4 * c - d) * t2 +
                               (-a + 3 * b - 3 * c + d) * t3);
            };
            out.push_back({f(p0.x, p1.x, p2.x, p3.x), f(p0.y, p1.y, p2.y, p3.y)});
        }
    }
    out.push_back(p.back());
    return out;
}

float SegmentDistance(Point p, Point a, Point b) {
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float len2 = dx * dx + dy * dy;
    const float t = len2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0f, 1.0f) : 0.0f;
    return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

}  // namespace

float WordmarkWidth(float xHeight) {
    float w = 0;
    for (const Glyph& g : Word()) w += g.advance;
    return (w - 0.1f) * xHeight;
}

void DrawWordmark(Image& img, float cx, float baseline, float xHeight, Rgb ink, Rgb glow) {
    std::vector<std::pair<Point, Point>> segments;
    float origin = cx - WordmarkWidth(xHeight) / 2;
    for (const Glyph& g : Word()) {
        for (const auto& stroke : g.strokes) {
            const auto line = Curve(stroke);
            for (std::size_t i = 0; i + 1 < line.size(); ++i)
                segments.push_back({{origin + line[i].x * xHeight, baseline - line[i].y * xHeight},
                                    {origin + line[i + 1].x * xHeight, baseline - line[i + 1].y * xHeight}});
        }
        origin += g.advance * xHeight;
    }
    const float half = 0.07f * xHeight, spread = 0.45f * xHeight;
    const float left = cx - WordmarkWidth(xHeight) / 2 - 2 * spread,
                right = cx + WordmarkWidth(xHeight) / 2 + 2 * spread;
    const float top = baseline - 1.5f * xHeight - 2 * spread, bottom = baseline + 2 * spread;
    for (int y = std::max(0, static_cast<int>(top)); y < std::min(img.Height(), static_cast<int>(bottom) + 1);
         ++y) {
        for (int x = std::max(0, static_cast<int>(left));
             x < std::min(img.Width(), static_cast<int>(right) + 1); ++x) {
            const Point p{static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f};
            float d = 1e9f;
            for (const auto& [a, b] : segments) d = std::min(d, SegmentDistance(p, a, b));
            const float halo = std::exp(-(d / spread) * (d / spread));
            Rgb c = Screen(img.At(x, y), glow * (0.32f * halo));
            c = Over(c, ink, Clamp01(half - d + 0.5f));
            img.At(x, y) = c;
        }
    }
}

}  // namespace slumra::art

#include "Cursors.h"

#include <algorithm>
#include <cmath>

namespace slumra::art {

namespace {

struct Capsule {
    float x0, y0, x1, y1, r;
};

float CapsuleDistance(const Capsule& c, float x, float y) {
    const float dx = c.x1 - c.x0, dy = c.y1 - c.y0;
    const float len2 = dx * dx + dy * dy;
    const float t = len2 > 0 ? std::clamp(((x - c.x0) * dx + (y - c.y0) * dy) / len2, 0.0f, 1.0f) : 0.0f;
    return std::hypot(x - c.x0 - t * dx, y - c.y0 - t * dy) - c.r;
}

float BoxDistance(float x, float y, float left, float top, float right, float bottom, float radius) {
    const float cx = (left + right) / 2, cy = (top + bottom) / 2;
    const float qx = std::fabs(x - cx) - ((right - left) / 2 - radius),
                qy = std::fabs(y - cy) - ((bottom - top) / 2 - radius);
    return std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - radius;
}

// The hand in pixel units of the 32 x 32 cursor.
struct Hand {
    Capsule fingers[4];
    Capsule thumb;

    // Distance to the whole hand (negative inside).
    float Outside(float x, float y) const {
        float d = BoxDistance(x, y, 8.0f, 13.5f, 24.6f, 25.0f, 3.5f);
        d = std::min(d, BoxDistance(x, y, 10.8f, 22.0f, 22.4f, 29.6f, 1.5f));
        d = std::min(d, CapsuleDistance(thumb, x, y));
        for (const Capsule& f : fingers) d = std::min(d, CapsuleDistance(f, x, y));
        return d;
    }
    // Distance to the nearest line between fingers drawn inside the hand.
    float Crease(float x, float y) const {
        float d = 1e9f;
        for (const Capsule& f : fingers)
            if (y < f.y1 + 1.5f) d = std::min(d, std::fabs(CapsuleDistance(f, x, y)));
        return d;
    }
};

}  // namespace

CursorArt PaintHand(bool pointing) {
    Hand hand{{{10.4f, pointing ? 2.6f : 10.6f, 10.4f, 15.0f, 2.5f},
               {14.9f, 10.9f, 14.9f, 15.5f, 2.2f},
               {19.1f, 11.9f, 19.1f, 16.0f, 2.1f},
               {22.7f, 13.6f, 22.7f, 17.0f, 1.9f}},
              {4.9f, 15.6f, 9.6f, 21.6f, 2.2f}};
    CursorArt art{std::vector<std::uint32_t>(32 * 32, 0), pointing ? 10 : 11, pointing ? 0 : 8};
    constexpr int kSub = 4;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            float alpha = 0, light = 0;  // light: premultiplied grey level
            for (int sy = 0; sy < kSub; ++sy) {
                for (int sx = 0; sx < kSub; ++sx) {
                    const float px = static_cast<float>(x) + (static_cast<float>(sx) + 0.5f) / kSub;
                    const float py = static_cast<float>(y) + (static_cast<float>(sy) + 0.5f) / kSub;
                    const float d = hand.Outside(px, py);
                    if (d < -1.1f) {
                        const float crease = hand.Crease(px, py);
                        const float grey = crease < 0.35f && d < -1.5f ? 0.0f : 1.0f;
                        alpha += 1;
                        light += grey;
                    } else if (d < 0) {
                        alpha += 1;  // black outline
                    } else {
                        // A soft shadow down and to the right.
                        const float s = hand.Outside(px - 1.2f, py - 1.4f);
                        alpha += 0.3f * std::clamp(1.0f - s / 1.6f, 0.0f, 1.0f) * (s < 1.6f ? 1.0f : 0.0f);
                    }
                }
            }
            alpha /= kSub * kSub;
            light /= kSub * kSub;
            if (alpha <= 0.0f) continue;
            // Straight (not premultiplied) colour; where the hand is only partly present the
            // pixel is outline or shadow, both black.
            const float level = alpha > 0 ? std::clamp(light / alpha, 0.0f, 1.0f) : 0.0f;
            const auto a = static_cast<std::uint32_t>(std::lround(alpha * 255));
            const auto g = static_cast<std::uint32_t>(std::lround(level * 255));
            art.argb[static_cast<std::size_t>(y) * 32 + x] = (a << 24) | (g << 16) | (g << 8) | g;
        }
    }
    return art;
}

}  // namespace slumra::art

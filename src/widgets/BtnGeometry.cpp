#include "widgets/BtnGeometry.h"

#include <algorithm>
#include <cmath>

namespace slumra {

int FractionPixels(double value) {
    constexpr double kLimit = 1 << 30;
    if (std::isnan(value)) return 0;
    return RoundHalfEven(std::clamp(value, -kLimit, kLimit));
}

Rect BtnShadowRect(const BtnFractions& f, int w, int h) {
    const double sx = f.ShadowXOffset, sy = f.ShadowYOffset;
    return {FractionPixels((f.FaceXOffset + sx) * w), FractionPixels((f.FaceYOffset + sy) * h),
            FractionPixels((f.FaceXOffset + f.FaceWidth + sx) * w),
            FractionPixels((f.FaceYOffset + f.FaceHeight + sy) * h)};
}

Rect BtnFaceRect(const BtnFractions& f, int w, int h, bool pressed) {
    if (pressed) return BtnShadowRect(f, w, h);
    return {FractionPixels(w * f.FaceXOffset), FractionPixels(h * f.FaceYOffset),
            FractionPixels((f.FaceXOffset + f.FaceWidth) * w),
            FractionPixels((f.FaceYOffset + f.FaceHeight) * h)};
}

Point BtnCaptionOrigin(const BtnFractions& f, int w, int h, bool pressed) {
    if (pressed)
        return {FractionPixels((f.CaptionXOffset + f.ShadowXOffset) * w),
                FractionPixels((f.CaptionYOffset + f.ShadowYOffset) * h)};
    return {FractionPixels(w * f.CaptionXOffset), FractionPixels(h * f.CaptionYOffset)};
}

Rect BtnGlyphRect(const BtnFractions& f, int w, int h, bool pressed, GlyphLayout layout, int picW, int picH) {
    const double sx = pressed ? f.ShadowXOffset : 0.0, sy = pressed ? f.ShadowYOffset : 0.0;
    switch (layout) {
        case GlyphLayout::Stretched:
            return {FractionPixels((f.GlyphXOffset + sx) * w), FractionPixels((f.GlyphYOffset + sy) * h),
                    FractionPixels((f.GlyphXOffset + f.GlyphWidth + sx) * w),
                    FractionPixels((f.GlyphYOffset + f.GlyphHeight + sy) * h)};
        case GlyphLayout::Centered: {
            // The shadow offset is rounded on its own here, not together with the centre.
            const int x = (w - picW) / 2 + FractionPixels(w * sx);
            const int y = (h - picH) / 2 + FractionPixels(h * sy);
            return {x, y, x + picW, y + picH};
        }
        case GlyphLayout::Placed:
            break;
    }
    const int x = FractionPixels((f.GlyphXOffset + sx) * w), y = FractionPixels((f.GlyphYOffset + sy) * h);
    return {x, y, x + picW, y + picH};
}

}  // namespace slumra

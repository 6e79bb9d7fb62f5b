// Where the proportional image puts its picture and its caption box: the fitting box as a
// percentage of the control, the static box that may override one dimension, and the box
// at the bottom centre that holds the caption.
#pragma once

#include "widgets/Geometry.h"

#include <algorithm>
#include <cstdlib>

namespace slumra {

// Percentages of the control's width (Sx) and height (Sy).
struct FitBox {
    int Sx = 90, Sy = 90;
    bool SxIsStatic = false, SyIsStatic = false;
    int StaticSx = 0, StaticSy = 0;
};

// The largest pw × ph-shaped size within sx % × sy % of a w × h control.
inline Point FitSize(int w, int h, int pw, int ph, int sx, int sy) {
    int fw = ScaleValue(w, sx, 100);
    int fh = ScaleValue(fw, ph, pw);
    const int maxH = ScaleValue(h, sy, 100);
    if (fh > maxH) {
        fh = maxH;
        fw = ScaleValue(fh, pw, ph);
    }
    return {std::max(fw, 0), std::max(fh, 0)};
}

// Where a pw × ph picture is drawn on a w × h control, centred (halving truncates toward
// zero); it may reach beyond the control when a box is over 100 %. A static dimension
// replaces only that one, so the shape is then not kept. An empty rectangle at the centre
// for a picture without area.
inline Rect FitPicture(int w, int h, int pw, int ph, const FitBox& box) {
    if (pw <= 0 || ph <= 0) return {w / 2, h / 2, w / 2, h / 2};
    Point size = FitSize(w, h, pw, ph, box.Sx, box.Sy);
    if (box.SxIsStatic || box.SyIsStatic) {
        const Point fixed = FitSize(w, h, pw, ph, box.StaticSx, box.StaticSy);
        if (box.SxIsStatic)
            size.X = fixed.X;
        else
            size.Y = fixed.Y;
    }
    const int left = (w - size.X) / 2, top = (h - size.Y) / 2;
    return {left, top, left + size.X, top + size.Y};
}

// The caption box: its rectangle (the pen draws its outline), the text's clipping rectangle
// and where the text starts.
struct CaptionLayout {
    Rect Box;
    Rect Clip;
    Point Text;
};

// The font's size in points as the toolkit keeps it: `height` pixels (negative: character
// height, positive: cell height) at `pixelsPerInch`.
inline int FontPointSize(int height, int pixelsPerInch) {
    return ScaleValue(std::abs(height), 72, pixelsPerInch > 0 ? pixelsPerInch : 96);
}

// A caption of textWidth × textHeight pixels in a font of `pointSize` points, on a w × h
// control whose device has `pixelsPerInch` vertically: two pixels of room around the text
// across, the font's height in pixels plus four down.
inline CaptionLayout CaptionPlacement(int w, int h, int textWidth, int textHeight, int pointSize,
                                      int pixelsPerInch) {
    const int g = textWidth + 4;
    const int m = ScaleValue(pixelsPerInch, std::abs(pointSize), 72) + 4;
    const int left = (w - g) / 2;
    CaptionLayout c;
    c.Box = {left, h - m, w - left, h};
    c.Clip = {left + 2, h - m + 2, left + 2 + textWidth, h - m + 2 + (m - 4)};
    c.Text = {left + 2, h - m + (m - textHeight) / 2};
    return c;
}

}  // namespace slumra

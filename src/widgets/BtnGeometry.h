// Where a skinned button paints its parts. Every measure of the button is a fraction of its
// own width (X values) or height (Y values), turned into pixels by rounding halves to even;
// kept free of the platform so it is tested natively.
#pragma once

#include "widgets/Geometry.h"

namespace slumra {

// The fractional measures of a skinned button, with the values a new button starts with.
struct BtnFractions {
    double FaceXOffset = 0.0, FaceYOffset = 0.0;
    double FaceWidth = 0.8, FaceHeight = 0.5;
    // Where the shadow lies under the face, and how far face, glyph and caption move when pressed.
    double ShadowXOffset = 0.0, ShadowYOffset = 0.0;
    double CaptionXOffset = 0.0, CaptionYOffset = 0.0;
    double GlyphXOffset = 0.0, GlyphYOffset = 0.0;
    double GlyphWidth = 0.2, GlyphHeight = 0.8;
};

enum class GlyphLayout {
    Placed,     // natural size at the glyph offset
    Centered,   // natural size in the middle of the button
    Stretched,  // stretched over the glyph box
};

// A fraction-derived value in pixels: nearest integer, halves to even. Not-a-number gives 0 and
// values beyond ±2^30 are held there, so a wild fraction cannot overflow the pixel arithmetic.
int FractionPixels(double value);

// The shadow's rectangle (right and bottom exclusive, as a rounded rectangle takes them): the
// face moved by the shadow offset.
Rect BtnShadowRect(const BtnFractions& f, int w, int h);
// The face's rectangle; pressed, it lies exactly on the shadow.
Rect BtnFaceRect(const BtnFractions& f, int w, int h, bool pressed);
// Where the caption's top-left corner is written.
Point BtnCaptionOrigin(const BtnFractions& f, int w, int h, bool pressed);
// The area a picW × picH glyph covers. Centred glyphs are halved toward zero, so a glyph wider
// than the button hangs over both sides by the same amount (give or take a pixel).
Rect BtnGlyphRect(const BtnFractions& f, int w, int h, bool pressed, GlyphLayout layout, int picW, int picH);

}  // namespace slumra

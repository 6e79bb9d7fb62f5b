// What every visual component shares: the graphic control with mouse-in and mouse-out
// events, and the two helpers that copy a graphic onto a canvas with the shared raster
// operation.
#pragma once

#include "toolkit/Controls.h"

#include <functional>

namespace slumra {

using GMouseInOutEvent = std::function<void(tk::TControl* sender)>;

class GGraphicControl : public tk::TControl {
public:
    explicit GGraphicControl(tk::TWinControl* parent) : tk::TControl(parent) {}
    GMouseInOutEvent OnMouseIn;
    GMouseInOutEvent OnMouseOut;
    void MouseEnter() override;
    void MouseLeave() override;
};

// The raster operation of both helpers (SRCCOPY unless a caller changes it).
extern DWORD GraphicRop;

// A bitmap at natural size at (x, y); an icon through the canvas. Nothing for no canvas or
// an empty picture (the stretch mode is then left alone).
void DrawGraphic(tk::TCanvas* canvas, int x, int y, const tk::TPicture* graphic);
// A bitmap stretched to origin (r.left, r.top) with width r.right and height r.bottom: the
// right and bottom fields carry the size. An icon is drawn into r taken as a rectangle.
void StretchGraphic(tk::TCanvas* canvas, const RECT& r, const tk::TPicture* graphic);

}  // namespace slumra

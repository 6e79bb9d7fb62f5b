#include "widgets/Basics.h"

namespace slumra {

DWORD GraphicRop = SRCCOPY;

void GGraphicControl::MouseEnter() {
    tk::TControl::MouseEnter();
    if (OnMouseIn) OnMouseIn(this);
}

void GGraphicControl::MouseLeave() {
    tk::TControl::MouseLeave();
    if (OnMouseOut) OnMouseOut(this);
}

void DrawGraphic(tk::TCanvas* canvas, int x, int y, const tk::TPicture* graphic) {
    if (canvas == nullptr || graphic == nullptr || graphic->Empty()) return;
    SetStretchBltMode(canvas->Handle(), COLORONCOLOR);
    if (const tk::TBitmap* bmp = graphic->Bitmap()) {
        BitBlt(canvas->Handle(), x, y, bmp->Width(), bmp->Height(), bmp->DC(), 0, 0, GraphicRop);
    } else if (graphic->Icon() != nullptr) {
        DrawIconEx(canvas->Handle(), x, y, graphic->Icon(), 0, 0, 0, nullptr, DI_NORMAL);
    }
}

void StretchGraphic(tk::TCanvas* canvas, const RECT& r, const tk::TPicture* graphic) {
    if (canvas == nullptr || graphic == nullptr || graphic->Empty()) return;
    SetStretchBltMode(canvas->Handle(), COLORONCOLOR);
    if (const tk::TBitmap* bmp = graphic->Bitmap()) {
        StretchBlt(canvas->Handle(), r.left, r.top, r.right, r.bottom, bmp->DC(), 0, 0, bmp->Width(),
                   bmp->Height(), GraphicRop);
    } else if (graphic->Icon() != nullptr) {
        DrawIconEx(canvas->Handle(), r.left, r.top, graphic->Icon(), r.right - r.left, r.bottom - r.top, 0,
                   nullptr, DI_NORMAL);
    }
}

}  // namespace slumra

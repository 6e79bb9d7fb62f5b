#include "toolkit/ListRows.h"

#include "toolkit/Handles.h"
#include "toolkit/Palette.h"

#include <algorithm>

namespace slumra::tk {

void PaintTransparentRow(TListBox& list, int& topRow, int currentTop, bool last, const RECT& rect,
                         const std::function<void(TCanvas&, const RECT&)>& paintUnder,
                         const std::function<void(TCanvas&)>& drawText) {
    if (currentTop != topRow) {
        topRow = currentTop;
        InvalidateRect(list.Handle(), nullptr, FALSE);
        return;
    }
    RECT r = rect;
    if (last) r.bottom = std::max(r.bottom + list.Height(), static_cast<LONG>(list.Height()));
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    WindowDC dc(list.Handle());
    MemoryDC mem(dc.Get());
    BitmapHandle bmp(CreateCompatibleBitmap(dc.Get(), w, h));
    if (!mem || !bmp) return;
    SelectGuard sel(mem.Get(), bmp.Get());
    HPALETTE pal = TScreen::BitsPerPixel() <= 8 ? list.GetPalette() : nullptr;
    PaletteGuard palette(mem.Get(), pal);
    TCanvas canvas(mem.Get());
    canvas.Brush.SetColor(clBlack);
    canvas.FillRect({0, 0, w, h});
    paintUnder(canvas, r);
    canvas.Font = list.Font;
    canvas.Brush.SetStyle(BrushStyle::Clear);
    drawText(canvas);
    PaletteGuard screenPalette(dc.Get(), pal);
    BitBlt(dc.Get(), r.left, r.top, w, h, mem.Get(), 0, 0, SRCCOPY);
}

}  // namespace slumra::tk

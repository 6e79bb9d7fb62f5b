#include "widgets/Bk.h"

#include "toolkit/Palette.h"
#include "widgets/Geometry.h"

namespace slumra {

TBkControl::TBkControl(tk::TWinControl* parent) : tk::TControl(parent) {
    FWidth = FHeight = 100;
    auto repaint = [this] { Invalidate(); };
    Background.OnChange = repaint;
    Background.Image.OnChange = repaint;
    Background.Pen.OnChange = repaint;
    Background.Brush.OnChange = repaint;
}

void TBkControl::SetImageXOffset(int v) {
    FImageXOffset = v;
    Repaint();
}

void TBkControl::SetImageYOffset(int v) {
    FImageYOffset = v;
    Repaint();
}

void TBkControl::Paint(tk::TCanvas& canvas) {
    if (!Visible() || FPainting) return;
    FPainting = true;
    ++FPaintCount;
    const tk::TPicture& image = Background.Image;
    HPALETTE pal = tk::TScreen::BitsPerPixel() <= 8 ? GetPalette() : nullptr;
    {
        tk::PaletteGuard palette(canvas.Handle(), pal);
        if (!image.Empty()) {
            const int w = Width(), h = Height(), dx = FImageXOffset, dy = FImageYOffset;
            const int pw = image.Width(), ph = image.Height();
            switch (Background.ImageDrawStyle()) {
                case TImageDrawStyle::idsAlongside:
                    for (const Point& p : TilePositions(w, h, pw, ph, dx, dy))
                        DrawGraphic(&canvas, p.X, p.Y, &image);
                    break;
                case TImageDrawStyle::idsCenter:
                    DrawGraphic(&canvas, (w - pw) / 2 + dx, (h - ph) / 2 + dy, &image);
                    break;
                case TImageDrawStyle::idsHide:
                    break;
                case TImageDrawStyle::idsStretch: {
                    const RECT r{dx, dy, w - 1 + dx, h - 1 + dy};
                    StretchGraphic(&canvas, r, &image);
                    break;
                }
                case TImageDrawStyle::idsTopLeft:
                    DrawGraphic(&canvas, dx, dy, &image);
                    break;
            }
        }
        canvas.Pen = Background.Pen;
        canvas.Brush = Background.Brush;
        canvas.Rectangle(0, 0, Width(), Height());
    }
    FPainting = false;
}

void PaintBkUnder(TBkControl& bk, HWND over, const RECT& r, tk::TCanvas& canvas) {
    if (bk.Parent() == nullptr) return;
    POINT origin{r.left, r.top};
    MapWindowPoints(over, bk.Parent()->Handle(), &origin, 1);
    POINT old{};
    SetViewportOrgEx(canvas.Handle(), bk.Left() - origin.x, bk.Top() - origin.y, &old);
    bk.Paint(canvas);
    SetViewportOrgEx(canvas.Handle(), old.x, old.y, nullptr);
}

}  // namespace slumra

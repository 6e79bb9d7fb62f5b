#include "widgets/ProImg.h"

#include "toolkit/Text.h"
#include "widgets/Effects.h"

namespace slumra {

namespace {

// A picture at (x, y) with size w × h. The stretch helper takes a bitmap's size in the
// rectangle's right and bottom fields but an icon's rectangle as a rectangle.
void StretchPicture(tk::TCanvas& canvas, int x, int y, int w, int h, const tk::TPicture& picture) {
    const RECT r = picture.Bitmap() != nullptr ? RECT{x, y, w, h} : RECT{x, y, x + w, y + h};
    StretchGraphic(&canvas, r, &picture);
}

void DrawBackground(tk::TCanvas& canvas, int w, int h, const TBackground& background) {
    const tk::TPicture& image = background.Image;
    if (image.Empty()) return;
    const int pw = image.Width(), ph = image.Height();
    switch (background.ImageDrawStyle()) {
        case TImageDrawStyle::idsAlongside:
            for (const Point& p : TilePositions(w, h, pw, ph, 0, 0)) DrawGraphic(&canvas, p.X, p.Y, &image);
            break;
        case TImageDrawStyle::idsCenter:
            DrawGraphic(&canvas, (w - pw) / 2, (h - ph) / 2, &image);
            break;
        case TImageDrawStyle::idsHide:
            break;
        case TImageDrawStyle::idsStretch:
            // One pixel short of the right and bottom edges, as the background controls draw it.
            StretchPicture(canvas, 0, 0, w - 1, h - 1, image);
            break;
        case TImageDrawStyle::idsTopLeft:
            DrawGraphic(&canvas, 0, 0, &image);
            break;
    }
}

// The caption in black on a white box with a black outline, at the bottom centre.
void DrawCaption(tk::TCanvas& canvas, int w, int h, const std::string& text) {
    canvas.Brush.SetStyle(tk::BrushStyle::Solid);
    canvas.Brush.SetColor(tk::clWhite);
    canvas.Pen.SetStyle(tk::PenStyle::Solid);
    canvas.Pen.SetColor(tk::clBlack);
    canvas.Font.SetColor(tk::clBlack);
    const SIZE extent = canvas.TextExtent(text);
    const int ppi = GetDeviceCaps(canvas.Handle(), LOGPIXELSY);
    const CaptionLayout c =
        CaptionPlacement(w, h, extent.cx, extent.cy, FontPointSize(canvas.Font.Height(), ppi), ppi);
    canvas.Rectangle(c.Box.Left, c.Box.Top, c.Box.Right, c.Box.Bottom);

    const HDC dc = canvas.Handle();
    tk::SelectGuard font(dc, canvas.Font.Handle());
    SetTextColor(dc, tk::clBlack);
    SetBkColor(dc, tk::clWhite);
    SetBkMode(dc, OPAQUE);
    const RECT clip{c.Clip.Left, c.Clip.Top, c.Clip.Right, c.Clip.Bottom};
    const std::wstring wide = tk::Widen(text);
    ExtTextOutW(dc, c.Text.X, c.Text.Y, ETO_CLIPPED | ETO_OPAQUE, &clip, wide.c_str(),
                static_cast<UINT>(wide.size()), nullptr);
}

}  // namespace

DWORD RasterOpCode(TRasterOperation op) {
    switch (op) {
        case TRasterOperation::roBLACKNESS:
            return BLACKNESS;
        case TRasterOperation::roDSTINVERT:
            return DSTINVERT;
        case TRasterOperation::roMERGECOPY:
            return MERGECOPY;
        case TRasterOperation::roMERGEPAINT:
            return MERGEPAINT;
        case TRasterOperation::roNOTSRCCOPY:
            return NOTSRCCOPY;
        case TRasterOperation::roNOTSRCERASE:
            return NOTSRCERASE;
        case TRasterOperation::roPATCOPY:
            return PATCOPY;
        case TRasterOperation::roPATINVERT:
            return PATINVERT;
        case TRasterOperation::roPATPAINT:
            return PATPAINT;
        case TRasterOperation::roSRCAND:
            return SRCAND;
        case TRasterOperation::roSRCCOPY:
            return SRCCOPY;
        case TRasterOperation::roSRCERASE:
            return SRCERASE;
        case TRasterOperation::roSRCINVERT:
            return SRCINVERT;
        case TRasterOperation::roSRCPAINT:
            return SRCPAINT;
        case TRasterOperation::roWHITENESS:
            return WHITENESS;
    }
    return SRCCOPY;
}

TProportionalImage::TProportionalImage(tk::TWinControl* parent) : tk::TControl(parent) {
    FWidth = FHeight = 100;
    // A new background picture waits for the next paint; everything else shows at once.
    auto paint = [this] { Repaint(); };
    Image.OnChange = paint;
    Background.OnChange = paint;
    Background.Pen.OnChange = paint;
    Background.Brush.OnChange = paint;
}

template <typename T>
void TProportionalImage::Store(T& field, T v) {
    if (field == v) return;
    field = v;
    Repaint();
}

void TProportionalImage::SetImage(const tk::TPicture& picture) {
    FNewImage = true;
    Image = picture;  // the copy's change notification paints
}

void TProportionalImage::SetText(const std::string& v) {
    if (v == FText) return;
    FText = v;
    FNewImage = true;
    Repaint();
}

void TProportionalImage::SetEffect(EffectStyle v) {
    Store(FEffect, v);
}
void TProportionalImage::SetEffects(bool v) {
    Store(FEffects, v);
}
void TProportionalImage::SetEffectSize(int v) {
    Store(FEffectSize, v);
}
void TProportionalImage::SetEffectSpeed(std::uint8_t v) {
    Store(FEffectSpeed, v);
}
void TProportionalImage::SetRasterOperation(TRasterOperation v) {
    Store(FRasterOperation, v);
}
void TProportionalImage::SetSx(int v) {
    Store(FBox.Sx, v);
}
void TProportionalImage::SetSy(int v) {
    Store(FBox.Sy, v);
}
void TProportionalImage::SetStaticSx(int v) {
    Store(FBox.StaticSx, v);
}
void TProportionalImage::SetStaticSy(int v) {
    Store(FBox.StaticSy, v);
}
void TProportionalImage::SetSxIsStatic(bool v) {
    Store(FBox.SxIsStatic, v);
}
void TProportionalImage::SetSyIsStatic(bool v) {
    Store(FBox.SyIsStatic, v);
}

void TProportionalImage::Paint(tk::TCanvas& canvas) {
    if (!Visible() || FPainting) return;
    FPainting = true;
    try {
        const int w = Width(), h = Height();
        const HPALETTE pal = tk::TScreen::BitsPerPixel() <= 8 ? GetPalette() : nullptr;
        tk::PaletteGuard canvasPalette(canvas.Handle(), pal);
        // Composed off-screen and written once, so the control does not flicker while it is
        // rebuilt.
        tk::MemoryDC mem(canvas.Handle());
        tk::BitmapHandle bitmap(w > 0 && h > 0 ? CreateCompatibleBitmap(canvas.Handle(), w, h) : nullptr);
        if (mem && bitmap) {
            tk::SelectGuard select(mem.Get(), bitmap.Get());
            // Borrowed, not owned: the guard detaches it again before the bitmap is freed.
            tk::PaletteGuard bitmapPalette(mem.Get(), pal);
            tk::TCanvas composed(mem.Get());
            Compose(composed, w, h);
            Transfer(canvas, composed, w, h);
        }
    } catch (...) {
        // A failed paint leaves the old picture; the next paint tries again.
    }
    FPainting = false;
    FNewImage = false;
}

void TProportionalImage::Compose(tk::TCanvas& target, int w, int h) {
    DrawBackground(target, w, h, Background);
    target.Pen = Background.Pen;
    target.Brush = Background.Brush;
    target.Font = Font;
    target.Rectangle(0, 0, w, h);

    const int pw = Image.Width(), ph = Image.Height();
    if (!Image.Empty() && pw > 0 && ph > 0) {
        const Rect r = FitPicture(w, h, pw, ph, FBox);
        if (r.Width() > 0 && r.Height() > 0)
            StretchPicture(target, r.Left, r.Top, r.Width(), r.Height(), Image);
    }
    if (!FText.empty()) DrawCaption(target, w, h, FText);
}

void TProportionalImage::Transfer(tk::TCanvas& canvas, tk::TCanvas& composed, int w, int h) {
    if (FNewImage && FEffects) {
        // The canvas of a paint is the parent's off-screen buffer, where a transition would
        // never be seen: on screen it runs on the parent's window directly, and the buffer
        // takes the finished picture.
        if (FParent != nullptr && FParent->HandleAllocated() && IsWindowVisible(FParent->Handle()) != 0) {
            tk::WindowDC window(FParent->Handle());
            if (window.Get() != nullptr) {
                tk::PaletteGuard windowPalette(window.Get(), GetPalette());
                SetViewportOrgEx(window.Get(), Left(), Top(), nullptr);
                IntersectClipRect(window.Get(), 0, 0, w, h);
                tk::TCanvas screen(window.Get());
                RunEffect(screen, composed, w, h, FEffect, FEffectSize, FEffectSpeed, Random);
                BitBlt(canvas.Handle(), 0, 0, w, h, composed.Handle(), 0, 0, SRCCOPY);
                return;
            }
        }
        RunEffect(canvas, composed, w, h, FEffect, FEffectSize, FEffectSpeed, Random);
        return;
    }
    SetStretchBltMode(canvas.Handle(), COLORONCOLOR);
    if (FRasterOperation == TRasterOperation::roSRCCOPY) {
        BitBlt(canvas.Handle(), 0, 0, w, h, composed.Handle(), 0, 0, GraphicRop);
    } else {
        // The pattern operations take the canvas's brush.
        tk::SelectGuard brush(canvas.Handle(), canvas.Brush.Handle());
        StretchBlt(canvas.Handle(), 0, 0, w, h, composed.Handle(), 0, 0, w, h,
                   RasterOpCode(FRasterOperation));
    }
}

}  // namespace slumra

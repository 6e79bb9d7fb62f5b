#include "widgets/MMBtns.h"

#include "toolkit/Palette.h"

namespace slumra {

namespace {

// Binds the hand cursors of the program's resources to the roles the forms use: AppStart for
// what can be clicked, Help for what cannot. A missing resource keeps the role's old cursor.
void RegisterHandCursors() {
    static const bool registered = [] {
        tk::TApplication& app = tk::Application();
        HINSTANCE instance = app.Instance_() != nullptr ? app.Instance_() : GetModuleHandleW(nullptr);
        app.SetCursor(tk::TCursor::AppStart, LoadCursorW(instance, L"HandCursor"));
        app.SetCursor(tk::TCursor::Help, LoadCursorW(instance, L"HandNoFingersCursor"));
        return true;
    }();
    (void)registered;
}

}  // namespace

TBaseBtn::TBaseBtn(tk::TWinControl* parent) : GGraphicControl(parent) {
    FWidth = 120;
    FHeight = 40;
    RegisterHandCursors();
    Cursor = tk::TCursor::AppStart;
    auto repaint = [this] { Invalidate(); };
    Brush.OnChange = repaint;
    Pen.OnChange = repaint;
}

void TBaseBtn::SetGlyphCentered(bool v) {
    if (v == FGlyphCentered) return;
    FGlyphCentered = v;
    if (v) FGlyphStretched = false;
    Invalidate();
}

void TBaseBtn::SetGlyphStretched(bool v) {
    if (v == FGlyphStretched) return;
    FGlyphStretched = v;
    if (v) FGlyphCentered = false;
    Invalidate();
}

void TBaseBtn::MouseDown(tk::TMouseButton button, unsigned shift, int x, int y) {
    GGraphicControl::MouseDown(button, shift, x, y);
    Change(FPressed, true);
}

void TBaseBtn::MouseUp(tk::TMouseButton button, unsigned shift, int x, int y) {
    GGraphicControl::MouseUp(button, shift, x, y);
    Change(FPressed, false);
}

void TBaseBtn::Paint(tk::TCanvas& canvas) {
    if (!Visible()) return;
    // A failure while painting leaves a half-drawn button, never a broken window.
    try {
        PaintButton(canvas);
    } catch (...) {
    }
}

void TBaseBtn::PaintButton(tk::TCanvas& canvas) {
    const int w = Width(), h = Height();
    const bool pressed = FPressed || FButtonIsDown;
    HPALETTE pal = tk::TScreen::BitsPerPixel() <= 8 ? GetPalette() : nullptr;
    tk::PaletteGuard palette(canvas.Handle(), pal);

    canvas.Brush = Brush;
    canvas.Pen = Pen;
    canvas.Font = Font;
    auto face = [&](const Rect& r) {
        canvas.RoundRect(r.Left, r.Top, r.Right, r.Bottom, FCaptionXRound, FCaptionYRound);
    };

    // The shadow shows only while the face is up; pressed, the face lies on it.
    if (!pressed && FFaceVisible) {
        canvas.Brush.SetColor(FShadowColor);
        canvas.Pen.SetColor(FShadowColor);
        face(BtnShadowRect(FFr, w, h));
        canvas.Brush.SetColor(Brush.Color());
        canvas.Pen.SetColor(Pen.Color());
    }

    if (!Enabled()) {
        if (FFaceVisible) face(BtnFaceRect(FFr, w, h, false));
        DrawGlyph(canvas, &GlyphDisabled, false);
    } else if (pressed) {
        if (FFaceVisible) face(BtnFaceRect(FFr, w, h, true));
        const tk::TPicture* glyph = FGlyphUpIsGlyphDown  ? &GlyphUp
                                    : !GlyphDown.Empty() ? &GlyphDown
                                                         : nullptr;
        DrawGlyph(canvas, glyph, true);
        if (!FFaceVisible) DrawFrame(canvas, RGB(128, 128, 128), tk::clWhite);  // sunken
    } else {
        if (FFaceVisible) face(BtnFaceRect(FFr, w, h, false));
        DrawGlyph(canvas, &GlyphUp, false);
        if (!FFaceVisible && FButtonIsHot) DrawFrame(canvas, tk::clWhite, RGB(128, 128, 128));  // raised
    }

    SetMapMode(canvas.Handle(), MM_TEXT);
    canvas.Brush.SetStyle(tk::BrushStyle::Clear);
    const Point at = BtnCaptionOrigin(FFr, w, h, pressed);
    if (FCaptionPenVisible) {
        canvas.Font.SetColor(FCaptionPenColor);
        canvas.TextOut(at.X - 1, at.Y - 1, FCaption);
    }
    canvas.Font.SetColor(Enabled() ? Font.Color() : GetSysColor(COLOR_GRAYTEXT));
    canvas.TextOut(at.X, at.Y, FCaption);
}

void TBaseBtn::DrawGlyph(tk::TCanvas& canvas, const tk::TPicture* glyph, bool pressed) const {
    if (glyph == nullptr || glyph->Empty()) return;
    const GlyphLayout layout = FGlyphStretched  ? GlyphLayout::Stretched
                               : FGlyphCentered ? GlyphLayout::Centered
                                                : GlyphLayout::Placed;
    const Rect r = BtnGlyphRect(FFr, Width(), Height(), pressed, layout, glyph->Width(), glyph->Height());
    if (layout != GlyphLayout::Stretched) {
        DrawGraphic(&canvas, r.Left, r.Top, glyph);
    } else if (glyph->Bitmap() != nullptr) {
        // The stretch helper takes the size in the right and bottom fields.
        StretchGraphic(&canvas, RECT{r.Left, r.Top, r.Width(), r.Height()}, glyph);
    } else {
        StretchGraphic(&canvas, RECT{r.Left, r.Top, r.Right, r.Bottom}, glyph);
    }
}

// The 3-D frame of a flat button: `first` along the top and left edges, `second` along the
// bottom and right. Drawn with a plain pen, whatever the face's pen is (flat buttons usually
// clear theirs).
void TBaseBtn::DrawFrame(tk::TCanvas& canvas, COLORREF first, COLORREF second) const {
    const int w = Width(), h = Height();
    const tk::TPen facePen = canvas.Pen;
    canvas.Pen = tk::TPen{};
    canvas.Pen.SetColor(first);
    canvas.MoveTo(w - 1, 0);
    canvas.LineTo(0, 0);
    canvas.LineTo(0, h - 1);
    canvas.Pen.SetColor(second);
    canvas.LineTo(w - 1, h - 1);
    canvas.LineTo(w - 1, 0);
    canvas.Pen = facePen;
}

}  // namespace slumra

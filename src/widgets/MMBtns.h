// TBaseBtn: the skinned push button of every window. It draws everything itself: a rounded
// face on a drop shadow (or, with the face hidden, a flat button with 3-D frames), a glyph per
// state and a caption with an optional outline. Every measure is a fraction of its own size.
#pragma once

#include "widgets/Basics.h"
#include "widgets/BtnGeometry.h"

#include <string>

namespace slumra {

class TBaseBtn : public GGraphicControl {
public:
    // 120 × 40, hand cursor. The first button binds the program's hand cursors to the
    // AppStart and Help roles for the whole application.
    explicit TBaseBtn(tk::TWinControl* parent);

    // Fill and outline of the face. Owned; assigning copies, and every change (also of a single
    // colour or style) repaints. Pen.Mode mixes face and shadow with what lies under them.
    tk::TBrush Brush;
    tk::TPen Pen;
    void SetBrush(const tk::TBrush& v) { Brush = v; }
    void SetPen(const tk::TPen& v) { Pen = v; }

    // The glyph of each state. Owned copies; changing one does not repaint by itself.
    tk::TPicture GlyphUp;
    tk::TPicture GlyphDown;
    tk::TPicture GlyphDisabled;
    void SetGlyphUp(const tk::TPicture& v) { GlyphUp = v; }
    void SetGlyphDown(const tk::TPicture& v) { GlyphDown = v; }
    void SetGlyphDisabled(const tk::TPicture& v) { GlyphDisabled = v; }

    // Every setter below stores the value and repaints only when it differs.

    // The pressed look, latched by the owner, whatever the mouse does.
    bool ButtonIsDown() const { return FButtonIsDown; }
    void SetButtonIsDown(bool v) { Change(FButtonIsDown, v); }
    // A raised frame on a flat button (face hidden) while not pressed.
    bool ButtonIsHot() const { return FButtonIsHot; }
    void SetButtonIsHot(bool v) { Change(FButtonIsHot, v); }

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& v) { Change(FCaption, v); }
    // The caption written once more, one pixel up and left, in CaptionPenColor behind itself.
    COLORREF CaptionPenColor() const { return FCaptionPenColor; }
    void SetCaptionPenColor(COLORREF v) { Change(FCaptionPenColor, v); }
    bool CaptionPenVisible() const { return FCaptionPenVisible; }
    void SetCaptionPenVisible(bool v) { Change(FCaptionPenVisible, v); }
    double CaptionXOffset() const { return FFr.CaptionXOffset; }
    void SetCaptionXOffset(double v) { Change(FFr.CaptionXOffset, v); }
    double CaptionYOffset() const { return FFr.CaptionYOffset; }
    void SetCaptionYOffset(double v) { Change(FFr.CaptionYOffset, v); }
    // Width and height in pixels of the ellipse that rounds the corners of face and shadow.
    int CaptionXRound() const { return FCaptionXRound; }
    void SetCaptionXRound(int v) { Change(FCaptionXRound, v); }
    int CaptionYRound() const { return FCaptionYRound; }
    void SetCaptionYRound(int v) { Change(FCaptionYRound, v); }

    // Face and shadow; hidden, the button is flat and shows frames when pressed or hot.
    bool FaceVisible() const { return FFaceVisible; }
    void SetFaceVisible(bool v) { Change(FFaceVisible, v); }
    double FaceXOffset() const { return FFr.FaceXOffset; }
    void SetFaceXOffset(double v) { Change(FFr.FaceXOffset, v); }
    double FaceYOffset() const { return FFr.FaceYOffset; }
    void SetFaceYOffset(double v) { Change(FFr.FaceYOffset, v); }
    double FaceWidth() const { return FFr.FaceWidth; }
    void SetFaceWidth(double v) { Change(FFr.FaceWidth, v); }
    double FaceHeight() const { return FFr.FaceHeight; }
    void SetFaceHeight(double v) { Change(FFr.FaceHeight, v); }

    // Centred and stretched exclude each other: setting one True clears the other.
    bool GlyphCentered() const { return FGlyphCentered; }
    void SetGlyphCentered(bool v);
    bool GlyphStretched() const { return FGlyphStretched; }
    void SetGlyphStretched(bool v);
    // GlyphUp serves the pressed state too.
    bool GlyphUpIsGlyphDown() const { return FGlyphUpIsGlyphDown; }
    void SetGlyphUpIsGlyphDown(bool v) { Change(FGlyphUpIsGlyphDown, v); }
    double GlyphXOffset() const { return FFr.GlyphXOffset; }
    void SetGlyphXOffset(double v) { Change(FFr.GlyphXOffset, v); }
    double GlyphYOffset() const { return FFr.GlyphYOffset; }
    void SetGlyphYOffset(double v) { Change(FFr.GlyphYOffset, v); }
    double GlyphWidth() const { return FFr.GlyphWidth; }
    void SetGlyphWidth(double v) { Change(FFr.GlyphWidth, v); }
    double GlyphHeight() const { return FFr.GlyphHeight; }
    void SetGlyphHeight(double v) { Change(FFr.GlyphHeight, v); }

    // Fill and outline of the shadow.
    COLORREF ShadowColor() const { return FShadowColor; }
    void SetShadowColor(COLORREF v) { Change(FShadowColor, v); }
    // Where the shadow lies, and how far face, glyph and caption move onto it when pressed.
    double ShadowXOffset() const { return FFr.ShadowXOffset; }
    void SetShadowXOffset(double v) { Change(FFr.ShadowXOffset, v); }
    double ShadowYOffset() const { return FFr.ShadowYOffset; }
    void SetShadowYOffset(double v) { Change(FFr.ShadowYOffset, v); }

    const BtnFractions& Fractions() const { return FFr; }
    // True from a mouse-button press on the button until its release.
    bool MousePressed() const { return FPressed; }

    void Paint(tk::TCanvas& canvas) override;
    void MouseDown(tk::TMouseButton button, unsigned shift, int x, int y) override;
    void MouseUp(tk::TMouseButton button, unsigned shift, int x, int y) override;

private:
    template <typename T>
    void Change(T& field, const T& v) {
        if (field == v) return;
        field = v;
        Invalidate();
    }
    void PaintButton(tk::TCanvas& canvas);
    void DrawGlyph(tk::TCanvas& canvas, const tk::TPicture* glyph, bool pressed) const;
    void DrawFrame(tk::TCanvas& canvas, COLORREF first, COLORREF second) const;

    BtnFractions FFr;
    std::string FCaption;
    COLORREF FCaptionPenColor = tk::clBlack;
    COLORREF FShadowColor = RGB(128, 128, 128);
    int FCaptionXRound = 0;
    int FCaptionYRound = 0;
    bool FButtonIsDown = false;
    bool FButtonIsHot = false;
    bool FCaptionPenVisible = false;
    bool FFaceVisible = true;
    bool FGlyphCentered = false;
    bool FGlyphStretched = false;
    bool FGlyphUpIsGlyphDown = false;
    bool FPressed = false;
};

}  // namespace slumra

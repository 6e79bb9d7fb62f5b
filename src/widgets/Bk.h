// TBkControl: fills its panel with a skin picture laid out by its TBackground, shifted by a
// pixel offset (the sliding menu strip moves it).
#pragma once

#include "widgets/Basics.h"
#include "widgets/GrphPrps.h"

namespace slumra {

class TBkControl : public tk::TControl {
public:
    explicit TBkControl(tk::TWinControl* parent);

    TBackground Background;
    void SetBackground(const TBackground& b) { Background = b; }

    int ImageXOffset() const { return FImageXOffset; }
    int ImageYOffset() const { return FImageYOffset; }
    // Stores the offset and paints at once (not through invalidation).
    void SetImageXOffset(int v);
    void SetImageYOffset(int v);

    void Paint(tk::TCanvas& canvas) override;
    // How many paints ran; the re-entry guard's tests count them.
    int PaintCount() const { return FPaintCount; }

private:
    bool FPainting = false;
    int FImageXOffset = 0;
    int FImageYOffset = 0;
    int FPaintCount = 0;
};

// Paints into `canvas` the part of `bk` that lies under the rectangle `r` of the window `over`;
// the canvas's origin is r's top-left corner. What a transparent list row shows.
void PaintBkUnder(TBkControl& bk, HWND over, const RECT& r, tk::TCanvas& canvas);
// The same as a painter for the rows of `over`.
inline auto BkUnder(TBkControl& bk, tk::TWinControl& over) {
    return [&bk, &over](tk::TCanvas& canvas, const RECT& r) { PaintBkUnder(bk, over.Handle(), r, canvas); };
}

}  // namespace slumra

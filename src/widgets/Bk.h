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

}  // namespace slumra

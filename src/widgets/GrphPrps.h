// TBackground: what a background control or a picture frame draws behind everything else.
#pragma once

#include "toolkit/Graphics.h"

namespace slumra {

enum class TImageDrawStyle { idsAlongside, idsCenter, idsHide, idsStretch, idsTopLeft };

class TBackground {
public:
    TBackground() = default;
    TBackground(const TBackground&) = delete;
    // Copies pen, brush, image, then the draw style, in that order.
    TBackground& operator=(const TBackground& o);

    tk::TBrush Brush;
    tk::TPicture Image;
    tk::TPen Pen;

    TImageDrawStyle ImageDrawStyle() const { return FImageDrawStyle; }
    void SetImageDrawStyle(TImageDrawStyle v);
    tk::ChangeEvent OnChange;

private:
    TImageDrawStyle FImageDrawStyle = TImageDrawStyle::idsAlongside;
};

}  // namespace slumra

#include "widgets/GrphPrps.h"

namespace slumra {

TBackground& TBackground::operator=(const TBackground& o) {
    if (this == &o) return *this;
    Pen = o.Pen;
    Brush = o.Brush;
    Image = o.Image;
    SetImageDrawStyle(o.FImageDrawStyle);
    return *this;
}

void TBackground::SetImageDrawStyle(TImageDrawStyle v) {
    if (v == FImageDrawStyle) return;
    FImageDrawStyle = v;
    if (OnChange) OnChange();
}

}  // namespace slumra

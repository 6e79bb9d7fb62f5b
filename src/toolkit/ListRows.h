// The one painter of owner-drawn lists that look transparent: each row is composed in an
// off-screen bitmap over the picture under it and copied in one operation.
#pragma once

#include "toolkit/Graphics.h"
#include "toolkit/StdCtrls.h"

#include <functional>

namespace slumra::tk {

// Paints the row `rect` of `list`. `paintUnder` fills the canvas with what lies under the row
// (its origin is the row's top-left corner; the rectangle is given in the list's coordinates);
// `drawText` then writes the row with a clear brush in the list's font. The last row
// (`last`) also paints the empty part of the list below it. A background does not scroll with
// the rows: when the list's first visible row differs from `topRow`, the row is not painted,
// `topRow` takes the new value and the whole list is invalidated instead.
void PaintTransparentRow(TListBox& list, int& topRow, int currentTop, bool last, const RECT& rect,
                         const std::function<void(TCanvas&, const RECT&)>& paintUnder,
                         const std::function<void(TCanvas&)>& drawText);

}  // namespace slumra::tk

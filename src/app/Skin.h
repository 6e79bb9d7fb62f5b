// How the program's windows dress their controls: title-bar and text buttons, and lists that
// show the background through their rows.
#pragma once

#include "toolkit/StdCtrls.h"
#include "widgets/MMBtns.h"

#include <string>
#include <string_view>

namespace slumra {

// The light text colour of every window (14869728).
inline constexpr COLORREF kTextColor = RGB(0xE0, 0xE4, 0xE2);
// The same, dimmed: what is switched off.
inline constexpr COLORREF kDimTextColor = RGB(0x80, 0x84, 0x90);

// An 18 × 18 title-bar button with a face and shadow ("X", "?", "-", "i", "G").
void TitleButton(TBaseBtn* b, int x, int y, const std::string& caption, const std::string& hint, int tag,
                 double captionX);
// A flat text button, 18 pixels high.
void TextButton(TBaseBtn* b, int x, int y, int width, const std::string& caption, const std::string& hint,
                int tag);
// A list drawn by its owner over the picture under it.
void TransparentList(tk::TListBox* list, int tag);
// The text after an item's first "|" (the whole item without one).
std::string AfterBar(std::string_view item);

}  // namespace slumra

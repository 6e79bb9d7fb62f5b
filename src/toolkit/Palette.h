// The screen palette every window and control paints with on displays of 256 colours or
// fewer: a 16- and a 256-entry palette built once from the program's "PAL16" and "PAL256"
// bitmap resources, handed out by the display's depth.
#pragma once

#include "toolkit/Win.h"

namespace slumra::tk {

// Builds both palettes from the resources of `module` (again: old handles are deleted).
void BuildPalettes(HMODULE module);
// The 16-entry palette at 7 bits per pixel or fewer, the 256-entry one at exactly 8, else none.
HPALETTE ScreenPalette();
// The 20 colours of the 256-entry palette that the system keeps fixed (entries 0..9 and
// 246..255); null when there is none. Pictures dithered to these look the same on every 8-bit
// display, whether or not the other entries reach the screen.
HPALETTE StaticColorsPalette();
void FreePalettes();

// The colour count a bitmap resource's header declares: for a 12-byte header 2^bits (none at
// 24 bits); for a larger one the used-colours field, or 2^bits when that is 0. `size` is the
// resource's byte count; 0 for a header that does not fit it.
unsigned ResourceColorCount(const unsigned char* data, unsigned size);

// A logical palette of `count` 4-byte colour entries (blue, green, red, unused).
HPALETTE PaletteFromColorTable(const unsigned char* table, unsigned count);

// The palette of a bitmap resource, or null when it is missing or has no colour table.
HPALETTE PaletteFromResource(HMODULE module, const wchar_t* name);

}  // namespace slumra::tk

// The pictures of the program: ten night scenes for the main window, the skins of its panels
// and dialogs, and the emblems of the splash and about windows.
#pragma once

#include "Image.h"

#include <cstdint>
#include <vector>

namespace slumra::art {

struct Size {
    int w, h;
};

// Main window background `number` (1..10) at each of the given 4:3 sizes.
std::vector<Image> PaintBackground(int number, const std::vector<Size>& sizes);

// The wide menu strip: a night panorama with three scenes a quarter of its width apart.
Image PaintMenuStrip(int w, int h);
// The oval highlight panel behind the menu's current item.
Image PaintMenuHighlight(int w, int h);
// The record panel: a large oval text area, a small logo circle top right and a picture circle
// bottom left; scale is 1 at 396x355.
Image PaintRecordPanel(int w, int h, float scale);
// The dream diary panel.
Image PaintDiaryPanel(int w, int h);
// The explanation overlay panel.
Image PaintOverlayPanel(int w, int h);
// A seamless tile for the small dialogs.
Image PaintDialogTile(int size);
// A whole dialog of w x h whose window is cut with round corners of `corner` pixels across:
// the tile's night with a light rim along the outline; tone (0..1) lifts the ground a little.
Image PaintDialogSkin(int w, int h, int corner, float tone);

// The splash picture (its lower 40 pixels left quiet for the status line and gauge).
Image PaintIntro(int size);
// The about box picture.
Image PaintAbout(int size);
// Frame `frame` of `count` of the looping logo clip (a glowing crescent with twinkling stars).
Image PaintLogoFrame(int size, int frame, int count);
// The program icon at one size: a crescent and a star on a round night sky, transparent
// around it. Top-down 0xAARRGGBB, straight alpha.
std::vector<std::uint32_t> PaintIcon(int size);

}  // namespace slumra::art

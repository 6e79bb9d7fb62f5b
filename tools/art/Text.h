// Lines of text set in the fonts the program ships, for the about picture's credits.
#pragma once

#include "Image.h"

#include <string>

namespace slumra::art {

enum class Face { Sans, SansBold, Comic, ComicBold };

// Width in pixels of a UTF-8 line at the given pixel size (the em height).
float TextWidth(Face face, float size, const std::string& utf8);

// Draws a UTF-8 line centred on cx with its baseline at y, in `ink` over a soft dark halo
// (halo 0 draws none). Returns false when the face cannot be read.
bool DrawText(Image& img, Face face, float size, float cx, float baseline, const std::string& utf8, Rgb ink,
              float halo = 0.6f);

}  // namespace slumra::art

// The program's name in thin rounded strokes, for the splash and about pictures.
#pragma once

#include "Image.h"

namespace slumra::art {

// Width in pixels of the word "Slumra" at the given x-height.
float WordmarkWidth(float xHeight);

// Draws "Slumra" centred on cx with its baseline at y: strokes in `ink` over a soft `glow`.
void DrawWordmark(Image& img, float cx, float baseline, float xHeight, Rgb ink, Rgb glow);

}  // namespace slumra::art

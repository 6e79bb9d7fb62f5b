// Pixel arithmetic shared by the windows, kept free of the platform so it is tested natively:
// scaling with halves to even, and the placement rules of backgrounds and pictures.
#pragma once

#include <cstdint>
#include <vector>

namespace slumra {

struct Rect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct Point {
    int X = 0, Y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// value × m / d rounded to the nearest integer, halves to even.
int ScaleValue(int value, int m, int d);
// A real value rounded to the nearest integer, halves to even.
int RoundHalfEven(double value);

// Where the tiles of a pw × ph picture land on a w × h area shifted by (dx, dy): columns
// x = 0, pw, … while dx + x < w, rows likewise. Nothing for a picture without area.
std::vector<Point> TilePositions(int w, int h, int pw, int ph, int dx, int dy);

}  // namespace slumra

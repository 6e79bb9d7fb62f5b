#include "widgets/Geometry.h"

#include <cmath>

namespace slumra {

int RoundHalfEven(double value) {
    const double floor = std::floor(value);
    const double frac = value - floor;
    auto f = static_cast<long long>(floor);
    if (frac > 0.5 || (frac == 0.5 && (f % 2 != 0))) ++f;
    return static_cast<int>(f);
}

int ScaleValue(int value, int m, int d) {
    if (d == 0) return value;
    // Exact in integers: q = value·m / d with the remainder deciding the rounding.
    const long long num = static_cast<long long>(value) * m;
    long long q = num / d;
    long long r = num % d;
    if (r != 0 && ((r < 0) != (d < 0))) {  // make the remainder share the divisor's sign
        --q;
        r += d;
    }
    const long long twice = 2 * (r < 0 ? -r : r);
    const long long dd = d < 0 ? -static_cast<long long>(d) : d;
    if (twice > dd || (twice == dd && (q % 2 != 0))) ++q;
    return static_cast<int>(q);
}

std::vector<Point> TilePositions(int w, int h, int pw, int ph, int dx, int dy) {
    std::vector<Point> tiles;
    if (pw <= 0 || ph <= 0) return tiles;
    for (int x = 0; dx + x < w; x += pw) {
        for (int y = 0; dy + y < h; y += ph) tiles.push_back({dx + x, dy + y});
    }
    return tiles;
}

}  // namespace slumra

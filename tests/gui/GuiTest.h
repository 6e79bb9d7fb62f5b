// Helpers of the window tests: pictures made in memory, and the pixels a window shows.
#pragma once

#include "data/Index.h"
#include "toolkit/Controls.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

namespace slumra::test {

// A 32-bit top-down snapshot of what a control paints.
class Pixels {
public:
    Pixels(int w, int h) : w_(w), h_(h), data_(static_cast<std::size_t>(w) * h) {}
    int Width() const { return w_; }
    int Height() const { return h_; }
    // 0x00RRGGBB
    std::uint32_t At(int x, int y) const { return data_[static_cast<std::size_t>(y) * w_ + x] & 0xFFFFFF; }
    std::uint32_t* Data() { return data_.data(); }

private:
    int w_, h_;
    std::vector<std::uint32_t> data_;
};

// Paints `control` (its face and graphic children) off-screen, as WM_PAINT would.
Pixels Render(tk::TWinControl& control);
// Reads what the screen shows of a visible window's client area.
Pixels Grab(tk::TWinControl& control);
// A bitmap of w × h filled by `color(x, y)` (0x00RRGGBB).
tk::TBitmap MakeBitmap(int w, int h, const std::function<std::uint32_t(int, int)>& color);
// Lets the window messages run for a while, so windows paint.
void Pump(int milliseconds = 50);

// An index of symbols only, in the given order: "n|name" for each.
inline TIndexLists SymbolIndex(std::initializer_list<std::pair<int, const char*>> symbols) {
    TIndexLists index;
    for (const auto& [n, name] : symbols) index.Add(2, n, name);
    return index;
}

}  // namespace slumra::test

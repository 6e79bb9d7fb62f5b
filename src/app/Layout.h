// The arithmetic of the main window's layout: which design a screen gets, how far the menu
// strip slides and in which steps. Free of the platform, so it is tested natively.
#pragma once

namespace slumra {

// The size class of a W × H screen: 0–2 when the screen is relatively taller than 4:3 (the
// width decides), 3–5 otherwise (the height decides); classes c and c + 3 share the design
// c mod 3 (640 × 480, 800 × 600, 1024 × 768). -1 when the screen is smaller than 640 × 480.
int SizeClassFor(int width, int height);

// The design of a class: 0 (640 × 480, "6x4"), 1 (800 × 600, "8x6"), 2 (1024 × 768, "10x7").
inline int DesignOf(int sizeClass) {
    return sizeClass % 3;
}
const char* DesignSuffix(int sizeClass);
// The scale of a class's design against the 640 × 480 one, as m / d.
void DesignScale(int sizeClass, int& m, int& d);

// The strip's offset for menu position p (1, 2, 3) on a strip w pixels wide.
int SlideTarget(int stripWidth, int position);
// Pixels per step of the slide, by size class and the screen's current size.
int SlideStep(int sizeClass, int screenWidth, int screenHeight);
// Every offset the strip is set to on its way from `from` to `target`, the target last.
// Ends at once when the strip is already there.
template <typename F>
void SlideSteps(int from, int target, int step, F&& set) {
    int x = from;
    if (step <= 0) step = 1;
    if (target > x) {
        while (x < target) set(x += step);
    } else if (target < x) {
        while (x > target) set(x -= step);
    }
    set(target);
}

}  // namespace slumra

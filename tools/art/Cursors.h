// The two hand cursors: pointing (over links and buttons) and closed (while dragging).
#pragma once

#include <cstdint>
#include <vector>

namespace slumra::art {

struct CursorArt {
    std::vector<std::uint32_t> argb;  // 32 x 32, top-down, 0xAARRGGBB
    int hotX, hotY;
};

// A white hand with a black outline and a soft shadow; pointing with the index finger, or with
// the finger folded like the others.
CursorArt PaintHand(bool pointing);

}  // namespace slumra::art

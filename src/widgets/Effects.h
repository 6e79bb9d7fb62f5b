// Block transitions: a composed picture reaches its destination block by block.
#pragma once

#include "toolkit/Graphics.h"
#include "widgets/EffectBlocks.h"

#include <vector>

namespace slumra {

// Copies the blocks of `order` (blocks of `size` pixels over the w × h area at the origin)
// from src to the same place on dst. A failing copy is skipped.
void CopyBlocks(tk::TCanvas& dst, const tk::TCanvas& src, int w, int h, int size,
                const std::vector<Block>& order);

// The transition: the blocks in the style's order, then the whole area at once, so that
// whatever a shortened order skipped is drawn too. No delay between blocks. A null random
// source takes a fresh generator for this one transition.
void RunEffect(tk::TCanvas& dst, const tk::TCanvas& src, int w, int h, EffectStyle style, int size, int speed,
               const RandomSource& random = {});

// A random source started afresh from the system's entropy.
RandomSource FreshRandom();

}  // namespace slumra

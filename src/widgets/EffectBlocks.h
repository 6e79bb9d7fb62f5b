// The block transitions of the proportional image, as arithmetic: the grid of blocks over a
// picture, where each block lies, and in which order each transition copies them.
#pragma once

#include "widgets/Geometry.h"

#include <functional>
#include <vector>

namespace slumra {

enum class EffectStyle { esRandom, esExplode, esImplode };

// A block of the grid: 1-based column and row.
struct Block {
    int Col = 0, Row = 0;
    friend bool operator==(const Block&, const Block&) = default;
};

struct BlockGrid {
    int Cols = 0, Rows = 0;
    int Count() const { return Cols * Rows; }
};

// Blocks of `size` pixels (below 1 counts as 1) over a w × h area; the last column and row
// are narrower when the size does not divide the area. No blocks for an area without pixels.
BlockGrid GridFor(int w, int h, int size);
// The pixels of block b, cut off at the area's right and bottom edges.
Rect BlockRect(Block b, int w, int h, int size);

// A random number in [0, bound), for bound > 0. Tests pass a fixed one.
using RandomSource = std::function<unsigned(unsigned bound)>;

// The blocks copied one by one before the final full copy, in copying order. Every order
// holds each block of the grid at most once; at speed 1 (and for the spirals always) it
// holds every block exactly once.
//   esRandom: a random order; speed v (0 counts as 1) copies only the first ceil(n / v).
//   esExplode: a spiral out of the centre (up, left, down, right, legs growing by one).
//   esImplode: a spiral from the top-left corner into the centre (down, right, up, left).
std::vector<Block> RandomBlocks(BlockGrid grid, int speed, const RandomSource& random);
std::vector<Block> ExplodeBlocks(BlockGrid grid);
std::vector<Block> ImplodeBlocks(BlockGrid grid);
std::vector<Block> EffectBlocks(EffectStyle style, BlockGrid grid, int speed, const RandomSource& random);

}  // namespace slumra

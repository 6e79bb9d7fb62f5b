#include "widgets/EffectBlocks.h"

#include <algorithm>
#include <utility>

namespace slumra {

namespace {

int CeilDiv(int a, int b) {
    return (a + b - 1) / b;
}

// Collects the in-grid blocks a spiral walks over, each once, until the grid is complete.
class SpiralWalk {
public:
    explicit SpiralWalk(BlockGrid grid) : grid_(grid) {
        if (grid_.Count() > 0) blocks_.reserve(static_cast<std::size_t>(grid_.Count()));
    }
    bool Complete() const { return static_cast<int>(blocks_.size()) >= grid_.Count(); }
    void Visit(int i, int j) {
        if (i >= 1 && i <= grid_.Cols && j >= 1 && j <= grid_.Rows) blocks_.push_back({i, j});
    }
    // n steps of (di, dj) from (i, j), visiting every block stepped on.
    void Leg(int& i, int& j, int n, int di, int dj) {
        for (int k = 0; k < n && !Complete(); ++k) {
            i += di;
            j += dj;
            Visit(i, j);
        }
    }
    // Even legs go down then right, odd legs up then left.
    void Turn(int& i, int& j, int n) {
        const int step = n % 2 == 0 ? 1 : -1;
        Leg(i, j, n, 0, step);
        Leg(i, j, n, step, 0);
    }
    std::vector<Block> Take() { return std::move(blocks_); }

private:
    BlockGrid grid_;
    std::vector<Block> blocks_;
};

}  // namespace

BlockGrid GridFor(int w, int h, int size) {
    if (w <= 0 || h <= 0) return {};
    const int s = std::max(size, 1);
    return {CeilDiv(w, s), CeilDiv(h, s)};
}

Rect BlockRect(Block b, int w, int h, int size) {
    const int s = std::max(size, 1);
    return {(b.Col - 1) * s, (b.Row - 1) * s, std::min(b.Col * s, w), std::min(b.Row * s, h)};
}

std::vector<Block> RandomBlocks(BlockGrid grid, int speed, const RandomSource& random) {
    const int n = grid.Count();
    if (n <= 0) return {};
    std::vector<Block> all;
    all.reserve(static_cast<std::size_t>(n));
    for (int row = 1; row <= grid.Rows; ++row)
        for (int col = 1; col <= grid.Cols; ++col) all.push_back({col, row});
    // A higher speed shortens the animation; the final full copy draws what it skipped.
    const int shown = speed <= 1 ? n : CeilDiv(n, speed);
    // Only the first `shown` places of a Fisher-Yates shuffle are needed.
    for (int k = 0; k < shown && random; ++k) {
        const auto left = static_cast<unsigned>(n - k);
        const unsigned pick = random(left) % left;
        std::swap(all[static_cast<std::size_t>(k)], all[static_cast<std::size_t>(k) + pick]);
    }
    all.resize(static_cast<std::size_t>(shown));
    return all;
}

std::vector<Block> ExplodeBlocks(BlockGrid grid) {
    SpiralWalk walk(grid);
    if (grid.Count() <= 0) return {};
    int i = ScaleValue(grid.Cols, 1, 2), j = ScaleValue(grid.Rows, 1, 2);
    walk.Visit(i, j);
    // The square around the centre grows until it holds the whole grid, however narrow.
    for (int n = 1; !walk.Complete(); ++n) walk.Turn(i, j, n);
    return walk.Take();
}

std::vector<Block> ImplodeBlocks(BlockGrid grid) {
    SpiralWalk walk(grid);
    if (grid.Count() <= 0) return {};
    int n = 0, i = 0, j = 0;
    if (grid.Cols > grid.Rows) {
        n = grid.Cols;
        i = 1;
        j = 1 - ScaleValue(grid.Cols - grid.Rows, 1, 2);
    } else {
        n = grid.Rows;
        i = 1 - ScaleValue(grid.Rows - grid.Cols, 1, 2);
        j = 1;
    }
    if (n % 2 != 0) ++n;
    // The first leg steps before it copies, so the walk starts just above the corner block;
    // the legs then cover an (n + 1) × n area holding the whole grid, each block once.
    --j;
    for (; n > 0 && !walk.Complete(); --n) walk.Turn(i, j, n);
    return walk.Take();
}

std::vector<Block> EffectBlocks(EffectStyle style, BlockGrid grid, int speed, const RandomSource& random) {
    switch (style) {
        case EffectStyle::esRandom:
            return RandomBlocks(grid, speed, random);
        case EffectStyle::esExplode:
            return ExplodeBlocks(grid);
        case EffectStyle::esImplode:
            return ImplodeBlocks(grid);
    }
    return {};
}

}  // namespace slumra

#include "widgets/EffectBlocks.h"
#include "widgets/ProImgLayout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <set>
#include <utility>

namespace slumra {
namespace {

// A small linear congruential source: fixed, so every run shuffles the same way.
RandomSource Lcg(std::uint32_t state) {
    return [state](unsigned bound) mutable {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % bound;
    };
}

testing::AssertionResult EveryBlockOnce(const std::vector<Block>& order, BlockGrid grid) {
    std::set<std::pair<int, int>> seen;
    for (const Block& b : order) {
        if (b.Col < 1 || b.Col > grid.Cols || b.Row < 1 || b.Row > grid.Rows)
            return testing::AssertionFailure() << "block (" << b.Col << ", " << b.Row << ") is off the grid";
        if (!seen.insert({b.Col, b.Row}).second)
            return testing::AssertionFailure() << "block (" << b.Col << ", " << b.Row << ") comes twice";
    }
    if (static_cast<int>(seen.size()) != grid.Count())
        return testing::AssertionFailure()
               << grid.Count() - static_cast<int>(seen.size()) << " blocks missing";
    return testing::AssertionSuccess();
}

// ---- picture fitting -------------------------------------------------------------------

TEST(ProImgLayout, PicturesFitWithHalvesToEvenAndCentringTowardZero) {
    // 175 × 87.5 → 88, reaching 25 pixels past each side; tall: 87.5 → 88 across.
    EXPECT_EQ(FitPicture(125, 125, 200, 100, FitBox{140, 140}), (Rect{-25, 18, 150, 106}));
    EXPECT_EQ(FitPicture(125, 125, 100, 200, FitBox{140, 140}), (Rect{18, -25, 106, 150}));
    // 176.25 → 176; (125 − 176) / 2 = −25.5 → −25, not −26.
    EXPECT_EQ(FitPicture(125, 125, 200, 100, FitBox{141, 141}).Left, -25);
    // The about box: 162.5 → 162, (325 − 162) div 2 = 81.
    EXPECT_EQ(FitPicture(325, 325, 650, 650, FitBox{100, 100}), (Rect{0, 0, 325, 325}));
    EXPECT_EQ(FitPicture(325, 325, 200, 100, FitBox{100, 100}), (Rect{0, 81, 325, 243}));
    // Nothing to draw for a picture without area or a negative box.
    EXPECT_EQ(FitPicture(100, 100, 0, 50, FitBox{}).Width(), 0);
    EXPECT_EQ(FitPicture(100, 100, 50, 50, FitBox{-20, -20}).Height(), 0);
}

TEST(ProImgLayout, StaticBoxReplacesOnlyItsOwnDimension) {
    FitBox box{90, 90, true, false, 50, 100};
    EXPECT_EQ(FitPicture(100, 100, 40, 40, box), (Rect{25, 5, 75, 95}));
    box = FitBox{90, 90, false, true, 100, 30};
    EXPECT_EQ(FitPicture(100, 100, 40, 40, box), (Rect{5, 35, 95, 65}));
    // A static box of height 0 makes the static width 0 as well.
    box = FitBox{90, 90, true, false, 50, 0};
    EXPECT_EQ(FitPicture(100, 100, 40, 40, box).Width(), 0);
}

TEST(ProImgLayout, CaptionBoxAtTheBottomCentre) {
    EXPECT_EQ(FontPointSize(-11, 96), 8);  // 8.25
    EXPECT_EQ(FontPointSize(20, 96), 15);
    // 8 points at 96 pixels per inch: 10.67 → 11, plus 4.
    const CaptionLayout c = CaptionPlacement(125, 125, 40, 13, 8, 96);
    EXPECT_EQ(c.Box, (Rect{40, 110, 85, 125}));
    EXPECT_EQ(c.Clip, (Rect{42, 112, 82, 123}));
    EXPECT_EQ(c.Text, (Point{42, 111}));
    // Text taller than the box: (15 − 18) div 2 truncates to −1.
    EXPECT_EQ(CaptionPlacement(125, 125, 40, 18, 8, 96).Text.Y, 109);
}

// ---- blocks ----------------------------------------------------------------------------

TEST(EffectBlocks, RaggedGridCoversEveryPixelOnce) {
    for (int size : {0, 1, 3, 8, 40, 200}) {
        for (auto [w, h] : {std::pair{37, 23}, {125, 125}, {1, 1}, {13, 64}}) {
            const BlockGrid grid = GridFor(w, h, size);
            std::vector<int> hits(static_cast<std::size_t>(w * h), 0);
            for (int row = 1; row <= grid.Rows; ++row) {
                for (int col = 1; col <= grid.Cols; ++col) {
                    const Rect r = BlockRect({col, row}, w, h, size);
                    for (int y = r.Top; y < r.Bottom; ++y)
                        for (int x = r.Left; x < r.Right; ++x) ++hits[static_cast<std::size_t>(y * w + x)];
                }
            }
            for (int n : hits) ASSERT_EQ(n, 1) << w << "x" << h << " in blocks of " << size;
        }
    }
    EXPECT_EQ(GridFor(0, 7, 5).Count(), 0);
}

// The spirals used to stop before reaching the grid's edges (for 6 × 6 blocks the outward
// one left 11 blocks, the inward one the whole top row) and a one-column grid got nothing.
TEST(EffectBlocks, EveryStyleCopiesEveryBlockExactlyOnce) {
    for (int cols = 1; cols <= 30; ++cols) {
        for (int rows = 1; rows <= 30; ++rows) {
            const BlockGrid grid{cols, rows};
            ASSERT_TRUE(EveryBlockOnce(ExplodeBlocks(grid), grid)) << "explode " << cols << "x" << rows;
            ASSERT_TRUE(EveryBlockOnce(ImplodeBlocks(grid), grid)) << "implode " << cols << "x" << rows;
            ASSERT_TRUE(EveryBlockOnce(RandomBlocks(grid, 1, Lcg(7)), grid))
                << "random " << cols << "x" << rows;
        }
    }
    const BlockGrid wide{200, 3};
    EXPECT_TRUE(EveryBlockOnce(ExplodeBlocks(wide), wide));
    EXPECT_TRUE(EveryBlockOnce(ImplodeBlocks(wide), wide));
}

TEST(EffectBlocks, SpiralsRunOutOfTheCentreAndInFromTheCorner) {
    const std::vector<Block> out = ExplodeBlocks({7, 7});
    EXPECT_EQ(out[0], (Block{4, 4}));
    EXPECT_EQ(out[1], (Block{4, 3}));  // up first, then left
    EXPECT_EQ(out[2], (Block{3, 3}));
    for (std::size_t k = 1; k < out.size(); ++k)
        ASSERT_EQ(std::abs(out[k].Col - out[k - 1].Col) + std::abs(out[k].Row - out[k - 1].Row), 1) << k;
    const std::vector<Block> in = ImplodeBlocks({6, 6});
    EXPECT_EQ(in[0], (Block{1, 1}));  // down the left column first
    EXPECT_EQ(in[1], (Block{1, 2}));
}

TEST(EffectBlocks, RandomOrderFollowsItsSourceAndSpeedShortensIt) {
    const BlockGrid grid{9, 7};
    EXPECT_EQ(RandomBlocks(grid, 1, Lcg(3)), RandomBlocks(grid, 1, Lcg(3)));
    EXPECT_NE(RandomBlocks(grid, 1, Lcg(3)), RandomBlocks(grid, 1, Lcg(4)));
    EXPECT_EQ(RandomBlocks(grid, 1, [](unsigned bound) { return bound - 1; }).front(), (Block{9, 7}));
    // Answers out of range stay on the grid; speed 0 would never advance and counts as 1.
    EXPECT_TRUE(EveryBlockOnce(RandomBlocks(grid, 0, [](unsigned) { return 0xFFFFFFFFu; }), grid));
    // Speed 4 copies ceil(63 / 4) distinct blocks; the final full copy does the rest.
    const std::vector<Block> fast = RandomBlocks(grid, 4, Lcg(5));
    std::set<std::pair<int, int>> distinct;
    for (const Block& b : fast) distinct.insert({b.Col, b.Row});
    EXPECT_EQ(fast.size(), 16u);
    EXPECT_EQ(distinct.size(), 16u);
}

}  // namespace
}  // namespace slumra

#include "app/Layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace slumra {
namespace {

TEST(Layout, SizeClassOfCommonScreens) {
    EXPECT_EQ(SizeClassFor(640, 480), 3);
    EXPECT_EQ(SizeClassFor(800, 600), 3);   // exactly 800 × 600 gets the next smaller design
    EXPECT_EQ(SizeClassFor(1024, 768), 4);  // and so does exactly 1024 × 768
    EXPECT_EQ(SizeClassFor(1152, 864), 5);
    EXPECT_EQ(SizeClassFor(1280, 1024), 2);  // taller than 4:3: the width decides
    EXPECT_EQ(SizeClassFor(1100, 1024), 1);
    EXPECT_EQ(SizeClassFor(1280, 800), 4);  // wide: the height decides
    EXPECT_EQ(SizeClassFor(1920, 1080), 5);
    EXPECT_EQ(SizeClassFor(640, 400), -1);
    EXPECT_EQ(SizeClassFor(600, 480), -1);
    EXPECT_EQ(SizeClassFor(639, 1000), -1);
    EXPECT_EQ(SizeClassFor(1023, 2000), 0);
}

TEST(Layout, DesignsAndScales) {
    int m = 0, d = 0;
    DesignScale(4, m, d);
    EXPECT_EQ(m * 640 / d, 800);
    DesignScale(2, m, d);
    EXPECT_EQ(m * 480 / d, 768);
    DesignScale(3, m, d);
    EXPECT_EQ(m, d);
    EXPECT_STREQ(DesignSuffix(5), "10x7");
    EXPECT_STREQ(DesignSuffix(0), "6x4");
}

TEST(Layout, MenuSlidesToEachPositionInSteps) {
    EXPECT_EQ(SlideTarget(1707, 1), -213);
    EXPECT_EQ(SlideTarget(1707, 2), -639);
    EXPECT_EQ(SlideTarget(1707, 3), -1065);
    EXPECT_EQ(SlideStep(3, 640, 480), 4);
    EXPECT_EQ(SlideStep(1, 1100, 1024), 5);
    EXPECT_EQ(SlideStep(4, 1024, 768), 7);
    EXPECT_EQ(SlideStep(5, 1280, 1024), 6);

    std::vector<int> seen;
    SlideSteps(-213, -639, 4, [&](int x) { seen.push_back(x); });
    EXPECT_EQ(seen.front(), -217);
    EXPECT_EQ(seen[seen.size() - 2], -641);  // overshoots by the last step, then lands
    EXPECT_EQ(seen.back(), -639);
    seen.clear();
    SlideSteps(-639, -639, 4, [&](int x) { seen.push_back(x); });
    EXPECT_EQ(seen, std::vector<int>{-639});
    seen.clear();
    SlideSteps(-1065, -213, 6, [&](int x) { seen.push_back(x); });
    EXPECT_EQ(seen.back(), -213);
    EXPECT_EQ(seen.size(), 143u);
}

}  // namespace
}  // namespace slumra

#include "GuiTest.h"

#include "imaging/TMultiP.h"
#include "toolkit/Palette.h"

#include <gtest/gtest.h>

namespace slumra::tk {
namespace {

// Restores the real display after a test pretends another one.
struct PretendScreen {
    explicit PretendScreen(int bits) { TScreen::Pretend(0, 0, bits); }
    ~PretendScreen() { TScreen::Pretend(0, 0, 0); }
};

std::vector<PALETTEENTRY> Entries(HPALETTE pal) {
    std::vector<PALETTEENTRY> e(GetPaletteEntries(pal, 0, 0, nullptr));
    GetPaletteEntries(pal, 0, static_cast<UINT>(e.size()), e.data());
    return e;
}

TEST(Palette, ChosenByDisplayDepthFromTheProgramsResources) {
    BuildPalettes(GetModuleHandleW(nullptr));
    HPALETTE p16 = nullptr, p256 = nullptr;
    {
        PretendScreen s(4);
        p16 = ScreenPalette();
    }
    {
        PretendScreen s(8);
        p256 = ScreenPalette();
    }
    ASSERT_NE(p16, nullptr);
    ASSERT_NE(p256, nullptr);
    for (int bits : {16, 24, 32}) {
        PretendScreen s(bits);
        EXPECT_EQ(ScreenPalette(), nullptr) << bits;
    }
    const auto e16 = Entries(p16), e256 = Entries(p256);
    ASSERT_EQ(e16.size(), 16u);
    ASSERT_EQ(e256.size(), 256u);
    EXPECT_EQ(RGB(e16[1].peRed, e16[1].peGreen, e16[1].peBlue), RGB(128, 0, 0));
    EXPECT_EQ(RGB(e16[8].peRed, e16[8].peGreen, e16[8].peBlue), RGB(192, 192, 192));
    EXPECT_EQ(RGB(e256[8].peRed, e256[8].peGreen, e256[8].peBlue), RGB(192, 220, 192));
    EXPECT_EQ(RGB(e256[246].peRed, e256[246].peGreen, e256[246].peBlue), RGB(255, 251, 240));
    EXPECT_EQ(RGB(e256[255].peRed, e256[255].peGreen, e256[255].peBlue), RGB(255, 255, 255));
    FreePalettes();
    PretendScreen s(8);
    EXPECT_EQ(ScreenPalette(), nullptr);  // freed: nothing handed out any more
}

TEST(Palette, ColourCountFromEveryKindOfHeader) {
    unsigned char h[40] = {};
    h[0] = 40;
    h[14] = 8;
    EXPECT_EQ(ResourceColorCount(h, 40), 256u);  // used-colours field 0: 2^bits
    h[32] = 17;
    EXPECT_EQ(ResourceColorCount(h, 40), 17u);
    h[32] = 0;
    h[14] = 24;
    EXPECT_EQ(ResourceColorCount(h, 40), 0u);  // true colour: no table
    unsigned char core[12] = {12, 0, 0, 0, 0, 0, 0, 0, 1, 0, 4, 0};
    EXPECT_EQ(ResourceColorCount(core, 12), 16u);
    EXPECT_EQ(ResourceColorCount(h, 39), 0u);  // header longer than the resource
    h[32] = 0xFF;
    h[33] = 0xFF;
    EXPECT_EQ(ResourceColorCount(h, 40), 0u);  // a count no table can have
}

TEST(Palette, ResourceBitmapsKeepTheirOwnColourTable) {
    TBitmap intro;
    ASSERT_TRUE(LoadResourceBitmap("", "Intro256", nullptr, intro));
    EXPECT_EQ(intro.Width(), 282);
    ASSERT_NE(intro.Palette(), nullptr);
    EXPECT_EQ(GetPaletteEntries(intro.Palette(), 0, 0, nullptr), 256u);
    TBitmap about;
    ASSERT_TRUE(LoadResourceBitmap("", "About", nullptr, about));
    EXPECT_EQ(about.Height(), 325);
    TBitmap none;
    EXPECT_FALSE(LoadResourceBitmap("", "NoSuchPicture", nullptr, none));
    EXPECT_TRUE(none.Empty());
}

}  // namespace
}  // namespace slumra::tk

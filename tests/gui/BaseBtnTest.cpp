#include "GuiTest.h"

#include "widgets/MMBtns.h"

#include <gtest/gtest.h>

namespace slumra {
namespace {

using test::MakeBitmap;
using test::Pixels;

// Pixels come as 0x00RRGGBB, the platform's colours as 0x00BBGGRR.
constexpr std::uint32_t Px(COLORREF c) {
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

constexpr std::uint32_t kPanel = 0x00A000, kFace = 0xFF0000, kOutline = 0x0000FF, kGray = 0x808080;
constexpr std::uint32_t kWhite = 0xFFFFFF, kText = 0xFFFF00, kTextPen = 0xFF00FF;
constexpr int kX = 10, kY = 10;  // where the button stands on its panel

// A shown form whose panel holds one button; pixels are read in the button's coordinates.
struct Scene {
    explicit Scene(bool titleBar) {
        form.SetBounds(0, 0, 300, 200);
        panel->SetBounds(0, 0, 300, 200);
        panel->Color = RGB(0, 0xA0, 0);
        if (titleBar) {  // the main window's "X", in plain colours
            btn->SetBounds(kX, kY, 18, 18);
            btn->SetFaceWidth(0.777);
            btn->SetFaceHeight(0.777);
            btn->SetCaptionXRound(1);
            btn->SetCaptionYRound(10);
            btn->SetShadowXOffset(0.02);
            btn->SetShadowYOffset(0.05);
            btn->Brush.SetColor(RGB(255, 0, 0));
            btn->Pen.SetColor(RGB(0, 0, 255));
            btn->SetShadowColor(RGB(0, 0, 0));
        } else {  // a text button
            btn->SetBounds(kX, kY, 75, 18);
            btn->SetFaceVisible(false);
            btn->Pen.SetStyle(tk::PenStyle::Clear);
        }
        SetCursorPos(900, 700);  // the real pointer stays away: only the test's messages count
        form.Show();
    }
    ~Scene() { form.Hide(); }

    Pixels Shot() const { return test::Render(*panel); }
    std::uint32_t At(int x, int y) const { return Shot().At(kX + x, kY + y); }
    void Send(UINT msg, int x, int y, WPARAM keys = 0) {
        SendMessageW(panel->Handle(), msg, keys, MAKELPARAM(kX + x, kY + y));
    }

    tk::TForm form;
    tk::TPanel* panel = new tk::TPanel(&form);
    TBaseBtn* btn = new TBaseBtn(panel);
};

int Count(const Pixels& p, std::uint32_t color) {
    int n = 0;
    for (int y = 0; y < p.Height(); ++y)
        for (int x = 0; x < p.Width(); ++x) n += p.At(x, y) == color;
    return n;
}

TEST(BaseBtn, FaceSitsAboveItsShadowAndPressesOntoIt) {
    Scene s(true);
    const auto released = [&] {
        EXPECT_EQ(s.At(5, 0), kOutline);
        EXPECT_EQ(s.At(5, 7), kFace);
        EXPECT_EQ(s.At(5, 14), 0u);  // shadow
        EXPECT_EQ(s.At(5, 15), kPanel);
    };
    const auto pressed = [&] {
        EXPECT_EQ(s.At(5, 0), kPanel);
        EXPECT_EQ(s.At(5, 1), kOutline);
        EXPECT_EQ(s.At(5, 14), kOutline);
    };
    released();
    s.Send(WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    pressed();
    s.Send(WM_LBUTTONUP, 5, 5);
    released();
    s.btn->SetButtonIsDown(true);  // latched: the mouse does not undo it
    s.Send(WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    s.Send(WM_LBUTTONUP, 5, 5);
    pressed();
}

TEST(BaseBtn, MaskPenNotOutlineVanishesOverLightAndShowsOverTheShadow) {
    Scene s(true);  // the forms' values: black face, outline 10747904 as pen AND NOT screen
    s.panel->Color = RGB(255, 255, 255);
    s.btn->Brush.SetColor(RGB(0, 0, 0));
    s.btn->Pen.SetColor(10747904);
    s.btn->Pen.SetMode(tk::PenMode::MaskPenNot);
    EXPECT_EQ(s.At(5, 0), 0x000000u);
    EXPECT_EQ(s.At(5, 13), 0x0000A4u);
    EXPECT_EQ(s.At(5, 7), 0x000000u);
}

TEST(BaseBtn, CaptionOutlineOnlyWhenAskedAndDisabledCaptionTurnsGray) {
    Scene s(false);
    s.btn->SetBounds(kX, kY, 60, 40);
    s.btn->Font.SetHeight(-28);
    s.btn->Font.SetStyle(tk::fsBold);
    s.btn->Font.SetColor(RGB(255, 255, 0));
    s.btn->SetCaptionPenColor(RGB(255, 0, 255));
    s.btn->SetCaptionXOffset(0.25);
    s.btn->SetCaption("X");
    EXPECT_EQ(Count(s.Shot(), kTextPen), 0);

    s.btn->SetCaptionPenVisible(true);
    Pixels p = s.Shot();
    // The outline is the caption once more, one pixel up and left.
    int upLeft = 0, downRight = 0;
    for (int y = 1; y + 1 < p.Height(); ++y)
        for (int x = 1; x + 1 < p.Width(); ++x) {
            if (p.At(x, y) != kTextPen) continue;
            upLeft += p.At(x + 1, y + 1) == kText;
            downRight += p.At(x - 1, y - 1) == kText;
        }
    EXPECT_GT(upLeft, 0);
    EXPECT_EQ(downRight, 0);

    int clicks = 0;
    s.btn->OnClick = [&](tk::TControl*) { ++clicks; };
    s.btn->SetEnabled(false);
    s.Send(WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    p = s.Shot();
    s.Send(WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(Count(p, kText), 0);
    EXPECT_GT(Count(p, Px(GetSysColor(COLOR_GRAYTEXT))), 20);
    EXPECT_GT(Count(p, kTextPen), 0);  // the outline keeps its own colour
}

TEST(BaseBtn, FlatButtonFramesSunkenWhenPressedRaisedWhenHotNoneOtherwise) {
    Scene s(false);
    const auto frame = [&](std::uint32_t topLeft, std::uint32_t bottomRight) {
        const Pixels p = s.Shot();
        EXPECT_EQ(p.At(kX + 30, kY), topLeft);
        EXPECT_EQ(p.At(kX, kY + 9), topLeft);
        EXPECT_EQ(p.At(kX + 30, kY + 17), bottomRight);
        EXPECT_EQ(p.At(kX + 74, kY + 9), bottomRight);
    };
    frame(kPanel, kPanel);
    s.btn->SetButtonIsHot(true);
    frame(kWhite, kGray);
    s.Send(WM_LBUTTONDOWN, 30, 9, MK_LBUTTON);
    frame(kGray, kWhite);
    s.Send(WM_LBUTTONUP, 30, 9);
    s.btn->SetEnabled(false);
    frame(kPanel, kPanel);
}

TEST(BaseBtn, GlyphOfEachStateAtItsPlace) {
    constexpr std::uint32_t kUp = 0xFF0000, kDown = 0x0000FF, kOff = 0x808000;
    Scene s(false);
    s.btn->SetBounds(kX, kY, 40, 40);
    s.btn->SetShadowXOffset(0.25);   // 10 pixels
    s.btn->SetShadowYOffset(0.125);  // 5
    s.btn->SetGlyphXOffset(0.1);     // 4
    s.btn->SetGlyphYOffset(0.05);    // 2
    s.btn->GlyphUp.Assign(MakeBitmap(6, 6, [&](int, int) { return kUp; }));
    s.btn->GlyphDisabled.Assign(MakeBitmap(6, 6, [&](int, int) { return kOff; }));
    EXPECT_EQ(s.At(4, 2), kUp);
    EXPECT_EQ(s.At(10, 8), kPanel);

    s.Send(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    EXPECT_EQ(Count(s.Shot(), kUp), 0);  // no down glyph: none while pressed
    s.btn->SetGlyphUpIsGlyphDown(true);
    s.btn->GlyphDown.Assign(MakeBitmap(6, 6, [&](int, int) { return kDown; }));
    EXPECT_EQ(s.At(14, 7), kUp);  // moved by the shadow offset
    s.btn->SetGlyphUpIsGlyphDown(false);
    EXPECT_EQ(s.At(14, 7), kDown);
    s.Send(WM_LBUTTONUP, 20, 20);

    s.btn->SetGlyphCentered(true);
    s.btn->SetGlyphStretched(true);  // clears centred: over the glyph box (4, 2)–(12, 34)
    EXPECT_FALSE(s.btn->GlyphCentered());
    const Pixels p = s.Shot();
    EXPECT_EQ(p.At(kX + 11, kY + 33), kUp);
    EXPECT_EQ(p.At(kX + 12, kY + 20), kPanel);
    EXPECT_EQ(p.At(kX + 8, kY + 34), kPanel);

    s.btn->SetEnabled(false);
    EXPECT_EQ(s.At(11, 33), kOff);
}

TEST(BaseBtn, SettersRepaintOnlyOnAChange) {
    Scene s(true);
    s.btn->SetCaption("Klembord");
    const auto dirties = [&](const std::function<void()>& change) {
        ValidateRect(s.panel->Handle(), nullptr);
        change();
        return GetUpdateRect(s.panel->Handle(), nullptr, FALSE) != 0;
    };
    EXPECT_FALSE(dirties([&] { s.btn->SetCaption("Klembord"); }));
    EXPECT_FALSE(dirties([&] { s.btn->SetFaceWidth(0.777); }));
    EXPECT_FALSE(dirties([&] { s.btn->SetButtonIsDown(false); }));
    EXPECT_FALSE(dirties([&] { s.btn->Brush.SetColor(RGB(255, 0, 0)); }));
    EXPECT_FALSE(dirties([&] { s.btn->GlyphUp.Assign(MakeBitmap(4, 4, [](int, int) { return 0u; })); }));
    EXPECT_TRUE(dirties([&] { s.btn->SetCaption("Afdrukken"); }));
    EXPECT_TRUE(dirties([&] { s.btn->SetFaceWidth(0.777 + 1e-12); }));
    EXPECT_TRUE(dirties([&] { s.btn->Pen.SetMode(tk::PenMode::MaskPenNot); }));
    EXPECT_TRUE(dirties([&] { s.btn->Font.SetStyle(tk::fsUnderline); }));
}

TEST(BaseBtn, ClickOnlyWhenTheLeftButtonIsReleasedInside) {
    Scene s(true);
    std::string seen;
    s.btn->OnMouseDown = [&](tk::TControl*, tk::TMouseButton, unsigned, int, int) { seen += "d"; };
    s.btn->OnMouseUp = [&](tk::TControl*, tk::TMouseButton, unsigned, int, int) { seen += "u"; };
    s.btn->OnClick = [&](tk::TControl*) { seen += "c"; };
    s.Send(WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    s.Send(WM_LBUTTONUP, 6, 6);
    EXPECT_EQ(seen, "duc");

    seen.clear();  // held and dragged off: still pressed; released outside: no click
    s.Send(WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    s.Send(WM_MOUSEMOVE, 100, 100, MK_LBUTTON);
    EXPECT_EQ(s.At(5, 14), kOutline);
    s.Send(WM_LBUTTONUP, 100, 100);
    EXPECT_EQ(s.At(5, 14), 0u);
    s.Send(WM_RBUTTONDOWN, 5, 5, MK_RBUTTON);
    s.Send(WM_RBUTTONUP, 5, 5);
    EXPECT_EQ(seen, "dudu");

    seen.clear();  // disabled while held: the release lets go of the face, without a click
    s.Send(WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    s.btn->SetEnabled(false);
    s.Send(WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(seen, "du");
    EXPECT_FALSE(s.btn->MousePressed());
}

TEST(BaseBtn, MouseInAndOutOncePerCrossing) {
    Scene s(false);
    std::string seen;
    s.btn->OnMouseIn = [&](tk::TControl* c) { seen += c == s.btn ? "i" : "?"; };
    s.btn->OnMouseOut = [&](tk::TControl* c) { seen += c == s.btn ? "o" : "?"; };
    for (auto [x, y] : {std::pair{100, 100}, {5, 5}, {74, 17}, {75, 17}, {30, 9}}) s.Send(WM_MOUSEMOVE, x, y);
    SendMessageW(s.panel->Handle(), WM_MOUSELEAVE, 0, 0);  // out of the panel straight from the button
    EXPECT_EQ(seen, "ioio");
}

}  // namespace
}  // namespace slumra

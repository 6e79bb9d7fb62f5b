// The lists' own scroll bar: its look on screen and what the mouse does on it.
#include "GuiTest.h"

#include "toolkit/StdCtrls.h"

#include <gtest/gtest.h>

#include <string>

namespace slumra::tk {
namespace {

struct Host {
    Host() {
        form.SetBounds(0, 0, 400, 300);
        form.Show();
        list = new TListBox(&form);
        list->SetBounds(10, 10, 200, 170);  // 10 rows of 17
        list->SetItemHeight(17);
        list->OnDrawItem = [this](TWinControl*, int, const RECT& r, unsigned) {
            WindowDC dc(list->Handle());
            FillRect(dc.Get(), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        };
    }
    ~Host() { form.Hide(); }
    void Fill(int n) {
        std::vector<std::string> items;
        for (int i = 0; i < n; ++i) items.push_back(std::to_string(i));
        list->SetItems(std::move(items));
        list->Handle();
        test::Pump();
    }
    int ClientWidth() {
        RECT r;
        GetClientRect(list->Handle(), &r);
        return r.right;
    }
    // The left button pressed on the bar at y (window coordinates), as the platform reports it.
    void Press(int y) {
        // Never the platform's bar: its tracking would wait for a real mouse.
        ASSERT_GT(list->ScrollBarWidth(), 0);
        RECT w;
        GetWindowRect(list->Handle(), &w);
        const LPARAM at = MAKELPARAM(w.right - 4, w.top + y);
        ASSERT_EQ(SendMessageW(list->Handle(), WM_NCHITTEST, 0, at), HTVSCROLL);
        SendMessageW(list->Handle(), WM_NCLBUTTONDOWN, HTVSCROLL, at);
    }
    void Release(int y) { SendMessageW(list->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(list->Width() - 4, y)); }
    TForm form;
    TListBox* list;
};

TEST(ListScroll, HundredThousandRowsGetADarkTrackAndALightThumb) {
    Host h;
    h.Fill(100000);
    const int bar = h.list->ScrollBarWidth();
    ASSERT_GT(bar, 0);
    EXPECT_EQ(GetWindowLongW(h.list->Handle(), GWL_STYLE) & WS_VSCROLL, 0);
    EXPECT_EQ(h.ClientWidth(), 200 - bar);  // the rows keep the platform bar's width
    const RECT thumb = h.list->ScrollThumbRect();
    EXPECT_GE(thumb.bottom - thumb.top, 12);
    EXPECT_LT(thumb.bottom - thumb.top, 20);

    const test::Pixels shown = test::Grab(h.form);
    const int x = 10 + 200 - bar / 2;  // at 8 bits per pixel: a navy track, a silver thumb
    const std::uint32_t onThumb = shown.At(x, 10 + (thumb.top + thumb.bottom) / 2);
    const std::uint32_t onTrack = shown.At(x, 10 + 120);
    for (int shift : {0, 8, 16}) {
        EXPECT_GE((onThumb >> shift) & 0xFF, 0xC0u) << std::hex << onThumb;
        EXPECT_LE((onTrack >> shift) & 0xFF, 0x80u) << std::hex << onTrack;
    }
}

TEST(ListScroll, ArrowsTrackAndThumbScrollTheRows) {
    Host h;
    h.Fill(1000);
    HWND wnd = h.list->Handle();
    h.Press(5);  // the up arrow at the top does nothing there
    h.Release(5);
    EXPECT_EQ(h.list->TopIndex(), 0);
    h.Press(165);  // the down arrow
    h.Release(165);
    EXPECT_EQ(h.list->TopIndex(), 1);
    h.Press(100);  // the track below the thumb: a page of 10 rows
    h.Release(100);
    EXPECT_EQ(h.list->TopIndex(), 11);
    EXPECT_EQ(h.list->ItemIndex(), -1);  // the bar's clicks select nothing

    const RECT thumb = h.list->ScrollThumbRect();
    const int arrow = 200 - thumb.left;  // arrows are square
    h.Press((thumb.top + thumb.bottom) / 2);
    SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(190, 400));
    h.Release(400);
    EXPECT_EQ(h.list->TopIndex(), 990);
    const RECT last = h.list->ItemRect(999);
    EXPECT_LE(last.bottom, 170);
    EXPECT_EQ(h.list->ScrollThumbRect().bottom, 170 - arrow);

    // Keys and the wheel scroll as before, and the thumb follows.
    h.list->SetFocus();
    SendMessageW(wnd, WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(h.list->TopIndex(), 0);
    EXPECT_EQ(h.list->ScrollThumbRect().top, arrow);
    SendMessageW(wnd, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_GT(h.list->TopIndex(), 0);
}

TEST(ListScroll, TheBarShowsOnlyWhenRowsDoNotFit) {
    Host h;
    h.Fill(10);
    EXPECT_EQ(h.list->ScrollBarWidth(), 0);
    EXPECT_EQ(h.ClientWidth(), 200);
    h.list->AddItem("11");
    EXPECT_GT(h.list->ScrollBarWidth(), 0);
    EXPECT_EQ(h.ClientWidth(), 200 - h.list->ScrollBarWidth());
    h.list->SetHeight(187);  // 11 rows fit again
    EXPECT_EQ(h.list->ScrollBarWidth(), 0);
    EXPECT_EQ(h.ClientWidth(), 200);
}

}  // namespace
}  // namespace slumra::tk

#include "GuiTest.h"

#include "toolkit/Outline.h"
#include "toolkit/StdCtrls.h"

#include <gtest/gtest.h>

#include <cstring>

namespace slumra::tk {
namespace {

using test::Pump;

// A visible form to put controls on.
struct Host {
    Host() {
        form.SetBounds(0, 0, 400, 300);
        form.Show();
    }
    ~Host() { form.Hide(); }
    TForm form;
};

void Key(HWND wnd, WORD vk) {
    SendMessageW(wnd, WM_KEYDOWN, vk, 0);
    SendMessageW(wnd, WM_KEYUP, vk, 0xC0000000);
}

void Click(HWND wnd, int x, int y, bool dbl = false) {
    SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    if (dbl) {
        SendMessageW(wnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }
}

TEST(ListBox, HundredThousandItemsSelectionAndDrawing) {
    Host h;
    auto* list = new TListBox(&h.form);
    list->SetBounds(10, 10, 200, 170);
    list->SetItemHeight(17);
    std::vector<std::string> items;
    for (int i = 0; i < 100000; ++i) items.push_back(std::to_string(i + 1) + "|S" + std::to_string(i));
    std::vector<int> drawn;
    list->OnDrawItem = [&](TWinControl*, int index, const RECT& r, unsigned) {
        drawn.push_back(index);
        EXPECT_EQ(r.bottom - r.top, 17);
    };
    int selects = 0;
    list->OnSelect = [&](TControl*) { ++selects; };
    list->SetItems(std::move(items));
    list->Handle();
    Pump();
    EXPECT_EQ(list->Count(), 100000);
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.front(), 0);
    EXPECT_LE(drawn.size(), 20u);  // only the visible rows
    EXPECT_EQ(list->ItemAtPos(5, 17 * 3 + 2), 3);

    list->SetFocus();
    list->SetItemIndex(99998);
    Key(list->Handle(), VK_DOWN);
    EXPECT_EQ(list->ItemIndex(), 99999);
    EXPECT_EQ(selects, 1);
    Key(list->Handle(), VK_HOME);
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_EQ(list->TopIndex(), 0);
    Click(list->Handle(), 20, 17 * 4 + 5);
    EXPECT_EQ(list->ItemIndex(), 4);
}

TEST(Outline, LevelsExpandCollapseAndKeys) {
    Host h;
    auto* outline = new TOutline(&h.form);
    outline->SetBounds(10, 10, 200, 170);
    outline->SetItemHeight(17);
    outline->SetLines(
        {"1|Dieren", " 2|Huisdieren", "  3|Hond", "  4|Kat", " 5|Vogels", "6|Water", "  7|te diep"});
    outline->Handle();
    ASSERT_EQ(outline->ItemCount(), 7);
    EXPECT_EQ(outline->Item(3).Level, 3);
    EXPECT_EQ(outline->Item(3).Parent, 2);
    EXPECT_EQ(outline->Item(5).Parent, 1);
    EXPECT_TRUE(outline->Item(1).HasItems);
    EXPECT_FALSE(outline->Item(5).HasItems);
    EXPECT_EQ(outline->Item(7).Level, 2);  // two spaces under a level-1 item go one deeper only
    EXPECT_EQ(outline->Count(), 2);        // only the categories show at first

    outline->SetFocus();
    outline->SetItemIndex(0);
    SendMessageW(outline->Handle(), WM_CHAR, '+', 0);
    EXPECT_EQ(outline->Count(), 4);
    EXPECT_EQ(outline->ItemOfRow(1), 2);
    EXPECT_EQ(outline->GetItem(5, 17 + 5), 2);

    outline->SetSelectedItem(4);  // shows its branch
    EXPECT_EQ(outline->SelectedItem(), 4);
    EXPECT_TRUE(outline->Item(2).Expanded);
    outline->Collapse(1);  // the selection moves up to the collapsed branch
    EXPECT_EQ(outline->SelectedItem(), 1);
    EXPECT_EQ(outline->Count(), 2);

    Click(outline->Handle(), 20, 17 + 5, true);  // double click on Water expands it
    EXPECT_EQ(outline->SelectedItem(), 6);
    EXPECT_TRUE(outline->Item(6).Expanded);
    SendMessageW(outline->Handle(), WM_CHAR, '-', 0);
    EXPECT_FALSE(outline->Item(6).Expanded);
}

TEST(Edit, RefusesWhatTheCodePageCannotHold) {
    Host h;
    auto* edit = new TEdit(&h.form);
    edit->SetBounds(10, 10, 200, 24);
    edit->Handle();
    for (wchar_t c : std::wstring(L"Caf\u00e9 \u20ac5 \u4e2d!")) SendMessageW(edit->Handle(), WM_CHAR, c, 1);
    EXPECT_EQ(edit->Text(),
              "Caf\xE9 \x80"
              "5 !");
    EXPECT_EQ(edit->RefusedCount(), 1);

    auto* memo = new TMemo(&h.form);
    memo->SetBounds(10, 40, 200, 100);
    memo->SetText("een\r\ntwee\r\n\r\ndrie");
    EXPECT_EQ(memo->Lines(), (std::vector<std::string>{"een", "twee", "", "drie"}));
    memo->SetMaxLength(5);
    memo->SetText("");
    for (char c : std::string("abcdefgh")) SendMessageW(memo->Handle(), WM_CHAR, static_cast<WPARAM>(c), 1);
    EXPECT_EQ(memo->Text(), "abcde");
}

void SetClipboardText(HWND owner, const std::wstring& text) {
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(mem), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(mem);
    SetClipboardData(CF_UNICODETEXT, mem);
    CloseClipboard();
}

TEST(Edit, PasteIsTakenWholeOrNotAtAll) {
    Host h;
    auto* edit = new TEdit(&h.form);
    edit->SetBounds(10, 10, 200, 24);
    edit->SetText("droom ");
    SendMessageW(edit->Handle(), EM_SETSEL, 6, 6);
    SetClipboardText(edit->Handle(), L"caf\u00e9 \u2192 zee");  // an arrow the code page lacks
    SendMessageW(edit->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(edit->Text(), "droom ");
    EXPECT_EQ(edit->RefusedCount(), 1);
    SetClipboardText(edit->Handle(), L"caf\u00e9");
    SendMessageW(edit->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(edit->Text(), "droom caf\xE9");

    // Too long for the limit: refused whole and told, not cut off. The selection it replaces
    // counts as room.
    int told = 0;
    edit->OnTooLong = [&told](TControl*) { ++told; };
    edit->SetMaxLength(12);
    SendMessageW(edit->Handle(), EM_SETSEL, 10, 10);
    SetClipboardText(edit->Handle(), L"zeeen");
    SendMessageW(edit->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(edit->Text(), "droom caf\xE9");
    EXPECT_EQ(told, 1);
    SendMessageW(edit->Handle(), EM_SETSEL, 6, 10);
    SendMessageW(edit->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(edit->Text(), "droom zeeen");
    EXPECT_EQ(told, 1);
}

TEST(ComboBox, ChoosesAmongItsItems) {
    Host h;
    auto* combo = new TComboBox(&h.form);
    combo->SetBounds(10, 10, 200, 24);
    combo->SetItems({"Dromen 2025", "Nachtboek"});
    combo->SetItemIndex(1);
    combo->Handle();
    EXPECT_EQ(combo->Text(), "Nachtboek");
    combo->SetItemIndex(7);
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->Text(), "");

    // A long list: keys choose at once while the list is up, only on Enter while it is down.
    std::vector<std::string> many;
    for (int i = 0; i < 100000; ++i) many.push_back("Droom " + std::to_string(i));
    combo->SetItems(many);
    int changes = 0;
    combo->OnChange = [&changes](TControl*) { ++changes; };
    const HWND field = combo->Handle();
    Key(field, VK_END);
    EXPECT_EQ(combo->ItemIndex(), 99999);
    Key(field, VK_HOME);
    SendMessageW(field, WM_CHAR, L'd', 0);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(changes, 3);
    Key(field, VK_F4);
    ASSERT_TRUE(combo->DroppedDown());
    Key(field, VK_DOWN);
    Key(field, VK_ESCAPE);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->ItemIndex(), 1);
    Key(field, VK_F4);
    Key(field, VK_DOWN);
    Key(field, VK_RETURN);
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(changes, 4);

    // The mouse: the field drops the list, a row chooses.
    Click(field, 5, 5);
    ASSERT_TRUE(combo->DroppedDown());
    RECT r{};
    GetWindowRect(field, &r);
    const HWND list = WindowFromPoint({r.left + 20, r.bottom + 4});
    const int rowHeight = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    const int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    Click(list, 20, rowHeight + rowHeight / 2);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->ItemIndex(), top + 1);

    // Edits keep the choice on its item.
    combo->SetItemIndex(5);
    combo->InsertItem(0, "Nieuw");
    EXPECT_EQ(combo->Text(), "Droom 5");
    combo->DeleteItem(0);
    combo->SetItem(5, "Hernoemd");
    EXPECT_EQ(combo->Text(), "Hernoemd");
    combo->DeleteItem(5);
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->Count(), 99999);
}

TEST(Controls, ScalingRoundsHalvesToEvenAndScalesOwnFonts) {
    TForm form;
    form.SetBounds(0, 0, 640, 480);
    auto* panel = new TPanel(&form);
    panel->SetBounds(2, 6, 45, 17);
    auto* label = new TLabel(panel);
    label->AutoSize = false;
    label->SetBounds(10, 30, 220, 17);
    label->Font.SetHeight(-13);
    auto* follower = new TLabel(panel);
    follower->AutoSize = false;
    form.Font.SetHeight(-11);
    form.ScaleBy(5, 4);
    EXPECT_EQ(panel->Left(), 2);    // 2.5 → 2
    EXPECT_EQ(panel->Top(), 8);     // 7.5 → 8
    EXPECT_EQ(panel->Width(), 56);  // 56.25
    EXPECT_EQ(panel->Height(), 21);
    EXPECT_EQ(label->Width(), 275);
    EXPECT_EQ(label->Font.Height(), -16);  // -16.25
    EXPECT_EQ(form.Width(), 800);
    form.ScaleBy(8, 5);
    EXPECT_EQ(form.Width(), 1280);
}

TEST(Controls, GraphicChildrenGetMouseEnterLeaveAndClicks) {
    Host h;
    auto* panel = new TPanel(&h.form);
    panel->SetBounds(0, 0, 300, 200);
    auto* a = new TLabel(panel);
    a->AutoSize = false;
    a->SetBounds(10, 10, 50, 20);
    auto* b = new TLabel(panel);
    b->AutoSize = false;
    b->SetBounds(40, 10, 50, 20);  // overlaps a: b is on top
    int clicksA = 0, clicksB = 0;
    a->OnClick = [&](TControl*) { ++clicksA; };
    b->OnClick = [&](TControl*) { ++clicksB; };
    panel->Handle();
    Click(panel->Handle(), 45, 15);
    EXPECT_EQ(clicksB, 1);
    EXPECT_EQ(clicksA, 0);
    Click(panel->Handle(), 15, 15);
    EXPECT_EQ(clicksA, 1);
    // Released outside the control it was pressed on: no click.
    SendMessageW(panel->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
    SendMessageW(panel->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(200, 150));
    EXPECT_EQ(clicksA, 1);
    // Disabled controls take no click.
    a->SetEnabled(false);
    Click(panel->Handle(), 15, 15);
    EXPECT_EQ(clicksA, 1);
}

TEST(Controls, HintShowsAfterAPauseAndGoesOnLeaving) {
    Host h;
    auto* panel = new TPanel(&h.form);
    panel->SetBounds(0, 0, 300, 200);
    auto* label = new TLabel(panel);
    label->AutoSize = false;
    label->SetBounds(10, 10, 50, 20);
    label->Hint = "Slumra Afsluiten";
    label->ShowHint = true;
    panel->Handle();
    // The real pointer goes there too, or the window hears at once that the mouse left.
    POINT p{20, 20};
    ClientToScreen(panel->Handle(), &p);
    SetCursorPos(p.x, p.y);
    Pump();
    SendMessageW(panel->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
    EXPECT_EQ(Application().HintShowing(), "");
    // The hint waits half a second; a loaded machine may be slower to deliver the timer.
    for (int waited = 0; waited < 3000 && Application().HintShowing().empty(); waited += 100) Pump(100);
    EXPECT_EQ(Application().HintShowing(), "Slumra Afsluiten");
    SendMessageW(panel->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(200, 150));
    EXPECT_EQ(Application().HintShowing(), "");
}

TEST(Controls, KeyPreviewSeesKeysFirstAndCanSwallowThem) {
    Host h;
    h.form.KeyPreview = true;
    auto* edit = new TEdit(&h.form);
    edit->SetBounds(10, 10, 100, 24);
    std::vector<std::string> seen;
    h.form.OnKeyDown = [&](TControl*, WORD& key, unsigned) {
        seen.push_back("form");
        if (key == VK_ESCAPE) key = 0;
    };
    edit->OnKeyDown = [&](TControl*, WORD&, unsigned) { seen.push_back("edit"); };
    edit->SetFocus();
    Pump();
    PostMessageW(edit->Handle(), WM_KEYDOWN, 'A', 0);
    PostMessageW(edit->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    Pump();
    EXPECT_EQ(seen, (std::vector<std::string>{"form", "edit", "form"}));
}

TEST(Controls, TimerTicksAndStops) {
    TTimer timer;
    timer.SetInterval(20);
    int ticks = 0;
    timer.OnTimer = [&](TTimer* t) {
        if (++ticks == 3) t->SetEnabled(false);
    };
    for (int waited = 0; waited < 3000 && ticks < 3; waited += 100) Pump(100);
    Pump(100);  // no tick after it switched itself off
    EXPECT_EQ(ticks, 3);
}

TEST(Controls, GaugeFillsItsShare) {
    TPanel panel(nullptr);
    panel.SetBounds(0, 0, 100, 10);
    auto* gauge = new TGauge(&panel);
    gauge->SetBounds(0, 0, 100, 10);
    gauge->ShowText = false;
    gauge->ForeColor = RGB(255, 0, 0);
    gauge->BackColor = RGB(0, 0, 255);
    gauge->SetProgress(30);
    const test::Pixels p = test::Render(panel);
    EXPECT_EQ(p.At(29, 5), 0xFF0000u);
    EXPECT_EQ(p.At(30, 5), 0x0000FFu);
    gauge->SetProgress(250);
    EXPECT_EQ(gauge->Progress(), 100);
}

}  // namespace
}  // namespace slumra::tk

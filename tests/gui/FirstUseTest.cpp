// What a new user meets in the running main window: scrolling, focus, a dictionary that cannot
// be read, labels that fit, the diary's overlay and editors. Checked on what the screen shows.
#include "GuiTest.h"

#include "app/Layout.h"
#include "app/Main.h"
#include "app/Skin.h"
#include "data/Coding.h"
#include "toolkit/Handles.h"
#include "toolkit/Text.h"
#include "../core/TestUtil.h"

#include <gtest/gtest.h>

namespace slumra {
namespace {

struct ShownMain {
    explicit ShownMain(int w = 640, int h = 480) {
        tk::TScreen::Pretend(w, h, 24);
        TMainForm::ScreenTooSmall = [] {};
        form = std::make_unique<TMainForm>();
        form->AskMessageFunc = [](const std::string&, const std::string&, const std::string&,
                                  const std::string&) { return true; };
        form->AskNameFunc = [](const std::string&, const std::string&) { return std::string("Vlucht"); };
    }
    ~ShownMain() {
        form.reset();
        tk::TScreen::Pretend(0, 0, 0);
    }
    // Gives the window a small dictionary of its own, as if read at start-up.
    void UseRecords() {
        std::string text;
        for (int i = 0; i < 60; ++i) text += "Een regel tekst die de lijst vult, nummer " + std::to_string(i) + ".\r\n";
        const std::string bytes = test::DbBytes({{1, "Dieren", "Over dieren."},
                                                 {2, "Dieren|Huisdieren", "Over huisdieren."},
                                                 {3, "Dieren|Huisdieren|Hond", text},
                                                 {4, "Dieren|Huisdieren|Kat", text}});
        MemorySource source(bytes);
        ASSERT_TRUE(form->RecordFile->LoadFromSource(source));
        form->Records->LoadIndex();
    }
    std::unique_ptr<TMainForm> form;
};

TEST(FirstUse, AnUnreadableDictionaryIsToldAndOffersNothingToCopy) {
    ShownMain m;  // no D\iDbRecs.dat beside the test program
    m.form->Show();
    test::Pump();
    EXPECT_FALSE(m.form->Records->ToClipBrdBtn->Enabled());
    EXPECT_FALSE(m.form->Records->PrintBtn->Enabled());
    EXPECT_FALSE(m.form->Records->SubjectPicturePnl->Visible());
    const auto& lines = m.form->Records->iDbRecText->Items();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Het woordenboek kon niet worden gelezen."), lines.end());
}

TEST(FirstUse, ANewRecordStartsAtItsFirstLineAndTheShownListHasTheFocus) {
    ShownMain m;
    m.UseRecords();
    m.form->Show();
    TRecordView& r = *m.form->Records;
    r.ShowRecord(m.form->RecordFile->GetVisibleRecord(3));
    r.iDbRecText->SetTopIndex(20);
    ASSERT_EQ(r.iDbRecText->TopIndex(), 20);
    r.ShowRecord(m.form->RecordFile->GetVisibleRecord(4));
    EXPECT_EQ(r.iDbRecText->TopIndex(), 0);
    EXPECT_EQ(r.iDbRecText->Items()[0], "Kat");

    m.form->ContentIndexBtn->Click();
    EXPECT_EQ(GetFocus(), r.IndexLst->Handle());
    m.form->ContentIndexBtn->Click();
    EXPECT_EQ(GetFocus(), r.ContentLst->Handle());
}

TEST(FirstUse, ReferencesAndHistoryWalkTheDictionary) {
    ShownMain m;
    std::string text = "Zie ook {Kat} en {Niemand}.";
    const std::string bytes = test::DbBytes({{1, "Dieren", "Over dieren."},
                                             {2, "Dieren|Huisdieren", "Over huisdieren."},
                                             {3, "Dieren|Huisdieren|Hond", text},
                                             {4, "Dieren|Huisdieren|Kat", "Een kat."}});
    MemorySource source(bytes);
    ASSERT_TRUE(m.form->RecordFile->LoadFromSource(source));
    m.form->Records->LoadIndex();
    m.form->Show();
    TRecordView& r = *m.form->Records;
    r.ShowRecordNumber(3);
    ASSERT_EQ(r.iDbRecText->Items()[0], "Hond");
    int line = -1;
    for (int i = 0; i < r.iDbRecText->Count(); ++i)
        if (r.iDbRecText->Items()[static_cast<std::size_t>(i)].find("{Kat}") != std::string::npos) line = i;
    ASSERT_GE(line, 0);
    r.FollowReference(line + 1);  // a line without a reference does nothing
    EXPECT_EQ(r.iDbRecText->Items()[0], "Hond");
    r.FollowReference(line);
    EXPECT_EQ(r.iDbRecText->Items()[0], "Kat");
    EXPECT_EQ(r.ContentLst->SelectedItem(), 4);  // opened and chosen in the outline
    WORD key = VK_LEFT;
    m.form->OnKeyDown(m.form.get(), key, tk::ssAlt);
    EXPECT_EQ(r.iDbRecText->Items()[0], "Hond");
    key = VK_RIGHT;
    m.form->OnKeyDown(m.form.get(), key, tk::ssAlt);
    EXPECT_EQ(r.iDbRecText->Items()[0], "Kat");
    key = VK_BACK;
    m.form->OnKeyDown(m.form.get(), key, 0);
    EXPECT_EQ(r.iDbRecText->Items()[0], "Hond");
}

// Types into the search window once it is up, then presses Enter, as a person would.
void CALLBACK TypeIntoSearch(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindWindowW(L"SlumraFindDialog", nullptr);
    if (dialog == nullptr || !IsWindowVisible(dialog)) return;
    KillTimer(nullptr, timer);
    HWND edit = FindWindowExW(dialog, nullptr, L"Edit", nullptr);
    for (wchar_t c : std::wstring(L"kat")) PostMessageW(edit, WM_CHAR, c, 1);
    PostMessageW(edit, WM_KEYUP, VK_RETURN, 0xC0000001);
}

TEST(FirstUse, CtrlFFindsASymbolAndShowsIt) {
    ShownMain m;
    m.UseRecords();
    m.form->Show();
    TRecordView& r = *m.form->Records;
    ASSERT_NE(r.iDbRecText->Items()[0], "Kat");
    SetTimer(nullptr, 0, 20, TypeIntoSearch);
    WORD key = 'F';
    m.form->OnKeyDown(m.form.get(), key, tk::ssCtrl);
    EXPECT_EQ(FindWindowW(L"SlumraFindDialog", nullptr), nullptr);
    EXPECT_EQ(r.iDbRecText->Items()[0], "Kat");
    EXPECT_EQ(r.ContentLst->SelectedItem(), 4);
}

TEST(FirstUse, ScrollingShowsNoStalePixels) {
    ShownMain m;
    m.UseRecords();
    m.form->Show();
    TRecordView& r = *m.form->Records;
    // Through the index: the outline would show its own selected line again when it repaints.
    m.form->ContentIndexBtn->Click();
    r.IndexLst->SetItemIndex(0);
    r.IndexLstSelect(r.IndexLst);
    test::Pump();
    ASSERT_EQ(r.iDbRecText->Items()[0], "Hond");
    for (UINT msg : {WM_VSCROLL, WM_MOUSEWHEEL}) {
        const WPARAM wp = msg == WM_VSCROLL ? SB_LINEDOWN : static_cast<WPARAM>(MAKEWPARAM(0, -WHEEL_DELTA));
        const int before = r.iDbRecText->TopIndex();
        SendMessageW(r.iDbRecText->Handle(), msg, wp, 0);
        ASSERT_GT(r.iDbRecText->TopIndex(), before);
        // What the screen shows right after the scroll, before any further message runs, is
        // already the finished picture.
        const test::Pixels now = test::Grab(*r.iDbRecText);
        InvalidateRect(r.iDbRecText->Handle(), nullptr, FALSE);
        test::Pump();
        const test::Pixels settled = test::Grab(*r.iDbRecText);
        int differing = 0;
        for (int y = 0; y < now.Height(); ++y)
            for (int x = 0; x < now.Width() - 20; ++x) differing += now.At(x, y) != settled.At(x, y);
        EXPECT_EQ(differing, 0) << msg;
    }
}

TEST(FirstUse, TheRecordPanelShowsItsRecordAgainAfterTheDiaryCloses) {
    ShownMain m;
    m.UseRecords();
    m.form->Show();
    TRecordView& r = *m.form->Records;
    r.ContentLst->SetSelectedItem(1);
    r.ContentLstSelect(1);
    ASSERT_FALSE(r.iDbRecHeader->Caption().empty());
    m.form->Diary->OpenDiaryFile(test::ScratchPath("slumra-first-use") .string() + ".ddf");
    ASSERT_TRUE(m.form->Diary->CloseDiary());
    EXPECT_FALSE(r.iDbRecHeader->Caption().empty());
    EXPECT_TRUE(r.iDbRecText->Visible());
    std::error_code ec;
    std::filesystem::remove(test::ScratchPath("slumra-first-use").string() + ".ddf", ec);
}

// Every label, text button and word-wrapped caption holds its whole text at every design.
void ExpectNothingCut(tk::TWinControl& parent, const std::string& where) {
    tk::WindowDC dc(nullptr);
    tk::TCanvas c(dc.Get());
    for (tk::TControl* child : parent.Controls()) {
        if (auto* l = dynamic_cast<tk::TLabel*>(child); l != nullptr && !l->Caption().empty()) {
            RECT r{0, 0, l->Width(), 0};
            tk::SelectGuard font(dc.Get(), l->Font.Handle());
            DrawTextW(dc.Get(), tk::Widen(l->Caption()).c_str(), -1, &r,
                      DT_CALCRECT | DT_NOPREFIX | (l->WordWrap ? DT_WORDBREAK : DT_SINGLELINE));
            EXPECT_LE(r.right, l->Width()) << where << ": " << l->Caption();
            EXPECT_LE(r.bottom, l->Height() + 1) << where << ": " << l->Caption();
        } else if (auto* b = dynamic_cast<TBaseBtn*>(child); b != nullptr && b->Width() > 30) {
            c.Font = b->Font;
            EXPECT_LE(c.TextWidth(b->Caption()), b->Width()) << where << ": " << b->Caption();
        }
        if (auto* w = dynamic_cast<tk::TWinControl*>(child)) ExpectNothingCut(*w, where);
    }
}

TEST(FirstUse, NoCaptionIsCutAtAnyDesign) {
    for (const auto& [w, h] : {std::pair{640, 480}, std::pair{1024, 768}, std::pair{1280, 1024}}) {
        ShownMain m(w, h);
        TDiaryPanel& d = *m.form->Diary;
        d.DrDiSearchForExpsBtn->SetCaption("Aan het zoeken naar mogelijke verklaringen...");
        d.DrDiCaptionLbl->SetCaption("Droomnachtboek van \"Wilhelmina Maria\"");
        ExpectNothingCut(*m.form, std::to_string(w));
    }
}

TEST(FirstUse, TheOverlayEndsInsideItsShapeAndTheShownEntryStandsOut) {
    for (const auto& [w, h] : {std::pair{640, 480}, std::pair{1024, 768}, std::pair{1280, 1024}}) {
        ShownMain m(w, h);
        tk::TListBox* text = m.form->Diary->DrDiExpsLstPnlText;
        EXPECT_EQ(text->Height() % text->ItemHeight(), 0) << w;
        HRGN shape = CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(GetWindowRgn(m.form->Diary->DrDiExpsLstPnl->Handle(), shape), ERROR);
        const int bottom = text->Top() + text->Height() - 1;
        EXPECT_TRUE(PtInRegion(shape, text->Left() + 4, bottom)) << w;
        EXPECT_TRUE(PtInRegion(shape, text->Left() + text->Width() - 5, bottom)) << w;
        DeleteObject(shape);
    }
    ShownMain m;
    m.UseRecords();
    m.form->Show();
    TDiaryPanel& d = *m.form->Diary;
    const std::string path = test::ScratchPath("slumra-first-use-overlay").string() + ".ddf";
    d.OpenDiaryFile(path);
    d.DrDiExpsLst->SetItems({"3|Hond", "4|Kat"});
    d.DrDiExpsLst->Show();
    test::Pump();
    const test::Pixels plain = test::Grab(*d.DrDiExpsLst);
    d.DrDiExpsLst->SetItemIndex(0);
    test::Pump();
    const test::Pixels marked = test::Grab(*d.DrDiExpsLst);
    int inFirstRow = 0, inSecondRow = 0;
    for (int y = 0; y < d.DrDiExpsLst->ItemHeight(); ++y)
        for (int x = 0; x < plain.Width(); ++x) {
            inFirstRow += plain.At(x, y) != marked.At(x, y);
            inSecondRow += plain.At(x, y + d.DrDiExpsLst->ItemHeight()) != marked.At(x, y + d.DrDiExpsLst->ItemHeight());
        }
    EXPECT_GT(inFirstRow, 10);
    EXPECT_EQ(inSecondRow, 0);
    ASSERT_TRUE(d.CloseDiary());
    std::error_code ec;
    std::filesystem::remove(path, ec);
}

TEST(FirstUse, TypedTextIsSolidBlack) {
    ShownMain m;
    m.form->Show();
    TDiaryPanel& d = *m.form->Diary;
    const std::string path = test::ScratchPath("slumra-first-use-typed").string() + ".ddf";
    d.OpenDiaryFile(path);
    d.DrDiAddBtnClick();
    d.DrDiRecText->SetText("Ik vloog over de zee");
    test::Pump();
    const test::Pixels p = test::Grab(*d.DrDiRecText);
    int black = 0;
    for (int y = 0; y < p.Height(); ++y)
        for (int x = 0; x < p.Width(); ++x) black += p.At(x, y) == 0;
    EXPECT_GT(black, 60);
    ASSERT_TRUE(d.CloseDiary());
    std::error_code ec;
    std::filesystem::remove(path, ec);
}

}  // namespace
}  // namespace slumra

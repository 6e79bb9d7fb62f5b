#include "GuiTest.h"

#include "app/Layout.h"
#include "app/Main.h"
#include "output/ClipText.h"
#include "toolkit/Clipboard.h"
#include "toolkit/Text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace slumra {
namespace {

bool gTooSmall = false;

// A main window made for a pretended screen; the real display only has to exist.
struct PretendedMain {
    PretendedMain(int w, int h) {
        tk::TScreen::Pretend(w, h, 24);
        gTooSmall = false;
        TMainForm::ScreenTooSmall = [] { gTooSmall = true; };
        form = std::make_unique<TMainForm>();
    }
    ~PretendedMain() {
        form.reset();
        tk::TScreen::Pretend(0, 0, 0);
    }
    std::unique_ptr<TMainForm> form;
};

RECT RegionBox(tk::TWinControl* c) {
    RECT r{};
    GetWindowRgnBox(c->Handle(), &r);
    return r;
}

TEST(MainForm, LayoutForEachScreen) {
    struct Case {
        int w, h, sizeClass, panelW, panelH, item;
    } cases[] = {
        {640, 480, 3, 640, 480, 17},   {800, 600, 3, 640, 480, 17},    {1024, 768, 4, 800, 600, 21},
        {1152, 864, 5, 1024, 768, 27}, {1280, 1024, 2, 1024, 768, 27}, {1280, 800, 4, 800, 600, 21},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        PretendedMain m(c.w, c.h);
        TMainForm& f = *m.form;
        EXPECT_FALSE(gTooSmall);
        EXPECT_EQ(SizeClass(), c.sizeClass);
        EXPECT_EQ(f.Width(), c.w);
        EXPECT_EQ(f.Height(), c.h);
        EXPECT_EQ(f.MainFormPanel->Width(), c.panelW);
        EXPECT_EQ(f.MainFormPanel->Height(), c.panelH);
        EXPECT_EQ(f.MainFormPanel->Left(), (c.w - c.panelW) / 2);
        EXPECT_EQ(f.MainFormPanel->Top(), (c.h - c.panelH) / 2);
        for (tk::TListBox* list : {static_cast<tk::TListBox*>(f.Records->ContentLst), f.Records->IndexLst, f.Records->iDbRecText,
                                   f.Diary->DrDiExpsLst, f.Diary->DrDiExpsLstPnlText})
            EXPECT_EQ(list->ItemHeight(), c.item);
        EXPECT_EQ(f.Records->ContentLst->Height() % c.item, 0);
        EXPECT_EQ(f.MenuBk->Width(), ScaleValue(1707, c.panelW, 640));
        EXPECT_EQ(f.QuitBtn->Left(), ScaleValue(611, c.panelW, 640));
        // The record panel's shape: the big oval with the two circles, scaled with the design.
        // An ellipse's region leaves out its bounding box's right column and bottom row.
        const RECT box = RegionBox(f.Records->iDbRecTextPnl);
        EXPECT_EQ(box.left, 0);
        EXPECT_EQ(box.top, 0);
        EXPECT_EQ(box.right, ScaleValue(396, c.panelW, 640) - 1);
        EXPECT_EQ(box.bottom, ScaleValue(355, c.panelW, 640) - 1);
        const RECT oval = RegionBox(f.MenuSelectedPnl);
        EXPECT_EQ(oval.right, f.MenuSelectedPnl->Width() - 1);
        EXPECT_EQ(oval.bottom, f.MenuSelectedPnl->Height() - 1);
        const RECT logo = RegionBox(f.Records->OrvelLogoPnl);
        EXPECT_EQ(logo.left, 1);
        EXPECT_EQ(logo.right, f.Records->OrvelLogoPnl->Width() - 2);
    }
}

TEST(MainForm, ScreenBelowTheSmallestDesignEnds) {
    PretendedMain m(640, 400);
    EXPECT_TRUE(gTooSmall);
}

TEST(MainForm, MenuStripSlidesToEachPosition) {
    PretendedMain m(800, 600);
    TMainForm& f = *m.form;
    f.Show();
    for (int p : {1, 2, 3, 1}) {
        f.SlideMenu(p);
        EXPECT_EQ(f.MenuBk->ImageXOffset(), SlideTarget(1707, p)) << p;
    }
    const int before = f.MenuBk->PaintCount();
    f.SlideMenu(2);
    // 426 pixels in steps of 4, and the exact target last: one paint a step.
    EXPECT_EQ(f.MenuBk->PaintCount() - before, 107 + 1);
    f.Hide();
}

TEST(MainForm, SwitchingBetweenOutlineAndIndex) {
    PretendedMain m(640, 480);
    TMainForm& f = *m.form;
    EXPECT_EQ(f.ViewFlags, static_cast<unsigned>(ContentShown));
    f.ContentIndexBtn->Click();
    EXPECT_EQ(f.ViewFlags & (ContentShown | IndexShown), static_cast<unsigned>(IndexShown));
    EXPECT_EQ(f.Records->ContentIndexLbl->Caption(), "Index");
    EXPECT_EQ(f.ContentIndexBtn->Caption(), "Zoeken via inhoud");
    f.ContentIndexBtn->Click();
    EXPECT_EQ(f.ViewFlags & (ContentShown | IndexShown), static_cast<unsigned>(ContentShown));
    EXPECT_EQ(f.ContentIndexBtn->Caption(), "Zoeken via index");
}

TEST(MainForm, UnderlineOnlyOverEnabledTextButtons) {
    PretendedMain m(640, 480);
    TMainForm& f = *m.form;
    f.DreamDiaryBtn->MouseEnter();
    EXPECT_NE(f.DreamDiaryBtn->Font.Style() & tk::fsUnderline, 0u);
    f.DreamDiaryBtn->MouseLeave();
    EXPECT_EQ(f.DreamDiaryBtn->Font.Style() & tk::fsUnderline, 0u);
    f.Records->PrintBtn->SetEnabled(false);
    f.Records->PrintBtn->MouseEnter();
    EXPECT_EQ(f.Records->PrintBtn->Font.Style() & tk::fsUnderline, 0u);
}

}  // namespace
}  // namespace slumra

namespace slumra {
namespace {

TEST(MainForm, RecordDisplayFillsHeaderTextAndTheRoundPicture) {
    PretendedMain m(640, 480);
    TMainForm& f = *m.form;
    f.Random = [](int) { return 99; };  // no background change
    // No picture for the symbol: the round panel shows the main background instead.
    f.Bk->Background.Image.Assign(test::MakeBitmap(64, 48, [](int, int) { return 0x203040u; }));
    iDbRecInfo rec;
    rec.Id = 42;
    rec.Head = "Dieren|Zoogdieren|Aap";
    rec.Text = "Eerste alinea.\r\n\r\nTweede alinea.";
    f.ShowRecord(rec);
    EXPECT_EQ(f.Records->iDbRecHeader->Caption(), "Dieren\r\nZoogdieren");
    const auto& items = f.Records->iDbRecText->Items();
    ASSERT_GE(items.size(), 5u);
    EXPECT_EQ(items[0], "Aap");
    EXPECT_EQ(items[1], "");
    EXPECT_EQ(items[2], "Eerste alinea.");
    EXPECT_EQ(items[3], "");
    EXPECT_EQ(items[4], "Tweede alinea.");
    EXPECT_GE(static_cast<int>(items.size()) * f.Records->iDbRecText->ItemHeight(), f.Records->iDbRecText->Height());
    EXPECT_EQ(f.Records->SubjectPicture->Image.Width(), 64);
    EXPECT_EQ(f.LastShownId, 42u);

    // The same record again changes nothing; a record without a path empties the panel.
    f.Records->iDbRecHeader->SetCaption("unchanged");
    f.ShowRecord(rec);
    EXPECT_EQ(f.Records->iDbRecHeader->Caption(), "unchanged");
    f.ShowRecord(iDbRecInfo{});
    EXPECT_EQ(f.Records->iDbRecHeader->Caption(), "");
    EXPECT_EQ(f.Records->iDbRecText->Count(), 0);
    EXPECT_EQ(f.LastShownId, 0u);
}

}  // namespace
}  // namespace slumra

namespace slumra {
namespace {

TEST(MainForm, DiariesMoveToAppDataWhenTheProgramFolderCannotHoldThem) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::filesystem::path beside = std::filesystem::path(self).parent_path() / L"User";
    std::error_code ec;
    std::filesystem::remove(beside, ec);  // only if empty
    if (std::filesystem::exists(beside)) GTEST_SKIP() << "a User folder with diaries is in the way";
    EXPECT_EQ(UserFolder().substr(UserFolder().size() - 5), "User\\");
    EXPECT_TRUE(std::filesystem::is_directory(beside));

    // A file where the folder should be: nothing can be written beside the program.
    std::filesystem::remove(beside, ec);
    { std::ofstream blocker(beside); }
    const std::string folder = UserFolder();
    EXPECT_NE(folder.find("Slumra\\User\\"), std::string::npos) << folder;
    EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(tk::Widen(folder))));
    std::filesystem::remove(beside, ec);
}

}  // namespace
}  // namespace slumra

namespace slumra {
namespace {

TEST(MainForm, ClipboardGetsTheFetchedRecordWithHeadingAndSource) {
    PretendedMain m(640, 480);
    TMainForm& f = *m.form;
    std::string bytes("\x02\0\0\0", 4);
    for (const auto& [head, text] :
         {std::pair<std::string, std::string>{"Dieren", "Over dieren."},
          std::pair<std::string, std::string>{"Dieren|Reptielen|Adder", "Zie {Slang}."}}) {
        bytes += std::string("\x07\0\0\0", 4);
        bytes += static_cast<char>(head.size());
        bytes += '\0';
        bytes += static_cast<char>(text.size());
        bytes += '\0';
        std::string stored = head + text;
        UnscrambleBytes(stored.data(), stored.size());
        bytes += stored;
    }
    MemorySource source(bytes);
    ASSERT_TRUE(f.RecordFile->LoadFromSource(source));
    f.RecordFile->ShowAll();
    (void)f.RecordFile->GetVisibleRecord(2);
    f.UpdateStatus();
    EXPECT_TRUE(f.Records->ToClipBrdBtn->Enabled());
    f.Records->ToClipBrdBtn->Click();
    EXPECT_EQ(tk::ClipboardText(f.Handle()),
              std::string("Dieren, Reptielen\r\n\r\nAdder\r\n\r\nZie Slang.\r\n") + kPublisherNotice +
                  "\r\nBron: Slumra 2.2 release 2");
}

}  // namespace
}  // namespace slumra

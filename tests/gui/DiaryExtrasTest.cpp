// The diary panel's second search pass with its "Gevonden via" line, the search through one's
// own dreams, the overview and the export.
#include "../Scratch.h"
#include "../core/TestUtil.h"
#include "data/Coding.h"
#include "GuiTest.h"

#include "app/DiaryFindDlg.h"
#include "app/Folders.h"
#include "app/Main.h"
#include "app/OverviewDlg.h"
#include "diary/DrDiDlg.h"
#include "diary/DrDiRecs.h"
#include "toolkit/Text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace slumra {
namespace {

namespace fs = std::filesystem;

DrDiRec Dream(const std::string& head, const std::string& description, const std::string& explanation = "") {
    DrDiRec r;
    r.Head = head;
    r.Description = description;
    r.Explanation = explanation;
    return r;
}

class DiaryExtras : public testing::Test {
protected:
    void SetUp() override {
        tk::TScreen::Pretend(640, 480, 24);
        TMainForm::ScreenTooSmall = [] {};
        form = std::make_unique<TMainForm>();
        dir = test::ScratchPath("slumra-diary-extras");
        fs::remove_all(dir);
        fs::create_directories(dir);
        path = (dir / "Marieke.ddf").string();
    }
    void TearDown() override {
        form.reset();
        tk::TScreen::Pretend(0, 0, 0);
        fs::remove_all(dir);
    }
    void Open(std::initializer_list<DrDiRec> dreams) {
        TDrDiRecFile diary;
        for (const DrDiRec& d : dreams) ASSERT_TRUE(diary.AddRecord(d));
        ASSERT_TRUE(diary.SaveToFile(path));
        form->Diary->OpenDiaryFile(path);
    }

    std::unique_ptr<TMainForm> form;
    fs::path dir;
    std::string path;
};

TEST_F(DiaryExtras, SecondPassFollowsASeparatorAndTheOverlayNamesTheWords) {
    const std::string bytes = test::DbBytes({{1, "Dieren", "Over dieren."},
                                             {2, "Dieren|Hond", "Trouw."},
                                             {3, "Plaatsen|Ruine", "Verval."}});
    MemorySource source(bytes);
    ASSERT_TRUE(form->RecordFile->LoadFromSource(source));
    form->Records->LoadIndex();
    *form->SynonymList = {"|hond|honden|", "|ruine|ruines|"};
    form->Records->LoadIndex(test::SymbolIndex({{2, "Hond"}, {3, "Ruine"}}));
    Open({Dream("Een|d|t", "")});
    TDiaryPanel& d = *form->Diary;
    d.DrDiRecText->SetText("Honden bij een ru\xEFne.");
    d.DrDiSearchForExpsBtnClick();
    // The first pass stays first and alone above the separator; the separator counts for nothing.
    EXPECT_EQ(d.DrDiExpsLst->Items(), (std::vector<std::string>{"2|Hond", "|", "3|Ruine"}));
    EXPECT_EQ(d.DrDiExpsLstLbl->Caption(), "Aantal gevonden verklaringen: 2");

    auto click = [&](int row) {
        d.DrDiExpsLst->SetItemIndex(row);
        d.DrDiExpsLst->OnMouseUp(d.DrDiExpsLst, tk::TMouseButton::Left, 0, 5, 5);
    };
    click(2);
    EXPECT_TRUE(d.DrDiExpsLstPnl->Visible());
    EXPECT_EQ(d.DrDiExpsPnlVia->Caption(), "Gevonden via: ru\xEFne");
    click(0);
    EXPECT_EQ(d.DrDiExpsPnlVia->Caption(), "Gevonden via: honden");
    const std::string header = d.DrDiExpsPnlHeader->Caption();
    EXPECT_EQ(header, "Dieren\r\nHond");
    click(1);  // the separator shows nothing new
    EXPECT_EQ(d.DrDiExpsPnlHeader->Caption(), header);
    EXPECT_EQ(d.DrDiExpsPnlVia->Caption(), "Gevonden via: honden");

    // Another dream clears the list and the words.
    d.ShowDream(Dream("Twee|d|t", "niets"));
    EXPECT_EQ(d.DrDiExpsLst->Count(), 0);
    EXPECT_EQ(d.DrDiExpsPnlVia->Caption(), "");
}

TEST_F(DiaryExtras, FindingDreamsIgnoresCaseAndAccentsAndShowsTheChosenOne) {
    Open({Dream("Slang|01-02-2024|07:00", "Een Adder in het gras"),
          Dream("Zee|d|t", "golven", "Caf\xE9 aan zee")});
    TDiaryFindDialog dialog(form->Diary->Session.File(), nullptr);
    EXPECT_EQ(dialog.FoundLst->Items(), (std::vector<std::string>{"1|Slang  (01-02-2024)", "2|Zee  (d)"}));
    dialog.FindEdit->SetText("CAFE");
    dialog.FindEditChange();
    EXPECT_EQ(dialog.FoundLst->Items(), (std::vector<std::string>{"2|Zee  (d)"}));
    dialog.FindEdit->SetText("adder gras");
    dialog.FindEditChange();
    EXPECT_EQ(dialog.FoundLst->Items(), (std::vector<std::string>{"1|Slang  (01-02-2024)"}));
    dialog.FindEdit->SetText("adder golven");
    dialog.FindEditChange();
    EXPECT_EQ(dialog.FoundLst->Count(), 0);

    TDiaryPanel& d = *form->Diary;
    d.DrDiRecText->SetText("Een Adder in het hoge gras");
    d.ShowFoundDream(2);
    EXPECT_EQ(d.DrDiLstBox->ItemIndex(), 1);
    EXPECT_EQ(d.DrDiRecText->Text(), "golven");
    // The dream left keeps its edit.
    EXPECT_EQ(d.Session.File().GetVisibleRecord(1).Description, "Een Adder in het hoge gras");
}

TEST_F(DiaryExtras, OverviewCountsDreamsAndMonthsAndDrawsTheBarsInTheSkin) {
    *form->SynonymList = {"|hond|honden|", "|zee|oceaan|"};
    form->Records->LoadIndex(test::SymbolIndex({{3, "Hond"}, {9, "Zee"}}));
    Open({Dream("A|01-02-2024|t", "een hond"), Dream("B|15-2-2024|t", "honden aan zee"),
          Dream("C|03-03-2024|t", "hond"), Dream("D|gisteren|t", "niets")});
    TOverviewDialog dialog("Marieke", form->Diary->Overview(), nullptr);
    EXPECT_EQ(dialog.DreamsLbl->Caption(), "Aantal dromen: 4 (zonder datum: 1)");
    EXPECT_EQ(dialog.MonthsLst->Items(), (std::vector<std::string>{"03-2024: 1", "02-2024: 2"}));
    ASSERT_EQ(dialog.Chart->Bars.size(), 2u);
    EXPECT_EQ(dialog.Chart->Bars[0].Item, "3|Hond");
    EXPECT_EQ(dialog.Chart->Bars[0].Count, 3);
    const RECT most = dialog.Chart->BarRect(0), least = dialog.Chart->BarRect(1);
    EXPECT_NEAR(least.right - least.left, (most.right - most.left) / 3, 1);
    EXPECT_LE(most.right, dialog.Chart->Width());

    // The bar stands in the text colour over the skin, the room after the short one does not.
    dialog.Show();
    const test::Pixels p = test::Render(dialog);
    const int x0 = dialog.Chart->Left(), y0 = dialog.Chart->Top();
    const COLORREF c = dialog.Chart->Font.Color();
    const std::uint32_t bar = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    EXPECT_EQ(p.At(x0 + (most.left + most.right) / 2, y0 + (most.top + most.bottom) / 2), bar);
    EXPECT_NE(p.At(x0 + least.right + (most.right - least.right) / 2, y0 + (least.top + least.bottom) / 2),
              bar);
}

TEST_F(DiaryExtras, ExportWritesTheChosenDiaryAsPageOrTextAndSaysWhenItCannot) {
    const std::string folder = UserFolder();
    const std::string name = "Proef export";
    TDrDiRecFile diary;
    ASSERT_TRUE(diary.AddRecord(Dream("Adder|01-02-2024|07:00", "Een caf\xE9 <vol> slangen")));
    ASSERT_TRUE(diary.SaveToFile(folder + name + ".ddf"));
    struct Cleanup {
        fs::path p;
        ~Cleanup() { fs::remove(p); }
    } cleanup{fs::path(tk::Widen(folder + name + ".ddf"))};

    TOpenDreamDiaryDialog d;
    std::vector<std::string> told;
    d.AskMessageFunc = [&](const std::string&, const std::string& text, const std::string&,
                           const std::string&) {
        told.push_back(text);
        return true;
    };
    const std::string target = (dir / "uit").string();
    std::string answer;
    bool html = true;
    d.AskExportPathFunc = [&](HWND, const std::string& asked, bool* kind) {
        EXPECT_EQ(asked, name);
        *kind = html;
        return answer;
    };
    const auto& items = d.PersonsBox->Items();
    const auto row = std::find(items.begin(), items.end(), name);
    ASSERT_NE(row, items.end());
    d.PersonsBox->SetItemIndex(static_cast<int>(row - items.begin()));
    d.UpdateButtons();
    EXPECT_FALSE(d.PersonsBoxExportBtn->Enabled());  // nothing to make the export with
    d.ExportFunc = [&](const std::string& p, const std::string& n, bool h) {
        return form->Diary->ExportDiary(p, n, h);
    };
    d.UpdateButtons();
    EXPECT_TRUE(d.PersonsBoxExportBtn->Enabled());
    // The button lies clear of the list and of every other button.
    RECT mine = d.PersonsBoxExportBtn->BoundsRect(), overlap;
    for (tk::TControl* other : std::initializer_list<tk::TControl*>{
             d.PersonsBox, d.PersonsBoxAddBtn, d.PersonsBoxDeleteBtn, d.PersonsBoxChangeBtn,
             d.PersonsBoxPrintBtn, d.NoBtn, d.YesBtn}) {
        RECT r = other->BoundsRect();
        EXPECT_FALSE(IntersectRect(&overlap, &mine, &r));
    }

    auto read = [](const std::string& file) {
        std::ifstream in(fs::path(tk::Widen(file)), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    answer = target + ".html";
    d.PersonsBoxExportBtnClick(nullptr);
    const std::string page = read(answer);
    EXPECT_NE(page.find("caf\xC3\xA9 &lt;vol&gt; slangen"), std::string::npos) << page;
    EXPECT_NE(page.find("Adder"), std::string::npos);

    html = false;
    answer = target + ".txt";
    d.PersonsBoxExportBtnClick(nullptr);
    const std::string text = read(answer);
    EXPECT_EQ(text.rfind("\xEF\xBB\xBF", 0), 0u);
    EXPECT_NE(text.find("caf\xC3\xA9 <vol> slangen"), std::string::npos) << text;
    EXPECT_TRUE(told.empty());

    answer = (dir / "geen map" / "uit.txt").string();
    d.PersonsBoxExportBtnClick(nullptr);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find("niet worden ge\xEBxporteerd"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "geen map"));
}

}  // namespace
}  // namespace slumra

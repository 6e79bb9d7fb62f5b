#include "GuiTest.h"

#include "app/Main.h"
#include "diary/DrDiDlg.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>

namespace slumra {
namespace {

namespace fs = std::filesystem;

DrDiRec Dream(const std::string& head, const std::string& description) {
    DrDiRec r;
    r.Head = head;
    r.Description = description;
    return r;
}

// A main window with a diary file of its own, and scripted answers for its dialogs.
class DiaryPanel : public testing::Test {
protected:
    void SetUp() override {
        tk::TScreen::Pretend(640, 480, 24);
        TMainForm::ScreenTooSmall = [] {};
        form = std::make_unique<TMainForm>();
        form->AskNameFunc = [this](const std::string&, const std::string&) {
            std::string answer = names.empty() ? std::string() : names.front();
            if (!names.empty()) names.pop_front();
            return answer;
        };
        form->AskMessageFunc = [this](const std::string&, const std::string& text, const std::string&,
                                      const std::string&) {
            messages.push_back(text);
            return yes;
        };
        dir = fs::temp_directory_path() / "slumra-diary-panel";
        fs::remove_all(dir);
        fs::create_directories(dir);
        path = (dir / "Marieke.ddf").string();
    }
    void TearDown() override {
        form.reset();
        tk::TScreen::Pretend(0, 0, 0);
        fs::remove_all(dir);
    }
    void WriteDiary(std::initializer_list<DrDiRec> dreams) {
        TDrDiRecFile diary;
        for (const DrDiRec& d : dreams) ASSERT_TRUE(diary.AddRecord(d));
        ASSERT_TRUE(diary.SaveToFile(path));
    }
    std::unique_ptr<TDrDiRecFile> Reread() {
        auto diary = std::make_unique<TDrDiRecFile>();
        EXPECT_TRUE(diary->LoadFromFile(path));
        diary->ShowAll();
        return diary;
    }

    std::unique_ptr<TMainForm> form;
    std::deque<std::string> names;
    std::vector<std::string> messages;
    bool yes = true;
    fs::path dir;
    std::string path;
};

TEST_F(DiaryPanel, EditsAreKeptAcrossDreamsAndWrittenOnClose) {
    WriteDiary(
        {Dream("Vlucht|01-02-2026|07:30", "over zee"), Dream("Trap|02-02-2026|03:00", "naar beneden")});
    form->OpenDiaryFile(path);
    EXPECT_EQ(form->DrDiLstBox->Items(), (std::vector<std::string>{"Vlucht", "Trap"}));
    EXPECT_EQ(form->DrDiDreamDateEdit->Text(), "01-02-2026");
    EXPECT_EQ(form->DrDiRecText->Text(), "over zee");
    EXPECT_EQ(form->DrDiCaptionLbl->Caption(), "Droomnachtboek van \"Marieke\"");

    form->DrDiRecText->SetText("over de zee, hoog");
    form->DrDiLstBox->SetItemIndex(1);
    form->DrDiLstBoxClick();
    EXPECT_EQ(form->DrDiRecText->Text(), "naar beneden");
    form->DrDiLstBox->SetItemIndex(0);
    form->DrDiLstBoxClick();
    EXPECT_EQ(form->DrDiRecText->Text(), "over de zee, hoog");

    form->CloseDiary();
    EXPECT_FALSE(form->DiaryFile);
    auto back = Reread();
    EXPECT_EQ(back->GetVisibleRecord(1).Description, "over de zee, hoog");
    EXPECT_EQ(back->GetVisibleRecord(2).Head, "Trap|02-02-2026|03:00");
}

TEST_F(DiaryPanel, AddRefusesANameInAnotherCaseAndNewDreamsGetPlaceholders) {
    WriteDiary({Dream("Vlucht|d|t", "")});
    form->OpenDiaryFile(path);
    names = {"vlucht"};
    form->DrDiAddBtnClick();
    EXPECT_EQ(messages, std::vector<std::string>{"Droom bestaat al"});
    names = {"Tanden"};
    form->DrDiAddBtnClick();
    EXPECT_EQ(form->DrDiLstBox->Text(), "Tanden");
    EXPECT_EQ(form->DrDiDreamDateEdit->Text(), "dd-mm-yyyy");
    EXPECT_EQ(form->DrDiDreamTimeEdit->Text(), "hh:mm");
    form->CloseDiary();
    EXPECT_EQ(Reread()->GetVisibleRecord(2).Head, "Tanden|dd-mm-yyyy|hh:mm");
}

TEST_F(DiaryPanel, DeleteAndRenameKeepTheOtherDreams) {
    WriteDiary({Dream("Een|d|t", "1"), Dream("Twee|d|t", "2"), Dream("Drie|d|t", "3")});
    form->OpenDiaryFile(path);
    form->DrDiLstBox->SetItemIndex(1);
    form->DrDiLstBoxClick();
    yes = false;
    form->DrDiDeleteBtnClick();  // not confirmed
    EXPECT_EQ(form->DrDiLstBox->Items().size(), 3u);
    yes = true;
    form->DrDiDeleteBtnClick();
    EXPECT_EQ(form->DrDiLstBox->Items(), (std::vector<std::string>{"Een", "Drie"}));
    EXPECT_EQ(form->DrDiRecText->Text(), "1");  // the previous dream is shown

    form->DrDiRecText->SetText("1 en meer");
    names = {"DRIE"};
    form->DrDiRenameBtnClick();
    EXPECT_EQ(messages.back(), "Droom bestaat al");
    names = {"Eerste"};
    form->DrDiRenameBtnClick();
    form->CloseDiary();
    auto back = Reread();
    ASSERT_EQ(back->Count(), 2);
    EXPECT_EQ(back->GetVisibleRecord(1).Head, "Eerste|d|t");
    EXPECT_EQ(back->GetVisibleRecord(1).Description, "1 en meer");
    EXPECT_EQ(back->GetVisibleRecord(2).Description, "3");
}

TEST_F(DiaryPanel, DamagedDiaryIsCopiedAsideBeforeAnythingIsWritten) {
    WriteDiary({Dream("Een|d|t", "eerste"), Dream("Twee|d|t", "tweede")});
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    {
        FileSink cut(path);
        ASSERT_EQ(cut.Write(bytes.data(), bytes.size() - 3), bytes.size() - 3);
        ASSERT_TRUE(cut.Close());
    }
    form->OpenDiaryFile(path);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("Marieke.ddf.beschadigd"), std::string::npos);
    std::string copy;
    ASSERT_TRUE(ReadWholeFile(path + ".beschadigd", copy));
    EXPECT_EQ(copy, bytes.substr(0, bytes.size() - 3));
    EXPECT_EQ(form->DrDiLstBox->Items(), std::vector<std::string>{"Een"});
    form->CloseDiary();
}

TEST_F(DiaryPanel, BarsCannotEnterTheDateOrTime) {
    WriteDiary({Dream("Een|d|t", "")});
    form->OpenDiaryFile(path);
    form->DrDiDreamDateEdit->SetText("");
    for (char c : std::string("1|2"))
        SendMessageW(form->DrDiDreamDateEdit->Handle(), WM_CHAR, static_cast<WPARAM>(c), 1);
    EXPECT_EQ(form->DrDiDreamDateEdit->Text(), "12");
    form->DrDiDreamTimeEdit->SetText("07|30");  // pasted or set: the bar is dropped when stored
    form->CloseDiary();
    EXPECT_EQ(Reread()->GetVisibleRecord(1).Head, "Een|12|0730");
}

TEST_F(DiaryPanel, SearchListsTheEntriesOfTheDescriptionsWords) {
    WriteDiary({Dream("Een|d|t", "")});
    *form->SynonymList = {"|hond|honden|", "|zee|oceaan|"};
    form->IndexLst->SetItems({"3|Hond", "9|Zee"});
    form->OpenDiaryFile(path);
    form->DrDiRecText->SetText("Honden aan de oceaan.");
    form->DrDiSearchForExpsBtnClick();
    EXPECT_EQ(form->DrDiExpsLst->Items(), (std::vector<std::string>{"3|Hond", "9|Zee"}));
    EXPECT_EQ(form->DrDiExpsLstLbl->Caption(), "Aantal gevonden verklaringen: 2");
    EXPECT_EQ(form->DrDiSearchForExpsBtn->Caption(), "Zoek naar mogelijke verklaringen");
    form->CloseDiary();
    EXPECT_EQ(form->DrDiExpsLstLbl->Caption(), "Aantal gevonden verklaringen: 0");
}

}  // namespace
}  // namespace slumra

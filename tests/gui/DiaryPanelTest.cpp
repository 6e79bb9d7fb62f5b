#include "GuiTest.h"

#include "app/Main.h"
#include "toolkit/Text.h"
#include "../Scratch.h"
#include "data/Files.h"
#include "diary/DrDiDlg.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>

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
        dir = test::ScratchPath("slumra-diary-panel");
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
    form->Diary->OpenDiaryFile(path);
    EXPECT_EQ(form->Diary->DrDiLstBox->Items(), (std::vector<std::string>{"Vlucht", "Trap"}));
    EXPECT_EQ(form->Diary->DrDiDreamDateEdit->Text(), "01-02-2026");
    EXPECT_EQ(form->Diary->DrDiRecText->Text(), "over zee");
    EXPECT_EQ(form->Diary->DrDiCaptionLbl->Caption(), "Droomnachtboek van \"Marieke\"");

    form->Diary->DrDiRecText->SetText("over de zee, hoog");
    form->Diary->DrDiLstBox->SetItemIndex(1);
    form->Diary->DrDiLstBoxClick();
    EXPECT_EQ(form->Diary->DrDiRecText->Text(), "naar beneden");
    form->Diary->DrDiLstBox->SetItemIndex(0);
    form->Diary->DrDiLstBoxClick();
    EXPECT_EQ(form->Diary->DrDiRecText->Text(), "over de zee, hoog");

    form->Diary->CloseDiary();
    EXPECT_FALSE(form->Diary->Session.IsOpen());
    auto back = Reread();
    EXPECT_EQ(back->GetVisibleRecord(1).Description, "over de zee, hoog");
    EXPECT_EQ(back->GetVisibleRecord(2).Head, "Trap|02-02-2026|03:00");
}

TEST_F(DiaryPanel, AddRefusesANameInAnotherCaseAndNewDreamsGetPlaceholders) {
    WriteDiary({Dream("Vlucht|d|t", "")});
    form->Diary->OpenDiaryFile(path);
    names = {"vlucht"};
    form->Diary->DrDiAddBtnClick();
    EXPECT_EQ(messages, std::vector<std::string>{"Droom bestaat al"});
    names = {"Tanden"};
    form->Diary->DrDiAddBtnClick();
    EXPECT_EQ(form->Diary->DrDiLstBox->Text(), "Tanden");
    EXPECT_EQ(form->Diary->DrDiDreamDateEdit->Text(), "dd-mm-yyyy");
    EXPECT_EQ(form->Diary->DrDiDreamTimeEdit->Text(), "hh:mm");
    form->Diary->CloseDiary();
    EXPECT_EQ(Reread()->GetVisibleRecord(2).Head, "Tanden|dd-mm-yyyy|hh:mm");
}

TEST_F(DiaryPanel, DeleteAndRenameKeepTheOtherDreams) {
    WriteDiary({Dream("Een|d|t", "1"), Dream("Twee|d|t", "2"), Dream("Drie|d|t", "3")});
    form->Diary->OpenDiaryFile(path);
    form->Diary->DrDiLstBox->SetItemIndex(1);
    form->Diary->DrDiLstBoxClick();
    yes = false;
    form->Diary->DrDiDeleteBtnClick();  // not confirmed
    EXPECT_EQ(form->Diary->DrDiLstBox->Items().size(), 3u);
    yes = true;
    form->Diary->DrDiDeleteBtnClick();
    EXPECT_EQ(form->Diary->DrDiLstBox->Items(), (std::vector<std::string>{"Een", "Drie"}));
    EXPECT_EQ(form->Diary->DrDiRecText->Text(), "1");  // the previous dream is shown

    form->Diary->DrDiRecText->SetText("1 en meer");
    names = {"DRIE"};
    form->Diary->DrDiRenameBtnClick();
    EXPECT_EQ(messages.back(), "Droom bestaat al");
    names = {"Eerste"};
    form->Diary->DrDiRenameBtnClick();
    form->Diary->CloseDiary();
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
    form->Diary->OpenDiaryFile(path);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("Marieke.ddf.beschadigd"), std::string::npos);
    std::string copy;
    ASSERT_TRUE(ReadWholeFile(path + ".beschadigd", copy));
    EXPECT_EQ(copy, bytes.substr(0, bytes.size() - 3));
    EXPECT_EQ(form->Diary->DrDiLstBox->Items(), std::vector<std::string>{"Een"});
    form->Diary->CloseDiary();
}

TEST_F(DiaryPanel, BarsCannotEnterTheDateOrTime) {
    WriteDiary({Dream("Een|d|t", "")});
    form->Diary->OpenDiaryFile(path);
    form->Diary->DrDiDreamDateEdit->SetText("");
    for (char c : std::string("1|2"))
        SendMessageW(form->Diary->DrDiDreamDateEdit->Handle(), WM_CHAR, static_cast<WPARAM>(c), 1);
    EXPECT_EQ(form->Diary->DrDiDreamDateEdit->Text(), "12");
    form->Diary->DrDiDreamTimeEdit->SetText("07|30");  // pasted or set: the bar is dropped when stored
    form->Diary->CloseDiary();
    EXPECT_EQ(Reread()->GetVisibleRecord(1).Head, "Een|12|0730");
}

TEST_F(DiaryPanel, SearchListsTheEntriesOfTheDescriptionsWords) {
    WriteDiary({Dream("Een|d|t", "")});
    *form->SynonymList = {"|hond|honden|", "|zee|oceaan|"};
    form->Records->LoadIndex(test::SymbolIndex({{3, "Hond"}, {9, "Zee"}}));
    form->Diary->OpenDiaryFile(path);
    form->Diary->DrDiRecText->SetText("Honden aan de oceaan.");
    form->Diary->DrDiSearchForExpsBtnClick();
    EXPECT_EQ(form->Diary->DrDiExpsLst->Items(), (std::vector<std::string>{"3|Hond", "9|Zee"}));
    EXPECT_EQ(form->Diary->DrDiExpsLstLbl->Caption(), "Aantal gevonden verklaringen: 2");
    EXPECT_EQ(form->Diary->DrDiSearchForExpsBtn->Caption(), "Zoek naar mogelijke verklaringen");
    form->Diary->CloseDiary();
    EXPECT_EQ(form->Diary->DrDiExpsLstLbl->Caption(), "Aantal gevonden verklaringen: 0");
}

// Holds a file open without sharing, as another program can: every write to it fails.
class HeldFile {
public:
    explicit HeldFile(const std::string& p)
        : h_(CreateFileW(tk::Widen(p).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)) {}
    ~HeldFile() { Release(); }
    bool Held() const { return h_ != INVALID_HANDLE_VALUE; }
    void Release() {
        if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE h_;
};

TEST_F(DiaryPanel, AFailedSaveKeepsThePanelOpenWithTheEditUntilASaveWorks) {
    WriteDiary({Dream("Vlucht|d|t", "oud")});
    std::string before;
    ASSERT_TRUE(ReadWholeFile(path, before));
    form->Diary->OpenDiaryFile(path);
    form->Diary->DrDiRecText->SetText("nieuw geschreven");
    {
        HeldFile held(path + ".new");
        ASSERT_TRUE(held.Held());
        EXPECT_FALSE(form->Diary->CloseDiary());
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].find("in gebruik door een ander programma"), std::string::npos);
        EXPECT_TRUE(form->Diary->DreamDiaryPnl->Visible());
        EXPECT_EQ(form->Diary->DrDiRecText->Text(), "nieuw geschreven");
        std::string after;
        ASSERT_TRUE(ReadWholeFile(path, after));
        EXPECT_EQ(after, before);
    }
    fs::remove(path + ".new");
    EXPECT_TRUE(form->Diary->CloseDiary());
    EXPECT_FALSE(form->Diary->DreamDiaryPnl->Visible());
    EXPECT_EQ(Reread()->GetVisibleRecord(1).Description, "nieuw geschreven");
}

TEST_F(DiaryPanel, ClosingTheProgramWithAFailingSaveWritesAnEmergencyCopyAndStaysOnNee) {
    WriteDiary({Dream("Vlucht|d|t", "oud")});
    form->Diary->OpenDiaryFile(path);
    form->Diary->DrDiRecText->SetText("alles wat ik schreef");
    const fs::path rescue = fs::path(tk::Widen(RoamingFolder("Herstel")));
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(rescue, ec)) fs::remove(e.path(), ec);
    HeldFile held(path + ".new");
    yes = false;
    form->Show();  // a close before the window is up waits for it
    test::Pump();
    messages.clear();
    SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(form->Handle()));
    EXPECT_TRUE(form->Diary->Session.IsOpen());
    EXPECT_EQ(form->Diary->DrDiRecText->Text(), "alles wat ik schreef");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_NE(messages[1].find("noodkopie"), std::string::npos);
    std::vector<fs::path> copies;
    for (const auto& e : fs::directory_iterator(rescue, ec)) copies.push_back(e.path());
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_NE(messages[1].find(tk::NarrowLossy(copies[0].filename().wstring())), std::string::npos);
    TDrDiRecFile copy;
    ASSERT_TRUE(copy.LoadFromFile(tk::NarrowLossy(copies[0].wstring())));
    copy.ShowAll();
    EXPECT_EQ(copy.GetVisibleRecord(1).Description, "alles wat ik schreef");
    fs::remove(copies[0], ec);
    held.Release();
    fs::remove(path + ".new", ec);
}

TEST_F(DiaryPanel, ADamagedDiaryWithoutACopyOpensReadOnlyAndStaysByteForByte) {
    WriteDiary({Dream("Een|d|t", "eerste"), Dream("Twee|d|t", "tweede")});
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    bytes.resize(bytes.size() - 3);
    std::ofstream(fs::path(tk::Widen(path)), std::ios::binary | std::ios::trunc) << bytes;
    // A folder where the copy would go: it cannot be made.
    fs::create_directory(fs::path(tk::Widen(path + ".beschadigd")));
    form->Diary->OpenDiaryFile(path);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("alleen te lezen"), std::string::npos);
    EXPECT_FALSE(form->Diary->DrDiRecText->Enabled());
    EXPECT_FALSE(form->Diary->DrDiAddBtn->Enabled());
    EXPECT_FALSE(form->Diary->DrDiRenameBtn->Enabled());
    form->Diary->DrDiRecText->SetText("overschreven");
    EXPECT_TRUE(form->Diary->CloseDiary());
    form.reset();
    std::string after;
    ASSERT_TRUE(ReadWholeFile(path, after));
    EXPECT_EQ(after, bytes);
}

TEST_F(DiaryPanel, ADreamRenamedInLetterCaseOnlyTakesTheNewName) {
    WriteDiary({Dream("Vlucht|d|t", "")});
    form->Diary->OpenDiaryFile(path);
    names = {"VLUCHT"};
    form->Diary->DrDiRenameBtnClick();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(form->Diary->DrDiLstBox->Items(), std::vector<std::string>{"VLUCHT"});
    form->Diary->CloseDiary();
    EXPECT_EQ(Reread()->GetVisibleRecord(1).Head, "VLUCHT|d|t");
}

}  // namespace
}  // namespace slumra

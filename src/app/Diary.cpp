// The dream diary panel of the main window: opening and closing a diary, the dream list, the
// editors, adding, deleting and renaming dreams, and the search for explanations.

#include "app/Layout.h"
#include "app/Main.h"
#include "app/Skin.h"
#include "data/Synonyms.h"
#include "diary/DrDiDlg.h"
#include "diary/ExpSearch.h"
#include "diary/MsgDlg.h"
#include "diary/NewDlg.h"
#include "lang/Cp1252.h"

#include <algorithm>
#include <filesystem>

namespace slumra {

namespace {

constexpr int kEditorLimit = 65535;  // what a diary text can hold
constexpr int kFieldLimit = 255;     // a date or time field, as the file's readers cut them

tk::TLabel* Label(tk::TWinControl* parent, int x, int y, const std::string& caption, int tag) {
    auto* l = new tk::TLabel(parent);
    l->SetBounds(x, y, 10, 17);
    l->Tag = tag;
    l->SetCaption(caption);
    return l;
}

// The fields of a dream's head are split at "|": one typed into a date or time would shift
// them and lose what follows, so the editors do not take it.
void RefuseBar(tk::TEdit* edit) {
    edit->OnKeyPress = [](tk::TControl*, char& key) {
        if (key == '|') {
            MessageBeep(MB_ICONWARNING);
            key = 0;
        }
    };
}

std::string WithoutBars(std::string s) {
    s.erase(std::remove(s.begin(), s.end(), '|'), s.end());
    return s;
}

std::string NameOfPath(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name.substr(0, name.find('.'));
}

}  // namespace

void TMainForm::CreateDiaryPanel() {
    DreamDiaryPnl = new tk::TPanel(MainFormPanel);
    DreamDiaryPnl->SetBounds(15, 30, 600, 390);
    DreamDiaryPnl->Color = tk::clBlack;
    DreamDiaryPnl->Hide();
    DreamDiaryBk = new TBkControl(DreamDiaryPnl);
    DreamDiaryBk->SetAlign(tk::TAlign::Client);
    DreamDiaryBk->Background.Brush.SetStyle(tk::BrushStyle::Clear);
    DreamDiaryBk->Background.Pen.SetStyle(tk::PenStyle::Clear);

    DrDiCaptionLbl = new tk::TLabel(DreamDiaryPnl);
    DrDiCaptionLbl->AutoSize = false;
    DrDiCaptionLbl->SetBounds(0, 10, 600, 23);
    DrDiCaptionLbl->Alignment = tk::TAlignment::Center;
    DrDiCaptionLbl->Font.SetHeight(19);
    DrDiCaptionLbl->Tag = 3201;
    DrDiCaptionLbl->SetCaption("Droomnachtboek van");
    DrDiLstBoxLbl = Label(DreamDiaryPnl, 25, 40, "Slumra", 3202);
    DrDiLstBox = new tk::TComboBox(DreamDiaryPnl);
    DrDiLstBox->SetBounds(25, 60, 250, 22);
    DrDiLstBox->Tag = 3200;
    DrDiLstBox->OnChange = [this](tk::TControl*) { DrDiLstBoxClick(); };
    DrDiDreamDateLbl = Label(DreamDiaryPnl, 25, 89, "Datum", 3203);
    DrDiDreamDateEdit = new tk::TEdit(DreamDiaryPnl);
    DrDiDreamDateEdit->SetBounds(65, 89, 80, 21);
    DrDiDreamDateEdit->SetMaxLength(kFieldLimit);
    RefuseBar(DrDiDreamDateEdit);
    DrDiDreamTimeLbl = Label(DreamDiaryPnl, 151, 89, "Tijdstip", 3204);
    DrDiDreamTimeEdit = new tk::TEdit(DreamDiaryPnl);
    DrDiDreamTimeEdit->SetBounds(195, 89, 80, 21);
    DrDiDreamTimeEdit->SetMaxLength(kFieldLimit);
    RefuseBar(DrDiDreamTimeEdit);
    DrDiRecTextLbl = Label(DreamDiaryPnl, 25, 116, "Droomomschrijving", 3205);
    DrDiRecText = new tk::TMemo(DreamDiaryPnl);
    DrDiRecText->SetBounds(25, 136, 250, 89);
    DrDiRecText->SetMaxLength(kEditorLimit);
    DrDiRecText->Font.SetColor(tk::clBlack);
    DrDiRecText->OnKeyUp = [this](tk::TControl*, WORD& key, unsigned shift) {
        // Typing on in the description ends a search that is still running.
        if (((key == VK_RETURN || key == VK_SPACE) && (shift & tk::ssShift) == 0) ||
            (key == VK_INSERT && (shift & tk::ssShift) != 0))
            ViewFlags &= ~static_cast<unsigned>(SearchBusy);
    };
    DrDiRecExpTextLbl = Label(DreamDiaryPnl, 25, 228, "Mijn eigen verklaring", 3600);
    DrDiRecExpsText = new tk::TMemo(DreamDiaryPnl);
    DrDiRecExpsText->SetBounds(25, 248, 250, 89);
    DrDiRecExpsText->SetMaxLength(kEditorLimit);
    DrDiRecExpsText->Font.SetColor(tk::clBlack);
    DrDiExpsLstHeaderLbl = new tk::TLabel(DreamDiaryPnl);
    DrDiExpsLstHeaderLbl->AutoSize = false;
    DrDiExpsLstHeaderLbl->WordWrap = true;
    DrDiExpsLstHeaderLbl->SetBounds(320, 40, 250, 30);
    DrDiExpsLstHeaderLbl->Tag = 3206;
    DrDiExpsLstHeaderLbl->SetCaption(
        "Lijst van mogelijke verklaringen op basis van de opgegeven droomomschrijving");
    DrDiExpsLst = new tk::TListBox(DreamDiaryPnl);
    DrDiExpsLst->SetBounds(320, 80, 250, 140);
    DrDiExpsLst->SetItemHeight(17);
    TransparentList(DrDiExpsLst, 3200);
    DrDiExpsLst->Hide();
    DrDiExpsLst->OnDrawItem = [this](tk::TWinControl*, int i, const RECT& r, unsigned) {
        DrawListRow(DrDiExpsLst, DreamDiaryBk, 3, DrDiExpsLst->TopIndex(),
                    i < 0 || i == DrDiExpsLst->Count() - 1, r, [&](tk::TCanvas& c, int) {
                        if (i >= 0)
                            c.TextOut(5, 0, AfterBar(DrDiExpsLst->Items()[static_cast<std::size_t>(i)]));
                    });
    };
    DrDiExpsLst->OnMouseUp = [this](tk::TControl* s, tk::TMouseButton, unsigned, int, int) {
        IndexLstSelect(s);
    };
    DrDiExpsLst->OnKeyUp = [this](tk::TControl* s, WORD& key, unsigned) { IndexLstKeyUp(s, key); };
    DrDiExpsLstLbl = Label(DreamDiaryPnl, 320, 220, "Aantal gevonden verklaringen: 0", 3207);
    DrDiSearchForExpsBtn = new TBaseBtn(DreamDiaryPnl);
    TextButton(DrDiSearchForExpsBtn, 349, 266, 200, "Zoek naar mogelijke verklaringen",
               "Zoek naar mogelijke verklaringen voor de huidige droom", 3208);
    DrDiSearchForExpsBtn->OnClick = [this](tk::TControl*) { DrDiSearchForExpsBtnClick(); };
    DrDiAddBtn = new TBaseBtn(DreamDiaryPnl);
    TextButton(DrDiAddBtn, 349, 288, 200, "Nieuwe droom toevoegen", "Droom toevoegen aan het droomnachtboek",
               3300);
    DrDiAddBtn->OnClick = [this](tk::TControl*) { DrDiAddBtnClick(); };
    DrDiDeleteBtn = new TBaseBtn(DreamDiaryPnl);
    TextButton(DrDiDeleteBtn, 349, 310, 200, "Huidige droom verwijderen",
               "Huidige droom verwijderen uit het droomnachtboek", 3400);
    DrDiDeleteBtn->OnClick = [this](tk::TControl*) { DrDiDeleteBtnClick(); };
    DrDiRenameBtn = new TBaseBtn(DreamDiaryPnl);
    TextButton(DrDiRenameBtn, 349, 332, 200, "Huidige droom hernoemen", "Huidige droom en andere naam geven",
               3500);
    DrDiRenameBtn->OnClick = [this](tk::TControl*) { DrDiRenameBtnClick(); };
    for (TBaseBtn* b : {DrDiSearchForExpsBtn, DrDiAddBtn, DrDiDeleteBtn, DrDiRenameBtn}) {
        b->OnMouseIn = [this](tk::TControl* s) { BtnMouseIn(s); };
        b->OnMouseOut = [this](tk::TControl* s) { BtnMouseOut(s); };
    }

    // The overlay that shows a found explanation, over everything else on the panel.
    DrDiExpsLstPnl = new tk::TPanel(DreamDiaryPnl);
    DrDiExpsLstPnl->SetBounds(40, 70, 280, 253);
    DrDiExpsLstPnl->Color = tk::clBlack;
    DrDiExpsLstPnl->Hide();
    DrDiExpsLstPnlBk = new TBkControl(DrDiExpsLstPnl);
    DrDiExpsLstPnlBk->SetAlign(tk::TAlign::Client);
    DrDiExpsLstPnlBk->Background.Brush.SetStyle(tk::BrushStyle::Clear);
    DrDiExpsPnlHeader = new tk::TLabel(DrDiExpsLstPnl);
    DrDiExpsPnlHeader->AutoSize = false;
    DrDiExpsPnlHeader->WordWrap = true;
    DrDiExpsPnlHeader->Alignment = tk::TAlignment::Center;
    DrDiExpsPnlHeader->SetBounds(20, 4, 240, 38);
    DrDiExpsPnlQuitBtn = new TBaseBtn(DrDiExpsLstPnl);
    TitleButton(DrDiExpsPnlQuitBtn, 257, 8, "X", "Beschrijving Afsluiten", 0, 0.15);
    DrDiExpsPnlQuitBtn->OnClick = [this](tk::TControl*) { DrDiExpsLstPnl->Hide(); };
    DrDiExpsLstPnlText = new tk::TListBox(DrDiExpsLstPnl);
    DrDiExpsLstPnlText->SetBounds(5, 45, 270, 193);
    DrDiExpsLstPnlText->SetItemHeight(17);
    TransparentList(DrDiExpsLstPnlText, 0);
    DrDiExpsLstPnlText->Cursor = tk::TCursor::Default;
    DrDiExpsLstPnlText->OnDrawItem = [this](tk::TWinControl*, int i, const RECT& r, unsigned) {
        DrawListRow(DrDiExpsLstPnlText, DrDiExpsLstPnlBk, 4, DrDiExpsLstPnlText->TopIndex(),
                    i < 0 || i == DrDiExpsLstPnlText->Count() - 1, r, [&](tk::TCanvas& c, int) {
                        if (i >= 0) c.TextOut(5, 0, DrDiExpsLstPnlText->Items()[static_cast<std::size_t>(i)]);
                    });
    };
    DrDiExpsLstPnlText->OnExit = [this](tk::TControl*) { DrDiExpsLstPnl->Hide(); };
}

void TMainForm::Message(const std::string& caption, const std::string& text) {
    (void)(AskMessageFunc ? AskMessageFunc : AskMessage)(caption, text, "", "OK");
}

void TMainForm::OpenDiary() {
    if (!OpenDiaryDialog()) {
        UpdateStatus();
        return;
    }
    OpenDiaryFile(DiaryPath());
}

void TMainForm::OpenDiaryFile(const std::string& path) {
    SetDiaryPath(path);
    TBaseBtn* six[] = {InfoBtn, HelpBtn, MinimizeBtn, QuitBtn, ContentIndexBtn, DreamDiaryBtn};
    for (TBaseBtn* b : six) b->SetEnabled(false);
    tk::Application().ProcessMessages();
    SlideMenu(3);
    tk::Application().SetScreenCursor(tk::TCursor::HourGlass);
    DiaryFile = std::make_unique<TDrDiRecFile>();
    if (!DiaryFile->LoadFromFile(path) && FileExists(path)) {
        // A diary that could not be read whole is kept as it was before anything is written
        // over it: the dreams that were read stay open, the file itself gets a copy beside it.
        std::string bytes;
        if (ReadWholeFile(path, bytes) && !bytes.empty()) {
            std::string copy;
            for (int n = 1; n < 1000; ++n) {
                copy = path + ".beschadigd" + (n == 1 ? "" : std::to_string(n));
                if (!FileExists(copy)) break;
            }
            if (CopyFileBytes(path, copy))
                Message("Fout",
                        "Het droomnachtboek kon niet helemaal worden gelezen. Het bestand is bewaard als \"" +
                            copy.substr(copy.find_last_of('\\') + 1) + "\".");
        }
    }
    DrDiCaptionLbl->SetCaption("Droomnachtboek van \"" + NameOfPath(path) + "\"");
    DreamDiaryPnl->Show();
    iDbRecTextPnl->Hide();
    tk::Application().ProcessMessages();
    DreamDiaryPnl->Show();
    DreamDiaryPnl->BringToFront();
    MenuPnl->BringToFront();
    MenuSelectedPnl->BringToFront();
    tk::Application().ProcessMessages();
    DrDiExpsLstPnl->Hide();
    ViewFlags |= DiaryShown;
    DreamDiaryBtn->SetCaption("Droomnachtboek Sluiten");
    FillDreamList();
    for (TBaseBtn* b : six) b->SetEnabled(true);
    tk::Application().ProcessMessages();
    tk::Application().SetScreenCursor(tk::TCursor::Default);
    UpdateStatus();
}

void TMainForm::CloseDiary() {
    ViewFlags &= ~static_cast<unsigned>(SearchBusy);
    tk::Application().ProcessMessages();
    if (DiaryFile) {
        StoreCurrentDream();
        const std::string path = DiaryPath();
        if (!path.empty() && !DiaryFile->SaveToFile(path)) {
            // The old file is intact (the save replaces it only when complete); the user must
            // know that the changes are not in it.
            Message("Fout",
                    "Het droomnachtboek kon niet worden bewaard. De laatste wijzigingen staan er niet in.");
        }
        DiaryFile.reset();
    }
    SetDiaryPath("");
    if ((ViewFlags & ContentShown) != 0) {
        SlideMenu(1);
        ContentLstSelect(ContentLst->SelectedItem());
    } else if ((ViewFlags & IndexShown) != 0) {
        SlideMenu(2);
        IndexLstSelect(IndexLst);
    }
    DrDiExpsLstPnl->Hide();
    DreamDiaryPnl->Hide();
    iDbRecTextPnl->Show();
    tk::Application().ProcessMessages();
    ViewFlags &= ~static_cast<unsigned>(DiaryShown);
    DreamDiaryBtn->SetCaption("Droomnachtboek Openen");
    UpdateStatus();
}

void TMainForm::FillDreamList() {
    std::vector<std::string> names;
    if (DiaryFile) {
        DiaryFile->ShowAll();
        std::string name, date, time;
        for (std::int32_t i = 1; i <= DiaryFile->VisibleCount(); ++i) {
            SplitPath(DiaryFile->GetVisibleRecord(i).Head.c_str(), name, date, time);
            names.push_back(name);
        }
    }
    DrDiLstBox->SetItems(names);
    if (!names.empty()) DrDiLstBox->SetItemIndex(0);
    ShowDream(DiaryFile ? DiaryFile->GetVisibleRecord(DrDiLstBox->ItemIndex() + 1) : DrDiRec{});
}

void TMainForm::ShowDream(const DrDiRec& rec) {
    DrDiDreamDateEdit->SetText("");
    DrDiDreamTimeEdit->SetText("");
    DrDiRecText->SetText("");
    DrDiRecExpsText->SetText("");
    DrDiExpsLst->Clear();
    if (!rec.Head.empty()) {
        std::string name, date, time;
        SplitPath(rec.Head.c_str(), name, date, time);
        DrDiDreamDateEdit->SetText(date);
        DrDiDreamTimeEdit->SetText(time);
        DrDiRecText->SetText(rec.Description);
        DrDiRecExpsText->SetText(rec.Explanation);
    }
    ViewFlags &= ~static_cast<unsigned>(SearchBusy);
}

void TMainForm::StoreCurrentDream() {
    if (!DiaryFile) return;
    const std::int32_t current = DiaryFile->CursorIndex();
    if (current <= 0 || current > DiaryFile->VisibleCount() ||
        static_cast<int>(DrDiLstBox->Items().size()) < current)
        return;
    DrDiRec rec = DiaryFile->GetVisibleRecord(current);
    const std::string& name = DrDiLstBox->Items()[static_cast<std::size_t>(current - 1)];
    rec.Head =
        name + "|" + WithoutBars(DrDiDreamDateEdit->Text()) + "|" + WithoutBars(DrDiDreamTimeEdit->Text());
    rec.Description = DrDiRecText->Text();
    rec.Explanation = DrDiRecExpsText->Text();
    (void)DiaryFile->SetVisibleRecord(current, rec);
}

void TMainForm::DrDiLstBoxClick() {
    StoreCurrentDream();
    if (DiaryFile) ShowDream(DiaryFile->GetVisibleRecord(DrDiLstBox->ItemIndex() + 1));
    UpdateStatus();
}

void TMainForm::DrDiAddBtnClick() {
    DrDiExpsLstPnl->Hide();
    if (!DiaryFile) {
        Message("Geheugen Fout", "Droom kan niet worden toegevoegd");
        return;
    }
    const std::string name = (AskNameFunc ? AskNameFunc : AskName)(
        "Nieuwe " + ItemNoun + " toevoegen", "Geef een naam voor de nieuwe " + ItemNoun + " op");
    if (name.empty()) return;
    const auto& items = DrDiLstBox->Items();
    if (std::any_of(items.begin(), items.end(),
                    [&](const std::string& i) { return SameTextIgnoringCase(i, name); })) {
        Message("Fout", "Droom bestaat al");
        return;
    }
    StoreCurrentDream();
    if (!DiaryFile->AddRecord(DrDiRec{})) {
        Message("Geheugen Fout", "Droom kan niet worden toegevoegd");
        return;
    }
    DiaryFile->ShowAll();
    std::vector<std::string> names = items;
    names.push_back(name);
    DrDiLstBox->SetItems(names);
    DrDiLstBox->SetItemIndex(static_cast<int>(names.size()) - 1);
    ShowDream(DiaryFile->GetVisibleRecord(DrDiLstBox->ItemIndex() + 1));
    DrDiDreamDateEdit->SetText("dd-mm-yyyy");
    DrDiDreamTimeEdit->SetText("hh:mm");
    DrDiRecText->SetText("");
    DrDiRecExpsText->SetText("");
    UpdateStatus();
}

bool TMainForm::SelectedIsCurrentDream(int selected) const {
    return DiaryFile && DiaryFile->CursorIndex() > 0 &&
           DiaryFile->CursorIndex() <= DiaryFile->VisibleCount() && !DrDiLstBox->Items().empty() &&
           selected >= 0 && selected + 1 <= DiaryFile->VisibleCount() &&
           selected + 1 == DiaryFile->CursorIndex();
}

void TMainForm::DrDiDeleteBtnClick() {
    DrDiExpsLstPnl->Hide();
    const int selected = DrDiLstBox->ItemIndex();
    if (!SelectedIsCurrentDream(selected)) {
        UpdateStatus();
        return;
    }
    if (!(AskMessageFunc ? AskMessageFunc : AskMessage)(
            ItemNoun + " verwijderen", "Wilt u de huidige " + ItemNoun + " verwijderen?", "Ja", "Nee")) {
        UpdateStatus();
        return;
    }
    const std::int32_t current = DiaryFile->CursorIndex();
    if (!DiaryFile->DeleteVisibleRecord(current)) {
        Message("Fout", "Droom kan niet worden verwijderd");
    } else {
        DiaryFile->ShowAll();
        std::vector<std::string> names = DrDiLstBox->Items();
        names.erase(names.begin() + selected);
        DrDiLstBox->SetItems(names);
        DrDiLstBox->SetItemIndex(current - 2 >= 0 ? current - 2 : 0);
        ShowDream(DiaryFile->GetVisibleRecord(DrDiLstBox->ItemIndex() + 1));
    }
    UpdateStatus();
}

void TMainForm::DrDiRenameBtnClick() {
    DrDiExpsLstPnl->Hide();
    const int selected = DrDiLstBox->ItemIndex();
    if (!SelectedIsCurrentDream(selected)) {
        Message("Fout", "Droom kan niet worden hernoemd");
        UpdateStatus();
        return;
    }
    StoreCurrentDream();
    const std::string current = DrDiLstBox->Items()[static_cast<std::size_t>(selected)];
    const std::string name = (AskNameFunc ? AskNameFunc : AskName)(
        ItemNoun + " hernoemen", "Geef een nieuwe naam voor \"" + current + "\"");
    if (name.empty()) return;
    std::vector<std::string> names = DrDiLstBox->Items();
    const auto same = std::find_if(names.begin(), names.end(),
                                   [&](const std::string& i) { return SameTextIgnoringCase(i, name); });
    if (same == names.end()) {
        names[static_cast<std::size_t>(selected)] = name;
        DrDiLstBox->SetItems(names);
        DrDiLstBox->SetItemIndex(selected);
        ShowDream(DiaryFile->GetVisibleRecord(selected + 1));
        // The record takes the new name at once, with the edits the editors show.
        StoreCurrentDream();
    } else if (same - names.begin() != selected) {
        Message("Fout", "Droom bestaat al");
    }
    UpdateStatus();
}

void TMainForm::DrDiSearchForExpsBtnClick() {
    DrDiExpsLstPnl->Hide();
    if ((ViewFlags & SearchBusy) != 0) return;
    ViewFlags |= SearchBusy;
    DrDiSearchForExpsBtn->SetCaption("Aan het zoeken naar mogelijke verklaringen...");
    DrDiSearchForExpsBtn->Repaint();
    tk::Application().ProcessMessages();
    DrDiExpsLst->BeginUpdate();
    bool completed = false;
    if (SynonymList) {
        std::vector<std::string> found;
        const std::vector<std::string> words = CutWords(SplitTextLines(DrDiRecText->Text()));
        if ((ViewFlags & SearchBusy) != 0) {
            completed = FindExplanations(words, *SynonymList, IndexLst->Items(), found,
                                         [this] { return (ViewFlags & SearchBusy) != 0; });
            if (completed && !found.empty()) SortExplanations(found, 0, static_cast<int>(found.size()) - 1);
        }
        DrDiExpsLst->SetItems(std::move(found));
    }
    if (completed) UpdateStatus();
    ViewFlags &= ~static_cast<unsigned>(SearchBusy);
    DrDiSearchForExpsBtn->SetCaption("Zoek naar mogelijke verklaringen");
    DrDiSearchForExpsBtn->Repaint();
    tk::Application().ProcessMessages();
    DrDiExpsLst->EndUpdate();
}

}  // namespace slumra

#include "app/DiaryPanel.h"

#include "app/DiaryFindDlg.h"
#include "app/Layout.h"
#include "app/OverviewDlg.h"
#include "app/Main.h"
#include "app/RecordView.h"
#include "app/Skin.h"
#include "data/Files.h"
#include "data/Index.h"
#include "data/Synonyms.h"
#include "diary/DrDiDlg.h"
#include "diary/DrDiExport.h"
#include "diary/ExpSearch.h"
#include "diary/MsgDlg.h"
#include "diary/NewDlg.h"
#include "lang/Cp1252.h"
#include "lang/TransLtr.h"
#include "output/Printer.h"
#include "toolkit/ListRows.h"

#include <algorithm>
#include <filesystem>

namespace slumra {

namespace {

// Shows the panel's gauge once a run has taken longer than a moment and keeps the window
// painting meanwhile; the main window takes no input until the run is over.
class PanelProgress : public ProgressSink {
public:
    PanelProgress(tk::TGauge& gauge, HWND window) : FGauge(gauge), FWindow(window) {}
    ~PanelProgress() override { Finish(); }
    void Begin() override { FStart = FLastPump = GetTickCount(); }
    void Progress(int percent) override {
        const DWORD now = GetTickCount();
        if (!FShown) {
            if (now - FStart < kQuietMs) return;
            FShown = true;
            FWasEnabled = IsWindowEnabled(FWindow) != 0;
            EnableWindow(FWindow, FALSE);
            tk::Application().SetScreenCursor(tk::TCursor::HourGlass);
            FGauge.Show();
        }
        FGauge.SetProgress(percent);
        if (now - FLastPump >= kPumpMs) {
            FLastPump = now;
            FGauge.Repaint();
            tk::Application().ProcessMessages();
        }
    }
    void Finish() {
        if (!FShown) return;
        FShown = false;
        FGauge.Hide();
        if (FWasEnabled) EnableWindow(FWindow, TRUE);
    }

private:
    static constexpr DWORD kQuietMs = 250, kPumpMs = 50;
    tk::TGauge& FGauge;
    HWND FWindow;
    DWORD FStart = 0, FLastPump = 0;
    bool FShown = false, FWasEnabled = true;
};

constexpr int kEditorLimit = static_cast<int>(kMaxDiaryText);
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

}  // namespace

TDiaryPanel::TDiaryPanel(TMainForm& form) : F(form) {
    DreamDiaryPnl = new tk::TPanel(F.MainFormPanel);
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
    DrDiDreamDateEdit->Tag = 3200;
    DrDiDreamDateEdit->SetMaxLength(kFieldLimit);
    RefuseBar(DrDiDreamDateEdit);
    DrDiDreamTimeLbl = Label(DreamDiaryPnl, 151, 89, "Tijdstip", 3204);
    DrDiDreamTimeEdit = new tk::TEdit(DreamDiaryPnl);
    DrDiDreamTimeEdit->SetBounds(195, 89, 80, 21);
    DrDiDreamTimeEdit->Tag = 3200;
    DrDiDreamTimeEdit->SetMaxLength(kFieldLimit);
    RefuseBar(DrDiDreamTimeEdit);
    DrDiRecTextLbl = Label(DreamDiaryPnl, 25, 116, "Droomomschrijving", 3205);
    DrDiRecText = new tk::TMemo(DreamDiaryPnl);
    DrDiRecText->SetBounds(25, 136, 250, 89);
    DrDiRecText->Tag = 3200;
    DrDiRecText->SetMaxLength(kEditorLimit);
    DrDiRecText->Font.SetColor(tk::clBlack);
    DrDiRecText->OnKeyUp = [this](tk::TControl*, WORD& key, unsigned shift) {
        // Typing on in the description ends a search that is still running.
        if (((key == VK_RETURN || key == VK_SPACE) && (shift & tk::ssShift) == 0) ||
            (key == VK_INSERT && (shift & tk::ssShift) != 0))
            F.ViewFlags &= ~static_cast<unsigned>(SearchBusy);
    };
    DrDiRecExpTextLbl = Label(DreamDiaryPnl, 25, 228, "Mijn eigen verklaring", 3600);
    DrDiRecExpsText = new tk::TMemo(DreamDiaryPnl);
    DrDiRecExpsText->SetBounds(25, 248, 250, 89);
    DrDiRecExpsText->Tag = 3600;
    DrDiRecExpsText->SetMaxLength(kEditorLimit);
    // What does not fit is said, not dropped unseen.
    for (tk::TEdit* e :
         std::initializer_list<tk::TEdit*>{DrDiDreamDateEdit, DrDiDreamTimeEdit, DrDiRecText, DrDiRecExpsText}) {
        e->OnTooLong = [this](tk::TControl* sender) {
            const int limit = static_cast<tk::TEdit*>(sender)->MaxLength();
            F.Message(ProgramText(7030, "Te lang"),
                      ProgramText(7031, "Dit veld houdt ten hoogste ") + std::to_string(limit) +
                          ProgramText(7032, " tekens. Wat niet past, is niet toegevoegd."));
        };
    }
    DrDiRecExpsText->Font.SetColor(tk::clBlack);
    DrDiExpsLstHeaderLbl = new tk::TLabel(DreamDiaryPnl);
    DrDiExpsLstHeaderLbl->AutoSize = false;
    DrDiExpsLstHeaderLbl->WordWrap = true;
    DrDiExpsLstHeaderLbl->SetBounds(320, 40, 250, 30);
    DrDiExpsLstHeaderLbl->Tag = 3206;
    DrDiExpsLstHeaderLbl->SetCaption(
        "Lijst van mogelijke verklaringen op basis van de opgegeven droomomschrijving");
    DrDiProgress = new tk::TGauge(DreamDiaryPnl);
    DrDiProgress->SetBounds(320, 80, 250, 18);
    DrDiProgress->Hide();
    DrDiExpsLst = new tk::TListBox(DreamDiaryPnl);
    DrDiExpsLst->SetBounds(320, 80, 250, 140);
    DrDiExpsLst->SetItemHeight(17);
    TransparentList(DrDiExpsLst, 3200);
    DrDiExpsLst->Hide();
    DrDiExpsLst->OnDrawItem = [this](tk::TWinControl*, int i, const RECT& r, unsigned state) {
        tk::PaintTransparentRow(*DrDiExpsLst, F.TopRowCache[kExpsSlot], DrDiExpsLst->TopIndex(),
                                i < 0 || i == DrDiExpsLst->Count() - 1, r, BkUnder(*DreamDiaryBk, *DrDiExpsLst),
                                [&](tk::TCanvas& c) {
                                    if (i < 0 || i >= DrDiExpsLst->Count()) return;
                                    const std::string& item = DrDiExpsLst->Items()[static_cast<std::size_t>(i)];
                                    if (item == kExtraSeparator) {
                                        // Further possible explanations follow below the line.
                                        const int y = DrDiExpsLst->ItemHeight() / 2;
                                        c.Brush.SetStyle(tk::BrushStyle::Solid);
                                        c.Brush.SetColor(c.Font.Color());
                                        c.FillRect({5, y, DrDiExpsLst->Width() - 25, y + 1});
                                        return;
                                    }
                                    unsigned style = 0;
                                    // The entry whose interpretation is shown stands out.
                                    if ((state & tk::odSelected) != 0) style |= tk::fsBold;
                                    if (FFirstExtra >= 0 && i >= FFirstExtra) style |= tk::fsItalic;
                                    c.Font.SetStyle(style);
                                    c.TextOut(5, 0, AfterBar(item));
                                });
    };
    DrDiExpsLst->OnMouseUp = [this](tk::TControl* s, tk::TMouseButton, unsigned, int, int) {
        F.Records->IndexLstSelect(s);
        ShowFoundVia();
    };
    DrDiExpsLst->OnKeyUp = [this](tk::TControl* s, WORD& key, unsigned) {
        F.Records->IndexLstKeyUp(s, key);
        ShowFoundVia();
    };
    DrDiExpsLstLbl = Label(DreamDiaryPnl, 320, 220, "Aantal gevonden verklaringen: 0", 3207);
    DrDiSearchForExpsBtn = new TBaseBtn(DreamDiaryPnl);
    TextButton(DrDiSearchForExpsBtn, 335, 266, 255, "Zoek naar mogelijke verklaringen",
               "Zoek naar mogelijke verklaringen voor de huidige droom", 3208);
    DrDiSearchForExpsBtn->OnClick = [this](tk::TControl*) { DrDiSearchForExpsBtnClick(); };
    DrDiAddBtn = new TBaseBtn(DreamDiaryPnl);
    TextButton(DrDiAddBtn, 335, 288, 255, "Nieuwe droom toevoegen", "Droom toevoegen aan het droomnachtboek",
               3300);
    DrDiAddBtn->OnClick = [this](tk::TControl*) { DrDiAddBtnClick(); };
    DrDiDeleteBtn = new TBaseBtn(DreamDiaryPnl);
    TextButton(DrDiDeleteBtn, 335, 310, 255, "Huidige droom verwijderen",
               "Huidige droom verwijderen uit het droomnachtboek", 3400);
    DrDiDeleteBtn->OnClick = [this](tk::TControl*) { DrDiDeleteBtnClick(); };
    DrDiRenameBtn = new TBaseBtn(DreamDiaryPnl);
    TextButton(DrDiRenameBtn, 335, 332, 255, "Huidige droom hernoemen", "Huidige droom een andere naam geven",
               3500);
    DrDiRenameBtn->OnClick = [this](tk::TControl*) { DrDiRenameBtnClick(); };
    DrDiOverviewBtn = new TBaseBtn(DreamDiaryPnl);
    TextButton(DrDiOverviewBtn, 335, 244, 255, "Overzicht", "Overzicht van het hele droomnachtboek", 7020);
    DrDiOverviewBtn->OnClick = [this](tk::TControl*) { DrDiOverviewBtnClick(); };
    for (TBaseBtn* b : {DrDiSearchForExpsBtn, DrDiAddBtn, DrDiDeleteBtn, DrDiRenameBtn, DrDiOverviewBtn}) {
        b->OnMouseIn = [this](tk::TControl* s) { F.BtnMouseIn(s); };
        b->OnMouseOut = [this](tk::TControl* s) { F.BtnMouseOut(s); };
    }

    // The overlay that shows a found explanation, over everything else on the panel.
    DrDiExpsLstPnl = new tk::TPanel(DreamDiaryPnl);
    DrDiExpsLstPnl->SetBounds(40, 70, 280, 253);
    DrDiExpsLstPnl->Color = tk::clBlack;
    DrDiExpsLstPnl->Hide();
    DrDiExpsLstPnlBk = new TBkControl(DrDiExpsLstPnl);
    DrDiExpsLstPnlBk->SetAlign(tk::TAlign::Client);
    DrDiExpsLstPnlBk->Tag = 3300;
    DrDiExpsLstPnlBk->Background.Brush.SetStyle(tk::BrushStyle::Clear);
    DrDiExpsPnlHeader = new tk::TLabel(DrDiExpsLstPnl);
    DrDiExpsPnlHeader->AutoSize = false;
    DrDiExpsPnlHeader->WordWrap = true;
    DrDiExpsPnlHeader->Alignment = tk::TAlignment::Center;
    DrDiExpsPnlHeader->SetBounds(20, 4, 240, 38);
    DrDiExpsPnlHeader->Tag = 3200;
    DrDiExpsPnlQuitBtn = new TBaseBtn(DrDiExpsLstPnl);
    TitleButton(DrDiExpsPnlQuitBtn, 257, 8, "X", "Beschrijving Afsluiten", 7022, 0.15);
    DrDiExpsPnlQuitBtn->OnClick = [this](tk::TControl*) { DrDiExpsLstPnl->Hide(); };
    DrDiExpsPnlVia = new tk::TLabel(DrDiExpsLstPnl);
    DrDiExpsPnlVia->AutoSize = false;
    DrDiExpsPnlVia->SetBounds(10, 43, 260, 17);
    DrDiExpsPnlVia->Tag = 3200;
    DrDiExpsPnlVia->Font.SetStyle(tk::fsItalic);
    DrDiExpsLstPnlText = new tk::TListBox(DrDiExpsLstPnl);
    DrDiExpsLstPnlText->SetBounds(5, 62, 270, 176);
    DrDiExpsLstPnlText->SetItemHeight(17);
    TransparentList(DrDiExpsLstPnlText, 3200);
    DrDiExpsLstPnlText->Cursor = tk::TCursor::Default;
    DrDiExpsLstPnlText->OnDrawItem = [this](tk::TWinControl*, int i, const RECT& r, unsigned) {
        tk::PaintTransparentRow(*DrDiExpsLstPnlText, F.TopRowCache[kExpsTextSlot], DrDiExpsLstPnlText->TopIndex(),
                                i < 0 || i == DrDiExpsLstPnlText->Count() - 1, r,
                                BkUnder(*DrDiExpsLstPnlBk, *DrDiExpsLstPnlText), [&](tk::TCanvas& c) {
                                    if (i >= 0)
                                        c.TextOut(5, 0, DrDiExpsLstPnlText->Items()[static_cast<std::size_t>(i)]);
                                });
    };
    DrDiExpsLstPnlText->OnExit = [this](tk::TControl*) { DrDiExpsLstPnl->Hide(); };
}

void TDiaryPanel::OpenDiary() {
    bool readOnly = false;
    const std::string path = OpenDiaryDialog(&F.anImage, [this](HWND owner, const std::string& diary) {
        DiaryPrint print;
        print.Caption = F.Caption();
        print.Labels = {DrDiDreamDateLbl->Caption(), DrDiDreamTimeLbl->Caption(), DrDiRecTextLbl->Caption(),
                        DrDiRecExpTextLbl->Caption()};
        (void)PrintDiaryJob(owner, diary, std::move(print));
    }, [this](const std::string& diary, const std::string& name, bool html) { return ExportDiary(diary, name, html); },
       &readOnly);
    if (path.empty()) {
        F.UpdateStatus();
        return;
    }
    OpenDiaryFile(path, readOnly);
}

void TDiaryPanel::OpenDiaryFile(const std::string& path, bool readOnly) {
    TBaseBtn* six[] = {F.InfoBtn, F.HelpBtn, F.MinimizeBtn, F.QuitBtn, F.ContentIndexBtn, F.DreamDiaryBtn};
    for (TBaseBtn* b : six) b->SetEnabled(false);
    tk::Application().ProcessMessages();
    F.SlideMenu(3);
    tk::Application().SetScreenCursor(tk::TCursor::HourGlass);
    F.LoadDiarySkins();
    // The panel shows at once, empty, so that a long diary can show how far its reading is.
    Session.Close();
    FillDreamList();
    DrDiCaptionLbl->SetCaption(ProgramText(3201, "Droomnachtboek van") + " \"" + DiarySession::NameOf(path) + "\"");
    DreamDiaryPnl->Show();
    DreamDiaryPnl->BringToFront();
    F.MenuPnl->BringToFront();
    F.MenuSelectedPnl->BringToFront();
    F.Records->iDbRecTextPnl->Hide();
    tk::Application().ProcessMessages();
    PanelProgress progress(*DrDiProgress, F.Handle());
    const DiaryOpenResult opened = Session.Open(path, readOnly, &progress);
    progress.Finish();
    switch (opened) {
        case DiaryOpenResult::Loaded:
            break;
        case DiaryOpenResult::DamagedCopiedAside: {
            const std::string& copy = Session.DamagedCopy();
            F.Message(ProgramText(7035, "Fout"),
                      ProgramText(7036, "Het droomnachtboek kon niet helemaal worden gelezen. Het bestand is "
                                        "bewaard als \"") +
                          copy.substr(copy.find_last_of("\\/") + 1) + ProgramText(7037, "\"."));
            break;
        }
        case DiaryOpenResult::DamagedReadOnly:
            F.Message(ProgramText(7035, "Fout"),
                      ProgramText(7038, "Het droomnachtboek kon niet helemaal worden gelezen en er kon geen kopie van "
                                        "worden gemaakt. Het is alleen te lezen: er wordt niets in gewijzigd."));
            break;
    }
    DrDiCaptionLbl->SetCaption(ProgramText(3201, "Droomnachtboek van") + " \"" + Session.Name() + "\"" +
                               (Session.ReadOnly() ? ProgramText(7024, " (alleen lezen)") : ""));
    DreamDiaryPnl->Show();
    F.Records->iDbRecTextPnl->Hide();
    tk::Application().ProcessMessages();
    DreamDiaryPnl->Show();
    DreamDiaryPnl->BringToFront();
    F.MenuPnl->BringToFront();
    F.MenuSelectedPnl->BringToFront();
    tk::Application().ProcessMessages();
    DrDiExpsLstPnl->Hide();
    F.ViewFlags |= DiaryShown;
    F.DreamDiaryBtn->SetCaption(ProgramText(3102, "Droomnachtboek Sluiten"));
    FillDreamList(&progress);
    progress.Finish();
    for (TBaseBtn* b : six) b->SetEnabled(true);
    tk::Application().ProcessMessages();
    tk::Application().SetScreenCursor(tk::TCursor::Default);
    F.UpdateStatus();
}

bool TDiaryPanel::SaveDiary() {
    if (!Session.IsOpen()) return true;
    StoreCurrentDream();
    PanelProgress progress(*DrDiProgress, F.Handle());
    return Session.Save(&progress);
}

bool TDiaryPanel::CloseDiary() {
    F.ViewFlags &= ~static_cast<unsigned>(SearchBusy);
    tk::Application().ProcessMessages();
    if (!SaveDiary()) {
        // The old file is intact (a save replaces it only when complete); the diary stays open
        // with every edit, and closing it again tries again.
        F.Message(ProgramText(7035, "Fout"),
                  SaveFailureText(Session.LastError()) + ProgramText(7039, " Het blijft open met alle wijzigingen."));
        return false;
    }
    Session.Close();
    // The panel is left before the record is chosen again, so that it shows in the record panel.
    F.ViewFlags &= ~static_cast<unsigned>(DiaryShown);
    F.LastShownId = 0;
    if ((F.ViewFlags & ContentShown) != 0) {
        F.SlideMenu(1);
        F.Records->ContentLstSelect(F.Records->ContentLst->SelectedItem());
    } else if ((F.ViewFlags & IndexShown) != 0) {
        F.SlideMenu(2);
        F.Records->IndexLstSelect(F.Records->IndexLst);
    }
    DrDiExpsLstPnl->Hide();
    DreamDiaryPnl->Hide();
    F.Records->iDbRecTextPnl->Show();
    tk::Application().ProcessMessages();
    F.DreamDiaryBtn->SetCaption(ProgramText(3101, "Droomnachtboek Openen"));
    F.UpdateStatus();
    return true;
}

void TDiaryPanel::FillDreamList(ProgressSink* gauge) {
    std::vector<std::string> names;
    if (Session.IsOpen()) {
        TDrDiRecFile& diary = Session.File();
        diary.ShowAll();
        const std::int32_t count = diary.VisibleCount();
        names.reserve(static_cast<std::size_t>(count));
        std::string name, date, time;
        ProgressRun progress(gauge);
        diary.ForEachVisible([&](std::int32_t n, const DrDiRec& dream) {
            SplitPath(dream.Head.c_str(), name, date, time);
            names.push_back(name);
            if (n % 4096 == 0) progress.Report(static_cast<int>(std::int64_t{n} * 100 / count));
        });
    }
    const bool any = !names.empty();
    DrDiLstBox->SetItems(std::move(names));
    if (any) DrDiLstBox->SetItemIndex(0);
    ShowDream(Session.IsOpen() ? Session.File().GetVisibleRecord(DrDiLstBox->ItemIndex() + 1) : DrDiRec{});
}

void TDiaryPanel::ShowDream(const DrDiRec& rec) {
    DrDiDreamDateEdit->SetText("");
    DrDiDreamTimeEdit->SetText("");
    DrDiRecText->SetText("");
    DrDiRecExpsText->SetText("");
    DrDiExpsLst->Clear();
    FVia.clear();
    FFirstExtra = -1;
    DrDiExpsPnlVia->SetCaption("");
    if (!rec.Head.empty()) {
        std::string name, date, time;
        SplitPath(rec.Head.c_str(), name, date, time);
        DrDiDreamDateEdit->SetText(date);
        DrDiDreamTimeEdit->SetText(time);
        DrDiRecText->SetText(rec.Description);
        DrDiRecExpsText->SetText(rec.Explanation);
    }
    F.ViewFlags &= ~static_cast<unsigned>(SearchBusy);
}

void TDiaryPanel::StoreCurrentDream() {
    if (!Session.IsOpen()) return;
    const std::int32_t current = Session.File().CursorIndex();
    if (current <= 0 || static_cast<int>(DrDiLstBox->Items().size()) < current) return;
    (void)Session.StoreDream(current, {DrDiLstBox->Items()[static_cast<std::size_t>(current - 1)],
                                       DrDiDreamDateEdit->Text(), DrDiDreamTimeEdit->Text(), DrDiRecText->Text(),
                                       DrDiRecExpsText->Text()});
}

void TDiaryPanel::DrDiLstBoxClick() {
    StoreCurrentDream();
    if (Session.IsOpen()) ShowDream(Session.File().GetVisibleRecord(DrDiLstBox->ItemIndex() + 1));
    F.UpdateStatus();
}

void TDiaryPanel::DrDiAddBtnClick() {
    DrDiExpsLstPnl->Hide();
    if (!Session.IsOpen() || Session.ReadOnly()) {
        F.Message(ProgramText(3305, "Geheugen Fout"), ProgramText(3307, "Droom kan niet worden toegevoegd"));
        return;
    }
    const std::string name =
        F.AskName(ProgramText(3301, "Nieuwe ") + F.ItemNoun + ProgramText(3302, " toevoegen"),
                  ProgramText(3303, "Geef een naam voor de nieuwe ") + F.ItemNoun + ProgramText(3304, " op"));
    if (name.empty()) return;
    const auto& items = DrDiLstBox->Items();
    if (std::any_of(items.begin(), items.end(), [&](const std::string& i) { return SameTextIgnoringCase(i, name); })) {
        F.Message(ProgramText(3305, "Fout"), ProgramText(3309, "Droom bestaat al"));
        return;
    }
    StoreCurrentDream();
    TDrDiRecFile& diary = Session.File();
    if (!diary.AddRecord(DrDiRec{})) {
        F.Message(ProgramText(3306, "Geheugen Fout"), ProgramText(3307, "Droom kan niet worden toegevoegd"));
        return;
    }
    diary.ShowAll();
    // One row more, not a new list: a long diary's list is not built again.
    DrDiLstBox->InsertItem(DrDiLstBox->Count(), name);
    DrDiLstBox->SetItemIndex(DrDiLstBox->Count() - 1);
    ShowDream(diary.GetVisibleRecord(DrDiLstBox->ItemIndex() + 1));
    DrDiDreamDateEdit->SetText("dd-mm-yyyy");
    DrDiDreamTimeEdit->SetText("hh:mm");
    DrDiRecText->SetText("");
    DrDiRecExpsText->SetText("");
    F.UpdateStatus();
}

bool TDiaryPanel::SelectedIsCurrentDream(int selected) {
    if (!Session.IsOpen()) return false;
    TDrDiRecFile& diary = Session.File();
    return diary.CursorIndex() > 0 && diary.CursorIndex() <= diary.VisibleCount() && !DrDiLstBox->Items().empty() &&
           selected >= 0 && selected + 1 <= diary.VisibleCount() && selected + 1 == diary.CursorIndex();
}

void TDiaryPanel::DrDiDeleteBtnClick() {
    DrDiExpsLstPnl->Hide();
    const int selected = DrDiLstBox->ItemIndex();
    if (Session.ReadOnly() || !SelectedIsCurrentDream(selected)) {
        F.UpdateStatus();
        return;
    }
    if (!F.AskMessage(F.ItemNoun + ProgramText(3401, " verwijderen"),
                      ProgramText(3402, "Wilt u de huidige ") + F.ItemNoun + ProgramText(3403, " verwijderen?"),
                      ProgramText(3404, "Ja"), ProgramText(3405, "Nee"))) {
        F.UpdateStatus();
        return;
    }
    TDrDiRecFile& diary = Session.File();
    const std::int32_t current = diary.CursorIndex();
    if (!diary.DeleteVisibleRecord(current)) {
        F.Message(ProgramText(3406, "Fout"), ProgramText(3407, "Droom kan niet worden verwijderd"));
    } else {
        diary.ShowAll();
        DrDiLstBox->DeleteItem(selected);
        DrDiLstBox->SetItemIndex(current - 2 >= 0 ? current - 2 : 0);
        ShowDream(diary.GetVisibleRecord(DrDiLstBox->ItemIndex() + 1));
    }
    F.UpdateStatus();
}

void TDiaryPanel::DrDiRenameBtnClick() {
    DrDiExpsLstPnl->Hide();
    const int selected = DrDiLstBox->ItemIndex();
    if (Session.ReadOnly() || !SelectedIsCurrentDream(selected)) {
        F.Message(ProgramText(3503, "Fout"), ProgramText(3506, "Droom kan niet worden hernoemd"));
        F.UpdateStatus();
        return;
    }
    StoreCurrentDream();
    const std::string current = DrDiLstBox->Items()[static_cast<std::size_t>(selected)];
    const std::string name =
        F.AskName(F.ItemNoun + ProgramText(3501, " hernoemen"),
                  ProgramText(3502, "Geef een nieuwe naam voor \"") + current + "\"");
    if (name.empty()) return;
    const auto& names = DrDiLstBox->Items();
    const auto same =
        std::find_if(names.begin(), names.end(), [&](const std::string& i) { return SameTextIgnoringCase(i, name); });
    // The dream's own name in other letters ("Zo" to "ZO") is a rename too.
    if (same == names.end() || same - names.begin() == selected) {
        DrDiLstBox->SetItem(selected, name);
        DrDiLstBox->SetItemIndex(selected);
        ShowDream(Session.File().GetVisibleRecord(selected + 1));
        // The record takes the new name at once, with the edits the editors show.
        StoreCurrentDream();
    } else {
        F.Message(ProgramText(3503, "Fout"), ProgramText(3504, "Droom bestaat al"));
    }
    F.UpdateStatus();
}

void TDiaryPanel::SetBusyLook(bool busy) {
    DrDiSearchForExpsBtn->SetCaption(busy ? ProgramText(3209, "Aan het zoeken naar mogelijke verklaringen...")
                                          : ProgramText(3208, "Zoek naar mogelijke verklaringen"));
    DrDiSearchForExpsBtn->Repaint();
    tk::Application().ProcessMessages();
}

void TDiaryPanel::DrDiSearchForExpsBtnClick() {
    DrDiExpsLstPnl->Hide();
    if ((F.ViewFlags & SearchBusy) != 0) return;
    F.ViewFlags |= SearchBusy;
    SetBusyLook(true);
    DrDiExpsLst->BeginUpdate();
    bool completed = false;
    if (F.SynonymList) {
        std::vector<std::string> found;
        const std::string description = DrDiRecText->Text();
        completed = SearchExplanations(description, *F.SynonymList, F.Records->Index(), found,
                                       [this] { return (F.ViewFlags & SearchBusy) != 0; });
        FVia.clear();
        FFirstExtra = -1;
        DrDiExpsPnlVia->SetCaption("");
        if (completed) {
            // The first pass stays as it is and comes first; the second follows its separator.
            TExplanations more = ExplainMore(description, Lookup(), Phrases(), found);
            for (const auto& via : more.ItemVia) FVia.push_back(JoinVia(via));
            if (!more.Extra.empty()) {
                found.push_back(kExtraSeparator);
                FVia.emplace_back();
                FFirstExtra = static_cast<int>(found.size());
                for (std::size_t k = 0; k < more.Extra.size(); ++k) {
                    found.push_back(more.Extra[k]);
                    FVia.push_back(JoinVia(more.ExtraVia[k]));
                }
            }
        }
        FVia.resize(found.size());
        DrDiExpsLst->SetItems(std::move(found));
    }
    if (completed) F.UpdateStatus();
    F.ViewFlags &= ~static_cast<unsigned>(SearchBusy);
    SetBusyLook(false);
    DrDiExpsLst->EndUpdate();
}

void TDiaryPanel::UpdateStatus(bool diary) {
    DrDiExpsLst->SetVisible(DrDiExpsLst->Count() > 0 && diary);
    // The dream controls work on the chosen dream; a diary that is only read takes no edits.
    const bool dream = diary && DrDiLstBox->ItemIndex() >= 0;
    const bool writable = !Session.ReadOnly();
    if (diary) {
        for (tk::TControl* c : std::initializer_list<tk::TControl*>{DrDiDeleteBtn, DrDiRenameBtn, DrDiDreamDateEdit,
                                                                    DrDiDreamTimeEdit, DrDiRecText, DrDiRecExpsText})
            c->SetEnabled(dream && writable);
        DrDiSearchForExpsBtn->SetEnabled(dream);
        DrDiExpsLst->SetEnabled(dream);
        DrDiAddBtn->SetEnabled(writable);
        DrDiOverviewBtn->SetEnabled(Session.IsOpen());
    }
    const std::string label = DrDiExpsLstLbl->Caption();
    const std::string prefix = label.substr(0, label.find(':') + 1);
    // The separator row is no explanation.
    const auto& rows = DrDiExpsLst->Items();
    const auto found =
        std::count_if(rows.begin(), rows.end(), [](const std::string& r) { return r != kExtraSeparator; });
    DrDiExpsLstLbl->SetCaption(prefix + " " + std::to_string(diary ? found : 0));
}

std::string TDiaryPanel::ExportDiary(const std::string& path, const std::string& name, bool html) {
    const tk::TCursor before = tk::Application().ScreenCursor;
    tk::Application().SetScreenCursor(tk::TCursor::HourGlass);
    std::string bytes;
    TDrDiRecFile diary;
    if (diary.LoadFromFile(path)) {
        diary.ShowAll();
        bytes = html ? DiaryHtml(diary, name, Lookup(), Phrases()) : DiaryText(diary, name, Lookup(), Phrases());
    }
    tk::Application().SetScreenCursor(before);
    return bytes;
}

TDiaryStats TDiaryPanel::Overview() {
    if (!Session.IsOpen()) return {};
    StoreCurrentDream();
    return DiaryStatistics(Session.File(), Lookup(), Phrases());
}

void TDiaryPanel::DrDiOverviewBtnClick() {
    if (!Session.IsOpen()) return;
    DrDiExpsLstPnl->Hide();
    const tk::TCursor before = tk::Application().ScreenCursor;
    tk::Application().SetScreenCursor(tk::TCursor::HourGlass);
    const TDiaryStats stats = Overview();
    tk::Application().SetScreenCursor(before);
    ShowDiaryOverview(Session.Name(), stats, &F.anImage);
    F.UpdateStatus();
}

void TDiaryPanel::FindDreamClick() {
    if (!Session.IsOpen() || !DreamDiaryPnl->Visible()) return;
    DrDiExpsLstPnl->Hide();
    // The search reads the diary: what the editors hold goes into it first.
    StoreCurrentDream();
    const std::int32_t n = FindInDiary(Session.File(), &F.anImage);
    if (n > 0) ShowFoundDream(n);
    F.UpdateStatus();
}

void TDiaryPanel::ShowFoundDream(std::int32_t n) {
    if (!Session.IsOpen() || n <= 0 || n > static_cast<std::int32_t>(DrDiLstBox->Items().size())) return;
    DrDiLstBox->SetItemIndex(static_cast<int>(n) - 1);
    DrDiLstBoxClick();
}

void TDiaryPanel::ShowFoundVia() {
    const int i = DrDiExpsLst->ItemIndex();
    if (i < 0 || i >= DrDiExpsLst->Count()) return;
    // A row without a record number (the separator) shows nothing and changes nothing.
    if (ItemRecordNumber(DrDiExpsLst->Items()[static_cast<std::size_t>(i)]) == 0) return;
    const std::string via = static_cast<std::size_t>(i) < FVia.size() ? FVia[static_cast<std::size_t>(i)] : "";
    DrDiExpsPnlVia->SetCaption(via.empty() ? "" : ProgramText(7023, "Gevonden via:") + " " + via);
}

const TSymbolLookup& TDiaryPanel::Lookup() {
    if (!FLookup)
        FLookup = std::make_unique<TSymbolLookup>(F.SynonymList ? *F.SynonymList : std::vector<std::string>{},
                                                  F.Records->Index());
    return *FLookup;
}

const std::vector<TPhrase>& TDiaryPanel::Phrases() {
    if (!FPhrasesLoaded) {
        FPhrases = LoadPhraseTable(F.Folder() + "D\\Phrases.dat");
        FPhrasesLoaded = true;
    }
    return FPhrases;
}

}  // namespace slumra

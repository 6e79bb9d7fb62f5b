// TDiaryPanel: the dream diary side of the main window: opening and closing a diary, the dream
// list and its editors, adding, deleting and renaming dreams, the search for explanations and
// the overlay that shows a found one. The open diary is a DiarySession: a save that fails keeps
// the panel open with every edit, and a damaged diary is never written over.
#pragma once

#include "diary/DiarySession.h"
#include "diary/DrDiFind.h"
#include "diary/ExpSearchExtra.h"
#include "toolkit/StdCtrls.h"
#include "widgets/Bk.h"
#include "widgets/MMBtns.h"

#include <memory>
#include <string>
#include <vector>

namespace slumra {

class TMainForm;

class TDiaryPanel {
public:
    // Makes the panel, hidden, on the main window's layout panel.
    explicit TDiaryPanel(TMainForm& form);

    tk::TPanel* DreamDiaryPnl;
    TBkControl* DreamDiaryBk;
    tk::TLabel* DrDiCaptionLbl;
    tk::TLabel* DrDiLstBoxLbl;
    tk::TComboBox* DrDiLstBox;
    tk::TLabel* DrDiDreamDateLbl;
    tk::TEdit* DrDiDreamDateEdit;
    tk::TLabel* DrDiDreamTimeLbl;
    tk::TEdit* DrDiDreamTimeEdit;
    tk::TLabel* DrDiRecTextLbl;
    tk::TMemo* DrDiRecText;
    tk::TLabel* DrDiRecExpTextLbl;
    tk::TMemo* DrDiRecExpsText;
    tk::TLabel* DrDiExpsLstHeaderLbl;
    tk::TListBox* DrDiExpsLst;
    // Shown while a diary that takes more than a moment is read and listed.
    tk::TGauge* DrDiProgress;
    tk::TLabel* DrDiExpsLstLbl;
    TBaseBtn* DrDiSearchForExpsBtn;
    TBaseBtn* DrDiAddBtn;
    TBaseBtn* DrDiDeleteBtn;
    TBaseBtn* DrDiRenameBtn;
    TBaseBtn* DrDiOverviewBtn;
    tk::TPanel* DrDiExpsLstPnl;
    TBkControl* DrDiExpsLstPnlBk;
    tk::TLabel* DrDiExpsPnlHeader;
    // "Gevonden via: ...": the words of the description that found the explanation shown.
    tk::TLabel* DrDiExpsPnlVia;
    TBaseBtn* DrDiExpsPnlQuitBtn;
    tk::TListBox* DrDiExpsLstPnlText;

    DiarySession Session;

    // Asks for a diary in the diary dialog and opens it.
    void OpenDiary();
    // Opens the diary file at `path` in the panel (what choosing it in the diary dialog does).
    void OpenDiaryFile(const std::string& path, bool readOnly = false);
    // Stores the editors and saves the diary. True when the diary is closed; false when the
    // save failed: the user has been told why and the panel stays open with every edit.
    bool CloseDiary();
    // Stores the editors and saves the diary without closing it; false (nothing told) on failure.
    [[nodiscard]] bool SaveDiary();
    void FillDreamList(ProgressSink* gauge = nullptr);
    void ShowDream(const DrDiRec& rec);
    void StoreCurrentDream();
    void DrDiLstBoxClick();
    void DrDiAddBtnClick();
    void DrDiDeleteBtnClick();
    void DrDiRenameBtnClick();
    void DrDiSearchForExpsBtnClick();
    void UpdateStatus(bool diary);
    // "Overzicht": counts the diary's symbols and months under the hourglass and shows them.
    void DrDiOverviewBtnClick();
    // The export of the diary file at `path` as an HTML page or text; empty when it cannot be read.
    std::string ExportDiary(const std::string& path, const std::string& name, bool html);
    // The overview of the open diary (its editors stored first).
    TDiaryStats Overview();
    // Ctrl+F: asks for words in the search window and shows the dream chosen there.
    void FindDreamClick();
    // Selects the dream of visible number n in the list and shows it, as choosing it there does.
    void ShowFoundDream(std::int32_t n);
    // Shows under the overlay's header the words that found the selected row of DrDiExpsLst.
    void ShowFoundVia();

    // The symbol lookup and phrase table both passes of the search use, made on first use from
    // the main window's synonyms and index and the program's D\Phrases.dat.
    const TSymbolLookup& Lookup();
    const std::vector<TPhrase>& Phrases();

    // The row of DrDiExpsLst between the first pass and the further possible explanations.
    static constexpr const char* kExtraSeparator = "|";

private:
    // True when the list's selection is the dream the editors show, the one to delete or rename.
    bool SelectedIsCurrentDream(int selected);
    void SetBusyLook(bool busy);
    TMainForm& F;
    std::unique_ptr<TSymbolLookup> FLookup;
    std::vector<TPhrase> FPhrases;
    bool FPhrasesLoaded = false;
    std::vector<std::string> FVia;  // per row of DrDiExpsLst: the words that found it
    int FFirstExtra = -1;           // the first row of the second pass, -1 without one
};

}  // namespace slumra

// TDiaryPanel: the dream diary side of the main window: opening and closing a diary, the dream
// list and its editors, adding, deleting and renaming dreams, the search for explanations and
// the overlay that shows a found one. The open diary is a DiarySession: a save that fails keeps
// the panel open with every edit, and a damaged diary is never written over.
#pragma once

#include "diary/DiarySession.h"
#include "toolkit/StdCtrls.h"
#include "widgets/Bk.h"
#include "widgets/MMBtns.h"

#include <string>

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
    tk::TLabel* DrDiExpsLstLbl;
    TBaseBtn* DrDiSearchForExpsBtn;
    TBaseBtn* DrDiAddBtn;
    TBaseBtn* DrDiDeleteBtn;
    TBaseBtn* DrDiRenameBtn;
    tk::TPanel* DrDiExpsLstPnl;
    TBkControl* DrDiExpsLstPnlBk;
    tk::TLabel* DrDiExpsPnlHeader;
    TBaseBtn* DrDiExpsPnlQuitBtn;
    tk::TListBox* DrDiExpsLstPnlText;

    DiarySession Session;

    // Asks for a diary in the diary dialog and opens it.
    void OpenDiary();
    // Opens the diary file at `path` in the panel (what choosing it in the diary dialog does).
    void OpenDiaryFile(const std::string& path);
    // Stores the editors and saves the diary. True when the diary is closed; false when the
    // save failed: the user has been told why and the panel stays open with every edit.
    bool CloseDiary();
    // Stores the editors and saves the diary without closing it; false (nothing told) on failure.
    [[nodiscard]] bool SaveDiary();
    void FillDreamList();
    void ShowDream(const DrDiRec& rec);
    void StoreCurrentDream();
    void DrDiLstBoxClick();
    void DrDiAddBtnClick();
    void DrDiDeleteBtnClick();
    void DrDiRenameBtnClick();
    void DrDiSearchForExpsBtnClick();
    void UpdateStatus(bool diary);

private:
    // True when the list's selection is the dream the editors show, the one to delete or rename.
    bool SelectedIsCurrentDream(int selected);
    void SetBusyLook(bool busy);
    TMainForm& F;
};

}  // namespace slumra

// TRecordView: the reference side of the main window: the content outline and the index that
// lead to a record, the record panel with its text and the subject picture, and copying the
// shown record to the clipboard.
#pragma once

#include "data/Find.h"
#include "data/Index.h"
#include "data/iDbRecs.h"
#include "toolkit/Controls.h"
#include "toolkit/Media.h"
#include "toolkit/Outline.h"
#include "toolkit/StdCtrls.h"
#include "widgets/Bk.h"
#include "widgets/MMBtns.h"
#include "widgets/ProImg.h"

#include <string>

namespace slumra {

class TMainForm;

class TRecordView {
public:
    // Makes the controls on the main window's layout panel (at the 640 × 480 design).
    explicit TRecordView(TMainForm& form);

    tk::TLabel* ContentIndexLbl;
    tk::TOutline* ContentLst;
    tk::TListBox* IndexLst;
    tk::TPanel* iDbRecTextPnl;
    TBkControl* iDbRecTextPnlBk;
    tk::TLabel* iDbRecHeader;
    tk::TListBox* iDbRecText;
    TBaseBtn* ToClipBrdBtn;
    TBaseBtn* PrintBtn;
    tk::TPanel* OrvelLogoPnl;
    tk::TAnimate* OrvelLogo;
    tk::TPanel* SubjectPicturePnl;
    TProportionalImage* SubjectPicture;

    // Builds the outline and the sorted index from the main window's records, and the search
    // through the whole dictionary.
    void LoadIndex();
    // The same with the index already built and sorted.
    void LoadIndex(TIndexLists index);
    // The outline and the sorted index the lists ContentLst and IndexLst show and the diary's
    // search reads.
    const TIndexLists& Index() const { return FIndex; }
    // Shows record n and selects it in the outline or the index, whichever is shown.
    void ShowRecordNumber(std::int32_t n);
    // The search window; shows what the user chooses there.
    void FindInDictionary();
    // The record shown before (or after) the current one.
    void GoBack();
    void GoForward();
    // Shows the symbol a name in braces on the record text's line `line` refers to.
    void FollowReference(int line);
    // Shows `rec` in the record panel, or, while the diary is open, in the diary's overlay.
    void ShowRecord(const iDbRecInfo& rec);
    void ContentLstSelect(int item);
    // Shows the record of the selected item of the index or of the diary's found explanations.
    void IndexLstSelect(tk::TControl* sender);
    // Moves the index to the next entry starting with the typed letter, then shows it.
    void IndexLstKeyUp(tk::TControl* sender, WORD key);
    void ContentLstMouseUp(int x, int y);
    void ToClipBrdBtnClick();
    // Prints the shown record on the printer the user chooses.
    void PrintBtnClick();
    // Switches between the outline and the index (the menu strip's first button).
    void SwitchOutlineIndex(TBaseBtn* button);
    // When no record could be read, says so in the record panel.
    void TellWhenEmpty();
    // Enables and shows what the current record allows.
    void UpdateStatus(bool diary);

    TIndexLists FIndex;
    TFindIndex FindIndex;
    // The dictionary search's index, built on its first use: a long dictionary starts at once.
    const TFindIndex& Finder();
    bool FindIndexReady = false;
    TRecordHistory History;

private:
    void ShowPictures(const std::string& category, const std::string& subcategory, const std::string& symbol);
    TMainForm& F;
};

}  // namespace slumra

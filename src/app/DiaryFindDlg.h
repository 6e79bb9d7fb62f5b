// TDiaryFindDialog: the search through one's own dreams. The list shows the dreams whose name,
// date, time, description or explanation hold every typed word (case and accents ignored) as
// the user types; Enter or a click chooses one.
#pragma once

#include "imaging/TMultiP.h"
#include "toolkit/Controls.h"
#include "toolkit/StdCtrls.h"
#include "widgets/Bk.h"
#include "widgets/MMBtns.h"

#include <cstdint>

namespace slumra {

class TDrDiRecFile;

class TDiaryFindDialog : public tk::TForm {
public:
    // 392 × 223 at the 640 × 480 design, skinned as the diary's dialogs; lists every dream.
    TDiaryFindDialog(TDrDiRecFile& diary, TPMultiImage* loader);

    TBkControl* Bk;
    tk::TLabel* HCaption;
    tk::TEdit* FindEdit;
    tk::TListBox* FoundLst;  // "n|name (date)", n the dream's visible number
    TBaseBtn* ShowBtn;
    TBaseBtn* CancelBtn;

    // Lists the dreams the text in the field finds.
    void FindEditChange();
    // The visible number of the dream chosen (0: none).
    std::int32_t Chosen() const { return FChosen; }

private:
    void Choose();
    TDrDiRecFile& FDiary;
    std::int32_t FChosen = 0;
    int FTopRow = 0;
};

// Shows the search window; answers the visible number of the dream chosen, or 0.
std::int32_t FindInDiary(TDrDiRecFile& diary, TPMultiImage* loader);

}  // namespace slumra

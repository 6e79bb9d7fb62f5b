// TFindDialog: the search through the whole dictionary. The user types a word or several; the
// list shows the matching symbols as they type, best first; Enter or a click chooses one.
#pragma once

#include "data/Find.h"
#include "imaging/TMultiP.h"
#include "toolkit/Controls.h"
#include "toolkit/StdCtrls.h"
#include "widgets/Bk.h"
#include "widgets/MMBtns.h"

#include <cstdint>

namespace slumra {

class TFindDialog : public tk::TForm {
public:
    // 392 × 223 at the 640 × 480 design, scaled and skinned as the diary's dialogs.
    TFindDialog(const TFindIndex& index, TPMultiImage* loader);

    TBkControl* Bk;
    tk::TLabel* HCaption;
    tk::TEdit* FindEdit;
    tk::TListBox* FoundLst;
    TBaseBtn* ShowBtn;
    TBaseBtn* CancelBtn;

    // Lists what the text in the field finds.
    void FindEditChange();
    // The record number chosen (0: none).
    std::int32_t Chosen() const { return FChosen; }

private:
    void Choose();
    const TFindIndex& FIndex;
    std::int32_t FChosen = 0;
    int FTopRow = 0;
};

// Shows the search window; answers the record number chosen, or 0.
std::int32_t FindInDictionary(const TFindIndex& index, TPMultiImage* loader);

}  // namespace slumra

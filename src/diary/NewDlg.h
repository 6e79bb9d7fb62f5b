// TNewDialog: the small modal dialog in the program's skin that asks for a name (of a diary or
// a dream), and AskName, which shows it.
#pragma once

#include "imaging/TMultiP.h"
#include "toolkit/Controls.h"
#include "toolkit/StdCtrls.h"
#include "widgets/Bk.h"
#include "widgets/MMBtns.h"

#include <string>

namespace slumra {

class TNewDialog : public tk::TForm {
public:
    // 312 × 113 at the 640 × 480 design, scaled to the program's design, skinned and rounded.
    explicit TNewDialog(TPMultiImage* loader = nullptr);

    TBkControl* Bk;
    tk::TLabel* HCaption;
    tk::TLabel* NewDlgMsg;
    tk::TEdit* NewDlgEdit;
    TBaseBtn* OkBtn;
    TBaseBtn* CancelBtn;

    // Enter acts as OkBtn, Escape as CancelBtn, without Shift, Ctrl or Alt.
    void FormKeyUp(tk::TControl* sender, WORD& key, unsigned shift);
    void OkBtnClick(tk::TControl* sender);
    void CancelBtnClick(tk::TControl* sender);
    // After every key release the field keeps only what a name may hold (see NameFilter).
    void NewDlgEditKeyUp(tk::TControl* sender, WORD& key, unsigned shift);
};

// Shows `caption` and `prompt` in a new name dialog and answers the name, filtered by
// NameFilter, after "Klaar" or Enter; an empty text when the dialog was cancelled or nothing
// usable was typed. Callers treat an empty name as cancelled. `loader` loads the skin.
// `maxLength` (when above 0) limits the name further; the dialog says so when it is reached.
std::string AskName(const std::string& caption, const std::string& prompt, TPMultiImage* loader = nullptr,
                    int maxLength = 0);

// The name dialog while AskName shows it, else null.
TNewDialog* NewDialog();

}  // namespace slumra

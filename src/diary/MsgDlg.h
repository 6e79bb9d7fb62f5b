// TMessageDialog: the small modal message box of the diary, in the program's skin, with up to
// two buttons; and AskMessage, which shows it.
#pragma once

#include "imaging/TMultiP.h"
#include "toolkit/Controls.h"
#include "widgets/Bk.h"
#include "widgets/MMBtns.h"

#include <string>

namespace slumra {

class TMessageDialog : public tk::TForm {
public:
    // 312 × 113 at the 640 × 480 design (tall: 163, room for twice the lines), scaled to the
    // program's design, skinned and rounded.
    explicit TMessageDialog(TPMultiImage* loader = nullptr, bool tall = false);

    TBkControl* Bk;
    tk::TLabel* HCaption;
    tk::TLabel* MsgDlgMsg;
    TBaseBtn* YesBtn;
    TBaseBtn* NoBtn;

    // Enter acts as YesBtn and Escape as NoBtn (without Shift, Ctrl or Alt), whether or not
    // that button is shown.
    void FormKeyUp(tk::TControl* sender, WORD& key, unsigned shift);
    void YesBtnClick(tk::TControl* sender);
    void NoBtnClick(tk::TControl* sender);
};

// Shows `caption` and `text` in a new message dialog. The left button carries `yesCaption`
// and the right one `noCaption`; each is shown only when its caption is not empty. True
// exactly when the dialog ended as the left button ends it (or by Enter). A plain message
// passes an empty yes caption and "OK"; a question passes "Ja" and "Nee".
bool AskMessage(const std::string& caption, const std::string& text, const std::string& yesCaption,
                const std::string& noCaption, TPMultiImage* loader = nullptr);

// The message dialog while AskMessage shows it, else null.
TMessageDialog* MessageDialog();

}  // namespace slumra

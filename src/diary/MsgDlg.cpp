#include "diary/MsgDlg.h"

#include "diary/DlgSkin.h"

#include <memory>

namespace slumra {

namespace {

TMessageDialog* gMessageDialog = nullptr;

constexpr unsigned kModifiers = tk::ssShift | tk::ssCtrl | tk::ssAlt;
// Every text shown is a short string.
constexpr std::size_t kMaxText = 255;
// The tall dialog's extra height at the smallest design: room for the longest text.
constexpr int kTallerBy = 50;

}  // namespace

TMessageDialog::TMessageDialog(TPMultiImage* loader, bool tall) : tk::TForm(L"SlumraMessageDialog") {
    const int more = tall ? kTallerBy : 0;
    Bk = DialogFrame(*this, 312, 113 + more);
    HCaption = new tk::TLabel(this);
    HCaption->AutoSize = false;
    HCaption->WordWrap = true;
    HCaption->SetBounds(10, 8, 290, 18);
    MsgDlgMsg = new tk::TLabel(this);
    MsgDlgMsg->AutoSize = false;
    MsgDlgMsg->WordWrap = true;
    MsgDlgMsg->SetBounds(10, 30, 290, 50 + more);
    YesBtn = DialogButton(this, 75, 90 + more, 110, "Ja", 5101);
    YesBtn->OnClick = [this](tk::TControl* s) { YesBtnClick(s); };
    NoBtn = DialogButton(this, 190, 90 + more, 110, "Nee", 5102);
    NoBtn->OnClick = [this](tk::TControl* s) { NoBtnClick(s); };
    OnKeyUp = [this](tk::TControl* s, WORD& key, unsigned shift) { FormKeyUp(s, key, shift); };
    (void)FinishDialog(*this, *Bk, loader, tall ? "abt" : "abs");
}

void TMessageDialog::FormKeyUp(tk::TControl*, WORD& key, unsigned shift) {
    if ((shift & kModifiers) != 0) return;
    if (key == VK_RETURN) {
        key = 0;
        YesBtnClick(YesBtn);
    } else if (key == VK_ESCAPE) {
        key = 0;
        NoBtnClick(NoBtn);
    }
}

void TMessageDialog::YesBtnClick(tk::TControl*) {
    ModalResult = 1;
}

void TMessageDialog::NoBtnClick(tk::TControl*) {
    ModalResult = 2;
}

bool AskMessage(const std::string& caption, const std::string& text, const std::string& yesCaption,
                const std::string& noCaption, TPMultiImage* loader) {
    try {
        // A text longer than the dialog's lines gets the tall one: no word of a message is cut.
        auto dialog = std::make_unique<TMessageDialog>(loader);
        dialog->MsgDlgMsg->SetCaption(text.substr(0, kMaxText));
        if (dialog->MsgDlgMsg->WrappedTextHeight() > dialog->MsgDlgMsg->Height()) {
            dialog = std::make_unique<TMessageDialog>(loader, true);
            dialog->MsgDlgMsg->SetCaption(text.substr(0, kMaxText));
        }
        TShownDialog<TMessageDialog> shown(gMessageDialog, dialog.get());
        dialog->SetCaption(caption.substr(0, kMaxText));
        dialog->HCaption->SetCaption(caption.substr(0, kMaxText));
        dialog->YesBtn->SetCaption(yesCaption.substr(0, kMaxText));
        dialog->YesBtn->SetVisible(!yesCaption.empty());
        dialog->NoBtn->SetCaption(noCaption.substr(0, kMaxText));
        dialog->NoBtn->SetVisible(!noCaption.empty());
        return dialog->ShowModal() == 1;
    } catch (...) {
        return false;
    }
}

TMessageDialog* MessageDialog() {
    return gMessageDialog;
}

}  // namespace slumra

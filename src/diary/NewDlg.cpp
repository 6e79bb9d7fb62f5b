#include "diary/NewDlg.h"

#include "diary/DlgSkin.h"
#include "diary/NameFilter.h"
#include "lang/TransLtrWin.h"

#include <memory>

namespace slumra {

namespace {

TNewDialog* gNewDialog = nullptr;

constexpr unsigned kModifiers = tk::ssShift | tk::ssCtrl | tk::ssAlt;
// Every text shown is a short string.
constexpr std::size_t kMaxText = 255;

}  // namespace

TNewDialog::TNewDialog(TPMultiImage* loader) : tk::TForm(L"SlumraNewDialog") {
    Bk = DialogFrame(*this, 312, 113);
    HCaption = new tk::TLabel(this);
    HCaption->AutoSize = false;
    HCaption->WordWrap = true;
    HCaption->SetBounds(10, 8, 290, 18);
    NewDlgMsg = new tk::TLabel(this);
    NewDlgMsg->AutoSize = false;
    NewDlgMsg->SetBounds(10, 26, 290, 18);
    NewDlgEdit = new tk::TEdit(this);
    NewDlgEdit->SetBounds(10, 48, 290, 22);
    NewDlgEdit->Font.SetName("Arial");
    NewDlgEdit->Font.SetColor(tk::clBlack);
    NewDlgEdit->SetMaxLength(static_cast<int>(kMaxNameLength));
    NewDlgEdit->TabOrder = 0;
    NewDlgEdit->OnKeyUp = [this](tk::TControl* s, WORD& key, unsigned shift) {
        NewDlgEditKeyUp(s, key, shift);
    };
    OkBtn = DialogButton(this, 75, 90, 110, "Klaar", 6101);
    OkBtn->OnClick = [this](tk::TControl* s) { OkBtnClick(s); };
    CancelBtn = DialogButton(this, 190, 90, 110, "Annuleren", 6102);
    CancelBtn->OnClick = [this](tk::TControl* s) { CancelBtnClick(s); };
    ActiveControl = NewDlgEdit;
    OnShow = [this](tk::TForm*) { TranslateProgramForm(this); };
    OnKeyUp = [this](tk::TControl* s, WORD& key, unsigned shift) { FormKeyUp(s, key, shift); };
    (void)FinishDialog(*this, *Bk, loader, "abs");
}

void TNewDialog::FormKeyUp(tk::TControl*, WORD& key, unsigned shift) {
    if ((shift & kModifiers) != 0) return;
    if (key == VK_RETURN) {
        key = 0;
        OkBtnClick(OkBtn);
    } else if (key == VK_ESCAPE) {
        key = 0;
        CancelBtnClick(CancelBtn);
    }
}

void TNewDialog::OkBtnClick(tk::TControl*) {
    ModalResult = 1;
}

void TNewDialog::CancelBtnClick(tk::TControl*) {
    ModalResult = 2;
}

void TNewDialog::NewDlgEditKeyUp(tk::TControl*, WORD&, unsigned) {
    const std::string text = NewDlgEdit->Text();
    const std::string name = NameFilter(text);
    if (name == text) return;
    // The caret stays behind the characters before it that were kept, so typing goes on where
    // it was rather than at the start of the field.
    DWORD caret = 0;
    SendMessageW(NewDlgEdit->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
    const std::size_t kept = NameFilter(text.substr(0, caret)).size();
    NewDlgEdit->SetText(name);
    SendMessageW(NewDlgEdit->Handle(), EM_SETSEL, kept, static_cast<LPARAM>(kept));
}

std::string AskName(const std::string& caption, const std::string& prompt, TPMultiImage* loader, int maxLength) {
    try {
        auto dialog = std::make_unique<TNewDialog>(loader);
        TShownDialog<TNewDialog> shown(gNewDialog, dialog.get());
        const int limit = maxLength > 0 ? std::min(maxLength, static_cast<int>(kMaxNameLength))
                                        : static_cast<int>(kMaxNameLength);
        dialog->NewDlgEdit->SetMaxLength(limit);
        dialog->NewDlgEdit->OnTooLong = [d = dialog.get(), limit](tk::TControl*) {
            d->NewDlgMsg->SetCaption(ProgramText(7260, "Een naam heeft ten hoogste ") + std::to_string(limit) +
                                     ProgramText(7261, " tekens."));
        };
        dialog->SetCaption(caption.substr(0, kMaxText));
        dialog->HCaption->SetCaption(caption.substr(0, kMaxText));
        dialog->NewDlgMsg->SetCaption(prompt.substr(0, kMaxText));
        if (dialog->ShowModal() != 1) return {};
        // Text can reach the field without a key release (pasted with the mouse), so the name
        // is filtered once more here: it becomes part of a file name.
        return NameFilter(dialog->NewDlgEdit->Text());
    } catch (...) {
        return {};
    }
}

TNewDialog* NewDialog() {
    return gNewDialog;
}

}  // namespace slumra

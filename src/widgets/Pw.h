// TPasswordDlg: the plain modal dialog that asks for the password of a protected table.
#pragma once

#include "toolkit/Controls.h"
#include "toolkit/StdCtrls.h"

#include <optional>
#include <string>

namespace slumra {

// A standard push button: a click with the mouse, or Space while it has the focus, fires OnClick.
class TDlgButton : public tk::TWinControl {
public:
    TDlgButton(tk::TWinControl* parent, const std::string& caption, bool isDefault);

protected:
    void CreateParams(CREATESTRUCTW& cs, std::wstring& className) override;
    bool Notification(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    std::wstring FCaption;
    bool FDefault;
};

// An edit that shows a "*" for every character.
class TPasswordEdit : public tk::TEdit {
public:
    explicit TPasswordEdit(tk::TWinControl* parent);

protected:
    void CreateHandle() override;
};

class TPasswordDlg : public tk::TForm {
public:
    // Client area 236 × 93 in a dialog frame, centred on the screen when first shown.
    TPasswordDlg();

    tk::TLabel* Lbl;
    TPasswordEdit* Password;
    TDlgButton* OKBtn;
    TDlgButton* CancelBtn;

    // Enter confirms (cancels while CancelBtn has the focus); Escape cancels.
    void FormKeyDown(tk::TControl* sender, WORD& key, unsigned shift);
    void OKBtnClick(tk::TControl* sender);
    void CancelBtnClick(tk::TControl* sender);

    // Empties Password, runs the dialog modally and answers what was typed after OK (possibly
    // empty), or nothing when the dialog was cancelled or closed in any other way.
    std::optional<std::string> Execute();

protected:
    void CreateParams(CREATESTRUCTW& cs, std::wstring& className) override;
};

// Asks for a password in a new dialog; see TPasswordDlg::Execute.
std::optional<std::string> AskPassword();

}  // namespace slumra

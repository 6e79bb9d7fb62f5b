#include "widgets/Pw.h"

#include "toolkit/Text.h"

namespace slumra {

namespace {

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kDialogExStyle = WS_EX_DLGMODALFRAME;

}  // namespace

// ---- TDlgButton ------------------------------------------------------------------------

TDlgButton::TDlgButton(tk::TWinControl* parent, const std::string& caption, bool isDefault)
    : tk::TWinControl(parent), FCaption(tk::Widen(caption)), FDefault(isDefault) {
    FOwnClass = false;
    TabStop = true;
}

void TDlgButton::CreateParams(CREATESTRUCTW& cs, std::wstring& className) {
    className = L"BUTTON";
    cs.style = WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | (FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    cs.dwExStyle = 0;
    cs.lpszName = FCaption.c_str();
}

bool TDlgButton::Notification(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
        Click();
        result = 0;
        return true;
    }
    return false;
}

// ---- TPasswordEdit ---------------------------------------------------------------------

TPasswordEdit::TPasswordEdit(tk::TWinControl* parent) : tk::TEdit(parent) {
    FExtraStyle = ES_AUTOHSCROLL | ES_PASSWORD;
}

void TPasswordEdit::CreateHandle() {
    tk::TEdit::CreateHandle();
    if (FHandle != nullptr) SendMessageW(FHandle, EM_SETPASSWORDCHAR, L'*', 0);
}

// ---- TPasswordDlg ----------------------------------------------------------------------

TPasswordDlg::TPasswordDlg() : tk::TForm(L"SlumraPasswordDlg") {
    Color = GetSysColor(COLOR_BTNFACE);
    Centered = true;
    KeyPreview = true;
    // Above the main window, which stays on top itself: a modal dialog hidden behind it would
    // leave the user with a program that takes no input at all.
    StayOnTop = true;
    Font.SetName("MS Sans Serif");
    Font.SetHeight(-11);
    Font.SetStyle(tk::fsBold);
    SetCaption("Password");
    RECT frame{0, 0, 236, 93};
    AdjustWindowRectEx(&frame, kDialogStyle, FALSE, kDialogExStyle);
    SetBounds(0, 0, frame.right - frame.left, frame.bottom - frame.top);

    Lbl = new tk::TLabel(this);
    Lbl->SetBounds(8, 9, 0, 0);
    Lbl->SetCaption("Enter password:");

    Password = new TPasswordEdit(this);
    Password->SetBounds(8, 27, 220, 20);
    Password->TabOrder = 0;

    OKBtn = new TDlgButton(this, "OK", true);
    OKBtn->SetBounds(66, 59, 77, 27);
    OKBtn->TabOrder = 1;
    OKBtn->OnClick = [this](tk::TControl* s) { OKBtnClick(s); };

    CancelBtn = new TDlgButton(this, "Cancel", false);
    CancelBtn->SetBounds(152, 59, 77, 27);
    CancelBtn->TabOrder = 2;
    CancelBtn->OnClick = [this](tk::TControl* s) { CancelBtnClick(s); };

    ActiveControl = Password;
    OnKeyDown = [this](tk::TControl* s, WORD& key, unsigned shift) { FormKeyDown(s, key, shift); };
}

void TPasswordDlg::CreateParams(CREATESTRUCTW& cs, std::wstring& className) {
    tk::TForm::CreateParams(cs, className);
    cs.style = kDialogStyle;
    cs.dwExStyle |= kDialogExStyle;
}

void TPasswordDlg::FormKeyDown(tk::TControl*, WORD& key, unsigned) {
    // Enter presses the button with the focus, as in any dialog; elsewhere it means OK.
    if (key == VK_RETURN) {
        key = 0;
        if (CancelBtn->Focused())
            CancelBtnClick(CancelBtn);
        else
            OKBtnClick(OKBtn);
    } else if (key == VK_ESCAPE) {
        key = 0;
        CancelBtnClick(CancelBtn);
    }
}

void TPasswordDlg::OKBtnClick(tk::TControl*) {
    ModalResult = IDOK;
}

void TPasswordDlg::CancelBtnClick(tk::TControl*) {
    Password->SetText("");
    ModalResult = IDCANCEL;
}

std::optional<std::string> TPasswordDlg::Execute() {
    Password->SetText("");
    ActiveControl = Password;  // typing starts in the field, wherever the focus was last time
    if (ShowModal() == IDOK) return Password->Text();
    // Closed by its frame or by the program: nothing typed may stay behind.
    Password->SetText("");
    return std::nullopt;
}

std::optional<std::string> AskPassword() {
    TPasswordDlg dialog;
    return dialog.Execute();
}

}  // namespace slumra

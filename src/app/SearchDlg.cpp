#include "app/SearchDlg.h"

#include "app/Skin.h"
#include "data/Index.h"
#include "diary/DlgSkin.h"
#include "toolkit/ListRows.h"
#include "widgets/Geometry.h"

namespace slumra {

namespace {

constexpr unsigned kModifiers = tk::ssShift | tk::ssCtrl | tk::ssAlt;

}  // namespace

TSearchDialog::TSearchDialog(const wchar_t* className, const SearchTexts& texts, int maxQuery,
                             TPMultiImage* loader)
    : tk::TForm(className) {
    SetCaption(texts.Caption);
    Bk = DialogFrame(*this, 392, 223);
    HCaption = new tk::TLabel(this);
    HCaption->AutoSize = false;
    HCaption->SetBounds(10, 8, 370, 18);
    HCaption->SetCaption(texts.Heading);
    FindEdit = new tk::TEdit(this);
    FindEdit->SetBounds(10, 30, 372, 22);
    FindEdit->Font.SetName("Arial");
    FindEdit->Font.SetColor(tk::clBlack);
    FindEdit->SetMaxLength(maxQuery);
    FindEdit->TabOrder = 0;
    FindEdit->OnChange = [this](tk::TControl*) { FindEditChange(); };
    FoundLst = new tk::TListBox(this);
    FoundLst->SetBounds(10, 58, 372, 136);
    FoundLst->SetItemHeight(17);
    TransparentList(FoundLst, 0);
    FoundLst->TabOrder = 1;
    FoundLst->OnDrawItem = [this](tk::TWinControl*, int i, const RECT& r, unsigned state) {
        tk::PaintTransparentRow(*FoundLst, FTopRow, FoundLst->TopIndex(), i < 0 || i == FoundLst->Count() - 1, r,
                                BkUnder(*Bk, *FoundLst), [&](tk::TCanvas& c) {
                                    if (i < 0 || i >= FoundLst->Count()) return;
                                    if ((state & tk::odSelected) != 0) c.Font.SetStyle(tk::fsBold);
                                    c.TextOut(5, 0, AfterBar(FoundLst->Items()[static_cast<std::size_t>(i)]));
                                });
    };
    FoundLst->OnMouseUp = [this](tk::TControl*, tk::TMouseButton, unsigned, int, int) { Choose(); };
    ShowBtn = DialogButton(this, 140, 198, 120, texts.Show, 0);
    ShowBtn->OnClick = [this](tk::TControl*) { Choose(); };
    CancelBtn = DialogButton(this, 260, 198, 120, texts.Close, 0);
    CancelBtn->OnClick = [this](tk::TControl*) { ModalResult = 2; };
    ActiveControl = FindEdit;
    OnKeyUp = [this](tk::TControl*, WORD& key, unsigned shift) {
        if ((shift & kModifiers) != 0) return;
        if (key == VK_RETURN) {
            key = 0;
            Choose();
        } else if (key == VK_ESCAPE) {
            key = 0;
            ModalResult = 2;
        } else if (key == VK_DOWN && FindEdit->Focused() && FoundLst->Count() > 0) {
            FoundLst->SetFocus();
            if (FoundLst->ItemIndex() < 0) FoundLst->SetItemIndex(0);
        }
    };
    const double rowFactor = FinishDialog(*this, *Bk, loader, "abd");
    FoundLst->SetItemHeight(RoundHalfEven(FoundLst->ItemHeight() * rowFactor));
}

void TSearchDialog::FindEditChange() {
    if (!Search) return;
    FoundLst->SetItems(Search(FindEdit->Text()));
    if (FoundLst->Count() > 0) FoundLst->SetItemIndex(0);
}

void TSearchDialog::Choose() {
    const int i = FoundLst->ItemIndex();
    if (i < 0 || i >= FoundLst->Count()) return;
    FChosen = ItemRecordNumber(FoundLst->Items()[static_cast<std::size_t>(i)]);
    if (FChosen != 0) ModalResult = 1;
}

}  // namespace slumra

#include "app/OverviewDlg.h"

#include "app/Skin.h"
#include "diary/DlgSkin.h"
#include "lang/TransLtr.h"
#include "toolkit/ListRows.h"
#include "widgets/Geometry.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace slumra {

namespace {

constexpr unsigned kModifiers = tk::ssShift | tk::ssCtrl | tk::ssAlt;

}  // namespace

int TSymbolChart::RowHeight() const {
    return std::max(1, Height() / 7);
}

int TSymbolChart::RowsShown() const {
    return std::min(static_cast<int>(Bars.size()), Height() / RowHeight());
}

RECT TSymbolChart::BarRect(int i) const {
    const int row = RowHeight();
    const int left = NameWidth() + 4;
    // The count stands behind the bar: room kept for it grows with the design.
    const int room = std::max(0, Width() - left - Width() / 6);
    const int most = Bars.empty() ? 1 : std::max(1, Bars.front().Count);
    const int count =
        i >= 0 && i < static_cast<int>(Bars.size()) ? Bars[static_cast<std::size_t>(i)].Count : 0;
    const int w = std::max(count > 0 ? 2 : 0, room * count / most);
    const int pad = std::max(2, row / 5);
    return {left, i * row + pad, left + w, (i + 1) * row - pad};
}

void TSymbolChart::Paint(tk::TCanvas& canvas) {
    if (!Visible()) return;
    canvas.Font = Font;
    canvas.Brush.SetStyle(tk::BrushStyle::Clear);
    const int row = RowHeight();
    for (int i = 0; i < RowsShown(); ++i) {
        const TSymbolCount& bar = Bars[static_cast<std::size_t>(i)];
        const int textTop = i * row + (row - canvas.TextHeight("Ag")) / 2;
        RECT name{0, i * row, NameWidth(), (i + 1) * row};
        canvas.TextRect(name, AfterBar(bar.Item), DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
        const RECT r = BarRect(i);
        canvas.Brush.SetStyle(tk::BrushStyle::Solid);
        canvas.Brush.SetColor(Font.Color());
        canvas.FillRect(r);
        canvas.Brush.SetStyle(tk::BrushStyle::Clear);
        canvas.TextOut(r.right + 4, textTop, std::to_string(bar.Count));
    }
}

TOverviewDialog::TOverviewDialog(const std::string& diaryName, const TDiaryStats& stats, TPMultiImage* loader)
    : tk::TForm(L"SlumraOverviewDialog") {
    SetCaption(ProgramText(7120, "Overzicht van het droomnachtboek"));
    Bk = DialogFrame(*this, 392, 223);
    HCaption = new tk::TLabel(this);
    HCaption->AutoSize = false;
    HCaption->SetBounds(10, 8, 372, 18);
    HCaption->SetCaption(ProgramText(7121, "Overzicht van het droomnachtboek \"") + diaryName +
                         ProgramText(7122, "\""));
    DreamsLbl = new tk::TLabel(this);
    DreamsLbl->AutoSize = false;
    DreamsLbl->SetBounds(10, 28, 372, 17);
    std::string dreams = ProgramText(7123, "Aantal dromen: ") + std::to_string(stats.Dreams);
    if (stats.Undated > 0)
        dreams += ProgramText(7124, " (zonder datum: ") + std::to_string(stats.Undated) + ProgramText(7125, ")");
    DreamsLbl->SetCaption(dreams);
    SymbolsLbl = new tk::TLabel(this);
    SymbolsLbl->AutoSize = false;
    SymbolsLbl->SetBounds(10, 50, 230, 17);
    SymbolsLbl->SetCaption(stats.Symbols.empty() ? ProgramText(7126, "Nog geen symbolen gevonden")
                                                  : ProgramText(7127, "Vaakst gevonden symbolen"));
    Chart = new TSymbolChart(this);
    Chart->SetBounds(10, 70, 230, 124);
    Chart->Bars.assign(stats.Symbols.begin(),
                       stats.Symbols.begin() + std::min<std::size_t>(stats.Symbols.size(), 7));
    MonthsLbl = new tk::TLabel(this);
    MonthsLbl->AutoSize = false;
    MonthsLbl->SetBounds(250, 50, 132, 17);
    MonthsLbl->SetCaption(ProgramText(7128, "Dromen per maand"));
    MonthsLst = new tk::TListBox(this);
    MonthsLst->SetBounds(250, 70, 132, 124);
    MonthsLst->SetItemHeight(17);
    TransparentList(MonthsLst, 0);
    std::vector<std::string> months;
    // The latest month first: that is what one looks for.
    for (auto m = stats.Months.rbegin(); m != stats.Months.rend(); ++m) {
        char line[40];
        std::snprintf(line, sizeof line, "%02d-%04d: %d", m->Month, m->Year, m->Count);
        months.emplace_back(line);
    }
    MonthsLst->SetItems(std::move(months));
    MonthsLst->OnDrawItem = [this](tk::TWinControl*, int i, const RECT& r, unsigned) {
        tk::PaintTransparentRow(*MonthsLst, FTopRow, MonthsLst->TopIndex(),
                                i < 0 || i == MonthsLst->Count() - 1, r, BkUnder(*Bk, *MonthsLst),
                                [&](tk::TCanvas& c) {
                                    if (i >= 0 && i < MonthsLst->Count())
                                        c.TextOut(5, 0, MonthsLst->Items()[static_cast<std::size_t>(i)]);
                                });
    };
    CloseBtn = DialogButton(this, 260, 198, 120, ProgramText(7129, "Sluiten"), 0);
    CloseBtn->OnClick = [this](tk::TControl*) { ModalResult = 2; };
    OnKeyUp = [this](tk::TControl*, WORD& key, unsigned shift) {
        if ((shift & kModifiers) == 0 && (key == VK_RETURN || key == VK_ESCAPE)) {
            key = 0;
            ModalResult = 2;
        }
    };
    const double rowFactor = FinishDialog(*this, *Bk, loader, "abd");
    MonthsLst->SetItemHeight(RoundHalfEven(MonthsLst->ItemHeight() * rowFactor));
}

void ShowDiaryOverview(const std::string& diaryName, const TDiaryStats& stats, TPMultiImage* loader) {
    try {
        auto dialog = std::make_unique<TOverviewDialog>(diaryName, stats, loader);
        (void)dialog->ShowModal();
    } catch (...) {
    }
}

}  // namespace slumra

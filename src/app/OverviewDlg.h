// TOverviewDialog: an overview of the open diary: how many dreams it holds, the symbols found
// most often over all of them as bars drawn over the skin, and the dreams per month.
#pragma once

#include "diary/DrDiFind.h"
#include "imaging/TMultiP.h"
#include "toolkit/Controls.h"
#include "toolkit/StdCtrls.h"
#include "widgets/Bk.h"
#include "widgets/MMBtns.h"

#include <string>
#include <vector>

namespace slumra {

// The bars of the symbols found most often: a name, a bar as long as its share of the largest
// count, and the count behind it; one row per symbol, as many as fit.
class TSymbolChart : public tk::TControl {
public:
    explicit TSymbolChart(tk::TWinControl* parent) : tk::TControl(parent) {}
    std::vector<TSymbolCount> Bars;
    // The rows that fit the chart's height.
    int RowsShown() const;
    // Where the bar of row i lies, in the chart's own coordinates.
    RECT BarRect(int i) const;
    void Paint(tk::TCanvas& canvas) override;

private:
    int RowHeight() const;
    int NameWidth() const { return Width() * 2 / 5; }
};

class TOverviewDialog : public tk::TForm {
public:
    // 392 × 223 at the 640 × 480 design, skinned as the diary's dialogs.
    TOverviewDialog(const std::string& diaryName, const TDiaryStats& stats, TPMultiImage* loader);

    TBkControl* Bk;
    tk::TLabel* HCaption;
    tk::TLabel* DreamsLbl;
    tk::TLabel* SymbolsLbl;
    TSymbolChart* Chart;
    tk::TLabel* MonthsLbl;
    tk::TListBox* MonthsLst;  // "mm-yyyy: n", then the dreams without a date
    TBaseBtn* CloseBtn;

private:
    int FTopRow = 0;
};

// Shows the overview of a diary.
void ShowDiaryOverview(const std::string& diaryName, const TDiaryStats& stats, TPMultiImage* loader);

}  // namespace slumra

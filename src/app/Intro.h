// TIntroForm: the splash window shown while the main window loads, with its status line and
// progress gauge.
#pragma once

#include "data/iDbRecs.h"
#include "toolkit/StdCtrls.h"
#include "widgets/Bk.h"

namespace slumra {

class TIntroForm : public tk::TForm {
public:
    TIntroForm();
    ~TIntroForm() override;

    tk::TPanel* BackgroundPnl;
    TBkControl* IntroFormImg;
    tk::TLabel* Text;
    tk::TGauge* Gauge;

    // Shows `text` in the status line and paints it at once.
    void SetStatus(const std::string& text);
};

// The splash window while it exists, else null; SplashShowing() says whether it does.
TIntroForm* SplashWindow();
bool SplashShowing();
// Shows the splash, making it first if there is none; failures are ignored.
void ShowSplash();
// Frees the splash window (the main window does when it is first shown).
void FreeSplash();

// The gauge of the splash as a loading progress sink. Steps are painted as they come, but at
// most every few hundredths of a second: painting each of a hundred steps would cost more
// than a short load itself.
class SplashProgress : public ProgressSink {
public:
    void Begin() override;
    void Progress(int percent) override;
    void End() override;

private:
    unsigned long FLastPaint = 0;
};

}  // namespace slumra

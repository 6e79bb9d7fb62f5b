#include "app/Intro.h"

#include "imaging/TMultiP.h"

#include <memory>

namespace slumra {

namespace {
std::unique_ptr<TIntroForm> gSplash;
bool gSplashShowing = false;
}  // namespace

TIntroForm::TIntroForm() : tk::TForm(L"SlumraIntro") {
    Color = tk::clBlack;
    StayOnTop = true;
    Centered = true;
    KeyPreview = true;
    Font.SetName("Comic Sans MS");
    Font.SetColor(tk::clWhite);
    Font.SetHeight(-8);
    SetBounds(0, 0, 282, 282);

    BackgroundPnl = new tk::TPanel(this);
    BackgroundPnl->SetBounds(0, 0, 282, 282);
    BackgroundPnl->Color = tk::clBlack;
    IntroFormImg = new TBkControl(BackgroundPnl);
    IntroFormImg->SetAlign(tk::TAlign::Client);
    IntroFormImg->Background.Brush.SetStyle(tk::BrushStyle::Clear);
    IntroFormImg->Background.Pen.SetWidth(2);
    IntroFormImg->Background.SetImageDrawStyle(TImageDrawStyle::idsCenter);
    Text = new tk::TLabel(BackgroundPnl);
    Text->AutoSize = false;
    Text->SetBounds(5, 255, 270, 12);
    Text->Font.SetName("Comic Sans MS");
    Text->Font.SetHeight(-9);
    Text->Font.SetColor(tk::clWhite);
    Text->SetCaption("Een ogenblik geduld, bezig met laden...");
    Gauge = new tk::TGauge(BackgroundPnl);
    Gauge->SetBounds(5, 270, 270, 4);
    Gauge->BackColor = tk::clBlack;
    Gauge->ForeColor = tk::clWhite;
    Gauge->ShowText = false;
    Gauge->SetProgress(0);

    tk::TBitmap art;
    if (LoadResourceBitmap("", tk::TScreen::BitsPerPixel() == 8 ? "Intro256" : "Intro", nullptr, art))
        IntroFormImg->Background.Image.Assign(art);
    gSplashShowing = true;
}

TIntroForm::~TIntroForm() {
    gSplashShowing = false;
}

void TIntroForm::SetStatus(const std::string& text) {
    Text->SetCaption(text);
    Text->Show();
    Text->Repaint();
}

TIntroForm* SplashWindow() {
    return gSplash.get();
}
bool SplashShowing() {
    return gSplashShowing;
}

void ShowSplash() {
    if (gSplashShowing && gSplash) {
        gSplash->Show();
        gSplash->BringToFront();
        return;
    }
    gSplash = std::make_unique<TIntroForm>();
    gSplash->Show();
}

void FreeSplash() {
    gSplash.reset();
}

void SplashProgress::Begin() {
    if (TIntroForm* s = SplashWindow()) s->Gauge->Show();
}

void SplashProgress::Progress(int percent) {
    const unsigned long now = GetTickCount();
    if (TIntroForm* s = SplashWindow()) {
        s->Gauge->SetProgress(percent);
        if (now - FLastPaint < 40 && percent < 100) return;
        s->Gauge->Repaint();
    }
    FLastPaint = now;
    tk::Application().ProcessMessages();
}

void SplashProgress::End() {
    if (TIntroForm* s = SplashWindow()) s->Gauge->Hide();
}

}  // namespace slumra

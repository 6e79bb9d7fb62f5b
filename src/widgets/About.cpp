#include "widgets/About.h"

#include "toolkit/Shell.h"

#include <memory>
#include <utility>

namespace slumra {

namespace {

TWebPageOpener& Opener() {
    static TWebPageOpener opener;
    return opener;
}

TAboutArtLoader& ArtLoader() {
    static TAboutArtLoader loader;
    return loader;
}

// The one about box. The application object is made first, so that it outlives the box when
// the program ends without FreeAboutBox: a control unregisters itself with it on destruction.
std::unique_ptr<TAboutBox>& Holder() {
    tk::Application();
    static std::unique_ptr<TAboutBox> box;
    return box;
}

bool OpenPage(const std::string& address) {
    return Opener() ? Opener()(address) : tk::OpenWebPage(address);
}

bool LoadArt(const std::string& name, HWND wnd, tk::TBitmap& target) {
    return ArtLoader() ? ArtLoader()(name, wnd, target) : LoadResourceBitmap("", name, wnd, target);
}

// A click area over a logo of the artwork: no face, no caption, no outline; a hand and a hint.
TBaseBtn* LinkArea(tk::TWinControl* parent, int left, int top, int width, int height, const char* hint) {
    auto* b = new TBaseBtn(parent);
    b->SetBounds(left, top, width, height);
    b->SetFaceVisible(false);
    b->SetCaptionPenVisible(true);
    b->SetCaptionXRound(0);
    b->SetCaptionYRound(0);
    b->Pen.SetStyle(tk::PenStyle::Clear);
    b->Cursor = tk::TCursor::AppStart;
    b->Hint = hint;
    b->ShowHint = true;
    return b;
}

}  // namespace

TAboutBox::TAboutBox() : tk::TForm(L"SlumraAboutBox") {
    Color = tk::clBlack;
    StayOnTop = true;
    Centered = true;
    KeyPreview = true;
    Cursor = tk::TCursor::Help;
    SetCaption("Slumra");
    SetBounds(0, 0, 331, 331);

    BkPanel = new tk::TPanel(this);
    BkPanel->SetBounds(1, 1, 329, 329);
    BkPanel->Color = tk::clBlack;
    BkPanel->Cursor = tk::TCursor::Help;

    AboutBoxImage = new TProportionalImage(BkPanel);
    AboutBoxImage->SetBounds(2, 2, 325, 325);
    AboutBoxImage->SetSx(100);
    AboutBoxImage->SetSy(100);
    AboutBoxImage->Background.Brush.SetColor(tk::clBlack);
    AboutBoxImage->Background.Pen.SetColor(tk::clWhite);
    AboutBoxImage->Background.SetImageDrawStyle(TImageDrawStyle::idsCenter);
    AboutBoxImage->SetEffects(false);
    AboutBoxImage->Font.SetName("Arial");
    AboutBoxImage->Font.SetStyle(tk::fsBold);
    AboutBoxImage->Font.SetHeight(20);
    AboutBoxImage->Font.SetColor(tk::clWhite);
    AboutBoxImage->Cursor = tk::TCursor::Help;

    OrvelSBtn = LinkArea(BkPanel, 211, 207, 78, 95, "Naar de website van de uitgever");
    OrvelSBtn->Tag = 18300;
    OrvelSBtn->OnClick = [this](tk::TControl* s) { OrvelSBtnClick(s); };
    VarnekSBtn = LinkArea(BkPanel, 40, 267, 130, 40, "Naar de website van de maker");
    VarnekSBtn->OnClick = [this](tk::TControl* s) { VarnekSBtnClick(s); };

    // The "X" of the main window's title row, in its light caption colour.
    QuitBtn = new TBaseBtn(BkPanel);
    QuitBtn->SetBounds(311, 3, 18, 18);
    QuitBtn->SetCaption("X");
    QuitBtn->SetFaceWidth(0.777);
    QuitBtn->SetFaceHeight(0.777);
    QuitBtn->SetCaptionXRound(1);
    QuitBtn->SetCaptionYRound(10);
    QuitBtn->SetShadowXOffset(0.02);
    QuitBtn->SetShadowYOffset(0.05);
    QuitBtn->SetCaptionXOffset(0.15);
    QuitBtn->Brush.SetColor(tk::clBlack);
    QuitBtn->Pen.SetColor(10747904);
    QuitBtn->Pen.SetMode(tk::PenMode::MaskPenNot);
    QuitBtn->SetShadowColor(tk::clBlack);
    QuitBtn->Font.SetName("Comic Sans MS");
    QuitBtn->Font.SetHeight(-11);
    QuitBtn->Font.SetColor(14869728);
    QuitBtn->Hint = "Sluiten";
    QuitBtn->ShowHint = true;
    QuitBtn->Hide();
    QuitBtn->OnClick = [this](tk::TControl* s) { QuitBtnClick(s); };

    OnCloseQuery = [this](tk::TForm* s, bool& canClose) { FormCloseQuery(s, canClose); };
    OnDeactivate = [this](tk::TForm* s) { FormDeactivate(s); };
    OnKeyUp = [this](tk::TControl* s, WORD& key, unsigned shift) { FormKeyUp(s, key, shift); };

    // The 256-colour picture only where the display has exactly 256 colours; deeper displays
    // and 16-colour ones take the full one.
    tk::TBitmap art;
    if (LoadArt(tk::TScreen::BitsPerPixel() == 8 ? "About256" : "About", Handle(), art))
        AboutBoxImage->Image.Assign(art);
}

TAboutBox::~TAboutBox() = default;

void TAboutBox::FormCloseQuery(tk::TForm*, bool& canClose) {
    QuitBtn->Hide();
    canClose = true;
}

void TAboutBox::FormDeactivate(tk::TForm*) {
    // Hiding the box deactivates it too; that needs no second close.
    if (Visible()) Close();
}

void TAboutBox::FormKeyUp(tk::TControl*, WORD& key, unsigned shift) {
    if ((key == VK_RETURN || key == VK_ESCAPE) && (shift & (tk::ssShift | tk::ssCtrl | tk::ssAlt)) == 0) {
        key = 0;
        Close();
    }
}

void TAboutBox::QuitBtnClick(tk::TControl*) {
    Close();
}

void TAboutBox::OrvelSBtnClick(tk::TControl*) {
    LeaveFor(kPublisherPage);
}

void TAboutBox::VarnekSBtnClick(tk::TControl*) {
    LeaveFor(kMakerPage);
}

// The browser comes up in front of an empty desktop: the box closes and the program steps
// aside, whether a browser was found or not.
void TAboutBox::LeaveFor(const char* address) {
    (void)OpenPage(address);
    Close();
    tk::Application().Minimize();
}

void ShowAboutBox() {
    // Showing is a courtesy; whatever goes wrong here must not take the caller down.
    try {
        std::unique_ptr<TAboutBox>& box = Holder();
        if (!box) box = std::make_unique<TAboutBox>();
        box->Show();
        box->BringToFront();
        SetForegroundWindow(box->Handle());
    } catch (...) {
    }
}

TAboutBox* AboutBox() {
    return Holder().get();
}

bool AboutBoxExists() {
    return AboutBox() != nullptr;
}

void FreeAboutBox() {
    Holder().reset();
}

void SetAboutWebPageOpener(TWebPageOpener opener) {
    Opener() = std::move(opener);
}

void SetAboutArtLoader(TAboutArtLoader loader) {
    ArtLoader() = std::move(loader);
}

}  // namespace slumra

// TAboutBox: the borderless square window with the about artwork and two invisible click areas
// over it that lead to the publisher's and the maker's web pages. There is one, made on first
// use and hidden, not destroyed, when it closes.
#pragma once

#include "imaging/TMultiP.h"
#include "toolkit/Controls.h"
#include "widgets/MMBtns.h"
#include "widgets/ProImg.h"

#include <functional>
#include <string>

namespace slumra {

// The addresses behind the two click areas.
inline constexpr const char* kPublisherPage = "http://www.slumra.nl/";
inline constexpr const char* kMakerPage = "http://www.slumra.nl/makers/";

class TAboutBox : public tk::TForm {
public:
    // Builds the window (331 × 331: a 329 × 329 client area in a one-pixel black border) and
    // loads the artwork; a missing picture leaves the image empty.
    TAboutBox();
    ~TAboutBox() override;

    tk::TPanel* BkPanel;
    TProportionalImage* AboutBoxImage;
    TBaseBtn* OrvelSBtn;   // over the publisher's logo
    TBaseBtn* VarnekSBtn;  // over the maker's logo
    TBaseBtn* QuitBtn;     // hidden unless the caller shows it

    // Every close hides QuitBtn first, so the next caller decides afresh whether it shows.
    void FormCloseQuery(tk::TForm* sender, bool& canClose);
    void FormDeactivate(tk::TForm* sender);
    void FormKeyUp(tk::TControl* sender, WORD& key, unsigned shift);
    void QuitBtnClick(tk::TControl* sender);
    void OrvelSBtnClick(tk::TControl* sender);
    void VarnekSBtnClick(tk::TControl* sender);

private:
    void LeaveFor(const char* address);
};

// Shows the about box, making it on first use, and brings it to the front; not modal.
void ShowAboutBox();
// The about box, or null while it does not exist.
TAboutBox* AboutBox();
bool AboutBoxExists();
// Destroys the about box; the program calls it when its message loop has ended.
void FreeAboutBox();

// Where the click areas send their addresses: tk::OpenWebPage, unless a test puts its own
// opener here (an empty function restores it).
using TWebPageOpener = std::function<bool(const std::string& address)>;
void SetAboutWebPageOpener(TWebPageOpener opener);

// Where the artwork comes from: LoadResourceBitmap on the program's own resources, unless a
// test puts its own loader here (an empty function restores it). Asked once, when the box is made.
using TAboutArtLoader = std::function<bool(const std::string& resourceName, HWND wnd, tk::TBitmap& target)>;
void SetAboutArtLoader(TAboutArtLoader loader);

}  // namespace slumra

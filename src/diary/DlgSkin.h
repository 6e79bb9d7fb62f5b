// What the diary's dialogs share: a borderless black window with round corners in the
// program's light Comic lettering, the skin tile behind everything, and flat text buttons.
#pragma once

#include "imaging/TMultiP.h"
#include "toolkit/Controls.h"
#include "widgets/Bk.h"
#include "widgets/MMBtns.h"

#include <string>

namespace slumra {

// Makes `form` a dialog of width × height (at the 640 × 480 design): no border, black, Comic
// Sans MS in the light text colour, keys previewed, centred, above the main window (which
// stays on top itself). Answers its background control, filling the form, made first so that
// every other control lies over it.
TBkControl* DialogFrame(tk::TForm& form, int width, int height);

// A flat text button of the program (TextButton), underlined while the mouse is over it and
// it is enabled.
TBaseBtn* DialogButton(tk::TWinControl* parent, int left, int top, int width, const std::string& caption,
                       int tag);
void BtnMouseIn(tk::TControl* sender);
void BtnMouseOut(tk::TControl* sender);

// The last steps of making a dialog, once its controls exist: scales it by the design of
// SizeClass(), gives `bk` the framed skin I\B\<framedSkin><design suffix> of the program's folder
// ("abs" for the name and message dialogs, "abd" for the diary dialog), or the tile I\B\abk
// where that is missing (through `loader`, or a loader of its own without one; no picture when
// neither exists), and cuts the window's rounded shape. Answers the factor by which the design grows list rows (1, 1.25
// or 1.6).
double FinishDialog(tk::TForm& form, TBkControl& bk, TPMultiImage* loader, const char* framedSkin);

// Holds `dialog` in `slot` while it is shown and puts the previous value back afterwards,
// however the showing ends.
template <typename T>
class TShownDialog {
public:
    TShownDialog(T*& slot, T* dialog) : FSlot(slot), FPrevious(slot) { FSlot = dialog; }
    ~TShownDialog() { FSlot = FPrevious; }
    TShownDialog(const TShownDialog&) = delete;
    TShownDialog& operator=(const TShownDialog&) = delete;

private:
    T*& FSlot;
    T* FPrevious;
};

}  // namespace slumra

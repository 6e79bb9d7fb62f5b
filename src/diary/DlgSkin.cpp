#include "diary/DlgSkin.h"

#include "app/Folders.h"
#include "app/Layout.h"
#include "app/Skin.h"
#include "data/Coding.h"
#include "data/Files.h"
#include "imaging/TMultiP.h"
#include "toolkit/Text.h"

namespace slumra {

namespace {

void LoadSkin(TBkControl& bk, TPMultiImage* given, const char* framed) {
    // The framed skin of the dialog's own size and design; the plain tile where it is missing.
    std::string path = ProgramFolder() + "I\\B\\" + framed + DesignSuffix(SizeClass());
    if (FileExists(path)) {
        bk.Background.SetImageDrawStyle(TImageDrawStyle::idsTopLeft);
    } else {
        path = ProgramFolder() + "I\\B\\abk";
        if (!FileExists(path)) return;
    }
    TPMultiImage local;
    TPMultiImage& loader = given != nullptr ? *given : local;
    loader.SetImageName(path);
    bk.Background.Image = loader.Picture;
    loader.SetImageName("");
}

void Underline(tk::TControl* sender, bool on) {
    auto* b = dynamic_cast<TBaseBtn*>(sender);
    if (b == nullptr) return;
    const unsigned style = b->Font.Style();
    b->Font.SetStyle(on ? style | tk::fsUnderline : style & ~static_cast<unsigned>(tk::fsUnderline));
}

}  // namespace

TBkControl* DialogFrame(tk::TForm& form, int width, int height) {
    form.Color = tk::clBlack;
    form.Centered = true;
    form.KeyPreview = true;
    form.StayOnTop = true;
    form.Cursor = tk::TCursor::Help;
    form.Font.SetName("Comic Sans MS");
    form.Font.SetHeight(-11);
    form.Font.SetColor(kTextColor);
    form.SetBounds(0, 0, width, height);
    auto* bk = new TBkControl(&form);
    bk->SetAlign(tk::TAlign::Client);
    bk->Background.Brush.SetStyle(tk::BrushStyle::Clear);
    bk->Background.Pen.SetStyle(tk::PenStyle::Clear);
    return bk;
}

TBaseBtn* DialogButton(tk::TWinControl* parent, int left, int top, int width, const std::string& caption,
                       int tag) {
    auto* b = new TBaseBtn(parent);
    TextButton(b, left, top, width, caption, "", tag);
    b->OnMouseIn = BtnMouseIn;
    b->OnMouseOut = BtnMouseOut;
    return b;
}

void BtnMouseIn(tk::TControl* sender) {
    if (sender != nullptr && sender->Enabled()) Underline(sender, true);
}

void BtnMouseOut(tk::TControl* sender) {
    // Also for a button that went disabled under the mouse (its diary was just deleted): the
    // underline must not stay behind.
    Underline(sender, false);
}

double FinishDialog(tk::TForm& form, TBkControl& bk, TPMultiImage* loader, const char* framedSkin) {
    int m = 1, d = 1;
    DesignScale(SizeClass(), m, d);
    if (m != d) form.ScaleBy(m, d);
    LoadSkin(bk, loader, framedSkin);
    // The window owns its shape from here on.
    form.SetRegion(CreateRoundRectRgn(0, 0, form.Width(), form.Height(), 40, 40));
    switch (DesignOf(SizeClass())) {
        case 1:
            return 1.25;
        case 2:
            return 1.6;
        default:
            return 1.0;
    }
}

}  // namespace slumra

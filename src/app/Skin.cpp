#include "app/Skin.h"

namespace slumra {

void TitleButton(TBaseBtn* b, int x, int y, const std::string& caption, const std::string& hint, int tag,
                 double captionX) {
    b->SetBounds(x, y, 18, 18);
    b->SetFaceWidth(0.777);
    b->SetFaceHeight(0.777);
    b->SetCaptionXRound(1);
    b->SetCaptionYRound(10);
    b->SetShadowXOffset(0.02);
    b->SetShadowYOffset(0.05);
    b->SetCaptionXOffset(captionX);
    b->Brush.SetColor(0);
    b->Pen.SetColor(10747904);
    b->Pen.SetMode(tk::PenMode::MaskPenNot);
    b->SetShadowColor(0);
    b->SetCaption(caption);
    b->Hint = hint;
    b->ShowHint = true;
    b->Tag = tag;
    b->Cursor = tk::TCursor::AppStart;
}

void TextButton(TBaseBtn* b, int x, int y, int width, const std::string& caption, const std::string& hint,
                int tag) {
    b->SetBounds(x, y, width, 18);
    b->SetFaceVisible(false);
    b->SetFaceWidth(0.9);
    b->SetFaceHeight(0.9);
    b->SetCaptionXOffset(0.05);
    b->Pen.SetStyle(tk::PenStyle::Clear);
    b->SetCaption(caption);
    b->Hint = hint;
    b->ShowHint = true;
    b->Tag = tag;
    b->Cursor = tk::TCursor::AppStart;
}

// A list that shows its owner's background through its rows.
void TransparentList(tk::TListBox* list, int tag) {
    list->Color = tk::clBlack;
    list->Cursor = tk::TCursor::AppStart;
    list->Tag = tag;
}

std::string AfterBar(std::string_view item) {
    const std::size_t bar = item.find('|');
    return std::string(bar == std::string_view::npos ? item : item.substr(bar + 1));
}

}  // namespace slumra

// TSearchDialog: the skinned search window that the dictionary search and the diary's dream
// search share. The user types a word or several; the list shows what they find as they type;
// Enter, "Tonen" or a click chooses one. What is searched, the derived window hands in.
#pragma once

#include "imaging/TMultiP.h"
#include "toolkit/Controls.h"
#include "toolkit/StdCtrls.h"
#include "widgets/Bk.h"
#include "widgets/MMBtns.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace slumra {

// The texts of one search window.
struct SearchTexts {
    std::string Caption;
    std::string Heading;
    std::string Show;
    std::string Close;
};

class TSearchDialog : public tk::TForm {
public:
    TBkControl* Bk;
    tk::TLabel* HCaption;
    tk::TEdit* FindEdit;
    tk::TListBox* FoundLst;  // "n|text", n the number Chosen() answers
    TBaseBtn* ShowBtn;
    TBaseBtn* CancelBtn;

    // Lists what the text in the field finds.
    void FindEditChange();
    // The number of the item chosen (0: none).
    std::int32_t Chosen() const { return FChosen; }

protected:
    // 392 × 223 at the 640 × 480 design, scaled and skinned as the diary's dialogs.
    TSearchDialog(const wchar_t* className, const SearchTexts& texts, int maxQuery, TPMultiImage* loader);
    // The rows ("n|text") that a query finds, in the order to show. Set by the derived window;
    // the field's changes before that find nothing.
    std::function<std::vector<std::string>(const std::string& query)> Search;

private:
    void Choose();
    std::int32_t FChosen = 0;
    int FTopRow = 0;
};

}  // namespace slumra

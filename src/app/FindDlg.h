// TFindDialog: the search through the whole dictionary. The list shows the matching symbols as
// the user types, best first; Enter or a click chooses one.
#pragma once

#include "app/SearchDlg.h"
#include "data/Find.h"

namespace slumra {

class TFindDialog : public TSearchDialog {
public:
    TFindDialog(const TFindIndex& index, TPMultiImage* loader);
};

// Shows the search window; answers the record number chosen, or 0.
std::int32_t FindInDictionary(const TFindIndex& index, TPMultiImage* loader);

}  // namespace slumra

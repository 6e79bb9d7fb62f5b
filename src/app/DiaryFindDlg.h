// TDiaryFindDialog: the search through one's own dreams. The list shows the dreams whose name,
// date, time, description or explanation hold every typed word (case and accents ignored) as
// the user types; Enter or a click chooses one.
#pragma once

#include "app/SearchDlg.h"

namespace slumra {

class TDrDiRecFile;

class TDiaryFindDialog : public TSearchDialog {
public:
    // Lists every dream to begin with; the rows are "n|name (date)", n the visible number.
    TDiaryFindDialog(TDrDiRecFile& diary, TPMultiImage* loader);
};

// Shows the search window; answers the visible number of the dream chosen, or 0.
std::int32_t FindInDiary(TDrDiRecFile& diary, TPMultiImage* loader);

}  // namespace slumra

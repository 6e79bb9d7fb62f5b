// Printing on the printer the user chooses in the platform's printer set-up dialog: a page over
// the printer's device context, and the two print jobs of the program.
#pragma once

#include "output/PrintLayout.h"

#include <windows.h>

#include <string>

namespace slumra {

inline constexpr const char* kRecordJobTitle = "Slumra";
inline constexpr const char* kDiaryJobTitle = "Afdrukken droomnachtboek";

// True when the system has at least one printer: printing is offered only then.
[[nodiscard]] bool AnyPrinterInstalled();

// Shows the printer set-up dialog owned by `owner`; when it is closed with OK, prints the
// interpretation in the face `fontName` (resolved like the screen's fonts). True when a job was
// printed to its end; false for no printer, a cancelled dialog or a failed job.
bool PrintRecordJob(HWND owner, const RecordPrint& record, const std::string& fontName = "Comic Sans MS");

// The same for the diary in the file `diaryPath`, read from the file after the dialog; a file
// that cannot be read prints its first page with the title only. `diary` gives the caption, the
// label captions and the page label; its title and dreams are filled in here.
bool PrintDiaryJob(HWND owner, const std::string& diaryPath, DiaryPrint diary,
                   const std::string& fontName = "Comic Sans MS");

}  // namespace slumra

#pragma once
// System functions whose libraries are loaded when they are first called instead of at
// start-up. The program needs the file dialogs, the printers and the sound device only when
// the user reaches for them, and loading those libraries (the print spooler above all) was a
// visible part of every start. A library that cannot be loaded makes its function fail as the
// function itself fails.

#include "toolkit/Win.h"

#include <commdlg.h>
#include <mmsystem.h>

namespace slumra::tk::late {

// GetSaveFileNameW: FALSE when the library is missing, as for a cancelled dialog.
BOOL GetSaveFileName(OPENFILENAMEW* ofn);
// PrintDlgW: FALSE when the library is missing.
BOOL PrintDlg(PRINTDLGW* pd);
// mciSendCommandW: MCIERR_DEVICE_NOT_INSTALLED when the library is missing.
MCIERROR MciSendCommand(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR params);
// EnumPrintersW: FALSE with ERROR_MOD_NOT_FOUND when the library is missing.
BOOL EnumPrinters(DWORD flags, LPWSTR name, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed,
                  LPDWORD returned);

}  // namespace slumra::tk::late

// The clipboard: replacing its content with one plain text.
#pragma once

#include "toolkit/Win.h"

#include <string>

namespace slumra::tk {

// Puts `cp1252` (Windows-1252) on the clipboard as Unicode text, replacing what was there;
// false when the clipboard could not be opened or the memory not had.
[[nodiscard]] bool SetClipboardText(HWND owner, const std::string& cp1252);
// The clipboard's text as Windows-1252 (characters the code page lacks become "?"), or empty.
std::string ClipboardText(HWND owner);

}  // namespace slumra::tk

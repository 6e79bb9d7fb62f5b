// Text crosses the window boundary here: the program's texts are Windows-1252 bytes, the
// windows speak UTF-16. The conversion is explicit, so the program shows the same text on any
// system code page.
#pragma once

#include <string>
#include <string_view>

namespace slumra::tk {

std::wstring Widen(std::string_view cp1252);
// False (and `out` holding what fitted) when the text has characters Windows-1252 lacks.
[[nodiscard]] bool Narrow(std::wstring_view text, std::string& out);
// For texts that come from the program's own data, where nothing can be lost.
std::string NarrowLossy(std::wstring_view text);

}  // namespace slumra::tk

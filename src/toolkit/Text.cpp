#include "toolkit/Text.h"

#include "lang/Cp1252.h"

namespace slumra::tk {

std::wstring Widen(std::string_view cp1252) {
    const std::u16string wide = Cp1252ToUtf16(cp1252);
    return std::wstring(wide.begin(), wide.end());
}

bool Narrow(std::wstring_view text, std::string& out) {
    const std::u16string wide(text.begin(), text.end());
    return Utf16ToCp1252(wide, out);
}

std::string NarrowLossy(std::wstring_view text) {
    std::string out;
    for (wchar_t c : text) {
        unsigned char b = '?';
        if (!CodePointToCp1252(static_cast<char32_t>(c), b)) b = '?';
        out.push_back(static_cast<char>(b));
    }
    return out;
}

}  // namespace slumra::tk

// Windows-1252, the one character set of every text the program stores: conversions to and
// from UTF-16 (the window boundary) and UTF-8 (the content sources and the terminal).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace slumra {

// The Unicode code point of a Windows-1252 byte. The five unassigned bytes (81, 8D, 8F, 90,
// 9D hex) map to the C1 controls of the same value, as Windows itself maps them.
char32_t Cp1252ToCodePoint(unsigned char byte);

// The Windows-1252 byte of a code point; false when the code page has no such character.
[[nodiscard]] bool CodePointToCp1252(char32_t cp, unsigned char& byte);

std::u16string Cp1252ToUtf16(std::string_view text);
std::string Cp1252ToUtf8(std::string_view text);

// Both refuse input the code page cannot hold rather than replacing it: false, with the
// offset (in code units of the input) of the first character that does not fit.
[[nodiscard]] bool Utf16ToCp1252(std::u16string_view text, std::string& out,
                                 std::size_t* badOffset = nullptr);
[[nodiscard]] bool Utf8ToCp1252(std::string_view text, std::string& out, std::size_t* badOffset = nullptr);

// Case folding of Windows-1252 letters, as a case-insensitive list search compares them.
unsigned char Cp1252ToLower(unsigned char byte);
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

}  // namespace slumra

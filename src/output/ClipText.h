// The plain text an interpretation is copied to the clipboard as: its path as a heading, the
// text without reference braces, and a source line.
#pragma once

#include <string>

namespace slumra {

// The publisher's one-line notice at the foot of every copied interpretation.
inline constexpr const char* kPublisherNotice = "Uit het droomwoordenboek Slumra, www.slumra.nl";

// head: "category|subcategory|symbol" (null allowed); text: the interpretation (null allowed);
// caption: the main window's caption. Windows-1252 in and out.
std::string RecordClipboardText(const char* head, const char* text, const std::string& caption);

}  // namespace slumra

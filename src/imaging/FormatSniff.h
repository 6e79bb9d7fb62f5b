// Recognising a picture file by its first bytes, and the extension of a file name.
#pragma once

#include <string>
#include <string_view>

namespace slumra {

// The picture format the bytes start with: "BMP", "GIF", "JPEG", "PCX", "PNG" or "TIF"; empty
// when none of them. Pass at least the first 128 bytes where the file has them: PCX is only
// told apart from other data by the fields of its header.
std::string SniffFormat(std::string_view firstBytes);

// The extension of the last component of a path, dot included, in upper case (ASCII letters
// only): "C:\\Plaatjes\\Maan.pcx" gives ".PCX", "naam." gives ".", "C:\\a.b\\bestand" gives "".
// Both '\\' and '/' separate folders.
std::string UpperExtension(std::string_view path);

}  // namespace slumra

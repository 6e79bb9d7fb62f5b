// Recognising a picture file by its first bytes, and the extension of a file name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace slumra {

// The picture format the bytes start with: "BMP", "GIF", "JPEG", "PCX", "PNG" or "TIF"; empty
// when none of them. Pass at least the first 128 bytes where the file has them: PCX is only
// told apart from other data by the fields of its header.
std::string SniffFormat(std::string_view firstBytes);

// The width and height in pixels a picture file's header claims, read without decoding it, so
// that a picture too large to decode can be refused before the decoder allocates for it: PNG
// (IHDR), GIF (logical screen), BMP (info header), JPEG (first frame header), TIFF (first
// directory) and PCX (window). False when the format is none of these or the header is cut
// short or names no size.
bool SniffPictureSize(std::string_view bytes, std::uint32_t& width, std::uint32_t& height);

// The extension of the last component of a path, dot included, in upper case (ASCII letters
// only): "C:\\Plaatjes\\Maan.pcx" gives ".PCX", "naam." gives ".", "C:\\a.b\\bestand" gives "".
// Both '\\' and '/' separate folders.
std::string UpperExtension(std::string_view path);

}  // namespace slumra

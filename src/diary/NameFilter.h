// The names of diaries and dreams: which characters a typed name keeps, which names the file
// system refuses as file names, and how a diary file's name gives the diary's name.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace slumra {

// Longest name, in bytes (Windows-1252).
inline constexpr std::size_t kMaxNameLength = 255;

// The text cut to 255 bytes, then every byte removed that is not a space, a digit 0-9, a letter
// A-Z or a-z, or a byte from 80 to A5 hex. So a name never holds "|", ".", "\" or the accented
// letters C0..FF.
std::string NameFilter(std::string_view text);

// True when `name` + ".ddf" can be a diary's file of its own: not empty, not ending in a space
// (it would look the same as the name without it) and none of the device names Windows keeps
// for itself whatever the extension (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, in any case).
bool IsUsableDiaryName(std::string_view name);

// The diary name of a directory entry found with "*.ddf": the file name without its final
// ".ddf" (any case), so "Jan.oud.ddf" is the diary "Jan.oud". False for names that do not end
// in ".ddf" (the pattern also matches by short names) and for ".ddf" alone.
bool DiaryNameOfFile(std::string_view fileName, std::string& name);

}  // namespace slumra

// A diary written out for reading elsewhere: an HTML page or plain text, both UTF-8, each dream
// with its name, date, time, description, own explanation and the symbols the search finds.
#pragma once

#include "data/Files.h"
#include "diary/ExpSearchExtra.h"

#include <string>
#include <string_view>
#include <vector>

namespace slumra {

class TDrDiRecFile;

// Windows-1252 text as UTF-8 with &, <, >, " and ' written as entities.
std::string HtmlEscape(std::string_view cp1252);

// The visible dreams of `diary` as a page (lang="nl", inline style) or as text (UTF-8 with a
// byte order mark, CR LF line ends). `diaryName` is Windows-1252.
std::string DiaryHtml(TDrDiRecFile& diary, std::string_view diaryName, const TSymbolLookup& lookup,
                      const std::vector<TPhrase>& phrases);
std::string DiaryText(TDrDiRecFile& diary, std::string_view diaryName, const TSymbolLookup& lookup,
                      const std::vector<TPhrase>& phrases);

// Writes `bytes` to a new file beside `path`, flushes it and then replaces `path`: a failed
// write returns false (the reason in *why) and leaves an existing file as it was.
[[nodiscard]] bool WriteExport(const std::string& path, const std::string& bytes,
                               FileSystem& fs = RealFileSystem(), FileError* why = nullptr);

}  // namespace slumra

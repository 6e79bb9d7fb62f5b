// The data tool's commands around the diary: the phrase table of the second search pass, the
// search with its second pass, and the export of a diary.
#pragma once

#include "Content.h"

#include <string>

namespace slumra::content {

// content/phrases.txt, read and converted to Windows-1252 lines; problems (file:line) in
// out.errors. A missing file is an empty table.
std::vector<std::string> ReadPhraseSource(const std::string& contentDir, Findings& out);
// Checks the table: well-formed entries whose symbol is a symbol of the dictionary.
void CheckPhrases(const std::string& contentDir, const std::vector<Entry>& entries, Findings& out);
// The bytes of D\Phrases.dat: the entries, one a line, CR LF, comments and blank lines left out.
std::string PhraseBytes(const std::vector<std::string>& lines);

// `explain --extra DB SYN FILE`: the first pass, a line "--", the second pass. The phrase table
// is D\Phrases.dat beside SYN (none when it is missing).
int ExplainExtra(const std::string& db, const std::string& syn, const std::string& file);
// `export DB SYN DIARY --html OUT` or `--text OUT`.
int ExportDiary(const std::string& db, const std::string& syn, const std::string& diary, bool html,
                const std::string& out);

}  // namespace slumra::content

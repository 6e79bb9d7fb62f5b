// TransLtr: the program's texts in another language, taken from the language file D\UI.LNG.
// Every visible text has a number; components carry theirs in their Tag. This is the portable
// half: the language choice, single texts and the rules by which a component's texts change.
// The windows half (TransLtrWin.h) applies those rules to the toolkit's controls.
#pragma once

#include "lang/Tarvelin.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace slumra {

// The language of the texts built into the program: Dutch, by its international dialling code.
inline constexpr std::int32_t kDutchLanguage = 31;
// The one section of the language file the program uses.
inline constexpr std::string_view kProgramSection = "Program";

/*
 * The language file, a one-file table database (see Tarvelin.h), holds:
 *   "Contents"             columns "iCountry" (integer, a dialling code) and "sCountry"
 *                          (string, the language's name as table names spell it); a row per
 *                          language;
 *   "<section> (<name>)"   e.g. "Program (English)": columns "Tag" (integer), "Caption" and
 *                          "Hint" (strings); a row per text number.
 */

// The language chosen by dialling code: 44 until the start-up sets it (to 31, or to the code of
// a "/lang:" argument). Set once, before the first window is made.
extern std::int32_t LanguageCode;
// The language file's full path, set by the start-up.
extern std::string LanguageFile;

// The code a "/lang:CODE" argument asks for (any case; the last such argument counts), or
// `fallback` when there is none or its code is not a number from 1 to 9999. `args` are the
// arguments after the program's name.
std::int32_t LanguageFromArguments(const std::vector<std::string>& args, std::int32_t fallback);

// What the engine asks of the platform while a language file is read: the password of a
// protected file and the user's date forms. Empty members: such a file does not open, and
// dates take the portable forms.
struct TranslatorHooks {
    TPasswordPrompt OnPassword;
    TVDateFormatter OnDateForm;
};
void SetTranslatorHooks(TranslatorHooks hooks);

// One look into the language file: open, find the language's table, read rows, close (at
// destruction). Nothing is cached between lookups.
class TLanguageTable {
public:
    TLanguageTable();
    // Opens `path` and finds the table of `section` for the language `code`; false when the
    // file does not open or "Contents" has no row for the code (then nothing stays open).
    [[nodiscard]] bool Open(const std::string& path, std::string_view section, std::int32_t code);
    // "<section> (<language>)", once opened.
    const std::string& TableName() const { return FTable; }

    // The first row whose "Tag" reads as `tag` in decimal; 0 for none.
    std::int32_t FindTag(std::int32_t tag);
    // The "Caption" as a raw string cell (single texts and window captions).
    std::string CaptionString(std::int32_t row);
    // The same cell with its error flag: set when the cell runs past the end of the file.
    TVCell CaptionCell(std::int32_t row);
    // The "Caption" and "Hint" as text forms (components). A row past the prepared ones reads
    // empty.
    std::string Caption(std::int32_t row);
    std::string Hint(std::int32_t row);

private:
    TTVObject FEngine;
    std::string FTable;
};

// Text `number` of `section` in the chosen language, or `defaultText` when the file, the
// language or the number is missing, or the caption runs past the end of a damaged file. A
// found row gives its caption even when that is empty.
std::string TranslateText(std::int32_t number, std::string_view section, const std::string& path,
                          const std::string& defaultText);

// The text a caller shows: `dutch` while LanguageCode is 31 (the file is not touched), else
// text `number` of section "Program" of LanguageFile with `dutch` as the default.
std::string ProgramText(std::int32_t number, const std::string& dutch);

// How the translator treats a component.
enum class TComponentKind {
    Captioned,  // labels, buttons, panels: the caption of their row
    Listed,     // list box, combo box, ticker: entries from the rows after Tag + 1
    Paged,      // notebooks: page q from the row q * 1000 + Tag + 1
    Other,      // nothing but the hint
};

// The changes TranslateComponent makes to one component; unset members stay as they are.
struct TComponentTexts {
    std::optional<std::string> Caption;
    std::optional<std::string> Hint;
    // Listed: every entry when set at all; Paged: the pages that have a row.
    std::vector<std::optional<std::string>> Entries;
};

// The texts of a component of `kind` with `tag` and `count` entries (or pages). A tag of 0 or
// less changes nothing. With a row for the tag: the caption (Captioned) and the hint. Without:
// a list takes entry q from row r + q where row r has Tag + 1, a notebook page q from the row
// of q * 1000 + Tag + 1, and the hint from the last row so found.
TComponentTexts TranslateTexts(TLanguageTable& table, TComponentKind kind, std::int32_t tag, int count);

// Every text number the program asks for, and every Tag of its translated windows; a language
// file should hold a row for each.
std::span<const std::int32_t> ProgramTextNumbers();

}  // namespace slumra

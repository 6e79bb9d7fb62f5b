// The windows half of the translator: a window's texts, or one component's, from the language
// file; the engine's password prompt and the user's date forms; the language of the command line.
#pragma once

#include "lang/TransLtr.h"
#include "toolkit/Controls.h"

#include <string>
#include <string_view>

namespace slumra {

// Translates `component` from table `section` of the language file at `path` in the language
// LanguageCode: a window takes the caption of the row of its Tag and then translates every
// component it holds, parents before children; anything else is translated by itself. A file,
// language or row that is missing changes nothing, silently.
void TranslateForm(tk::TControl* component, std::string_view section, const std::string& path);

// One component (TranslateForm's step): labels, skinned buttons and panels take the caption
// of the row of their Tag, list boxes, combo boxes and tickers their entries from the rows
// after Tag + 1 when their Tag has no row; every control takes the row's hint. Outlines and
// editors take only the hint. A Tag of 0 or less is left alone.
void TranslateComponent(tk::TControl* component, TLanguageTable& table);

// What a window does when shown: TranslateForm with section "Program" and LanguageFile, unless
// LanguageCode is 31 (then the file is not touched).
void TranslateProgramForm(tk::TForm* form);

// The language this process was started in: the code of a "/lang:CODE" argument, else 31.
std::int32_t CommandLineLanguage();

// A moment in the user's regional date and time forms; the portable Dutch form for a moment
// Windows cannot write (years before 1601).
std::string WindowsDateForm(const TVDateTime& moment, TVDateForm form);

// Lets the engine ask for the password of a protected language file with the password dialog
// and write dates in the user's forms. Once at start-up, before the first lookup.
void InstallTranslatorHooks();

}  // namespace slumra

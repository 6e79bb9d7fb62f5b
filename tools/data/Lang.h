// The readable sources of the language file, content/lang/*.txt: one per language, and the
// language file D\UI.LNG made from them.
#pragma once

#include "Content.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace slumra::content {

struct LangText {
    std::string caption;  // Windows-1252
    std::string hint;
    int line = 0;
};

struct LangSource {
    std::string file;
    std::string name;  // the language as its table's name spells it: "English" in "Program (English)"
    std::int32_t code = 0;
    std::map<std::int32_t, LangText> texts;
};

// Reads every *.txt of `dir` in name order; problems that make a source unusable land in `errors`.
std::vector<LangSource> ReadLanguages(const std::string& dir, std::vector<Problem>& errors);

// Every number the program asks for must have a text in every language (errors); numbers it
// never asks for are worth a look (warnings).
void CheckLanguages(const std::vector<LangSource>& languages, std::vector<Problem>& errors,
                    std::vector<Problem>& warnings);

// The bytes of D\UI.LNG: "Contents" and one table "Program (<name>)" per language. False with
// `error` when a text cannot be stored.
bool LanguageFileBytes(const std::vector<LangSource>& languages, std::string& out, std::string& error);

// Reads `path` back as the program does, for every language: each text through TranslateText,
// each hint through the component lookup. Differences from the sources land in `errors`.
void VerifyLanguageFile(const std::string& path, const std::vector<LangSource>& languages,
                        std::vector<Problem>& errors);

// "slumra-data lang build|check|dump ...": `args` follow the word "lang". The exit code.
int LangCommand(const std::vector<std::string>& args);

}  // namespace slumra::content

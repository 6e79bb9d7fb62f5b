#include "DiaryCmds.h"

#include "data/Files.h"
#include "data/Index.h"
#include "data/Synonyms.h"
#include "data/iDbRecs.h"
#include "diary/DrDiExport.h"
#include "diary/DrDiRecs.h"
#include "diary/ExpSearch.h"
#include "diary/ExpSearchExtra.h"
#include "lang/Cp1252.h"

#include <cstdio>
#include <filesystem>
#include <set>

namespace slumra::content {

namespace fs = std::filesystem;

namespace {

int Fail(const std::string& where, const std::string& what) {
    std::fprintf(stderr, "slumra-data: %s: %s\n", where.c_str(), what.c_str());
    return 1;
}

void Print(const std::string& cp1252) {
    std::fputs(Cp1252ToUtf8(cp1252).c_str(), stdout);
}

// The database's index, sorted as the program sorts it, and the synonym lines.
bool LoadSearch(const std::string& db, const std::string& syn, TIndexLists& lists,
                std::vector<std::string>& synonyms, int& rc) {
    if (!FileExists(db)) {
        rc = Fail(db, "no such file");
        return false;
    }
    if (!FileExists(syn)) {
        rc = Fail(syn, "no such file");
        return false;
    }
    TiDbRecFile file;
    rc = file.LoadFromFile(db) ? 0 : Fail(db, "damaged or cut short");
    file.ShowAll();
    BuildIndexLists(file, lists);
    lists.SortIndex();
    synonyms = LoadSynonymList(syn);
    return true;
}

std::vector<TPhrase> PhrasesBeside(const std::string& syn) {
    return LoadPhraseTable((fs::path(syn).parent_path() / "Phrases.dat").string());
}

}  // namespace

std::vector<std::string> ReadPhraseSource(const std::string& contentDir, Findings& out) {
    const std::string path = (fs::path(contentDir) / "phrases.txt").string();
    std::string utf8, text;
    if (!FileExists(path)) return {};
    if (!ReadWholeFile(path, utf8)) {
        out.errors.push_back({path, "cannot be read"});
        return {};
    }
    std::vector<std::string> lines = SplitTextLines(utf8);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!Utf8ToCp1252(lines[i], text)) {
            out.errors.push_back({"phrases.txt:" + std::to_string(i + 1), "character outside Windows-1252"});
            text.clear();
        }
        lines[i] = text;
    }
    return lines;
}

void CheckPhrases(const std::string& contentDir, const std::vector<Entry>& entries, Findings& out) {
    const std::vector<std::string> lines = ReadPhraseSource(contentDir, out);
    std::set<std::string> heads;
    for (const Entry& e : entries)
        if (e.level == Level::Symbol) heads.insert(HeadWord(e.name));
    std::size_t count = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string where = "phrases.txt:" + std::to_string(i + 1);
        const std::size_t start = lines[i].find_first_not_of(" \t");
        if (start == std::string::npos || lines[i].compare(start, 2, ";;") == 0) continue;
        TPhrase phrase;
        std::string why;
        if (!ParsePhrase(lines[i], phrase, &why)) {
            out.errors.push_back({where, why});
            continue;
        }
        ++count;
        if (!phrase.Target.empty() && heads.count(phrase.Target) == 0)
            out.errors.push_back(
                {where, "\"" + Cp1252ToUtf8(phrase.Target) + "\" is the head word of no symbol"});
    }
    if (count > 0) out.info.push_back(std::to_string(count) + " entries in the phrase table");
}

std::string PhraseBytes(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) {
        TPhrase phrase;
        if (ParsePhrase(line, phrase)) bytes += line + "\r\n";
    }
    return bytes;
}

int ExplainExtra(const std::string& db, const std::string& syn, const std::string& file) {
    TIndexLists lists;
    std::vector<std::string> synonyms;
    int rc = 0;
    if (!LoadSearch(db, syn, lists, synonyms, rc)) return rc;
    std::string description;
    if (!ReadWholeFile(file, description)) return Fail(file, "cannot be read");
    std::vector<std::string> first;
    (void)SearchExplanations(description, synonyms, lists, first);
    const TExplanations found =
        ExplainMore(description, TSymbolLookup(synonyms, lists), PhrasesBeside(syn), first);
    for (const auto& item : found.Items) Print(item + "\n");
    std::printf("--\n");
    for (const auto& item : found.Extra) Print(item + "\n");
    return rc;
}

int ExportDiary(const std::string& db, const std::string& syn, const std::string& diaryPath, bool html,
                const std::string& out) {
    TIndexLists lists;
    std::vector<std::string> synonyms;
    int rc = 0;
    if (!LoadSearch(db, syn, lists, synonyms, rc)) return rc;
    if (!FileExists(diaryPath)) return Fail(diaryPath, "no such file");
    TDrDiRecFile diary;
    if (!diary.LoadFromFile(diaryPath))
        rc = Fail(diaryPath, "damaged or cut short; exporting what could be read");
    diary.ShowAll();
    std::string name;
    if (!Utf8ToCp1252(fs::path(diaryPath).stem().string(), name)) name = "?";
    const TSymbolLookup lookup(synonyms, lists);
    const std::vector<TPhrase> phrases = PhrasesBeside(syn);
    const std::string bytes =
        html ? DiaryHtml(diary, name, lookup, phrases) : DiaryText(diary, name, lookup, phrases);
    if (!WriteExport(out, bytes)) return Fail(out, "cannot be written");
    return rc;
}

}  // namespace slumra::content

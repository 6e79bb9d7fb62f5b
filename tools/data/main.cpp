// slumra-data: builds the program's data files from content/ and shows what they hold.
// Prints UTF-8; writes Windows-1252. Bad input: one line naming the file and the problem, exit 1.

#include "Content.h"
#include "Lang.h"

#include "data/Coding.h"
#include "data/Index.h"
#include "data/Synonyms.h"
#include "data/iDbRecs.h"
#include "diary/DrDiRecs.h"
#include "diary/ExpSearch.h"
#include "lang/Cp1252.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

using namespace slumra;
namespace fs = std::filesystem;

namespace {

int Usage() {
    std::fputs(
        "usage: slumra-data COMMAND ...\n"
        "  build [--content DIR] --out DIR   write DIR/D/iDbRecs.dat and DIR/D/Syn.dat\n"
        "  check [--content DIR]             validate the content sources\n"
        "  dump-db FILE                      every record: number, Id, path, text\n"
        "  index FILE                        the outline lines, a blank line, the sorted index\n"
        "  dump-diary FILE                   every dream of a diary file\n"
        "  samples [--content DIR]           run the explanation search over content/samples\n"
        "  generate COUNT FILE               write a database of COUNT generated records\n"
        "  lang build [--content DIR] --out FILE   write the language file from content/lang\n"
        "  lang check [--content DIR]        validate content/lang and read it back as the program does\n"
        "  lang dump FILE                    every language and text of a language file\n",
        stderr);
    return 2;
}

int Fail(const std::string& where, const std::string& what) {
    std::fprintf(stderr, "slumra-data: %s: %s\n", where.c_str(), what.c_str());
    return 1;
}

void Print(const std::string& cp1252) {
    std::fputs(Cp1252ToUtf8(cp1252).c_str(), stdout);
}

// Reads "--name VALUE" options after the command; false on anything unknown.
bool Options(int argc, char** argv, int first, std::map<std::string, std::string>& out) {
    for (int i = first; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--", 0) != 0 || i + 1 >= argc || out.count(arg.substr(2)) == 0) return false;
        out[arg.substr(2)] = argv[++i];
    }
    return true;
}

std::vector<content::Entry> ReadOrReport(const std::string& dir, bool& ok) {
    std::vector<content::Problem> errors;
    auto entries = content::ReadDictionary(dir, errors);
    for (const auto& p : errors)
        std::fprintf(stderr, "slumra-data: %s: %s\n", p.where.c_str(), p.what.c_str());
    ok = errors.empty();
    return entries;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    const std::string temp = path + ".new";
    FileSink sink(temp);
    bool ok = sink.IsOpen() && sink.Write(bytes.data(), bytes.size()) == bytes.size() && sink.Flush();
    ok = sink.Close() && ok;
    if (ok) ok = ReplaceFile(temp, path);
    if (!ok) RemoveFile(temp);
    return ok;
}

int Build(const std::string& contentDir, const std::string& outDir) {
    bool ok = false;
    const auto entries = ReadOrReport(contentDir + "/dictionary", ok);
    if (!ok) return 1;
    std::error_code ec;
    fs::create_directories(fs::path(outDir) / "D", ec);
    if (ec) return Fail(outDir, "cannot create the folder D: " + ec.message());
    const std::string db = (fs::path(outDir) / "D" / "iDbRecs.dat").string();
    const std::string syn = (fs::path(outDir) / "D" / "Syn.dat").string();
    if (!WriteFile(db, content::DatabaseBytes(entries))) return Fail(db, "cannot be written");
    if (!WriteFile(syn, content::SynonymBytes(entries))) return Fail(syn, "cannot be written");
    const auto symbols = std::count_if(entries.begin(), entries.end(), [](const content::Entry& e) {
        return e.level == content::Level::Symbol;
    });
    std::printf("%zu records, %ld symbols: %s, %s\n", entries.size(), static_cast<long>(symbols), db.c_str(),
                syn.c_str());
    return 0;
}

int Check(const std::string& contentDir) {
    bool ok = false;
    const auto entries = ReadOrReport(contentDir + "/dictionary", ok);
    std::vector<content::Problem> errors, warnings;
    content::CheckDictionary(entries, errors, warnings);
    for (const auto& p : warnings) std::printf("warning: %s: %s\n", p.where.c_str(), p.what.c_str());
    for (const auto& p : errors) std::printf("error: %s: %s\n", p.where.c_str(), p.what.c_str());
    std::size_t symbols = 0;
    std::map<std::string, int> perCategory;
    std::string category;
    for (const auto& e : entries) {
        if (e.level == content::Level::Category) category = Cp1252ToUtf8(e.name);
        if (e.level == content::Level::Symbol) ++symbols, ++perCategory[category];
    }
    std::printf("%zu records, %zu symbols in %zu categories; %zu errors, %zu warnings\n", entries.size(),
                symbols, perCategory.size(), errors.size(), warnings.size());
    return ok && errors.empty() ? 0 : 1;
}

bool LoadDb(const std::string& path, TiDbRecFile& file, int& rc) {
    if (!FileExists(path)) {
        rc = Fail(path, "no such file");
        return false;
    }
    rc = 0;
    if (!file.LoadFromFile(path))
        rc = Fail(path,
                  "damaged or cut short; " + std::to_string(file.RecordCount()) + " records could be read");
    file.ShowAll();
    return true;
}

int DumpDb(const std::string& path) {
    TiDbRecFile file;
    int rc = 0;
    if (!LoadDb(path, file, rc)) return rc;
    for (std::int32_t n = 1; n <= file.VisibleCount(); ++n) {
        const iDbRecInfo rec = file.GetVisibleRecord(n);
        std::printf("#%d Id %u: ", n, rec.Id);
        Print(rec.Head != nullptr ? rec.Head : "");
        std::printf("\n");
        for (const std::string& line : SplitTextLines(rec.Text != nullptr ? rec.Text : "")) {
            std::printf("    ");
            Print(line);
            std::printf("\n");
        }
    }
    return rc;
}

int Index(const std::string& path) {
    TiDbRecFile file;
    int rc = 0;
    if (!LoadDb(path, file, rc)) return rc;
    std::vector<std::string> outline, index;
    BuildIndexLists(file, outline, index);
    if (index.size() >= 2) SortIndex(index, 0, static_cast<int>(index.size()) - 1);
    for (const auto& l : outline) Print(l + "\n");
    std::printf("\n");
    for (const auto& l : index) Print(l + "\n");
    return rc;
}

int DumpDiary(const std::string& path) {
    if (!FileExists(path)) return Fail(path, "no such file");
    TDrDiRecFile diary;
    const bool ok = diary.LoadFromFile(path);
    diary.ShowAll();
    for (std::int32_t n = 1; n <= diary.VisibleCount(); ++n) {
        const DrDiRec rec = diary.GetVisibleRecord(n);
        std::string name, date, time;
        SplitPath(rec.Head.c_str(), name, date, time);
        std::printf("#%d Id %d\n", n, rec.Id);
        Print("  naam: " + name + "\n  datum: " + date + "\n  tijd: " + time + "\n  beschrijving:\n");
        for (const auto& l : SplitTextLines(rec.Description)) Print("    " + l + "\n");
        Print("  verklaring:\n");
        for (const auto& l : SplitTextLines(rec.Explanation)) Print("    " + l + "\n");
    }
    if (!ok)
        return Fail(path, "damaged or cut short; " + std::to_string(diary.Count()) + " dreams could be read");
    return 0;
}

int Samples(const std::string& contentDir) {
    bool ok = false;
    const auto entries = ReadOrReport(contentDir + "/dictionary", ok);
    if (!ok) return 1;
    TiDbRecFile db;
    const std::string dbBytes = content::DatabaseBytes(entries);
    MemorySource source(dbBytes);
    (void)db.LoadFromSource(source);
    std::vector<std::string> outline, index;
    BuildIndexLists(db, outline, index);
    if (index.size() >= 2) SortIndex(index, 0, static_cast<int>(index.size()) - 1);
    const std::vector<std::string> synonyms = SplitTextLines(content::SynonymBytes(entries));

    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& item : fs::directory_iterator(fs::path(contentDir) / "samples", ec))
        if (item.path().extension() == ".txt") files.push_back(item.path());
    if (ec || files.empty()) return Fail(contentDir + "/samples", "no samples");
    std::sort(files.begin(), files.end());

    std::vector<std::size_t> counts;
    std::map<std::string, int> unmatched;
    for (const auto& file : files) {
        std::string utf8, text;
        std::size_t bad = 0;
        if (!ReadWholeFile(file.string(), utf8)) return Fail(file.string(), "cannot be read");
        if (!Utf8ToCp1252(utf8, text, &bad)) return Fail(file.string(), "character outside Windows-1252");
        const auto found = SearchExplanations(text, synonyms, index);
        counts.push_back(found.size());
        std::printf("%s: %zu:", file.filename().string().c_str(), found.size());
        for (const auto& f : found) Print(" " + std::string(IndexKey(f)));
        std::printf("\n");
        for (const auto& word : CutWords(SplitTextLines(text))) {
            std::vector<std::string> hit;
            FindExplanations({word}, synonyms, index, hit);
            if (hit.empty() && word.size() >= 4) ++unmatched[word];
        }
    }
    std::vector<std::size_t> sorted = counts;
    std::sort(sorted.begin(), sorted.end());
    const double median = sorted.size() % 2 == 1 ? static_cast<double>(sorted[sorted.size() / 2])
                                                 : (static_cast<double>(sorted[sorted.size() / 2 - 1]) +
                                                    static_cast<double>(sorted[sorted.size() / 2])) /
                                                       2;
    const auto withHits = std::count_if(counts.begin(), counts.end(), [](std::size_t c) { return c > 0; });
    std::printf("\n%ld of %zu samples find at least one explanation; median %.1f\n",
                static_cast<long>(withHits), counts.size(), median);
    std::vector<std::pair<int, std::string>> top;
    for (const auto& [w, c] : unmatched) top.emplace_back(-c, w);
    std::sort(top.begin(), top.end());
    std::printf("words (4+ letters) that most often found nothing:");
    for (std::size_t i = 0; i < top.size() && i < 40; ++i)
        Print(" " + top[i].second + "(" + std::to_string(-top[i].first) + ")");
    std::printf("\n");
    return 0;
}

int Generate(const std::string& countText, const std::string& path) {
    char* end = nullptr;
    const long count = std::strtol(countText.c_str(), &end, 10);
    if (end == countText.c_str() || *end != '\0' || count < 0 || count > 10000000)
        return Fail(countText, "not a record count");
    std::vector<content::Entry> entries;
    const char* words[] = {"Maan", "Water", "Huis", "Trap", "Zee", "Bos", "Kat", "Sleutel", "Brug", "Vuur"};
    for (long i = 0; i < count; ++i) {
        content::Entry e;
        const long cat = i / 10000, sub = (i / 100) % 100;
        if (i % 10000 == 0)
            e.level = content::Level::Category;
        else if (i % 100 == 0)
            e.level = content::Level::Subcategory;
        else
            e.level = content::Level::Symbol;
        const std::string symbol = std::string(words[i % 10]) + std::to_string(i * 7919 % 100003);
        e.path = "Categorie " + std::to_string(cat);
        if (e.level != content::Level::Category) e.path += "|Deel " + std::to_string(sub);
        if (e.level == content::Level::Symbol) e.path += "|" + symbol;
        e.text = "Een gegenereerde duiding van " + symbol + ", om het laden te meten.\r\n\r\nTweede alinea.";
        entries.push_back(std::move(e));
    }
    if (!WriteFile(path, content::DatabaseBytes(entries))) return Fail(path, "cannot be written");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string cmd = argv[1];
    std::map<std::string, std::string> opt{{"content", "content"}, {"out", ""}};
    if (cmd == "build" || cmd == "check" || cmd == "samples") {
        if (!Options(argc, argv, 2, opt)) return Usage();
        if (cmd == "build") return opt["out"].empty() ? Usage() : Build(opt["content"], opt["out"]);
        return cmd == "check" ? Check(opt["content"]) : Samples(opt["content"]);
    }
    if (argc == 3 && cmd == "dump-db") return DumpDb(argv[2]);
    if (argc == 3 && cmd == "index") return Index(argv[2]);
    if (argc == 3 && cmd == "dump-diary") return DumpDiary(argv[2]);
    if (argc == 4 && cmd == "generate") return Generate(argv[2], argv[3]);
    if (cmd == "lang") return content::LangCommand(std::vector<std::string>(argv + 2, argv + argc));
    return Usage();
}

// slumra-data: builds the program's data files from content/ and shows what they hold.
// Prints UTF-8; writes Windows-1252. Bad input: one line naming the file and the problem, exit 1.

#include "Content.h"
#include "DiaryCmds.h"
#include "Lang.h"
#include "Judged.h"
#include "Pictures.h"
#include "Lang.h"

#include "data/Coding.h"
#include "data/Files.h"
#include "data/Find.h"
#include "data/Index.h"
#include "data/Synonyms.h"
#include "data/iDbRecs.h"
#include "diary/DrDiRecs.h"
#include "diary/ExpSearch.h"
#include "lang/Cp1252.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace slumra;
namespace fs = std::filesystem;

namespace {

int Usage() {
    std::fputs(
        "usage: slumra-data COMMAND ...\n"
        "  build [--content DIR] --out DIR   write DIR/D/iDbRecs.dat and DIR/D/Syn.dat\n"
        "  check [--content DIR] [--emoji DIR]\n"
        "                                    validate the content sources and the picture map\n"
        "  dump-db FILE                      every record: number, Id, path, text\n"
        "  index [--count] FILE              the outline lines, a blank line, the sorted index;\n"
        "                                    --count: only how many of each\n"
        "  explain DB SYN FILE               the explanation search over the description in FILE\n"
        "                                    (Windows-1252): the found items, number|name, in order\n"
        "  explain --extra DB SYN FILE       the same, a line --, then the second pass's items\n"
        "  export DB SYN DIARY (--html|--text) OUT\n"
        "                                    a diary as an HTML page or text (UTF-8) with its symbols\n"
        "  find DB SYN WORD...               the dictionary search: number|name, best first\n"
        "  dump-diary FILE                   every dream of a diary file\n"
        "  samples [--content DIR]           run the explanation search over content/samples;\n"
        "                                    recall and precision over the judged ones\n"
        "  pictures [--content DIR] [--emoji DIR]\n"
        "                                    the pictures to render: SVG, tab, file under the program\n"
        "  unmapped [--content DIR]          the symbols without a picture, as map lines\n"
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

// Reads "--name VALUE" options and "--flag" flags (a flag's value becomes "1") after the
// command; false on anything unknown.
bool Options(int argc, char** argv, int first, std::map<std::string, std::string>& out,
             const std::vector<std::string>& flags = {}) {
    for (int i = first; i < argc; ++i) {
        const std::string arg = argv[i];
        const std::string name = arg.substr(std::min<std::size_t>(2, arg.size()));
        if (arg.rfind("--", 0) != 0) return false;
        if (std::find(flags.begin(), flags.end(), name) != flags.end()) {
            out[name] = "1";
            continue;
        }
        if (i + 1 >= argc || out.count(name) == 0) return false;
        out[name] = argv[++i];
    }
    return true;
}

// The SVG folder of the picture set: as given, or where scripts/setup installs it beside the
// content folder's checkout; empty when it is not there.
std::string EmojiDir(const std::string& contentDir, const std::string& given) {
    if (!given.empty()) return given;
    const fs::path installed =
        fs::path(contentDir) / ".." / "build" / "emoji" / "node_modules" / "fluentui-emoji" / "icons" / "modern";
    std::error_code ec;
    return fs::is_directory(installed, ec) ? installed.lexically_normal().string() : std::string();
}

std::string MapFile(const std::string& contentDir) {
    return (fs::path(contentDir) / "pictures.txt").string();
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
    if (ok) ok = MoveFileReplacing(temp, path);
    if (!ok) RemoveFile(temp);
    return ok;
}

int Build(const std::string& contentDir, const std::string& outDir) {
    bool ok = false;
    const auto entries = ReadOrReport(contentDir + "/dictionary", ok);
    if (!ok) return 1;
    content::Findings phraseProblems;
    content::CheckPhrases(contentDir, entries, phraseProblems);
    if (!phraseProblems.errors.empty()) return Fail(phraseProblems.errors[0].where, phraseProblems.errors[0].what);
    const auto phrases = content::ReadPhraseSource(contentDir, phraseProblems);
    std::error_code ec;
    fs::create_directories(fs::path(outDir) / "D", ec);
    if (ec) return Fail(outDir, "cannot create the folder D: " + ec.message());
    const std::string db = (fs::path(outDir) / "D" / "iDbRecs.dat").string();
    const std::string syn = (fs::path(outDir) / "D" / "Syn.dat").string();
    const std::string phr = (fs::path(outDir) / "D" / "Phrases.dat").string();
    if (!WriteFile(db, content::DatabaseBytes(entries))) return Fail(db, "cannot be written");
    if (!WriteFile(syn, content::SynonymBytes(entries))) return Fail(syn, "cannot be written");
    if (!WriteFile(phr, content::PhraseBytes(phrases))) return Fail(phr, "cannot be written");
    const auto symbols = std::count_if(entries.begin(), entries.end(), [](const content::Entry& e) {
        return e.level == content::Level::Symbol;
    });
    std::printf("%zu records, %ld symbols: %s, %s\n", entries.size(), static_cast<long>(symbols), db.c_str(),
                syn.c_str());
    return 0;
}

int Check(const std::string& contentDir, const std::string& emojiDir) {
    bool ok = false;
    const auto entries = ReadOrReport(contentDir + "/dictionary", ok);
    content::Findings found;
    content::CheckDictionary(entries, found);
    content::CheckPhrases(contentDir, entries, found);
    const auto map = content::ReadPictureMap(MapFile(contentDir), found.errors);
    content::CheckPictureMap(map, "pictures.txt", entries, emojiDir, found);
    for (const auto& p : found.warnings) std::printf("warning: %s: %s\n", p.where.c_str(), p.what.c_str());
    for (const auto& p : found.errors) std::printf("error: %s: %s\n", p.where.c_str(), p.what.c_str());
    for (const auto& line : found.info) std::printf("info: %s\n", line.c_str());
    std::size_t symbols = 0;
    std::map<std::string, int> perCategory;
    std::string category;
    for (const auto& e : entries) {
        if (e.level == content::Level::Category) category = Cp1252ToUtf8(e.name);
        if (e.level == content::Level::Symbol) ++symbols, ++perCategory[category];
    }
    std::printf("%zu records, %zu symbols in %zu categories; %zu errors, %zu warnings\n", entries.size(),
                symbols, perCategory.size(), found.errors.size(), found.warnings.size());
    return ok && found.errors.empty() ? 0 : 1;
}

int Pictures(const std::string& contentDir, const std::string& emojiDir) {
    bool ok = false;
    const auto entries = ReadOrReport(contentDir + "/dictionary", ok);
    std::vector<content::Problem> errors;
    const auto map = content::ReadPictureMap(MapFile(contentDir), errors);
    for (const auto& p : errors) std::fprintf(stderr, "slumra-data: %s: %s\n", p.where.c_str(), p.what.c_str());
    if (!ok || !errors.empty()) return 1;
    if (emojiDir.empty()) return 0;
    std::map<std::string, std::string> heads;
    for (const auto& e : entries)
        if (e.level == content::Level::Symbol) heads.emplace(e.name, e.path);
    for (const auto& p : map) {
        const auto head = heads.find(p.symbol);
        if (head == heads.end()) continue;
        const std::string file = content::PictureFile(head->second);
        const fs::path svg = fs::path(emojiDir) / (p.picture + ".svg");
        std::error_code ec;
        if (file.empty() || !fs::is_regular_file(svg, ec)) continue;
        std::printf("%s\t", svg.string().c_str());
        Print(file + "\n");
    }
    return 0;
}

int Unmapped(const std::string& contentDir) {
    bool ok = false;
    const auto entries = ReadOrReport(contentDir + "/dictionary", ok);
    std::vector<content::Problem> errors;
    const auto map = content::ReadPictureMap(MapFile(contentDir), errors);
    for (const auto& p : errors) std::fprintf(stderr, "slumra-data: %s: %s\n", p.where.c_str(), p.what.c_str());
    if (!ok || !errors.empty()) return 1;
    std::set<std::string> mapped;
    for (const auto& p : map) mapped.insert(p.symbol);
    std::size_t symbols = 0, missing = 0;
    std::string place;
    for (const auto& e : entries) {
        if (e.level != content::Level::Symbol) continue;
        ++symbols;
        if (mapped.count(e.name) != 0) continue;
        ++missing;
        const std::string where = e.path.substr(0, e.path.rfind('|'));
        if (where != place) Print(";; " + where + "\n");
        place = where;
        Print(e.name + " = \n");
    }
    std::printf(";; %zu of %zu symbols have no picture\n", missing, symbols);
    return 0;
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

int Index(const std::string& path, bool countOnly = false) {
    TiDbRecFile file;
    int rc = 0;
    if (!LoadDb(path, file, rc)) return rc;
    TIndexLists lists;
    BuildIndexLists(file, lists);
    lists.SortIndex();
    if (countOnly) {
        std::printf("outline lines: %zu\nindex items: %zu\n", lists.OutlineCount(), lists.IndexCount());
        return rc;
    }
    for (std::size_t i = 0; i < lists.OutlineCount(); ++i) Print(std::string(lists.OutlineLine(i)) + "\n");
    std::printf("\n");
    for (std::size_t i = 0; i < lists.IndexCount(); ++i) Print(std::string(lists.IndexItem(i)) + "\n");
    return rc;
}

// The program's own search, over its own index and synonym list.
int Explain(const std::string& dbPath, const std::string& synPath, const std::string& textPath) {
    TiDbRecFile file;
    int rc = 0;
    if (!LoadDb(dbPath, file, rc)) return rc;
    std::string description;
    if (!ReadWholeFile(textPath, description)) return Fail(textPath, "cannot be read");
    if (!FileExists(synPath)) return Fail(synPath, "no such file");
    TIndexLists lists;
    BuildIndexLists(file, lists);
    lists.SortIndex();
    const std::vector<std::string> synonyms = LoadSynonymList(synPath);
    std::vector<std::string> found;
    (void)SearchExplanations(description, synonyms, lists, found);
    for (const auto& item : found) Print(item + "\n");
    return rc;
}

// The main window's dictionary search over the words given (UTF-8).
int Find(const std::string& dbPath, const std::string& synPath, const std::vector<std::string>& words) {
    TiDbRecFile file;
    int rc = 0;
    if (!LoadDb(dbPath, file, rc)) return rc;
    if (!FileExists(synPath)) return Fail(synPath, "no such file");
    std::string query, word;
    for (const auto& w : words) {
        if (!Utf8ToCp1252(w, word)) return Fail(w, "character outside Windows-1252");
        query += (query.empty() ? "" : " ") + word;
    }
    TFindIndex index;
    index.Build(file, LoadSynonymList(synPath));
    for (const std::int32_t n : index.Find(query))
        Print(std::to_string(n) + "|" + std::string(index.SymbolName(n)) + "\n");
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

    std::map<std::string, std::vector<std::string>> groups;  // symbol name: head word and synonyms
    for (const auto& e : entries) {
        if (e.level != content::Level::Symbol) continue;
        auto& group = groups[e.name];
        group.push_back(content::HeadWord(e.name));
        group.insert(group.end(), e.synonyms.begin(), e.synonyms.end());
    }

    std::vector<std::size_t> counts;
    std::map<std::string, int> unmatched;
    std::vector<std::string> unjudged;
    content::Score total;
    std::size_t judgedSamples = 0;
    for (const auto& file : files) {
        std::string utf8, text;
        std::size_t bad = 0;
        if (!ReadWholeFile(file.string(), utf8)) return Fail(file.string(), "cannot be read");
        if (!Utf8ToCp1252(utf8, text, &bad)) return Fail(file.string(), "character outside Windows-1252");
        const content::Sample sample = content::SplitSample(text);
        const auto found = SearchExplanations(sample.description, synonyms, index);
        counts.push_back(found.size());
        std::printf("%s: %zu:", file.filename().string().c_str(), found.size());
        for (const auto& f : found) Print(" " + std::string(IndexKey(f)));
        std::printf("\n");
        for (const auto& problem : sample.problems) std::printf("    warning: %s\n", problem.c_str());
        if (sample.isJudged) {
            std::vector<std::string> foundNames;
            std::vector<std::vector<std::string>> foundGroups;
            for (const auto& f : found) {
                foundNames.emplace_back(IndexKey(f));
                const auto g = groups.find(foundNames.back());
                foundGroups.push_back(g != groups.end() ? g->second : std::vector<std::string>{});
            }
            const content::Score score = content::ScoreSample(sample, foundNames, foundGroups);
            total += score;
            ++judgedSamples;
            std::printf("    recall %s, precision %s", content::Ratio(score.judgedFound, score.judged).c_str(),
                        content::Ratio(score.foundRelevant, score.found).c_str());
            std::string notes;
            for (const auto& w : score.missed) notes += (notes.empty() ? "; not found: " : ", ") + w;
            for (std::size_t i = 0; i < score.noVerdict.size(); ++i) notes += (i == 0 ? "; no verdict: " : ", ") + score.noVerdict[i];
            for (std::size_t i = 0; i < score.stale.size(); ++i) notes += (i == 0 ? "; verdict on a symbol not found: " : ", ") + score.stale[i];
            Print(notes + "\n");
        } else {
            unjudged.push_back(file.filename().string());
        }
        for (const auto& word : CutWords(SplitTextLines(sample.description))) {
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
    std::printf("%zu judged samples: recall %s, precision %s\n", judgedSamples,
                content::Ratio(total.judgedFound, total.judged).c_str(),
                content::Ratio(total.foundRelevant, total.found).c_str());
    std::printf("    precision by the @ lines alone %s; %zu found symbols have no verdict (neither @, + nor -)\n",
                content::Ratio(total.foundJudged, total.found).c_str(), total.noVerdict.size());
    std::map<std::string, int> missedCount;
    for (const auto& w : total.missed) ++missedCount[w];
    std::vector<std::pair<int, std::string>> missedTop;
    for (const auto& [w, c] : missedCount) missedTop.emplace_back(-c, w);
    std::sort(missedTop.begin(), missedTop.end());
    if (!missedTop.empty()) {
        std::printf("judged words most often not found:");
        for (std::size_t i = 0; i < missedTop.size() && i < 30; ++i)
            Print(" " + missedTop[i].second + "(" + std::to_string(-missedTop[i].first) + ")");
        std::printf("\n");
    }
    if (!unjudged.empty()) {
        std::printf("%zu samples without a judgement:", unjudged.size());
        for (const auto& name : unjudged) std::printf(" %s", name.c_str());
        std::printf("\n");
    }
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
    std::map<std::string, std::string> opt{{"content", "content"}, {"out", ""}, {"emoji", ""}};
    if (cmd == "build" || cmd == "samples" || cmd == "unmapped") {
        opt.erase("emoji");
        if (!Options(argc, argv, 2, opt)) return Usage();
        if (cmd == "build") return opt["out"].empty() ? Usage() : Build(opt["content"], opt["out"]);
        return cmd == "samples" ? Samples(opt["content"]) : Unmapped(opt["content"]);
    }
    if (cmd == "check" || cmd == "pictures") {
        opt.erase("out");
        if (!Options(argc, argv, 2, opt)) return Usage();
        const std::string emoji = EmojiDir(opt["content"], opt["emoji"]);
        if (cmd == "pictures") return Pictures(opt["content"], emoji);
        return Check(opt["content"], emoji);
    }
    if (argc == 3 && cmd == "dump-db") return DumpDb(argv[2]);
    if (argc == 3 && cmd == "index") return Index(argv[2]);
    if (argc == 4 && cmd == "index" && std::string(argv[2]) == "--count") return Index(argv[3], true);
    if (argc == 5 && cmd == "explain") return Explain(argv[2], argv[3], argv[4]);
    if (argc == 6 && cmd == "explain" && std::string(argv[2]) == "--extra")
        return content::ExplainExtra(argv[3], argv[4], argv[5]);
    if (argc == 7 && cmd == "export" && (std::string(argv[5]) == "--html" || std::string(argv[5]) == "--text"))
        return content::ExportDiary(argv[2], argv[3], argv[4], std::string(argv[5]) == "--html", argv[6]);
    if (argc >= 5 && cmd == "find") return Find(argv[2], argv[3], std::vector<std::string>(argv + 4, argv + argc));
    if (argc == 3 && cmd == "dump-diary") return DumpDiary(argv[2]);
    if (argc == 4 && cmd == "generate") return Generate(argv[2], argv[3]);
    if (cmd == "lang") return content::LangCommand(std::vector<std::string>(argv + 2, argv + argc));
    return Usage();
}

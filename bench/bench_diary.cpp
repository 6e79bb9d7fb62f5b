// Times the diary overview, the dream search and the export over a generated diary:
//   bench_diary DB SYN [PHRASES [COUNT]]   COUNT dreams (1,000 by default) of about 150 words,
//                                          words of the synonym groups among everyday ones.

#include "data/Index.h"
#include "data/Synonyms.h"
#include "data/iDbRecs.h"
#include "diary/DrDiExport.h"
#include "diary/DrDiFind.h"
#include "diary/DrDiRecs.h"
#include "diary/ExpSearchExtra.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

using namespace slumra;
using Clock = std::chrono::steady_clock;

namespace {

double Ms(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: bench_diary DB SYN [PHRASES [COUNT]]\n", stderr);
        return 2;
    }
    TiDbRecFile db;
    if (!db.LoadFromFile(argv[1])) {
        std::fprintf(stderr, "bench_diary: %s cannot be read\n", argv[1]);
        return 1;
    }
    TIndexLists lists;
    BuildIndexLists(db, lists);
    lists.SortIndex();
    const std::vector<std::string> synonyms = LoadSynonymList(argv[2]);
    const std::vector<TPhrase> phrases = argc > 3 ? LoadPhraseTable(argv[3]) : std::vector<TPhrase>{};
    const int count = argc > 4 ? std::atoi(argv[4]) : 1000;

    // Words of the groups (every field) and everyday words that find nothing.
    std::vector<std::string> symbolWords;
    for (const std::string& line : synonyms) {
        std::size_t bar = line.find('|');
        while (bar != std::string::npos) {
            const std::size_t next = line.find('|', bar + 1);
            if (next == std::string::npos) break;
            if (next > bar + 1) symbolWords.push_back(line.substr(bar + 1, next - bar - 1));
            bar = next;
        }
    }
    const char* const everyday[] = {"ik",    "en",   "de",      "het",      "een",  "was",
                                    "toen",  "maar", "daar",    "niet",     "viel", "zat",
                                    "flauw", "vast", "caf\xE9", "zee\xEBn", "weg",  "liep"};
    std::mt19937 rng(42);
    TDrDiRecFile diary;
    for (int n = 0; n < count; ++n) {
        DrDiRec rec;
        rec.Head = "Droom " + std::to_string(n + 1) + "|" + std::to_string(1 + n % 28) + "-" +
                   std::to_string(1 + n / 28 % 12) + "-" + std::to_string(2020 + n / 336) + "|07:15";
        for (int w = 0; w < 150; ++w) {
            rec.Description += w % 6 == 0 ? symbolWords[rng() % symbolWords.size()] : everyday[rng() % 18];
            rec.Description += w % 12 == 11 ? ".\r\n" : " ";
        }
        rec.Explanation = "Een eigen verklaring van deze droom.";
        if (!diary.AddRecord(rec)) return 1;
    }
    diary.ShowAll();

    auto start = Clock::now();
    const TSymbolLookup lookup(synonyms, lists);
    const double prepare = Ms(start);
    start = Clock::now();
    const TDiaryStats stats = DiaryStatistics(diary, lookup, phrases);
    const double overview = Ms(start);
    start = Clock::now();
    const auto hits = FindDreams(diary, "slang zee");
    const double find = Ms(start);
    start = Clock::now();
    const std::string html = DiaryHtml(diary, "Bank", lookup, phrases);
    const double exportMs = Ms(start);

    std::printf("%d dreams, %zu groups, %zu index entries, %zu phrases\n", count, synonyms.size(),
                lists.IndexCount(), phrases.size());
    std::printf("lookup prepared      %8.1f ms\n", prepare);
    std::printf("overview             %8.1f ms  (%zu symbols, %zu months, %d without a date)\n", overview,
                stats.Symbols.size(), stats.Months.size(), stats.Undated);
    std::printf("dream search         %8.1f ms  (%zu dreams)\n", find, hits.size());
    std::printf("HTML export          %8.1f ms  (%zu bytes)\n", exportMs, html.size());
    return 0;
}

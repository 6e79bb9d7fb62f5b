// Times the dictionary search as the user types: every prefix of a few queries is one search.
//   bench_find DB SYN [DB SYN ...]   e.g. the shipped data (slumra-data build --out DIR) and a
//                                     generated database (slumra-data generate 100000 FILE; a
//                                     synonym file that does not exist is an empty list)
// Prints, per database, the time to build the index and the mean and worst milliseconds per
// keystroke, for the whole result list and for the best 200.

#include "data/Find.h"
#include "data/Synonyms.h"
#include "data/iDbRecs.h"
#include "lang/Cp1252.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
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
    if (argc < 3 || argc % 2 != 1) {
        std::fputs("usage: bench_find DB SYN [DB SYN ...]\n", stderr);
        return 2;
    }
    std::string longQuery;
    while (longQuery.size() < kMaxFindQuery) longQuery += "een droom over water ";
    const std::vector<std::string> queries = {"vloog", "vliegen boven zee", "ru\xefne", "e", "een",
                                              "maan water", "huis trap", "xyzzy", longQuery};
    for (int a = 1; a + 1 < argc; a += 2) {
        TiDbRecFile db;
        if (!db.LoadFromFile(argv[a])) {
            std::fprintf(stderr, "bench_find: %s cannot be read\n", argv[a]);
            return 1;
        }
        const std::vector<std::string> synonyms = LoadSynonymList(argv[a + 1]);
        const Clock::time_point built = Clock::now();
        TFindIndex index;
        index.Build(db, synonyms);
        std::printf("%s: %d records, %zu symbols, %zu synonym lines; index built in %.1f ms\n", argv[a],
                    db.RecordCount(), index.SymbolCount(), synonyms.size(), Ms(built));
        for (const std::size_t most : {std::size_t{0}, std::size_t{200}}) {
            double sum = 0, worst = 0;
            std::string worstQuery;
            int keystrokes = 0;
            for (const std::string& q : queries) {
                std::size_t found = 0;
                for (std::size_t len = 1; len <= q.size(); ++len) {
                    const Clock::time_point start = Clock::now();
                    found = index.Find(q.substr(0, len), most).size();
                    const double ms = Ms(start);
                    sum += ms;
                    ++keystrokes;
                    if (ms > worst) worst = ms, worstQuery = q.substr(0, len);
                }
                if (most == 0)
                    std::printf("  \"%s\": %zu found\n", Cp1252ToUtf8(q.substr(0, 30)).c_str(), found);
            }
            std::printf("  %d keystrokes, %s: mean %.2f ms, worst %.2f ms (\"%.30s\")\n", keystrokes,
                        most == 0 ? "every result" : "best 200", sum / keystrokes, worst, worstQuery.c_str());
        }
    }
    return 0;
}

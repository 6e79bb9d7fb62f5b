// Times the explanation search against the plain word-by-line search it replaced and checks
// that both list the same items in the same order:
//   bench_search [DB SYN]   the shipped data (D/iDbRecs.dat, D/Syn.dat) with a 300-word dream,
//                           then 50,000 groups, 100,000 entries and 3,000 words.
// Also prints the longest stretch of work between two questions to stillBusy.

#include "data/Index.h"
#include "data/Synonyms.h"
#include "data/iDbRecs.h"
#include "diary/ExpSearch.h"
#include "diary/ExpSearchNaive.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

using namespace slumra;
using Clock = std::chrono::steady_clock;
using Lines = std::vector<std::string>;

namespace {

// A number written in letters, since the search drops digits from the words of a dream.
std::string Letters(unsigned n) {
    std::string out;
    do {
        out += static_cast<char>('a' + n % 26);
        n /= 26;
    } while (n != 0);
    return out;
}

double Ms(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

// A description of `count` words: words of the synonym groups mixed with words found nowhere.
std::string Description(const Lines& synonyms, int count, std::mt19937& rng) {
    Lines fields;
    for (const auto& line : synonyms) {
        std::size_t bar = line.find('|');
        while (bar != std::string::npos) {
            const std::size_t next = line.find('|', bar + 1);
            if (next == std::string::npos) break;
            if (next > bar + 1) fields.push_back(line.substr(bar + 1, next - bar - 1));
            bar = next;
        }
    }
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (!fields.empty() && rng() % 3 == 0)
            text += fields[rng() % fields.size()];
        else
            text += "woord" + Letters(static_cast<unsigned>(rng()) % 100000);
        text += i % 12 == 11 ? ".\r\n" : " ";
    }
    return text;
}

void Run(const char* title, const std::string& description, const Lines& synonyms, const Lines& index) {
    auto t0 = Clock::now();
    const Lines words = naive::CutWords(SplitTextLines(description));
    Lines expected;
    (void)naive::FindExplanations(words, synonyms, index, expected);
    if (!expected.empty()) SortExplanations(expected, 0, static_cast<int>(expected.size()) - 1);
    const double naiveMs = Ms(t0);

    // The fast search, repeated until it has run for a while.
    Lines found;
    int runs = 0;
    std::vector<double> gaps;  // the longest of each run
    t0 = Clock::now();
    do {
        double longestGap = 0;
        auto last = Clock::now();
        (void)SearchExplanations(description, synonyms, index, found, [&] {
            const auto now = Clock::now();
            longestGap = std::max(longestGap, std::chrono::duration<double, std::milli>(now - last).count());
            last = now;
            return true;
        });
        ++runs;
        gaps.push_back(longestGap);
    } while (Ms(t0) < 200);
    const double fastMs = Ms(t0) / runs;
    std::sort(gaps.begin(), gaps.end());
    const double longestGap = gaps[gaps.size() / 2];

    std::printf("%s\n  %zu words, %zu synonym lines, %zu index items: %zu found, %s\n", title, words.size(),
                synonyms.size(), index.size(), found.size(),
                found == expected ? "identical to the plain search" : "DIFFERENT FROM THE PLAIN SEARCH");
    std::printf("  plain %10.2f ms   one pass %8.3f ms   %7.1f x faster   longest gap between asks %.3f ms (median run)\n",
                naiveMs, fastMs, naiveMs / fastMs, longestGap);
}

}  // namespace

int main(int argc, char** argv) {
    std::mt19937 rng(1208);
    if (argc == 3) {
        TiDbRecFile db;
        if (!db.LoadFromFile(argv[1])) {
            std::fprintf(stderr, "bench_search: %s cannot be read\n", argv[1]);
            return 1;
        }
        Lines outline, index;
        BuildIndexLists(db, outline, index);
        if (index.size() >= 2) SortIndex(index, 0, static_cast<int>(index.size()) - 1);
        const Lines synonyms = LoadSynonymList(argv[2]);
        Run("shipped data, 300-word description", Description(synonyms, 300, rng), synonyms, index);
    }

    Lines synonyms, index;
    for (int g = 0; g < 50000; ++g) {
        std::string line = "|groep" + Letters(static_cast<unsigned>(g)) + "|";
        for (int k = 0; k < 4; ++k) line += "w" + Letters(static_cast<unsigned>(rng()) % 200000) + "|";
        synonyms.push_back(line);
    }
    for (int e = 0; e < 100000; ++e) index.push_back(std::to_string(e + 1) + "|Groep" + Letters(static_cast<unsigned>(rng()) % 60000));
    std::sort(index.begin(), index.end(), [](const std::string& a, const std::string& b) {
        return CompareKeys(IndexKey(a), IndexKey(b)) < 0;
    });
    std::string description;
    for (int i = 0; i < 3000; ++i) description += "w" + Letters(static_cast<unsigned>(i) * 61) + (i % 10 == 9 ? "\r\n" : " ");
    Run("50,000 groups, 100,000 entries, 3,000 words", description, synonyms, index);
    return 0;
}

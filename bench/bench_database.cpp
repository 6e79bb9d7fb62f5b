// Loads and indexes a generated database of 100,000 records (or as many as the first argument
// says) and prints records per second for the load and for the index build with its sort.

#include "data/Coding.h"
#include "data/Index.h"
#include "data/iDbRecs.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace slumra;

namespace {

std::string Generated(int count) {
    std::string out;
    unsigned char fixed[8];
    EncodeFixed32(fixed, static_cast<std::uint32_t>(count));
    out.append(reinterpret_cast<char*>(fixed), 4);
    const char* words[] = {"Maan", "Water", "Huis", "Trap", "Zee", "Bos", "Kat", "Sleutel", "Brug", "Vuur"};
    for (int i = 0; i < count; ++i) {
        std::string head =
            "Categorie " + std::to_string(i / 10000) + "|Deel " + std::to_string((i / 100) % 100);
        if (i % 100 != 0) head += "|" + std::string(words[i % 10]) + std::to_string(i * 7919 % 100003);
        std::string text(400, 'x');
        EncodeFixed32(fixed, static_cast<std::uint32_t>(i + 1));
        EncodeFixed16(fixed + 4, static_cast<std::uint16_t>(head.size()));
        EncodeFixed16(fixed + 6, static_cast<std::uint16_t>(text.size()));
        out.append(reinterpret_cast<char*>(fixed), 8);
        std::string stored = head + text;
        UnscrambleBytes(stored.data(), stored.size());
        out += stored;
    }
    return out;
}

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
    const std::string bytes = Generated(count);
    TiDbRecFile file;
    auto t0 = std::chrono::steady_clock::now();
    MemorySource source(bytes);
    if (!file.LoadFromSource(source)) return 1;
    const double load = Seconds(t0);

    t0 = std::chrono::steady_clock::now();
    std::vector<std::string> outline, index;
    BuildIndexLists(file, outline, index);
    SortIndex(index, 0, static_cast<int>(index.size()) - 1);
    const double build = Seconds(t0);

    std::printf("records: %d (%.1f MB)\n", count, static_cast<double>(bytes.size()) / 1e6);
    std::printf("load:                %8.1f ms  %12.0f records/s\n", load * 1e3, count / load);
    std::printf("index build + sort:  %8.1f ms  %12.0f records/s  (%zu index items)\n", build * 1e3,
                count / build, index.size());
    return 0;
}

// Loads, indexes and sorts a generated database of 100,000 records (or as many as the first
// argument says), shaped like `slumra-data generate` makes them, from a file, and prints
// records per second for each step and for the whole (best of three rounds), the whole against
// reading the file's bytes, and the heap memory the loaded records and lists hold per record.
// Times are processor time of this process.

#include "data/Coding.h"
#include "data/Files.h"
#include "data/Index.h"
#include "data/iDbRecs.h"

#include <malloc.h>

#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <memory>
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
        const std::string symbol = std::string(words[i % 10]) + std::to_string(static_cast<long>(i) * 7919 % 100003);
        std::string head = "Categorie " + std::to_string(i / 10000);
        if (i % 10000 != 0) head += "|Deel " + std::to_string((i / 100) % 100);
        if (i % 100 != 0) head += "|" + symbol;
        const std::string text =
            "Een gegenereerde duiding van " + symbol + ", om het laden te meten.\r\n\r\nTweede alinea.";
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

// Processor time of this process (user and system), so that other work on a shared machine
// does not count.
double Now() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

std::size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
    const std::string path = "bench_database.tmp";
    {
        FileSink sink(path);
        const std::string bytes = Generated(count);
        if (sink.Write(bytes.data(), bytes.size()) != bytes.size() || !sink.Close()) return 1;
    }

    // The floor: the file's bytes read into memory, once warm.
    double read = 1e9;
    std::size_t fileSize = 0;
    for (int i = 0; i < 3; ++i) {
        double t0 = Now();
        FileSource source(path);
        fileSize = source.Remaining();
        std::unique_ptr<char[]> bytes(new char[fileSize]);
        if (source.Read(bytes.get(), fileSize) != fileSize) return 1;
        read = std::min(read, (Now() - t0));
    }

    // Three rounds, as the read above; each step's best counts, the memory of the last round.
    double load = 1e9, build = 1e9, sort = 1e9;
    std::size_t heap = 0;
    std::unique_ptr<TiDbRecFile> file;
    std::unique_ptr<TIndexLists> lists;
    for (int round = 0; round < 3; ++round) {
        file.reset();
        lists.reset();
        const std::size_t heapBefore = HeapInUse();
        file = std::make_unique<TiDbRecFile>();
        lists = std::make_unique<TIndexLists>();
        double t0 = Now();
        if (!file->LoadFromFile(path)) return 1;
        load = std::min(load, Now() - t0);
        t0 = Now();
        BuildIndexLists(*file, *lists);
        build = std::min(build, Now() - t0);
        t0 = Now();
        lists->SortIndex();
        sort = std::min(sort, Now() - t0);
        heap = HeapInUse() - heapBefore;
    }
    const double total = load + build + sort;
    std::remove(path.c_str());

    // The same as lists of strings, each item a string of its own.
    const std::size_t stringsBefore = HeapInUse();
    const double t0 = Now();
    std::vector<std::string> outline, index;
    BuildIndexLists(*file, outline, index);
    SortIndex(index, 0, static_cast<int>(index.size()) - 1);
    const double strings = Now() - t0;
    const std::size_t stringsHeap = HeapInUse() - stringsBefore;

    std::printf("records: %d, file %.1f MB (%.0f bytes a record)\n", count, static_cast<double>(fileSize) / 1e6,
                static_cast<double>(fileSize) / count);
    std::printf("read the file:       %8.1f ms\n", read * 1e3);
    std::printf("load:                %8.1f ms  %12.0f records/s\n", load * 1e3, count / load);
    std::printf("index build:         %8.1f ms  %12.0f records/s  (%zu outline lines)\n", build * 1e3,
                count / build, lists->OutlineCount());
    std::printf("index sort:          %8.1f ms  %12.0f records/s  (%zu index items)\n", sort * 1e3, count / sort,
                lists->IndexCount());
    std::printf("load + index + sort: %8.1f ms  %12.0f records/s  %.1f x reading the file\n", total * 1e3,
                count / total, total / read);
    std::printf("memory held:         %8.1f MB  %12.0f bytes a record (lists %.0f)\n", static_cast<double>(heap) / 1e6,
                static_cast<double>(heap) / count, static_cast<double>(lists->MemoryUse()) / count);
    std::printf("as string lists:     %8.1f ms build + sort, %.0f more bytes a record\n", strings * 1e3,
                static_cast<double>(stringsHeap) / count);
    return 0;
}

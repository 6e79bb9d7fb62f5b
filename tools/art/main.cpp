// slumra-art: paints and writes every picture, cursor, sound and clip of the program.
// The output is the same, byte for byte, on every run.

#include "Art.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

int Usage() {
    std::fputs(
        "usage: slumra-art --program DIR --res DIR\n"
        "  --program DIR   the program folder: skins and backgrounds (I/B), clips (V), sound (a)\n"
        "  --res DIR       the resource folder: palettes, splash and about pictures, cursors\n",
        stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string program, res;
    for (int i = 1; i < argc; ++i) {
        if (i + 1 < argc && std::strcmp(argv[i], "--program") == 0) {
            program = argv[++i];
        } else if (i + 1 < argc && std::strcmp(argv[i], "--res") == 0) {
            res = argv[++i];
        } else {
            return Usage();
        }
    }
    if (program.empty() || res.empty()) return Usage();

    const auto start = std::chrono::steady_clock::now();
    const auto files = slumra::art::MakeArt();
    std::string error;
    if (!slumra::art::WriteArt(files, program, res, error)) {
        std::fprintf(stderr, "slumra-art: %s\n", error.c_str());
        return 1;
    }
    std::size_t bytes = 0;
    for (const auto& f : files) bytes += f.bytes.size();
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    std::printf("slumra-art: %zu files, %.1f MB, %lld ms\n", files.size(), static_cast<double>(bytes) / 1e6,
                static_cast<long long>(ms.count()));
    return 0;
}

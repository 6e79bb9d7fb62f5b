// Every picture, cursor, sound and clip the program ships, as files in memory.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace slumra::art {

struct ArtFile {
    enum class Folder { Program, Resources };
    Folder folder;
    std::string path;  // relative, '/'-separated, e.g. "I/B/6x4/1"
    std::string bytes;
};

// One screen design: the folder-name suffix of its files and its window size.
struct Design {
    const char* name;
    int width, height;
};
inline constexpr Design kDesigns[] = {{"6x4", 640, 480}, {"8x6", 800, 600}, {"10x7", 1024, 768}};

// Paints and encodes everything (on up to `threads` threads). The same bytes on every run.
std::vector<ArtFile> MakeArt(int threads = 2);

// Writes the files below `program` and `resources`, creating folders as needed; on failure
// returns false and says which file in `error`.
[[nodiscard]] bool WriteArt(const std::vector<ArtFile>& files, const std::filesystem::path& program,
                            const std::filesystem::path& resources, std::string& error);

}  // namespace slumra::art

#include "data/Synonyms.h"

#include "data/Coding.h"
#include "data/Files.h"

#include <new>

namespace slumra {

std::vector<std::string> SplitTextLines(std::string_view text) {
    std::vector<std::string> lines;
    const std::size_t zero = text.find('\0');
    if (zero != std::string_view::npos) text = text.substr(0, zero);
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

std::vector<std::string> LoadSynonymList(const std::string& path) {
    {
        // Measured before reading: a file far larger than any list is refused unread.
        FileSource probe(path);
        if (!probe.IsOpen() || probe.Remaining() > kMaxSynonymFileBytes) return {};
    }
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return {};
    try {
        return SplitTextLines(bytes);
    } catch (const std::bad_alloc&) {
        return {};
    }
}

}  // namespace slumra

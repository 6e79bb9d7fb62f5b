#include "diary/NameFilter.h"

#include <array>

namespace slumra {

namespace {

bool Kept(unsigned char c) {
    return c == ' ' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
           (c >= 0x80 && c <= 0xA5);
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Upper(a[i]) != Upper(b[i])) return false;
    }
    return true;
}

bool IsDeviceName(std::string_view name) {
    static constexpr std::array<std::string_view, 4> kPlain{"CON", "PRN", "AUX", "NUL"};
    for (std::string_view device : kPlain) {
        if (SameAscii(name, device)) return true;
    }
    if (name.size() == 4 && name[3] >= '1' && name[3] <= '9')
        return SameAscii(name.substr(0, 3), "COM") || SameAscii(name.substr(0, 3), "LPT");
    return false;
}

}  // namespace

std::string NameFilter(std::string_view text) {
    text = text.substr(0, kMaxNameLength);
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (Kept(static_cast<unsigned char>(c))) out.push_back(c);
    }
    return out;
}

bool IsUsableDiaryName(std::string_view name) {
    return !name.empty() && name.back() != ' ' && !IsDeviceName(name);
}

bool DiaryNameOfFile(std::string_view fileName, std::string& name) {
    constexpr std::string_view kExtension = ".ddf";
    if (fileName.size() <= kExtension.size()) return false;
    const std::string_view stem = fileName.substr(0, fileName.size() - kExtension.size());
    if (!SameAscii(fileName.substr(stem.size()), kExtension)) return false;
    name = stem;
    return true;
}

}  // namespace slumra

#include "Pictures.h"

#include "data/Synonyms.h"
#include "lang/Cp1252.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

namespace slumra::content {

namespace {

std::string Trim(const std::string& s) {
    const std::size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

bool PictureName(const std::string& s) {
    if (s.empty()) return false;
    for (char c : s)
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-')) return false;
    return true;
}

}  // namespace

std::vector<PictureLine> ReadPictureMap(const std::string& file, std::vector<Problem>& errors) {
    std::vector<PictureLine> map;
    if (!std::filesystem::exists(file)) return map;
    const std::string name = std::filesystem::path(file).filename().string();
    std::ifstream in(file, std::ios::binary);
    std::string utf8((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
        errors.push_back({name, "cannot be read"});
        return map;
    }
    if (utf8.rfind("\xEF\xBB\xBF", 0) == 0) utf8.erase(0, 3);
    const std::vector<std::string> lines = SplitTextLines(utf8);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string where = name + ":" + std::to_string(i + 1);
        const std::string line = Trim(lines[i]);
        if (line.empty() || line.rfind(";;", 0) == 0) continue;
        const std::size_t eq = line.find('=');
        std::string symbol;
        if (eq == std::string::npos || !Utf8ToCp1252(Trim(line.substr(0, eq)), symbol) || symbol.empty()) {
            errors.push_back({where, "a line is 'Symbol = picture'"});
            continue;
        }
        std::string picture = Trim(line.substr(eq + 1));
        if (picture.size() > 4 && picture.compare(picture.size() - 4, 4, ".svg") == 0) picture.resize(picture.size() - 4);
        if (!PictureName(picture)) {
            errors.push_back({where, "'" + picture + "' is no picture name (a-z, 0-9, '-')"});
            continue;
        }
        map.push_back({symbol, picture, static_cast<int>(i + 1)});
    }
    return map;
}

std::string PictureFile(const std::string& head) {
    std::string path = "i\\";
    int bars = 0;
    for (char c : head) {
        if (c == '|' && ++bars <= 2)
            path += '\\';
        else if (c != '|')
            path += c;
    }
    if (bars != 2) return {};
    path += ".jpg";
    std::vector<std::string> parts;
    std::string part;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        const char c = i < path.size() ? path[i] : '\\';
        if (c != '\\' && c != '/') {
            if (static_cast<unsigned char>(c) < 0x20 || std::string_view("<>:\"|?*").find(c) != std::string_view::npos)
                return {};
            part += c;
            continue;
        }
        if (i < path.size() && !part.empty() && part.back() == '.') part.pop_back();
        if (part.empty() || part == "." || part == "..") return {};
        parts.push_back(part);
        part.clear();
    }
    std::string out = "I";
    for (std::size_t i = 1; i < parts.size(); ++i) out += "/" + parts[i];
    return out;
}

void CheckPictureMap(const std::vector<PictureLine>& map, const std::string& mapName,
                     const std::vector<Entry>& entries, const std::string& setDir, Findings& out) {
    std::map<std::string, const Entry*> symbols;
    for (const Entry& e : entries)
        if (e.level == Level::Symbol) symbols.emplace(e.name, &e);
    std::map<std::string, int> mapped;
    for (const PictureLine& p : map) {
        const std::string where = mapName + ":" + std::to_string(p.line);
        const std::string shown = Cp1252ToUtf8(p.symbol);
        if (auto [it, fresh] = mapped.emplace(p.symbol, p.line); !fresh) {
            out.errors.push_back({where, shown + " mapped twice (also line " + std::to_string(it->second) + ")"});
            continue;
        }
        // Symbols come and go while the dictionary is written: a stale line is no reason to fail.
        const auto symbol = symbols.find(p.symbol);
        if (symbol == symbols.end())
            out.warnings.push_back({where, shown + " is no symbol"});
        else if (PictureFile(symbol->second->path).empty())
            out.warnings.push_back({where, shown + ": its path cannot be a Windows file name"});
        if (!setDir.empty() && !std::filesystem::exists(std::filesystem::path(setDir) / (p.picture + ".svg")))
            out.errors.push_back({where, "no picture " + p.picture + ".svg in the set"});
    }
    std::size_t withPicture = 0;
    for (const auto& [name, entry] : symbols) withPicture += mapped.count(name);
    char share[32];
    std::snprintf(share, sizeof share, "%.1f %%",
                  symbols.empty() ? 0.0 : 100.0 * static_cast<double>(withPicture) / static_cast<double>(symbols.size()));
    out.info.push_back("pictures: " + std::to_string(withPicture) + " of " + std::to_string(symbols.size()) +
                       " symbols mapped (" + share + ")" + (setDir.empty() ? "; the picture set is not installed" : ""));
}

}  // namespace slumra::content

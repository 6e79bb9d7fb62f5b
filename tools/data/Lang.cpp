#include "Lang.h"

#include "lang/Cp1252.h"
#include "lang/TVWriter.h"
#include "lang/TransLtr.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace slumra::content {

namespace fs = std::filesystem;

namespace {

std::string Trim(const std::string& s) {
    const std::size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return {};
    return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

bool ToNumber(const std::string& text, std::int32_t& out) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

// Reads one source; false with a problem on the first line that cannot be read.
bool ReadSource(const fs::path& path, LangSource& src, std::vector<Problem>& errors) {
    src.file = path.filename().string();
    std::ifstream in(path, std::ios::binary);
    if (!in) return errors.push_back({src.file, "cannot be read"}), false;
    std::string line;
    int number = 0;
    std::set<std::pair<std::int32_t, bool>> given;
    bool ok = true;
    const auto fail = [&](const std::string& what) {
        errors.push_back({src.file + ":" + std::to_string(number), what});
        ok = false;
    };
    while (std::getline(in, line)) {
        ++number;
        const std::string text = Trim(line);
        if (text.empty() || text[0] == '#') continue;
        const std::size_t eq = text.find('=');
        if (eq == std::string::npos) {
            fail("expected NUMBER = \"text\"");
            continue;
        }
        const std::string key = Trim(text.substr(0, eq));
        std::string value = Trim(text.substr(eq + 1));
        if (key == "language" || key == "code") {
            if (key == "code" && !ToNumber(value, src.code)) fail("the code is not a number");
            if (key == "language" && !Utf8ToCp1252(value, src.name)) fail("character outside Windows-1252");
            continue;
        }
        const std::size_t first = value.find('"'), last = value.rfind('"');
        if (first != 0 || last == first || last != value.size() - 1) {
            fail("the text must stand between double quotes");
            continue;
        }
        value = value.substr(first + 1, last - first - 1);
        const bool isHint = key.size() > 5 && key.ends_with(" hint");
        std::int32_t tag = 0;
        if (!ToNumber(Trim(isHint ? key.substr(0, key.size() - 5) : key), tag) || tag <= 0) {
            fail("\"" + key + "\" is no text number");
            continue;
        }
        std::string cp1252;
        if (!Utf8ToCp1252(value, cp1252)) {
            fail("character outside Windows-1252");
            continue;
        }
        // A cell keeps 254 characters and its ending zero.
        if (cp1252.size() >= kTVTextMax) {
            fail("longer than 254 characters");
            continue;
        }
        LangText& t = src.texts[tag];
        if (t.line == 0) t.line = number;
        if (!given.insert({tag, isHint}).second)
            fail(std::string(isHint ? "hint" : "text") + " " + std::to_string(tag) + " given twice");
        (isHint ? t.hint : t.caption) = cp1252;
        if (!isHint) t.line = number;
    }
    if (src.name.empty()) fail("no \"language = NAME\" line");
    if (src.code <= 0) fail("no \"code = DIALLING CODE\" line");
    return ok;
}

}  // namespace

std::vector<LangSource> ReadLanguages(const std::string& dir, std::vector<Problem>& errors) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& item : fs::directory_iterator(dir, ec))
        if (item.path().extension() == ".txt") files.push_back(item.path());
    if (ec) errors.push_back({dir, "cannot be read: " + ec.message()});
    std::sort(files.begin(), files.end());
    std::vector<LangSource> out;
    for (const auto& f : files) {
        LangSource src;
        if (ReadSource(f, src, errors)) out.push_back(std::move(src));
    }
    return out;
}

void CheckLanguages(const std::vector<LangSource>& languages, std::vector<Problem>& errors,
                    std::vector<Problem>& warnings) {
    if (languages.empty()) errors.push_back({"lang", "no language sources"});
    const std::span<const std::int32_t> wanted = ProgramTextNumbers();
    std::set<std::int32_t> codes;
    std::set<std::string> names;
    for (const LangSource& src : languages) {
        if (src.code == kDutchLanguage)
            errors.push_back({src.file, "code 31 is Dutch, the texts built into the program"});
        if (!codes.insert(src.code).second) errors.push_back({src.file, "a second language with this code"});
        if (!names.insert(src.name).second) errors.push_back({src.file, "a second language with this name"});
        if (std::string("Program (" + src.name + ")").size() > kTVNameMax)
            errors.push_back({src.file, "the language's name makes too long a table name"});
        for (const std::int32_t n : wanted)
            if (src.texts.count(n) == 0) errors.push_back({src.file, "no text " + std::to_string(n)});
        for (const auto& [n, t] : src.texts)
            if (std::find(wanted.begin(), wanted.end(), n) == wanted.end())
                warnings.push_back({src.file + ":" + std::to_string(t.line),
                                    "text " + std::to_string(n) + " is never asked for"});
    }
}

bool LanguageFileBytes(const std::vector<LangSource>& languages, std::string& out, std::string& error) {
    const auto widest = [](const LangSource& src, std::string LangText::*field) {
        std::size_t w = 1;
        for (const auto& [n, t] : src.texts) w = std::max(w, (t.*field).size());
        return static_cast<std::uint16_t>(w);
    };
    std::vector<TVWriteTable> tables;
    TVWriteTable contents{"Contents", {{"iCountry", TVType::Integer}, {"sCountry", TVType::String, 0}}, {}};
    std::uint16_t nameWidth = 1;
    for (const LangSource& src : languages) {
        nameWidth = std::max(nameWidth, static_cast<std::uint16_t>(src.name.size()));
        contents.Rows.push_back({TVWriteValue(std::int64_t{src.code}), TVWriteValue(src.name)});
    }
    contents.Columns[1].Width = nameWidth;
    tables.push_back(std::move(contents));
    for (const LangSource& src : languages) {
        TVWriteTable t{std::string(kProgramSection) + " (" + src.name + ")",
                       {{"Tag", TVType::Integer},
                        {"Caption", TVType::String, widest(src, &LangText::caption)},
                        {"Hint", TVType::String, widest(src, &LangText::hint)}},
                       {}};
        for (const auto& [n, text] : src.texts)
            t.Rows.push_back(
                {TVWriteValue(std::int64_t{n}), TVWriteValue(text.caption), TVWriteValue(text.hint)});
        tables.push_back(std::move(t));
    }
    return WriteTableFile(tables, {}, out, error);
}

void VerifyLanguageFile(const std::string& path, const std::vector<LangSource>& languages,
                        std::vector<Problem>& errors) {
    const std::int32_t saved = LanguageCode;
    for (const LangSource& src : languages) {
        LanguageCode = src.code;
        TLanguageTable table;
        if (!table.Open(path, kProgramSection, src.code)) {
            errors.push_back({path, "no table for " + src.name});
            continue;
        }
        // A marker no source text holds tells a missing row from an empty text.
        const std::string missing("\x01");
        for (const auto& [n, text] : src.texts) {
            const std::string where = src.file + ":" + std::to_string(text.line);
            if (TranslateText(n, kProgramSection, path, missing) != text.caption)
                errors.push_back({where, "text " + std::to_string(n) + " reads back otherwise"});
            const std::int32_t row = table.FindTag(n);
            if (row <= 0 || table.Caption(row) != text.caption || table.Hint(row) != text.hint)
                errors.push_back({where, "row " + std::to_string(n) + " reads back otherwise"});
        }
    }
    LanguageCode = saved;
}

namespace {

bool WriteBytes(const std::string& path, const std::string& bytes) {
    const std::string temp = path + ".new";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            std::error_code ec;
            fs::remove(temp, ec);
            return false;
        }
    }
    std::error_code ec;
    fs::rename(temp, path, ec);
    if (ec) fs::remove(temp, ec);
    return !ec;
}

void Report(const std::vector<Problem>& problems, const char* kind) {
    for (const auto& p : problems) std::printf("%s: %s: %s\n", kind, p.where.c_str(), p.what.c_str());
}

int Dump(const std::string& path) {
    TTVObject db;
    if (!db.Open(path, path, "", "")) {
        std::fprintf(stderr, "slumra-data: %s: not a table file that opens\n", path.c_str());
        return 1;
    }
    const TVTable* contents = db.Table(db.FindTable("Contents"));
    for (std::int32_t r = 1; contents != nullptr && r <= contents->RowCount; ++r) {
        const std::string name = db.CellText("Contents", "sCountry", r);
        const std::string table = std::string(kProgramSection) + " (" + name + ")";
        std::printf("%s: %s\n", db.CellText("Contents", "iCountry", r).c_str(), Cp1252ToUtf8(table).c_str());
        const TVTable* t = db.Table(db.FindTable(table));
        for (std::int32_t row = 1; t != nullptr && row <= t->RowCount; ++row) {
            std::printf("  %s = \"%s\"", db.CellText(table, "Tag", row).c_str(),
                        Cp1252ToUtf8(db.CellText(table, "Caption", row)).c_str());
            const std::string hint = db.CellText(table, "Hint", row);
            if (!hint.empty()) std::printf("  hint \"%s\"", Cp1252ToUtf8(hint).c_str());
            std::printf("\n");
        }
    }
    return 0;
}

}  // namespace

int LangCommand(const std::vector<std::string>& args) {
    const auto usage = [] {
        std::fputs(
            "usage: slumra-data lang build [--content DIR] --out FILE | check [--content DIR] | dump FILE\n",
            stderr);
        return 2;
    };
    if (args.size() == 2 && args[0] == "dump") return Dump(args[1]);
    if (args.empty() || (args[0] != "build" && args[0] != "check")) return usage();
    std::string contentDir = "content", out;
    for (std::size_t i = 1; i < args.size(); i += 2) {
        if (i + 1 >= args.size()) return usage();
        if (args[i] == "--content")
            contentDir = args[i + 1];
        else if (args[i] == "--out" && args[0] == "build")
            out = args[i + 1];
        else
            return usage();
    }
    const bool build = args[0] == "build";
    if (build && out.empty()) return usage();

    std::vector<Problem> errors, warnings;
    const auto languages = ReadLanguages(contentDir + "/lang", errors);
    CheckLanguages(languages, errors, warnings);
    std::string bytes, error;
    if (errors.empty() && !LanguageFileBytes(languages, bytes, error)) errors.push_back({"UI.LNG", error});
    std::string path = out;
    if (!build)
        path = (fs::temp_directory_path() / ("slumra-lang-check-" + std::to_string(::getpid()) + ".LNG"))
                   .string();
    if (errors.empty() && !WriteBytes(path, bytes)) errors.push_back({path, "cannot be written"});
    if (errors.empty()) VerifyLanguageFile(path, languages, errors);
    if (!build) {
        std::error_code ec;
        fs::remove(path, ec);
    }
    Report(warnings, "warning");
    Report(errors, "error");
    std::size_t texts = 0;
    for (const auto& l : languages) texts += l.texts.size();
    std::printf("%zu languages, %zu texts%s%s; %zu errors, %zu warnings\n", languages.size(), texts,
                build ? ": " : "", build ? out.c_str() : "", errors.size(), warnings.size());
    return errors.empty() ? 0 : 1;
}

}  // namespace slumra::content

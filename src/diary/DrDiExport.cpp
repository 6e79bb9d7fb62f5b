#include "diary/DrDiExport.h"

#include "data/Synonyms.h"
#include "diary/DrDiRecs.h"
#include "lang/Cp1252.h"

namespace slumra {

namespace {

// The texts a new dream carries until the user overwrites them: not worth exporting.
constexpr std::string_view kDatePlaceholder = "dd-mm-yyyy";
constexpr std::string_view kTimePlaceholder = "hh:mm";

struct Dream {
    explicit Dream(const DrDiRec& r) : rec(r) {}
    const DrDiRec& rec;
    std::string name, date, time;
    TExplanations found;
};

template <typename Each>
void ForEachDream(TDrDiRecFile& diary, const TSymbolLookup& lookup, const std::vector<TPhrase>& phrases,
                  Each&& each) {
    diary.ForEachVisible([&](std::int32_t, const DrDiRec& rec) {
        Dream d(rec);
        SplitPath(rec.Head.c_str(), d.name, d.date, d.time);
        if (d.date == kDatePlaceholder) d.date.clear();
        if (d.time == kTimePlaceholder) d.time.clear();
        d.found = Explain(rec.Description, lookup, phrases);
        each(d);
    });
}

std::string Names(const std::vector<std::string>& items) {
    std::string out;
    for (const std::string& item : items) {
        const std::size_t bar = item.find('|');
        out += (out.empty() ? "" : ", ") + item.substr(bar == std::string::npos ? 0 : bar + 1);
    }
    return out;
}

std::string When(const Dream& d) {
    if (d.date.empty() || d.time.empty()) return d.date + d.time;
    return d.date + ", " + d.time;
}

// Paragraphs (split at empty lines), their lines joined by <br>.
std::string HtmlParagraphs(std::string_view text) {
    std::string out, paragraph;
    auto flush = [&] {
        if (!paragraph.empty()) out += "<p>" + paragraph + "</p>\n";
        paragraph.clear();
    };
    for (const std::string& line : SplitTextLines(text)) {
        if (line.find_first_not_of(" \t") == std::string::npos) {
            flush();
            continue;
        }
        paragraph += (paragraph.empty() ? "" : "<br>\n") + HtmlEscape(line);
    }
    flush();
    return out;
}

constexpr const char* kStyle =
    "body{font-family:Georgia,'Times New Roman',serif;max-width:46em;margin:2em auto;padding:0 1em;"
    "color:#222;background:#fbfaf7;line-height:1.5}"
    "h1{font-weight:normal;border-bottom:1px solid #ccc;padding-bottom:.3em}"
    "article{background:#fff;border:1px solid #e2e0da;border-radius:6px;padding:.6em 1.2em;margin:1.2em 0}"
    "h2{margin:.3em 0 0;font-size:1.3em}"
    ".when{color:#777;margin:0 0 .6em}"
    "h3{font-size:.9em;text-transform:uppercase;letter-spacing:.05em;color:#556;margin:.9em 0 .2em}"
    ".symbols{color:#335}.extra{color:#777;font-style:italic}";

}  // namespace

std::string HtmlEscape(std::string_view cp1252) {
    std::string out;
    out.reserve(cp1252.size());
    for (char c : cp1252) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += Cp1252ToUtf8(std::string_view(&c, 1));
        }
    }
    return out;
}

std::string DiaryHtml(TDrDiRecFile& diary, std::string_view diaryName, const TSymbolLookup& lookup,
                      const std::vector<TPhrase>& phrases) {
    const std::string title = "Droomnachtboek " + HtmlEscape(diaryName);
    std::string out = "<!DOCTYPE html>\n<html lang=\"nl\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
                      title + "</title>\n<style>" + kStyle + "</style>\n</head>\n<body>\n<h1>" + title +
                      "</h1>\n";
    out += "<p>" + std::to_string(diary.VisibleCount()) + (diary.VisibleCount() == 1 ? " droom" : " dromen") +
           "</p>\n";
    ForEachDream(diary, lookup, phrases, [&out](const Dream& d) {
        out += "<article>\n<h2>" + HtmlEscape(d.name) + "</h2>\n";
        if (!When(d).empty()) out += "<p class=\"when\">" + HtmlEscape(When(d)) + "</p>\n";
        if (!HtmlParagraphs(d.rec.Description).empty())
            out += "<h3>Beschrijving</h3>\n" + HtmlParagraphs(d.rec.Description);
        if (!HtmlParagraphs(d.rec.Explanation).empty())
            out += "<h3>Eigen verklaring</h3>\n" + HtmlParagraphs(d.rec.Explanation);
        if (!d.found.Items.empty() || !d.found.Extra.empty()) out += "<h3>Gevonden symbolen</h3>\n";
        if (!d.found.Items.empty())
            out += "<p class=\"symbols\">" + HtmlEscape(Names(d.found.Items)) + "</p>\n";
        if (!d.found.Extra.empty())
            out += "<p class=\"extra\">Mogelijk ook: " + HtmlEscape(Names(d.found.Extra)) + "</p>\n";
        out += "</article>\n";
    });
    out += "</body>\n</html>\n";
    return out;
}

std::string DiaryText(TDrDiRecFile& diary, std::string_view diaryName, const TSymbolLookup& lookup,
                      const std::vector<TPhrase>& phrases) {
    std::string text = "Droomnachtboek " + std::string(diaryName) + "\r\n";
    text += std::string(text.size() - 2, '=') + "\r\n";
    ForEachDream(diary, lookup, phrases, [&text](const Dream& d) {
        text += "\r\n" + d.name + "\r\n" + std::string(d.name.size(), '-') + "\r\n";
        if (!When(d).empty()) text += When(d) + "\r\n";
        auto block = [&text](const char* heading, std::string_view body) {
            const std::vector<std::string> lines = SplitTextLines(body);
            if (lines.empty()) return;
            text += "\r\n" + std::string(heading) + ":\r\n";
            for (const std::string& line : lines) text += line + "\r\n";
        };
        block("Beschrijving", d.rec.Description);
        block("Eigen verklaring", d.rec.Explanation);
        if (!d.found.Items.empty()) text += "\r\nGevonden symbolen: " + Names(d.found.Items) + "\r\n";
        if (!d.found.Extra.empty()) text += "Mogelijk ook: " + Names(d.found.Extra) + "\r\n";
    });
    // A byte order mark, so that every editor on Windows reads the text as UTF-8.
    return "\xEF\xBB\xBF" + Cp1252ToUtf8(text);
}

bool WriteExport(const std::string& path, const std::string& bytes, FileSystem& fs, FileError* why) {
    return WriteFileReplacing(
        fs, path,
        [&bytes](WritableFile& file, FileError& error) {
            bool ok = file.Write(bytes.data(), bytes.size()) == bytes.size() && file.Flush();
            ok = file.Close() && ok;
            if (!ok) error = file.Error();
            return ok;
        },
        why);
}

}  // namespace slumra

#include "Judged.h"

#include "Checks.h"

#include "diary/ExpSearch.h"

#include <algorithm>
#include <cstdio>

namespace slumra::content {

namespace {

std::string Trim(std::string_view s) {
    const std::size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string_view::npos) return {};
    return std::string(s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1));
}

// The word with its accented letters made plain: "crèche" -> "creche", "skiën" -> "skien".
std::string Plain(const std::string& word) {
    // Windows-1252 C0..FF, lowercase half (E0..FF) after Lower(): the letter each stands for.
    static const char kPlain[] = "aaaaaaaceeeeiiiidnooooo/ouuuuyty";
    std::string out = word;
    for (char& c : out) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0xE0 && kPlain[b - 0xE0] != '/') c = kPlain[b - 0xE0];
    }
    return out;
}

}  // namespace

Sample SplitSample(std::string_view text) {
    Sample s;
    std::string_view body = text;
    while (!body.empty() && (body.back() == '\n' || body.back() == '\r' || body.back() == ' ' || body.back() == '\t'))
        body.remove_suffix(1);
    const std::size_t lineStart = body.find_last_of("\r\n") == std::string_view::npos ? 0 : body.find_last_of("\r\n") + 1;
    const std::string last = Trim(body.substr(lineStart));
    if (last.empty() || last[0] != '@') {
        s.description = std::string(text);
        return s;
    }
    s.isJudged = true;
    s.description = std::string(body.substr(0, lineStart));
    std::size_t start = 1;
    while (start <= last.size()) {
        std::size_t comma = last.find(',', start);
        if (comma == std::string::npos) comma = last.size();
        const std::string word = Lower(Trim(std::string_view(last).substr(start, comma - start)));
        if (!word.empty() && std::find(s.judged.begin(), s.judged.end(), word) == s.judged.end())
            s.judged.push_back(word);
        start = comma + 1;
    }
    return s;
}

Score& Score::operator+=(const Score& o) {
    judged += o.judged;
    judgedFound += o.judgedFound;
    found += o.found;
    foundJudged += o.foundJudged;
    missed.insert(missed.end(), o.missed.begin(), o.missed.end());
    return *this;
}

Score ScoreSample(const std::vector<std::string>& judged, const std::vector<std::vector<std::string>>& foundGroups) {
    // A judged word written with accents also counts in its plain form and in the form the
    // search makes of it (accents dropped), the only forms a group can hold.
    auto holds = [](const std::vector<std::string>& group, const std::string& word) {
        const std::string plain = Plain(word), searched = WordFilter(word);
        return std::any_of(group.begin(), group.end(), [&](const std::string& w) {
            const std::string g = Lower(w);
            return g == word || g == plain || g == searched;
        });
    };
    Score s;
    s.judged = judged.size();
    s.found = foundGroups.size();
    for (const std::string& word : judged) {
        if (std::any_of(foundGroups.begin(), foundGroups.end(), [&](const auto& g) { return holds(g, word); }))
            ++s.judgedFound;
        else
            s.missed.push_back(word);
    }
    for (const auto& group : foundGroups)
        if (std::any_of(judged.begin(), judged.end(), [&](const std::string& w) { return holds(group, w); }))
            ++s.foundJudged;
    return s;
}

std::string Ratio(std::size_t part, std::size_t whole) {
    if (whole == 0) return "- (0/0)";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.1f %% (%zu/%zu)", 100.0 * static_cast<double>(part) / static_cast<double>(whole),
                  part, whole);
    return buf;
}

}  // namespace slumra::content

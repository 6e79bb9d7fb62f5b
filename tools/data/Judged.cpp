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
    s.description = std::string(text);
    // The marked lines at the end, last first, with where each starts in `text`.
    struct Marked {
        char mark;
        std::string rest;
        std::size_t start;
    };
    std::vector<Marked> tail;
    std::string_view body = text;
    auto lastLine = [&body](std::size_t& start) {  // the last line that is not blank; "" if none
        while (!body.empty() && std::string_view(" \t\r\n").find(body.back()) != std::string_view::npos)
            body.remove_suffix(1);
        const std::size_t nl = body.find_last_of("\r\n");
        start = nl == std::string_view::npos ? 0 : nl + 1;
        return Trim(body.substr(start));
    };
    auto isMark = [](const std::string& line) { return !line.empty() && (line[0] == '@' || line[0] == '+' || line[0] == '-'); };
    for (;;) {
        std::size_t start = 0;
        const std::string line = lastLine(start);
        if (!isMark(line)) break;
        tail.push_back({line[0], line.substr(1), start});
        body = body.substr(0, start);
        if (line[0] == '@') break;
    }
    if (tail.empty()) return s;
    if (tail.back().mark != '@') {
        s.problems.push_back("a \"+\" or \"-\" line without an \"@\" line before it");
        return s;
    }
    std::size_t above = 0;
    const std::string lineAbove = lastLine(above);
    if (isMark(lineAbove)) s.problems.push_back("a marked line above the \"@\" line is read as description");
    std::string order;
    for (auto it = tail.rbegin(); it != tail.rend(); ++it) order += it->mark;
    if (order != "@" && order != "@+" && order != "@-" && order != "@+-")
        s.problems.push_back("judgement lines not in the order @, +, -");

    s.isJudged = true;
    s.description = std::string(text.substr(0, tail.back().start));
    for (const Marked& m : tail) {
        std::vector<std::string>& into = m.mark == '@' ? s.judged : m.mark == '+' ? s.relevant : s.notRelevant;
        std::size_t from = 0;
        while (from <= m.rest.size()) {
            std::size_t comma = m.rest.find(',', from);
            if (comma == std::string::npos) comma = m.rest.size();
            std::string item = Trim(std::string_view(m.rest).substr(from, comma - from));
            if (m.mark == '@') item = Lower(item);
            const bool seen = std::any_of(into.begin(), into.end(), [&](const std::string& x) { return Lower(x) == Lower(item); });
            if (!item.empty() && !seen) into.push_back(item);
            from = comma + 1;
        }
    }
    for (const std::string& name : s.relevant)
        if (std::any_of(s.notRelevant.begin(), s.notRelevant.end(), [&](const std::string& x) { return Lower(x) == Lower(name); }))
            s.problems.push_back(name + " is judged both relevant and not");
    return s;
}

Score& Score::operator+=(const Score& o) {
    judged += o.judged;
    judgedFound += o.judgedFound;
    found += o.found;
    foundJudged += o.foundJudged;
    foundRelevant += o.foundRelevant;
    missed.insert(missed.end(), o.missed.begin(), o.missed.end());
    noVerdict.insert(noVerdict.end(), o.noVerdict.begin(), o.noVerdict.end());
    stale.insert(stale.end(), o.stale.begin(), o.stale.end());
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
    s.foundRelevant = s.foundJudged;
    return s;
}

Score ScoreSample(const Sample& sample, const std::vector<std::string>& foundNames,
                  const std::vector<std::vector<std::string>>& foundGroups) {
    auto named = [](const std::vector<std::string>& names, const std::string& name) {
        return std::any_of(names.begin(), names.end(), [&](const std::string& n) { return Lower(n) == Lower(name); });
    };
    Score s = ScoreSample(sample.judged, foundGroups);
    s.foundRelevant = 0;
    for (std::size_t i = 0; i < foundGroups.size(); ++i) {
        const std::string name = i < foundNames.size() ? foundNames[i] : std::string();
        const bool byWord = ScoreSample(sample.judged, {foundGroups[i]}).foundJudged > 0;
        if (byWord || named(sample.relevant, name))
            ++s.foundRelevant;
        else if (!named(sample.notRelevant, name))
            s.noVerdict.push_back(name);
    }
    for (const auto* names : {&sample.relevant, &sample.notRelevant})
        for (const std::string& n : *names)
            if (!named(foundNames, n)) s.stale.push_back(n);
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

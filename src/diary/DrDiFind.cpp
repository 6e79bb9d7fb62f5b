#include "diary/DrDiFind.h"

#include "data/Index.h"
#include "diary/DrDiRecs.h"

#include <algorithm>
#include <map>
#include <unordered_map>

namespace slumra {

std::vector<std::int32_t> FindDreams(TDrDiRecFile& diary, std::string_view query) {
    std::vector<std::string> words;
    const std::string folded = FoldAccents(query);
    std::string_view rest(folded);
    while (!rest.empty()) {
        const std::size_t space = rest.find(' ');
        if (space != 0) words.emplace_back(rest.substr(0, space));
        rest.remove_prefix(space == std::string_view::npos ? rest.size() : space + 1);
    }
    std::vector<std::int32_t> found;
    diary.ForEachVisible([&](std::int32_t n, const DrDiRec& rec) {
        // The fields joined by a byte no word holds, so that no word spans two of them.
        const std::string text = FoldAccents(rec.Head + '\n' + rec.Description + '\n' + rec.Explanation);
        if (std::all_of(words.begin(), words.end(),
                        [&text](const std::string& w) { return text.find(w) != std::string::npos; }))
            found.push_back(n);
    });
    return found;
}

bool ReadDreamDate(std::string_view text, int& day, int& month, int& year) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    int parts[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int part = 0;
    char separator = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            parts[part] = parts[part] * 10 + (c - '0');
            if (++digits[part] > 4) return false;
        } else if ((c == '-' || c == '.' || c == '/') && part < 2 && (separator == 0 || c == separator)) {
            separator = c;
            ++part;
        } else {
            return false;
        }
    }
    if (part != 2 || digits[0] < 1 || digits[0] > 2 || digits[1] < 1 || digits[1] > 2 || digits[2] != 4)
        return false;
    static constexpr int kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (parts[1] < 1 || parts[1] > 12 || parts[0] < 1 || parts[0] > kDays[parts[1] - 1]) return false;
    const bool leap = (parts[2] % 4 == 0 && parts[2] % 100 != 0) || parts[2] % 400 == 0;
    if (parts[1] == 2 && parts[0] == 29 && !leap) return false;
    day = parts[0];
    month = parts[1];
    year = parts[2];
    return true;
}

TDiaryStats DiaryStatistics(TDrDiRecFile& diary, const TSymbolLookup& lookup,
                            const std::vector<TPhrase>& phrases) {
    TDiaryStats stats;
    std::map<int, int> months;  // year * 12 + month - 1
    std::unordered_map<std::string, int> symbols;
    diary.ForEachVisible([&](std::int32_t, const DrDiRec& rec) {
        ++stats.Dreams;
        std::string name, date, time;
        SplitPath(rec.Head.c_str(), name, date, time);
        int day = 0, month = 0, year = 0;
        if (ReadDreamDate(date, day, month, year))
            ++months[year * 12 + month - 1];
        else
            ++stats.Undated;
        const TExplanations found = Explain(rec.Description, lookup, phrases);
        for (const auto& item : found.Items) ++symbols[item];
        for (const auto& item : found.Extra) ++symbols[item];
    });
    for (const auto& [key, count] : months) stats.Months.push_back({key / 12, key % 12 + 1, count});
    for (auto& [item, count] : symbols) stats.Symbols.push_back({item, count});
    std::sort(stats.Symbols.begin(), stats.Symbols.end(), [](const TSymbolCount& a, const TSymbolCount& b) {
        if (a.Count != b.Count) return a.Count > b.Count;
        const int byName = CompareKeys(IndexKey(a.Item), IndexKey(b.Item));
        return byName != 0 ? byName < 0 : a.Item < b.Item;
    });
    return stats;
}

}  // namespace slumra

// The explanation search over a fuzzed description, synonym file and index, checked against
// the plain search kept for that purpose: the same items found, each an index item, none twice
// (ignoring case), none missing, sorted as the index is; a search stopped early keeps the start
// of the full list. The synonym file is cut into lines as the program reads it.
#include "FuzzInput.h"

#include "data/Index.h"
#include "data/Synonyms.h"
#include "diary/ExpSearch.h"
#include "diary/ExpSearchNaive.h"
#include "lang/Cp1252.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace slumra;
using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::uint8_t stopAfter = fuzz::TakeByte(bytes);
    // description \x01 synonym file \x01 index names (one a line)
    std::vector<std::string> fields = fuzz::Split(bytes, '\x01');
    fields.resize(3);
    const std::string& description = fields[0];

    const std::vector<std::string> synonyms = SplitTextLines(fields[1]);
    // Lines never hold a line end or a zero, and joined again they give the text back.
    std::string joined, normal;
    for (const std::string& line : synonyms) {
        Check(line.find_first_of(std::string("\r\n\0", 3)) == std::string::npos);
        joined += line + "\n";
    }
    const std::string_view text(fields[1].data(), std::min(fields[1].size(), fields[1].find('\0')));
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        normal.push_back(text[i] == '\r' ? '\n' : text[i]);
    }
    if (!normal.empty() && normal.back() != '\n') normal.push_back('\n');
    Check(joined == normal);

    std::vector<std::string> index;
    TIndexLists lists;
    std::int32_t n = 0;
    for (const std::string& name : fuzz::Split(fields[2], '\n')) {
        if (name.find('|') != std::string::npos) continue;
        index.push_back(std::to_string(++n) + "|" + name);
        lists.Add(2, n, name);
    }

    std::vector<std::string> found;
    Check(SearchExplanations(description, synonyms, index, found));
    std::vector<std::string> expected;
    Check(naive::FindExplanations(naive::CutWords(SplitTextLines(description)), synonyms, index, expected));
    if (!expected.empty()) SortExplanations(expected, 0, static_cast<int>(expected.size()) - 1);
    Check(found == expected);
    for (std::size_t i = 0; i < found.size(); ++i) {
        Check(std::find(index.begin(), index.end(), found[i]) != index.end());
        for (std::size_t j = 0; j < i; ++j) Check(!SameTextIgnoringCase(found[i], found[j]));
        if (i > 0) Check(CompareKeys(IndexKey(found[i - 1]), IndexKey(found[i])) <= 0);
    }

    std::vector<std::string> compact;
    Check(SearchExplanations(description, synonyms, lists, compact));
    Check(compact == found);

    // Stopped after a number of questions: what it found is the start of the full list.
    const std::vector<std::string> words = CutWords(SplitTextLines(description));
    std::vector<std::string> all, part;
    Check(FindExplanations(words, synonyms, index, all));
    int asked = 0;
    const bool finished = FindExplanations(words, synonyms, index, part, [&] { return asked++ < stopAfter; });
    Check(part.size() <= all.size() && std::equal(part.begin(), part.end(), all.begin()));
    if (finished) Check(part == all);
    return 0;
}

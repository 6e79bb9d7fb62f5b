// The explanation search: a dream's description is cut into words, the words are looked up
// in the synonym groups, and every index entry named after a group's head word is listed.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace slumra {

class TIndexLists;

// Keeps only A-Z, a-z and the bytes 80..A5 hex; accented letters (C0..FF) are dropped too.
std::string WordFilter(std::string_view word);

// The distinct words (compared without regard to case) of the description's lines, in order
// of first appearance: each line lowercased (A-Z only), split at every single space (so two
// spaces give an empty word), each word filtered. Lines over 255 bytes are wrapped, not cut.
std::vector<std::string> CutWords(const std::vector<std::string>& lines);

// The head word of a synonym line "|head|word|...": the line cut to 255 bytes, a leading "|"
// dropped, the text up to the next "|" (empty without one), first letter made a capital (a-z).
std::string SynonymHeadWord(std::string_view line);

// Adds to `found` every index item ("n|name") whose name equals the head word of a synonym
// line holding "|word|" for some word, in the order words, lines, items; an item already in
// `found` (ignoring case) is not added again. Words hold no "|" (CutWords never makes one).
// The work is one pass over the lines and one over the index. `stillBusy` is asked at the
// start and then after every 1024 lines, fields, index entries or listed candidates (well
// under a millisecond of work); when it answers false the search stops and returns false,
// keeping what it found, which is always the start of the full list.
bool FindExplanations(const std::vector<std::string>& words, const std::vector<std::string>& synonyms,
                      const std::vector<std::string>& index, std::vector<std::string>& found,
                      const std::function<bool()>& stillBusy = {});
bool FindExplanations(const std::vector<std::string>& words, const std::vector<std::string>& synonyms,
                      const TIndexLists& index, std::vector<std::string>& found,
                      const std::function<bool()>& stillBusy = {});

// The whole search over a description text (lines split at CR LF, CR or LF), found items
// sorted by name. `stillBusy` is asked after the words are cut and as FindExplanations asks
// it (the caller may let its window messages run in it); a stopped search returns false and
// leaves the items found so far, unsorted.
bool SearchExplanations(std::string_view description, const std::vector<std::string>& synonyms,
                        const std::vector<std::string>& index, std::vector<std::string>& found,
                        const std::function<bool()>& stillBusy = {});
bool SearchExplanations(std::string_view description, const std::vector<std::string>& synonyms,
                        const TIndexLists& index, std::vector<std::string>& found,
                        const std::function<bool()>& stillBusy = {});
std::vector<std::string> SearchExplanations(std::string_view description,
                                            const std::vector<std::string>& synonyms,
                                            const std::vector<std::string>& index);

// Sorts found items lo..hi (0-based) by name, exactly as the index is sorted.
void SortExplanations(std::vector<std::string>& items, int lo, int hi);

}  // namespace slumra

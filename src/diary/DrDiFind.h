// Looking through one's own diary: the dreams that hold some words, and an overview of the
// whole diary (symbols found most often, dreams per month).
#pragma once

#include "diary/ExpSearchExtra.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace slumra {

class TDrDiRecFile;

// The visible numbers (1-based, ascending) of the dreams whose name, date, time, description
// or explanation hold every word of `query` (split at spaces), ignoring case and accents; a
// word may stand inside a longer one ("slang" finds "slangen"). A query without words finds
// every dream. Texts are Windows-1252.
std::vector<std::int32_t> FindDreams(TDrDiRecFile& diary, std::string_view query);

// Reads a date text as d-m-yyyy (one or two digits for day and month, four for the year,
// separated by "-", "." or "/"; spaces around it allowed) with a day and month that exist.
bool ReadDreamDate(std::string_view text, int& day, int& month, int& year);

struct TSymbolCount {
    std::string Item;  // "n|name"
    int Count = 0;     // dreams in which it was found
};

struct TMonthCount {
    int Year = 0;
    int Month = 0;  // 1..12
    int Count = 0;
};

struct TDiaryStats {
    int Dreams = 0;
    int Undated = 0;                    // dates that do not read as d-m-yyyy ("zonder datum")
    std::vector<TMonthCount> Months;    // months with dreams, oldest first
    std::vector<TSymbolCount> Symbols;  // most often first, then by name
};

// The overview of the visible dreams: both passes of the explanation search run over every
// description, each found symbol counted once per dream.
TDiaryStats DiaryStatistics(TDrDiRecFile& diary, const TSymbolLookup& lookup,
                            const std::vector<TPhrase>& phrases);

}  // namespace slumra

#include "lang/TransLtr.h"

#include <charconv>

namespace slumra {

std::int32_t LanguageCode = 44;
std::string LanguageFile;

namespace {

TranslatorHooks& Hooks() {
    static TranslatorHooks hooks;
    return hooks;
}

constexpr std::string_view kContents = "Contents";
constexpr std::string_view kLanguageArg = "/lang:";
constexpr std::int32_t kMaxLanguageCode = 9999;
// Notebook pages take their names from rows a thousand apart.
constexpr std::int32_t kPageStep = 1000;

constexpr std::int32_t kTextNumbers[] = {
    // Single texts, asked for by number.
    2, 10, 12, 13, 2100, 2101, 2102, 2103, 2301, 2401, 3101, 3102, 3201, 3208, 3209,  //
    3301, 3302, 3303, 3304, 3305, 3306, 3307, 3308, 3309,                             //
    3401, 3402, 3403, 3404, 3405, 3406, 3407, 3408,                                   //
    3501, 3502, 3503, 3504, 3505, 3506,                                               //
    4201, 4202, 4203, 4204, 4205,                                                     //
    4301, 4302, 4303, 4304, 4305, 4306, 4307, 4308,                                   //
    4401, 4402, 4403, 4404, 4405, 4501, 4502,                                         //
    7003, 7010, 7011, 7012, 7013, 7014, 7015, 7016, 7017,                             //
    7023, 7024, 7030, 7031, 7032, 7035, 7036, 7037, 7038, 7039,                       //
    7100, 7101, 7102, 7103, 7110, 7111, 7112, 7113,                                   //
    7120, 7121, 7122, 7123, 7124, 7125, 7126, 7127, 7128, 7129,                       //
    7201, 7205, 7206, 7207, 7210, 7211, 7212, 7215, 7216, 7220, 7221, 7222,           //
    7260, 7261, 7280, 7281, 7282, 7283, 7284, 7285,                                   //
    // Tags of the main window that are no single text.
    100, 200, 300, 400, 500, 2200, 2300, 2400, 3200, 3202, 3203, 3204, 3205, 3206, 3207, 3300, 3400, 3500,
    3600, 7000, 7020, 7022,
    // Tags of the diary dialog and of the name dialog.
    1900, 4100, 4200, 4300, 4400, 4500, 4600, 4700, 7200, 6101, 6102};

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
        if (c != prefix[i]) return false;
    }
    return true;
}

}  // namespace

std::int32_t LanguageFromArguments(const std::vector<std::string>& args, std::int32_t fallback) {
    std::int32_t code = fallback;
    for (const std::string& arg : args) {
        if (!StartsWithNoCase(arg, kLanguageArg)) continue;
        const std::string_view digits = std::string_view(arg).substr(kLanguageArg.size());
        std::int32_t value = 0;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (ec == std::errc() && end == digits.data() + digits.size() && !digits.empty() &&
            digits[0] != '-' && value >= 1 && value <= kMaxLanguageCode)
            code = value;
    }
    return code;
}

void SetTranslatorHooks(TranslatorHooks hooks) {
    Hooks() = std::move(hooks);
}

TLanguageTable::TLanguageTable() {
    FEngine.OnPassword = Hooks().OnPassword;
    FEngine.OnDateForm = Hooks().OnDateForm;
}

bool TLanguageTable::Open(const std::string& path, std::string_view section, std::int32_t code) {
    FTable.clear();
    if (!FEngine.Open(path, path, "", "")) return false;
    const std::int32_t row = FEngine.FindRow(kContents, "iCountry", std::to_string(code));
    if (row <= 0) {
        FEngine.Close();
        return false;
    }
    const std::string language = CellString(FEngine.ReadCell(kContents, "sCountry", row));
    FTable = std::string(section.substr(0, kTVNameMax)) + " (" + language + ")";
    return true;
}

std::int32_t TLanguageTable::FindTag(std::int32_t tag) {
    return FTable.empty() ? 0 : FEngine.FindRow(FTable, "Tag", std::to_string(tag));
}

std::string TLanguageTable::CaptionString(std::int32_t row) {
    return CellString(CaptionCell(row));
}

TVCell TLanguageTable::CaptionCell(std::int32_t row) {
    return FEngine.ReadCell(FTable, "Caption", row);
}

std::string TLanguageTable::Caption(std::int32_t row) {
    return FEngine.CellText(FTable, "Caption", row);
}

std::string TLanguageTable::Hint(std::int32_t row) {
    return FEngine.CellText(FTable, "Hint", row);
}

std::string TranslateText(std::int32_t number, std::string_view section, const std::string& path,
                          const std::string& defaultText) {
    TLanguageTable table;
    if (!table.Open(path, section, LanguageCode)) return defaultText;
    const std::int32_t row = table.FindTag(number);
    if (row <= 0) return defaultText;
    // A caption cut off by the end of a damaged file is no translation: the text stays as it was.
    const TVCell caption = table.CaptionCell(row);
    return caption.Error != 0 ? defaultText : CellString(caption);
}

std::string ProgramText(std::int32_t number, const std::string& dutch) {
    if (LanguageCode == kDutchLanguage) return dutch;
    return TranslateText(number, kProgramSection, LanguageFile, dutch);
}

TComponentTexts TranslateTexts(TLanguageTable& table, TComponentKind kind, std::int32_t tag, int count) {
    TComponentTexts out;
    if (tag <= 0) return out;
    std::int32_t row = table.FindTag(tag);
    if (row > 0) {
        if (kind == TComponentKind::Captioned) out.Caption = table.Caption(row);
        out.Hint = table.Hint(row);
        return out;
    }
    if (kind == TComponentKind::Listed) {
        row = table.FindTag(tag + 1);
        if (row > 0) {
            // Rows are not compared with the table's row count: one past the prepared rows
            // reads as an empty text.
            for (int q = 0; q < count; ++q) out.Entries.emplace_back(table.Caption(row + q));
        }
    } else if (kind == TComponentKind::Paged) {
        out.Entries.resize(static_cast<std::size_t>(count > 0 ? count : 0));
        for (int q = 0; q < count; ++q) {
            row = table.FindTag(q * kPageStep + tag + 1);
            if (row > 0) out.Entries[static_cast<std::size_t>(q)] = table.Caption(row);
        }
    }
    if (row > 0) out.Hint = table.Hint(row);
    return out;
}

std::span<const std::int32_t> ProgramTextNumbers() {
    return kTextNumbers;
}

}  // namespace slumra

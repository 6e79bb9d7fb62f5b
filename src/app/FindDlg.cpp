#include "app/FindDlg.h"

#include "lang/TransLtr.h"

#include <memory>

namespace slumra {

namespace {

// Results shown at most: more than a list can hold helps nobody.
constexpr std::size_t kMostShown = 200;

SearchTexts DictionaryTexts() {
    return {ProgramText(7100, "Zoeken in het woordenboek"),
            ProgramText(7101, "Zoeken in het woordenboek: typ een woord of meer"), ProgramText(7102, "Tonen"),
            ProgramText(7103, "Sluiten")};
}

}  // namespace

TFindDialog::TFindDialog(const TFindIndex& index, TPMultiImage* loader)
    : TSearchDialog(L"SlumraFindDialog", DictionaryTexts(), static_cast<int>(kMaxFindQuery), loader) {
    Search = [&index](const std::string& query) {
        std::vector<std::string> items;
        for (const std::int32_t n : index.Find(query, kMostShown))
            items.push_back(std::to_string(n) + "|" + std::string(index.SymbolName(n)));
        return items;
    };
}

std::int32_t FindInDictionary(const TFindIndex& index, TPMultiImage* loader) {
    try {
        auto dialog = std::make_unique<TFindDialog>(index, loader);
        return dialog->ShowModal() == 1 ? dialog->Chosen() : 0;
    } catch (...) {
        return 0;
    }
}

}  // namespace slumra

#include "app/DiaryFindDlg.h"

#include "data/iDbRecs.h"
#include "diary/DrDiFind.h"
#include "diary/DrDiRecs.h"
#include "lang/TransLtr.h"

#include <memory>

namespace slumra {

namespace {

constexpr int kMaxQuery = 255;

SearchTexts DiaryTexts() {
    return {ProgramText(7110, "Zoeken in het droomnachtboek"),
            ProgramText(7111, "Zoeken in uw dromen: typ een woord of meer"), ProgramText(7112, "Tonen"),
            ProgramText(7113, "Sluiten")};
}

}  // namespace

TDiaryFindDialog::TDiaryFindDialog(TDrDiRecFile& diary, TPMultiImage* loader)
    : TSearchDialog(L"SlumraDiaryFindDialog", DiaryTexts(), kMaxQuery, loader) {
    Search = [&diary](const std::string& query) {
        const std::vector<std::int32_t> found = FindDreams(diary, query);
        std::vector<std::string> items;
        items.reserve(found.size());
        std::size_t next = 0;
        diary.ForEachVisible([&](std::int32_t n, const DrDiRec& dream) {
            if (next >= found.size() || found[next] != n) return;
            ++next;
            std::string name, date, time;
            SplitPath(dream.Head.c_str(), name, date, time);
            items.push_back(std::to_string(n) + "|" + name + (date.empty() ? "" : "  (" + date + ")"));
        });
        return items;
    };
    FindEditChange();
}

std::int32_t FindInDiary(TDrDiRecFile& diary, TPMultiImage* loader) {
    try {
        auto dialog = std::make_unique<TDiaryFindDialog>(diary, loader);
        return dialog->ShowModal() == 1 ? dialog->Chosen() : 0;
    } catch (...) {
        return 0;
    }
}

}  // namespace slumra

#include "lang/TransLtrWin.h"

#include "toolkit/Outline.h"
#include "toolkit/StdCtrls.h"
#include "toolkit/Text.h"
#include "widgets/MMBtns.h"
#include "widgets/Pw.h"
#include "widgets/Ticker.h"

#include <shellapi.h>

#include <vector>

namespace slumra {

namespace {

// Entries replaced where the translation has one; the selection stays where it was.
std::vector<std::string> Replaced(std::vector<std::string> items, const TComponentTexts& texts) {
    for (std::size_t q = 0; q < items.size() && q < texts.Entries.size(); ++q)
        if (texts.Entries[q]) items[q] = *texts.Entries[q];
    return items;
}

void TranslateTree(tk::TWinControl* parent, TLanguageTable& table) {
    for (tk::TControl* c : parent->Controls()) {
        TranslateComponent(c, table);
        if (auto* w = dynamic_cast<tk::TWinControl*>(c)) TranslateTree(w, table);
    }
}

}  // namespace

void TranslateComponent(tk::TControl* component, TLanguageTable& table) {
    if (component == nullptr || component->Tag <= 0) return;
    const std::int32_t tag = component->Tag;
    TComponentTexts texts;
    // The outline is a list box underneath, but its rows are its tree: it is no list here.
    if (dynamic_cast<tk::TOutline*>(component) != nullptr) {
        texts = TranslateTexts(table, TComponentKind::Other, tag, 0);
    } else if (auto* list = dynamic_cast<tk::TListBox*>(component)) {
        texts = TranslateTexts(table, TComponentKind::Listed, tag, list->Count());
        if (!texts.Entries.empty()) {
            const int index = list->ItemIndex(), top = list->TopIndex();
            list->SetItems(Replaced(list->Items(), texts));
            list->SetItemIndex(index);
            list->SetTopIndex(top);
        }
    } else if (auto* combo = dynamic_cast<tk::TComboBox*>(component)) {
        texts = TranslateTexts(table, TComponentKind::Listed, tag, static_cast<int>(combo->Items().size()));
        if (!texts.Entries.empty()) {
            const int index = combo->ItemIndex();
            combo->SetItems(Replaced(combo->Items(), texts));
            combo->SetItemIndex(index);
        }
    } else if (auto* ticker = dynamic_cast<TTicker*>(component)) {
        texts = TranslateTexts(table, TComponentKind::Listed, tag, static_cast<int>(ticker->Items().size()));
        if (!texts.Entries.empty()) ticker->SetItems(Replaced(ticker->Items(), texts));
    } else if (auto* label = dynamic_cast<tk::TLabel*>(component)) {
        texts = TranslateTexts(table, TComponentKind::Captioned, tag, 0);
        if (texts.Caption) label->SetCaption(*texts.Caption);
    } else if (auto* button = dynamic_cast<TBaseBtn*>(component)) {
        texts = TranslateTexts(table, TComponentKind::Captioned, tag, 0);
        if (texts.Caption) button->SetCaption(*texts.Caption);
    } else if (auto* panel = dynamic_cast<tk::TPanel*>(component)) {
        texts = TranslateTexts(table, TComponentKind::Captioned, tag, 0);
        if (texts.Caption) panel->SetCaption(*texts.Caption);
    } else {
        texts = TranslateTexts(table, TComponentKind::Other, tag, 0);
    }
    if (texts.Hint) component->Hint = *texts.Hint;
}

void TranslateForm(tk::TControl* component, std::string_view section, const std::string& path) {
    if (component == nullptr) return;
    TLanguageTable table;
    if (!table.Open(path, section, LanguageCode)) return;
    if (auto* form = dynamic_cast<tk::TForm*>(component)) {
        const std::int32_t row = table.FindTag(form->Tag);
        if (row > 0) form->SetCaption(table.CaptionString(row));
        TranslateTree(form, table);
    } else {
        TranslateComponent(component, table);
    }
}

void TranslateProgramForm(tk::TForm* form) {
    if (LanguageCode == kDutchLanguage) return;
    TranslateForm(form, kProgramSection, LanguageFile);
}

std::int32_t CommandLineLanguage() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::string> args;
    for (int i = 1; argv != nullptr && i < argc; ++i) args.push_back(tk::NarrowLossy(argv[i]));
    LocalFree(argv);
    return LanguageFromArguments(args, kDutchLanguage);
}

std::string WindowsDateForm(const TVDateTime& moment, TVDateForm form) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(moment.Year);
    st.wMonth = static_cast<WORD>(moment.Month);
    st.wDay = static_cast<WORD>(moment.Day);
    st.wDayOfWeek = static_cast<WORD>(moment.DayOfWeek % 7);  // Sunday is 0 here
    st.wHour = static_cast<WORD>(moment.Hour);
    st.wMinute = static_cast<WORD>(moment.Minute);
    st.wSecond = static_cast<WORD>(moment.Second);
    st.wMilliseconds = static_cast<WORD>(moment.Millisecond);
    wchar_t text[256] = {};
    int written = 0;
    if (moment.Year >= 1601) {
        switch (form) {
            case TVDateForm::ShortDate:
            case TVDateForm::LongDate:
                written = GetDateFormatW(LOCALE_USER_DEFAULT,
                                         form == TVDateForm::ShortDate ? DATE_SHORTDATE : DATE_LONGDATE, &st,
                                         nullptr, text, 256);
                break;
            case TVDateForm::ShortTime:
            case TVDateForm::LongTime:
                written =
                    GetTimeFormatW(LOCALE_USER_DEFAULT, form == TVDateForm::ShortTime ? TIME_NOSECONDS : 0,
                                   &st, nullptr, text, 256);
                break;
        }
    }
    if (written <= 1) return DutchDateForm(moment, form);
    return tk::NarrowLossy(std::wstring_view(text, static_cast<std::size_t>(written - 1)));
}

void InstallTranslatorHooks() {
    TranslatorHooks hooks;
    hooks.OnPassword = [] { return AskPassword(); };
    hooks.OnDateForm = &WindowsDateForm;
    SetTranslatorHooks(std::move(hooks));
}

}  // namespace slumra

// The translator over real controls, the password prompt of a protected language file, and the
// shipped language file's texts measured against the controls that show them.
#include "GuiTest.h"

#include "app/Main.h"
#include "data/Files.h"
#include "lang/TVWriter.h"
#include "lang/TransLtrWin.h"
#include "toolkit/Outline.h"
#include "toolkit/Text.h"
#include "widgets/MMBtns.h"
#include "widgets/Ticker.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace slumra {
namespace {

namespace fs = std::filesystem;

fs::path ProgramDir() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return fs::path(self).parent_path().parent_path().parent_path() / L"program";
}

// A language file for English (44): rows of tag, caption and hint; `password` protects it.
std::string WriteLanguageFile(const std::string& name, const std::vector<std::vector<TVWriteValue>>& rows,
                              std::optional<std::string> password = {}) {
    const std::vector<TVWriteTable> tables = {
        {"Contents",
         {{"iCountry", TVType::Integer}, {"sCountry", TVType::String, 20}},
         {{44, std::string("English")}}},
        {"Program (English)",
         {{"Tag", TVType::Integer}, {"Caption", TVType::String, 40}, {"Hint", TVType::String, 40}},
         rows}};
    TVWriteOptions options;
    options.Password = std::move(password);
    std::string bytes, error;
    EXPECT_TRUE(WriteTableFile(tables, options, bytes, error)) << error;
    const fs::path path = fs::temp_directory_path() / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return tk::NarrowLossy(path.wstring());
}

class TransLtrForm : public ::testing::Test {
protected:
    void TearDown() override {
        LanguageCode = 44;
        LanguageFile.clear();
        SetTranslatorHooks({});
    }
};

// The rules themselves are tested in the core; here: that each kind of control takes its texts.
TEST_F(TransLtrForm, EveryKindOfControlTakesItsTexts) {
    const std::string s;
    LanguageFile =
        WriteLanguageFile("slumra-translate-form.LNG", {{5, std::string("Window"), s},
                                                        {3201, std::string("Open"), std::string("Diary")},
                                                        {7, std::string("Panel"), s},
                                                        {8, std::string("Inner"), s},
                                                        {2100, std::string("Contents"), std::string("Pick")},
                                                        {81, std::string("not a tree"), s},
                                                        {71, std::string("tape|small"), s},
                                                        {61, std::string("one"), std::string("list")},
                                                        {62, std::string("two"), s}});
    tk::TForm form;
    form.Tag = 5;
    const auto tagged = [](auto* c, int tag) {
        c->Tag = tag;
        return c;
    };
    auto* label = tagged(new tk::TLabel(&form), 3201);
    label->SetCaption("Droomnachtboek van");
    auto* untagged = new tk::TLabel(&form);
    untagged->SetCaption("Blijft");
    auto* button = tagged(new TBaseBtn(&form), 3201);
    auto* panel = tagged(new tk::TPanel(&form), 7);
    auto* inner = tagged(new tk::TLabel(panel), 8);
    auto* kept = tagged(new tk::TListBox(&form), 2100);
    kept->SetItems({"1|Aap"});
    auto* list = tagged(new tk::TListBox(&form), 60);
    list->SetItems({"x", "y"});
    list->SetItemIndex(1);
    auto* combo = tagged(new tk::TComboBox(&form), 60);
    combo->SetItems({"een", "twee"});
    combo->SetItemIndex(1);
    auto* ticker = tagged(new TTicker(&form), 70);
    ticker->SetItems({"band|klein"});
    auto* outline = tagged(new tk::TOutline(&form), 80);
    outline->SetLines({"1|Dieren", " 2|Vogels"});
    auto* edit = tagged(new tk::TEdit(&form), 3201);
    edit->SetText("mijn tekst");
    form.Handle();

    LanguageCode = kDutchLanguage;  // nothing is read, nothing changes
    TranslateProgramForm(&form);
    EXPECT_EQ(label->Caption(), "Droomnachtboek van");
    LanguageCode = 44;
    TranslateProgramForm(&form);
    EXPECT_EQ(form.Caption(), "Window");
    EXPECT_EQ(label->Caption(), "Open");
    EXPECT_EQ(label->Hint, "Diary");
    EXPECT_EQ(untagged->Caption(), "Blijft");
    EXPECT_EQ(button->Caption(), "Open");
    EXPECT_EQ(panel->Caption(), "Panel");
    EXPECT_EQ(inner->Caption(), "Inner");
    EXPECT_EQ(kept->Items(), std::vector<std::string>{"1|Aap"});
    EXPECT_EQ(kept->Hint, "Pick");
    // Entries are replaced where they stand; the selection stays.
    EXPECT_EQ(list->Items(), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(combo->Text(), "two");
    EXPECT_EQ(combo->Hint, "list");
    EXPECT_EQ(ticker->Items(), std::vector<std::string>{"tape|small"});
    EXPECT_EQ(outline->Item(1).Text, "1|Dieren");
    EXPECT_EQ(edit->Text(), "mijn tekst");
    EXPECT_EQ(edit->Hint, "Diary");

    // A single component is translated by itself.
    label->SetCaption("weer Nederlands");
    TranslateForm(label, kProgramSection, LanguageFile);
    EXPECT_EQ(label->Caption(), "Open");
}

// Answers the password dialog once it shows: `typed` and Enter, or Escape when empty.
std::wstring gTyped;
void CALLBACK AnswerPassword(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = FindWindowW(nullptr, L"Password");
    if (dialog == nullptr || !IsWindowVisible(dialog)) return;
    KillTimer(nullptr, id);
    HWND edit = FindWindowExW(dialog, nullptr, L"Edit", nullptr);
    for (wchar_t c : gTyped) PostMessageW(edit, WM_CHAR, c, 1);
    PostMessageW(edit, WM_KEYDOWN, gTyped.empty() ? VK_ESCAPE : VK_RETURN, 1);
}

TEST_F(TransLtrForm, ProtectedFileAsksThroughThePasswordDialog) {
    LanguageFile =
        WriteLanguageFile("slumra-protected.LNG", {{3305, std::string("Error"), std::string()}}, "geheim");
    InstallTranslatorHooks();
    LanguageCode = 44;
    gTyped = L"geheim";
    SetTimer(nullptr, 0, 50, AnswerPassword);
    EXPECT_EQ(ProgramText(3305, "Fout"), "Error");
    gTyped.clear();
    SetTimer(nullptr, 0, 50, AnswerPassword);
    EXPECT_EQ(ProgramText(3305, "Fout"), "Fout");

    // Dates in the user's forms, and the portable form where Windows has none.
    const TVDateTime moment{2024, 3, 5, 2, 9, 7, 2, 0};
    EXPECT_NE(WindowsDateForm(moment, TVDateForm::LongDate).find("2024"), std::string::npos);
    const TVDateTime early{1500, 3, 5, 1, 9, 7, 2, 0};
    EXPECT_EQ(WindowsDateForm(early, TVDateForm::ShortDate), DutchDateForm(early, TVDateForm::ShortDate));
}

// The shipped texts where the program shows them, at the 640 × 480 design: no text cut off.
TEST(UiLng, EveryShippedTextFitsWhereItIsShown) {
    tk::LoadPrivateFonts((ProgramDir() / L"Fonts").wstring());
    const std::string path = tk::NarrowLossy((ProgramDir() / L"D" / L"UI.LNG").wstring());
    // Skinned text buttons by width; their caption starts 5 % in.
    const std::vector<std::pair<int, std::vector<int>>> buttons = {
        {75, {2300, 2400}},
        {140, {2101, 2103, 3101, 3102}},
        {200, {3208, 3209, 3300, 3400, 3500}},
        {120, {4200, 4300, 4400, 4500, 4600, 4700, 7200, 7102, 7103, 7112, 7113, 7129}},
        {110, {6101, 6102}}};
    const std::string name = "Droomnachtboek";
    for (const std::int32_t code : {44, 49}) {
        LanguageCode = code;
        TLanguageTable table;
        ASSERT_TRUE(table.Open(path, kProgramSection, code)) << path;
        const auto text = [&](std::int32_t n) { return table.CaptionString(table.FindTag(n)); };
        tk::WindowDC screen(nullptr);
        tk::TCanvas canvas(screen.Get());
        canvas.Font.SetName("Comic Sans MS");
        const auto fits = [&](const std::string& shown, int width, int lines = 1, int fontHeight = -11) {
            canvas.Font.SetHeight(fontHeight);
            const HGDIOBJ old = SelectObject(canvas.Handle(), canvas.Font.Handle());
            RECT line{0, 0, 1000, 0}, r{0, 0, width, 0};
            DrawTextW(canvas.Handle(), L"Ag", -1, &line, DT_CALCRECT | DT_SINGLELINE);
            DrawTextW(canvas.Handle(), tk::Widen(shown).c_str(), -1, &r,
                      DT_CALCRECT | DT_NOPREFIX | (lines > 1 ? DT_WORDBREAK : DT_SINGLELINE));
            SelectObject(canvas.Handle(), old);
            EXPECT_TRUE(r.right <= width && r.bottom <= line.bottom * lines)
                << code << ": \"" << shown << "\"";
        };
        for (const auto& [width, numbers] : buttons)
            for (const int n : numbers) fits(text(n), width - (width * 5 + 99) / 100 - 2);
        fits(text(2100), 220, 1, -13);
        fits(text(2102), 220, 1, -13);
        fits(text(3201) + " \"" + name + "\"", 600, 1, 19);
        fits(text(3203), 40);  // up to the date field
        fits(text(3204), 44);  // up to the time field
        for (const int n : {3202, 3205, 3600, 3207}) fits(text(n), 250);
        fits(text(3206), 250, 2);
        fits(text(4100), 380);
        // The name dialog's caption and prompt on one line each, the messages on three.
        const std::string noun = text(2);
        for (const std::string& line :
             {text(4201), text(4401), text(4202), text(4402) + name, text(3502) + name + "\"",
              text(3301) + noun + text(3302), text(3303) + noun + text(3304), noun + text(3501)})
            fits(line, 290);
        for (const std::string& message :
             {text(4204), text(4307), text(4404), text(4302) + name + text(4303), text(3307), text(3407),
              text(3506), text(3402) + noun + text(3403)})
            fits(message, 290, 3);
        // The search and overview windows, the name limit, and the messages of saving and of
        // the read-only place (the long ones in the tall message dialog).
        for (const int n : {7101, 7111}) fits(text(n), 370);
        fits(text(7121) + name + text(7122), 372);
        fits(text(7123) + "100000" + text(7124) + "1000" + text(7125), 372);
        for (const int n : {7126, 7127}) fits(text(n), 230);
        fits(text(7128), 132);
        fits(text(7260) + "40" + text(7261), 290);
        const std::string folder = "C:\\Users\\Anna\\AppData\\Roaming\\Slumra\\User\\";
        for (const std::string& message :
             {text(7031) + "4000" + text(7032), text(7215), text(7280) + text(7284) + text(7039), text(7014),
              text(7015), text(7012) + folder + "Anna.ddf" + text(7013)})
            fits(message, 290, 3);
        for (const std::string& message : {text(7206) + folder, text(7207) + folder, text(7211), text(7212),
                                           text(7036) + name + ".ddf.beschadigd" + text(7037), text(7038)})
            fits(message.substr(0, 255), 290, 6);
    }
    LanguageCode = 44;
}

// The first control below `parent` that carries `tag` and is a T.
template <typename T>
T* FindTagged(tk::TWinControl* parent, int tag) {
    for (tk::TControl* c : parent->Controls()) {
        if (auto* t = dynamic_cast<T*>(c); t != nullptr && c->Tag == tag) return t;
        if (auto* w = dynamic_cast<tk::TWinControl*>(c))
            if (T* found = FindTagged<T>(w, tag)) return found;
    }
    return nullptr;
}

// Prints what translating the whole main window with the shipped language file costs.
TEST(TransLtrBench, TranslatingTheMainWindowTakesUnder100ms) {
    tk::TScreen::Pretend(1024, 768, 24);
    TMainForm::ScreenTooSmall = [] {};
    auto form = std::make_unique<TMainForm>();
    const std::string path = tk::NarrowLossy((ProgramDir() / L"D" / L"UI.LNG").wstring());
    for (const std::int32_t code : {44, 49}) {
        LanguageCode = code;
        double best = 1e9;
        for (int run = 0; run < 3; ++run) {
            const auto start = std::chrono::steady_clock::now();
            TranslateForm(form.get(), kProgramSection, path);
            best = std::min(
                best,
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        std::printf("translating the main window into %d: %.1f ms\n", code, best);
        EXPECT_LT(best, 100.0);
        TBaseBtn* diary = FindTagged<TBaseBtn>(form.get(), 3101);
        ASSERT_NE(diary, nullptr);
        EXPECT_EQ(diary->Caption(), code == 44 ? "Open Dream Diary"
                                               : "Traumtagebuch \xF6"
                                                 "ffnen");
        tk::TLabel* contents = FindTagged<tk::TLabel>(form.get(), 2100);
        ASSERT_NE(contents, nullptr);
        EXPECT_EQ(contents->Caption(), code == 44 ? "Contents" : "Inhalt");
    }
    form.reset();
    LanguageCode = 44;
    tk::TScreen::Pretend(0, 0, 0);
}

}  // namespace
}  // namespace slumra

namespace slumra {
namespace {

// The real main window and diary panel in English and German, read from their controls.
TEST(UiLng, TheMainWindowAndDiaryPanelSpeakTheChosenLanguage) {
    const std::string file = tk::NarrowLossy((ProgramDir() / L"D" / L"UI.LNG").wstring());
    if (!FileExists(file)) GTEST_SKIP() << "no language file beside the program";
    struct Case {
        std::int32_t code;
        const char* contents;
        const char* openDiary;
    } cases[] = {{44, "Contents", "Open Dream Diary"}, {49, "Inhalt", "Traumtagebuch \xF6" "ffnen"}};
    for (const Case& c : cases) {
        tk::TScreen::Pretend(640, 480, 24);
        TMainForm::ScreenTooSmall = [] {};
        auto form = std::make_unique<TMainForm>();
        LanguageFile = file;
        LanguageCode = c.code;
        form->Show();
        EXPECT_EQ(form->Records->ContentIndexLbl->Caption(), c.contents) << c.code;
        EXPECT_EQ(form->DreamDiaryBtn->Caption(), c.openDiary) << c.code;
        EXPECT_NE(form->Diary->DrDiRecTextLbl->Caption(), "Droomomschrijving") << c.code;
        EXPECT_NE(form->Diary->DrDiOverviewBtn->Caption(), "Overzicht") << c.code;
        form.reset();
        LanguageCode = kDutchLanguage;
        tk::TScreen::Pretend(0, 0, 0);
    }
}

}  // namespace
}  // namespace slumra

// The translator over real controls, the password prompt of a protected language file, and the
// shipped language file's texts measured against the controls that show them.
#include "GuiTest.h"

#include "app/Main.h"
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

using Rows = std::vector<std::vector<TVWriteValue>>;

void AddRow(Rows& rows, std::int64_t tag, const std::string& caption, const std::string& hint = "") {
    rows.push_back({tag, caption, hint});
}

// A language file for English (44) with `rows`; `password` protects it.
std::string WriteLanguageFile(const std::string& name, const Rows& rows,
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

TEST_F(TransLtrForm, EveryKindOfControlFollowsItsRows) {
    Rows rows;
    AddRow(rows, 5, "Window");
    AddRow(rows, 3201, "", "Diary");
    AddRow(rows, 3101, "Open Dream Diary", "Open or close");
    AddRow(rows, 7, "Panel");
    AddRow(rows, 8, "Inner");
    AddRow(rows, 2100, "Contents", "Pick");
    AddRow(rows, 81, "not a tree");
    AddRow(rows, 71, "tape|small");
    AddRow(rows, 61, "one");
    AddRow(rows, 62, "two");
    AddRow(rows, 51, "first", "list");
    AddRow(rows, 52, "second");
    LanguageFile = WriteLanguageFile("slumra-translate-form.LNG", rows);

    tk::TForm form;
    form.Tag = 5;
    form.SetCaption("Venster");
    form.SetBounds(0, 0, 400, 300);
    auto* label = new tk::TLabel(&form);
    label->Tag = 3201;
    label->SetCaption("Droomnachtboek van");
    auto* untagged = new tk::TLabel(&form);
    untagged->SetCaption("Blijft");
    untagged->Hint = "eigen";
    auto* button = new TBaseBtn(&form);
    button->Tag = 3101;
    button->SetCaption("Droomnachtboek Openen");
    auto* panel = new tk::TPanel(&form);
    panel->Tag = 7;
    auto* inner = new tk::TLabel(panel);
    inner->Tag = 8;
    auto* kept = new tk::TListBox(&form);
    kept->Tag = 2100;
    kept->SetItems({"1|Aap", "2|Beer"});
    auto* list = new tk::TListBox(&form);
    list->Tag = 50;
    list->SetItems({"x", "y", "z"});
    list->SetItemIndex(1);
    auto* combo = new tk::TComboBox(&form);
    combo->Tag = 60;
    combo->SetItems({"een", "twee"});
    combo->SetItemIndex(1);
    auto* ticker = new TTicker(&form);
    ticker->Tag = 70;
    ticker->SetItems({"band|klein"});
    auto* outline = new tk::TOutline(&form);
    outline->Tag = 80;
    outline->SetLines({"1|Dieren", " 2|Vogels"});
    auto* edit = new tk::TEdit(&form);
    edit->Tag = 3201;
    edit->SetText("mijn tekst");
    form.Handle();

    // Dutch: nothing is read, nothing changes.
    LanguageCode = kDutchLanguage;
    TranslateProgramForm(&form);
    EXPECT_EQ(form.Caption(), "Venster");
    EXPECT_EQ(button->Caption(), "Droomnachtboek Openen");

    LanguageCode = 44;
    TranslateProgramForm(&form);
    EXPECT_EQ(form.Caption(), "Window");
    EXPECT_EQ(label->Caption(), "");
    EXPECT_EQ(label->Hint, "Diary");
    EXPECT_EQ(untagged->Caption(), "Blijft");
    EXPECT_EQ(untagged->Hint, "eigen");
    EXPECT_EQ(button->Caption(), "Open Dream Diary");
    EXPECT_EQ(button->Hint, "Open or close");
    EXPECT_EQ(panel->Caption(), "Panel");
    EXPECT_EQ(inner->Caption(), "Inner");
    // A list whose own Tag has a row keeps its entries and takes the row's hint.
    EXPECT_EQ(kept->Items(), (std::vector<std::string>{"1|Aap", "2|Beer"}));
    EXPECT_EQ(kept->Hint, "Pick");
    // Otherwise its entries come from Tag + 1 on (the last past the file's end), the selection stays.
    EXPECT_EQ(list->Items(), (std::vector<std::string>{"first", "second", ""}));
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(list->Hint, "list");
    EXPECT_EQ(combo->Items(), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Text(), "two");
    EXPECT_EQ(ticker->Items(), (std::vector<std::string>{"tape|small"}));
    EXPECT_EQ(outline->ItemCount(), 2);
    EXPECT_EQ(outline->Item(1).Text, "1|Dieren");
    EXPECT_EQ(edit->Text(), "mijn tekst");
    EXPECT_EQ(edit->Hint, "Diary");

    // A single component is translated by itself; a missing file changes nothing.
    label->SetCaption("weer Nederlands");
    TranslateForm(label, kProgramSection, LanguageFile);
    EXPECT_EQ(label->Caption(), "");
    button->SetCaption("Droomnachtboek Openen");
    TranslateForm(&form, kProgramSection, LanguageFile + ".weg");
    EXPECT_EQ(button->Caption(), "Droomnachtboek Openen");
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
    Rows rows;
    AddRow(rows, 3305, "Error");
    LanguageFile = WriteLanguageFile("slumra-protected.LNG", rows, "geheim");
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

// Where a text of the shipped language file is shown, at the 640 × 480 design: the room it has.
struct Room {
    Room(std::int32_t n, int w, int l = 1, int font = -11, bool b = false, std::string pre = {},
         std::string post = {})
        : number(n),
          width(w),
          lines(l),
          fontHeight(font),
          button(b),
          before(std::move(pre)),
          after(std::move(post)) {}
    std::int32_t number;
    int width;                  // pixels across
    int lines;                  // word-wrapped lines it may take
    int fontHeight;             // of Comic Sans MS
    bool button;                // a skinned text button: the caption starts 5 % in
    std::string before, after;  // what the program puts around it
};

TEST(UiLng, EveryShippedTextFitsWhereItIsShown) {
    tk::LoadPrivateFonts((ProgramDir() / L"Fonts").wstring());
    const std::string path = tk::NarrowLossy((ProgramDir() / L"D" / L"UI.LNG").wstring());
    const std::vector<Room> rooms = {
        {2300, 75, 1, -11, true},
        {2400, 75, 1, -11, true},
        {2101, 140, 1, -11, true},
        {2103, 140, 1, -11, true},
        {3101, 140, 1, -11, true},
        {3102, 140, 1, -11, true},
        {3208, 200, 1, -11, true},
        {3209, 200, 1, -11, true},
        {3300, 200, 1, -11, true},
        {3400, 200, 1, -11, true},
        {3500, 200, 1, -11, true},
        {4200, 120, 1, -11, true},
        {4300, 120, 1, -11, true},
        {4400, 120, 1, -11, true},
        {4500, 120, 1, -11, true},
        {4600, 120, 1, -11, true},
        {4700, 120, 1, -11, true},
        {6101, 110, 1, -11, true},
        {6102, 110, 1, -11, true},
        {2100, 220, 1, -13},
        {2102, 220, 1, -13},
        {3203, 40},
        {3204, 44},
        {3202, 250},
        {3205, 250},
        {3600, 250},
        {3207, 250},
        {3206, 250, 2},
        {4100, 380},
        {3201, 600, 1, 19, false, "", " \"Droomnachtboek\""},
        // The name and message dialogs: caption and prompt on one line, messages on three.
        {4201, 290},
        {4401, 290},
        {4202, 290},
        {4402, 290, 1, -11, false, "", "Droomnachtboek"},
        {3502, 290, 1, -11, false, "", "Droomnachtboek\""},
        {4204, 290, 3},
        {4307, 290, 3},
        {4404, 290, 3},
        {4302, 290, 3, -11, false, "", "Droomnachtboek"},
        {3307, 290, 3},
        {3407, 290, 3},
        {3506, 290, 3}};
    for (const std::int32_t code : {44, 49}) {
        LanguageCode = code;
        TLanguageTable table;
        ASSERT_TRUE(table.Open(path, kProgramSection, code)) << path;
        const std::string noun = table.CaptionString(table.FindTag(2));
        std::vector<Room> all = rooms;
        // The texts built around the dream noun.
        const auto text = [&](std::int32_t n) { return table.CaptionString(table.FindTag(n)); };
        all.push_back({3301, 290, 1, -11, false, "", noun + text(3302)});
        all.push_back({3303, 290, 1, -11, false, "", noun + text(3304)});
        all.push_back({3402, 290, 3, -11, false, "", noun + text(3403)});
        all.push_back({3501, 290, 1, -11, false, noun, ""});
        tk::WindowDC screen(nullptr);
        tk::TCanvas canvas(screen.Get());
        for (const Room& room : all) {
            const std::int32_t row = table.FindTag(room.number);
            ASSERT_GT(row, 0) << code << ": no text " << room.number;
            const std::string shown = room.before + table.CaptionString(row) + room.after;
            canvas.Font.SetName("Comic Sans MS");
            canvas.Font.SetHeight(room.fontHeight);
            const int width = room.button ? room.width - (room.width * 5 + 99) / 100 - 2 : room.width;
            const HDC dc = canvas.Handle();
            const HGDIOBJ old = SelectObject(dc, canvas.Font.Handle());
            RECT line{0, 0, 1000, 0};
            DrawTextW(dc, L"Ag", -1, &line, DT_CALCRECT | DT_SINGLELINE);
            RECT r{0, 0, width, 0};
            DrawTextW(dc, tk::Widen(shown).c_str(), -1, &r,
                      DT_CALCRECT | DT_NOPREFIX | (room.lines > 1 ? DT_WORDBREAK : DT_SINGLELINE));
            SelectObject(dc, old);
            EXPECT_LE(r.right, width) << code << ": text " << room.number << " \"" << shown << "\"";
            EXPECT_LE(r.bottom, line.bottom * room.lines)
                << code << ": text " << room.number << " \"" << shown << "\"";
        }
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

int CountTagged(tk::TWinControl* parent) {
    int n = 0;
    for (tk::TControl* c : parent->Controls()) {
        n += c->Tag > 0 ? 1 : 0;
        if (auto* w = dynamic_cast<tk::TWinControl*>(c)) n += CountTagged(w);
    }
    return n;
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
        std::printf("translating the main window (%d tagged components) into %d: %.1f ms\n",
                    CountTagged(form.get()), code, best);
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

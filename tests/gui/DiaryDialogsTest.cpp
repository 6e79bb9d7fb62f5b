#include "GuiTest.h"

#include "app/Main.h"
#include "diary/DrDiDlg.h"
#include "diary/MsgDlg.h"
#include "diary/NewDlg.h"
#include "output/Printer.h"
#include "toolkit/Clipboard.h"
#include "toolkit/Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace slumra {
namespace {

namespace fs = std::filesystem;

// ---- driving modal dialogs -------------------------------------------------------------
// A modal dialog runs its own loop; what the user does is done from inside it, by a thread
// timer that every loop dispatches like any message.

struct Pending {
    std::function<bool()> ready;
    std::function<void()> act;
    UINT_PTR timer = 0;
};

Pending& Next() {
    static Pending pending;
    return pending;
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    Pending& p = Next();
    if (!p.ready || !p.ready()) return;
    KillTimer(nullptr, p.timer);
    std::function<void()> act = std::move(p.act);
    p = Pending{};
    act();  // may arm the next step
}

// Runs `act` once `ready` holds, from whichever loop is running then.
void When(std::function<bool()> ready, std::function<void()> act) {
    Pending& p = Next();
    if (p.timer != 0) KillTimer(nullptr, p.timer);
    p.ready = std::move(ready);
    p.act = std::move(act);
    p.timer = SetTimer(nullptr, 0, 5, Tick);
}

bool NameDialogUp() {
    return NewDialog() != nullptr && NewDialog()->Modal();
}
bool MessageUp() {
    return MessageDialog() != nullptr && MessageDialog()->Modal();
}
bool DiaryDialogUp() {
    return OpenDreamDiaryDialog() != nullptr && OpenDreamDiaryDialog()->Modal();
}
bool Now() {
    return true;
}

// Characters typed one by one, each followed by its key release.
void Type(tk::TWinControl* edit, const std::wstring& text) {
    for (wchar_t c : text) {
        PostMessageW(edit->Handle(), WM_CHAR, c, 1);
        PostMessageW(edit->Handle(), WM_KEYUP, 'A', 0xC0000001);
    }
}

void Release(tk::TWinControl* target, WORD key) {
    PostMessageW(target->Handle(), WM_KEYUP, key, 0xC0000001);
}

// Posted to the running loop, or handled at once when `wait`.
void Deliver(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, bool wait) {
    if (wait)
        SendMessageW(wnd, msg, wp, lp);
    else
        PostMessageW(wnd, msg, wp, lp);
}

// A left click in the middle of a control, on the window that shows it.
void Click(tk::TControl* c, bool wait = false) {
    tk::TWinControl* w = c->IsWindowed() ? static_cast<tk::TWinControl*>(c) : c->Parent();
    const int x = c->IsWindowed() ? c->Width() / 2 : c->Left() + c->Width() / 2;
    const int y = c->IsWindowed() ? c->Height() / 2 : c->Top() + c->Height() / 2;
    Deliver(w->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y), wait);
    Deliver(w->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y), wait);
}

void ClickRow(tk::TListBox* list, int row, bool wait = false) {
    const RECT r = list->ItemRect(row);
    const LPARAM at = MAKELPARAM(r.left + 20, (r.top + r.bottom) / 2);
    Deliver(list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at, wait);
    Deliver(list->Handle(), WM_LBUTTONUP, 0, at, wait);
}

// ---- name and message dialogs ----------------------------------------------------------

TEST(NameDialog, EnterOrKlaarAnswersTheTypedNameFilteredAsTyped) {
    std::string caption, prompt, field;
    When(NameDialogUp, [&] {
        TNewDialog* d = NewDialog();
        caption = d->HCaption->Caption();
        prompt = d->NewDlgMsg->Caption();
        Type(d->NewDlgEdit, L"Jan|Piet.ddf");
        When(Now, [&] {
            field = NewDialog()->NewDlgEdit->Text();
            Release(NewDialog()->NewDlgEdit, VK_RETURN);
        });
    });
    EXPECT_EQ(AskName("Nieuw Droomnachtboek", "Voer een naam in"), "JanPietddf");
    EXPECT_EQ(caption, "Nieuw Droomnachtboek");
    EXPECT_EQ(prompt, "Voer een naam in");
    // Filtered at each key release, typing going on behind what was kept.
    EXPECT_EQ(field, "JanPietddf");
    EXPECT_EQ(NewDialog(), nullptr);

    When(NameDialogUp, [] {
        Type(NewDialog()->NewDlgEdit, L"\u00c8ve");
        Click(NewDialog()->OkBtn);
    });
    EXPECT_EQ(AskName("Nieuw Droomnachtboek", "Voer een naam in"), "ve");
}

TEST(NameDialog, EscapeOrAnnulerenAnswersNoName) {
    When(NameDialogUp, [] {
        Type(NewDialog()->NewDlgEdit, L"Jan");
        Release(NewDialog()->NewDlgEdit, VK_ESCAPE);
    });
    EXPECT_EQ(AskName("Nieuw Droomnachtboek", "Voer een naam in"), "");
    When(NameDialogUp, [] {
        Type(NewDialog()->NewDlgEdit, L"Jan");
        Click(NewDialog()->CancelBtn);
    });
    EXPECT_EQ(AskName("Nieuw Droomnachtboek", "Voer een naam in"), "");
}

TEST(NameDialog, PastedNameIsFilteredOnTheWayOut) {
    const auto pasteAndClose = [](const std::string& text, std::string& field) {
        When(NameDialogUp, [&field, text] {
            TNewDialog* d = NewDialog();
            ASSERT_TRUE(tk::SetClipboardText(d->Handle(), text));
            PostMessageW(d->NewDlgEdit->Handle(), WM_PASTE, 0, 0);
            When(Now, [&field] {
                field = NewDialog()->NewDlgEdit->Text();
                Click(NewDialog()->OkBtn);
            });
        });
    };
    std::string field;
    pasteAndClose("..\\Jan|Piet.", field);
    EXPECT_EQ(AskName("Droomnachtboek hernoemen", "Geef een nieuwe naam op voor Jan"), "JanPiet");
    EXPECT_EQ(field, "..\\Jan|Piet.");  // no key was released: the field itself is unfiltered
    pasteAndClose("..\\|.", field);
    EXPECT_EQ(AskName("Droomnachtboek hernoemen", "Geef een nieuwe naam op voor Jan"), "");
}

TEST(MessageDialog, EnterEndsEvenAPlainMessageWithTrueAndTheButtonsFollowTheirCaptions) {
    bool yesShown = true, noShown = false;
    std::string text, no;
    When(MessageUp, [&] {
        TMessageDialog* d = MessageDialog();
        yesShown = d->YesBtn->Visible();
        noShown = d->NoBtn->Visible();
        no = d->NoBtn->Caption();
        text = d->MsgDlgMsg->Caption();
        Release(d, VK_RETURN);
    });
    EXPECT_TRUE(AskMessage("Fout", "Droomnachtboek kan niet worden gemaakt", "", "OK"));
    EXPECT_FALSE(yesShown);
    EXPECT_TRUE(noShown);
    EXPECT_EQ(no, "OK");
    EXPECT_EQ(text, "Droomnachtboek kan niet worden gemaakt");

    // A text longer than the dialog's lines gets the tall dialog: every word shows.
    std::string longText;
    while (longText.size() < 240) longText += "woord ";
    std::vector<int> heights;
    for (const std::string& t : {std::string("Kort."), longText}) {
        When(MessageUp, [&] {
            TMessageDialog* d = MessageDialog();
            EXPECT_LE(d->MsgDlgMsg->WrappedTextHeight(), d->MsgDlgMsg->Height()) << t;
            heights.push_back(d->Height());
            Release(d, VK_RETURN);
        });
        AskMessage("Let op", t, "", "OK");
    }
    ASSERT_EQ(heights.size(), 2u);
    EXPECT_GT(heights[1], heights[0]);

    When(MessageUp, [] { Release(MessageDialog(), VK_ESCAPE); });
    EXPECT_FALSE(AskMessage("Bevestigen", "Zeker?", "Ja", "Nee"));
    When(MessageUp, [] { Click(MessageDialog()->NoBtn); });
    EXPECT_FALSE(AskMessage("Bevestigen", "Zeker?", "Ja", "Nee"));
    When(MessageUp, [] { Click(MessageDialog()->YesBtn); });
    EXPECT_TRUE(AskMessage("Bevestigen", "Zeker?", "Ja", "Nee"));
}

// ---- diary dialog ----------------------------------------------------------------------

// Works in the diaries' folder beside the test program, which must hold no diary of its own;
// everything made there is removed again.
class DiaryDialog : public testing::Test {
protected:
    void SetUp() override {
        folder_ = UserFolder();
        if (!Diaries().empty()) GTEST_SKIP() << "diaries are in the way in " << folder_;
        SetCursorPos(1000, 750);  // the real pointer stays away: only the test's messages count
    }

    void TearDown() override {
        std::error_code ec;
        for (const fs::path& p : Diaries()) fs::remove_all(p, ec);
    }

    std::vector<fs::path> Diaries() const {
        std::vector<fs::path> found;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(Native(""), ec)) {
            std::wstring ext = e.path().extension().wstring();
            for (wchar_t& c : ext) c = static_cast<wchar_t>(towlower(c));
            if (ext == L".ddf") found.push_back(e.path());
        }
        return found;
    }

    fs::path Native(const std::string& name) const { return fs::path(tk::Widen(folder_ + name)); }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(Native(name + ".ddf"), std::ios::binary) << bytes;
    }
    bool Exists(const std::string& name) const { return fs::is_regular_file(Native(name + ".ddf")); }
    std::string Read(const std::string& name) const {
        std::ifstream in(Native(name + ".ddf"), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // A shown dialog whose questions are answered from names_ and answers_, and recorded.
    std::unique_ptr<TOpenDreamDiaryDialog> Make(std::optional<DiaryPlaces> places = std::nullopt) {
        auto d = places ? std::make_unique<TOpenDreamDiaryDialog>(nullptr, *places)
                        : std::make_unique<TOpenDreamDiaryDialog>();
        d->AskNameFunc = [this](const std::string& caption, const std::string& prompt) {
            asked_.push_back(caption + "|" + prompt);
            std::string name = names_.empty() ? std::string() : names_.front();
            if (!names_.empty()) names_.pop_front();
            return name;
        };
        d->AskMessageFunc = [this](const std::string& caption, const std::string& text,
                                   const std::string& yes, const std::string& no) {
            told_.push_back(caption + "|" + text + "|" + yes + "|" + no);
            const bool answer = !answers_.empty() && answers_.front();
            if (!answers_.empty()) answers_.pop_front();
            return answer;
        };
        d->Show();
        return d;
    }

    static int Row(const TOpenDreamDiaryDialog& d, const std::string& name) {
        const auto& items = d.PersonsBox->Items();
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i] == name) return static_cast<int>(i);
        }
        return -1;
    }

    std::string folder_;
    std::deque<std::string> names_;
    std::deque<bool> answers_;
    std::vector<std::string> asked_, told_;
};

TEST_F(DiaryDialog, EachEntryIsItsOwnFileAndTheButtonsNeedAChoice) {
    {
        auto d = Make();
        EXPECT_EQ(d->PersonsBox->Count(), 0);
        EXPECT_TRUE(d->PersonsBoxAddBtn->Enabled());
        EXPECT_TRUE(d->NoBtn->Enabled());
        for (TBaseBtn* b : {d->PersonsBoxDeleteBtn, d->PersonsBoxChangeBtn, d->PersonsBoxPrintBtn, d->YesBtn})
            EXPECT_FALSE(b->Enabled()) << b->Caption();
    }
    Write("Jan", "nieuw");
    Write("Jan.oud", "oud");
    std::error_code ec;
    fs::create_directory(Native("Map.ddf"), ec);
    auto d = Make();
    std::vector<std::string> names = d->PersonsBox->Items();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Jan", "Jan.oud"}));

    ClickRow(d->PersonsBox, Row(*d, "Jan.oud"), true);
    EXPECT_TRUE(d->PersonsBoxDeleteBtn->Enabled());
    EXPECT_TRUE(d->PersonsBoxChangeBtn->Enabled());
    EXPECT_TRUE(d->YesBtn->Enabled());
    EXPECT_FALSE(d->PersonsBoxPrintBtn->Enabled());  // no printing handed in
    std::string printed;
    d->PrintFunc = [&printed](HWND, const std::string& path) { printed = path; };
    d->UpdateButtons();
    EXPECT_EQ(d->PersonsBoxPrintBtn->Enabled(), AnyPrinterInstalled());
    if (AnyPrinterInstalled()) {
        Click(d->PersonsBoxPrintBtn, true);
        EXPECT_EQ(printed, folder_ + "Jan.oud.ddf");
        EXPECT_TRUE(IsWindowVisible(d->Handle()));
    }
    // Deleting the old copy deletes that copy, not the diary listed beside it.
    answers_ = {true};
    Click(d->PersonsBoxDeleteBtn, true);
    EXPECT_FALSE(Exists("Jan.oud"));
    EXPECT_EQ(Read("Jan"), "nieuw");
    EXPECT_EQ(d->PersonsBox->Items(), std::vector<std::string>{"Jan"});
}

TEST_F(DiaryDialog, AddMakesAnEmptyDiaryAndRefusesTakenAndDeviceNames) {
    Write("Piet", "dromen");
    auto d = Make();
    names_ = {"Jan"};
    Click(d->PersonsBoxAddBtn, true);
    EXPECT_EQ(asked_, std::vector<std::string>{"Nieuw Droomnachtboek|Voer een naam in"});
    ASSERT_TRUE(Exists("Jan"));
    EXPECT_EQ(fs::file_size(Native("Jan.ddf")), 0u);
    EXPECT_EQ(d->PersonsBox->Count(), 2);
    EXPECT_EQ(d->PersonsBox->ItemIndex(), -1);
    EXPECT_TRUE(told_.empty());

    for (const char* refused : {"piet", "CON", "nul", "Com1", "lpt9", "Kees "}) {
        names_ = {refused};
        Click(d->PersonsBoxAddBtn, true);
    }
    EXPECT_EQ(told_, std::vector<std::string>(6, "Fout|Droomnachtboek kan niet worden gemaakt||OK"));
    EXPECT_EQ(Read("Piet"), "dromen");  // never made anew
    EXPECT_EQ(Diaries().size(), 2u);

    told_.clear();
    names_ = {""};  // cancelled
    Click(d->PersonsBoxAddBtn, true);
    EXPECT_TRUE(told_.empty());
    EXPECT_EQ(Diaries().size(), 2u);
}

TEST_F(DiaryDialog, DeleteOnlyAfterYesAndSaysSoWhenTheFileIsGone) {
    Write("Jan", "dromen");
    Write("Piet", "meer dromen");
    auto d = Make();
    ClickRow(d->PersonsBox, Row(*d, "Jan"), true);
    answers_ = {false};
    Click(d->PersonsBoxDeleteBtn, true);
    EXPECT_EQ(told_, std::vector<std::string>{
                         "Bevestigen|Weet u zeker dat u het droomnachtboek van Jan wilt verwijderen|Ja|Nee"});
    EXPECT_EQ(Read("Jan"), "dromen");

    told_.clear();
    answers_ = {true};
    Click(d->PersonsBoxDeleteBtn, true);
    EXPECT_FALSE(Exists("Jan"));
    EXPECT_EQ(Read("Piet"), "meer dromen");
    EXPECT_EQ(d->PersonsBox->Items(), std::vector<std::string>{"Piet"});
    EXPECT_FALSE(d->PersonsBoxDeleteBtn->Enabled());

    // Removed behind the dialog's back: the deletion fails and says so.
    ClickRow(d->PersonsBox, 0, true);
    fs::remove(Native("Piet.ddf"));
    told_.clear();
    answers_ = {true, true};
    Click(d->PersonsBoxDeleteBtn, true);
    ASSERT_EQ(told_.size(), 2u);
    EXPECT_EQ(told_[1], "Fout|Droomnachtboek kan niet worden verwijderd||OK");
}

TEST_F(DiaryDialog, RenameNeverReplacesAnotherDiary) {
    Write("Jan", "van Jan");
    Write("Piet", "van Piet");
    auto d = Make();
    ClickRow(d->PersonsBox, Row(*d, "Jan"), true);
    names_ = {"Piet", "LPT1", "piet"};
    for (int i = 0; i < 3; ++i) Click(d->PersonsBoxChangeBtn, true);
    EXPECT_EQ(asked_.front(), "Droomnachtboek hernoemen|Geef een nieuwe naam op voor Jan");
    ASSERT_EQ(told_.size(), 3u);
    EXPECT_EQ(told_[0], "Fout|" + folder_ + "Jan.ddf-->" + folder_ +
                            "Piet.ddfDroomnachtboek kan niet worden hernoemd||OK");
    EXPECT_EQ(told_[1].substr(0, told_[1].find("-->")), "Fout|" + folder_ + "Jan.ddf");
    EXPECT_EQ(Read("Jan"), "van Jan");
    EXPECT_EQ(Read("Piet"), "van Piet");
    EXPECT_EQ(Diaries().size(), 2u);

    told_.clear();
    names_ = {"Kees"};
    ClickRow(d->PersonsBox, Row(*d, "Jan"), true);
    Click(d->PersonsBoxChangeBtn, true);
    EXPECT_TRUE(told_.empty());
    EXPECT_FALSE(Exists("Jan"));
    EXPECT_EQ(Read("Kees"), "van Jan");
    EXPECT_NE(Row(*d, "Kees"), -1);
}

TEST_F(DiaryDialog, RenameInLetterCaseOnlyIsARealRename) {
    Write("Zo", "van Zo");
    auto d = Make();
    ClickRow(d->PersonsBox, Row(*d, "Zo"), true);
    names_ = {"ZO"};
    Click(d->PersonsBoxChangeBtn, true);
    EXPECT_TRUE(told_.empty());
    EXPECT_EQ(d->PersonsBox->Items(), std::vector<std::string>{"ZO"});
    ASSERT_EQ(Diaries().size(), 1u);
    EXPECT_EQ(Diaries()[0].filename().wstring(), L"ZO.ddf");
    EXPECT_EQ(Read("ZO"), "van Zo");
}

TEST_F(DiaryDialog, OpenenAnswersAPathOnlyForAChosenDiary) {
    Write("Jan.oud", "oud");
    Write("Piet", "");
    // Enter without a choice opens nothing; Escape cancels.
    When(DiaryDialogUp, [] {
        Release(OpenDreamDiaryDialog(), VK_RETURN);
        Release(OpenDreamDiaryDialog(), VK_ESCAPE);
    });
    EXPECT_EQ(OpenDiaryDialog(), "");
    EXPECT_EQ(OpenDreamDiaryDialog(), nullptr);

    for (const std::string name : {"Jan.oud", "Piet"}) {
        When(DiaryDialogUp, [this, name] {
            TOpenDreamDiaryDialog* d = OpenDreamDiaryDialog();
            ClickRow(d->PersonsBox, Row(*d, name));
            Release(d, VK_RETURN);
        });
        EXPECT_EQ(OpenDiaryDialog(), folder_ + name + ".ddf");
    }
    When(DiaryDialogUp, [] {
        TOpenDreamDiaryDialog* d = OpenDreamDiaryDialog();
        ClickRow(d->PersonsBox, 0);
        When(Now, [] { Click(OpenDreamDiaryDialog()->YesBtn); });
    });
    EXPECT_EQ(OpenDiaryDialog().substr(0, folder_.size()), folder_);
}

TEST_F(DiaryDialog, DiariesOfAnUnwritableFolderBesideTheProgramAreListedToReadOrCopy) {
    // The folder beside the program is played by one of the test's own; the own folder is the
    // test's usual one.
    const fs::path besideDir = Native("").parent_path().parent_path() / L"BesideTest";
    std::error_code ec;
    fs::create_directories(besideDir, ec);
    const std::string beside = tk::NarrowLossy(besideDir.wstring()) + "\\";
    std::ofstream(besideDir / L"Oud.ddf", std::ios::binary) << "oud";
    std::ofstream(besideDir / L"Jan.ddf", std::ios::binary) << "jan daar";
    Write("Jan", "jan hier");
    const DiaryPlaces places{folder_, beside, true};

    auto d = Make(places);
    EXPECT_TRUE(d->TellAboutPlaces());
    ASSERT_EQ(told_.size(), 1u);
    EXPECT_NE(told_[0].find("(alleen lezen)"), std::string::npos) << told_[0];
    EXPECT_NE(told_[0].find(folder_), std::string::npos) << told_[0];
    EXPECT_FALSE(Make(places)->TellAboutPlaces());  // once in a run
    // A diary's name leaves room in the path for its copies, however deep the folder lies.
    const std::string deep = std::string(200, 'm') + "\\";
    EXPECT_LE(Make(DiaryPlaces{deep, "", false})->NameLimit() + deep.size() + 20, 259u);
    EXPECT_GE(d->NameLimit(), 100);
    EXPECT_EQ(told_.size(), 1u);
    EXPECT_EQ(d->PersonsBox->Items()[0], "Jan");
    ASSERT_EQ(d->PersonsBox->Count(), 3);

    // Read only: no delete or rename; "Nee" to the copy opens the original only to read.
    ClickRow(d->PersonsBox, Row(*d, "Oud (alleen lezen)"), true);
    EXPECT_FALSE(d->PersonsBoxDeleteBtn->Enabled());
    EXPECT_FALSE(d->PersonsBoxChangeBtn->Enabled());
    answers_ = {false};
    Click(d->YesBtn, true);
    EXPECT_EQ(d->ChosenPath(), beside + "Oud.ddf");
    EXPECT_TRUE(d->ChosenReadOnly());

    // "Ja" copies it into the own folder and opens the copy; a name taken there is not replaced.
    for (const char* name : {"Oud", "Jan"}) {
        d = Make(places);
        ClickRow(d->PersonsBox, Row(*d, std::string(name) + " (alleen lezen)"), true);
        answers_ = {true};
        Click(d->YesBtn, true);
        const bool taken = std::string(name) == "Jan";
        EXPECT_EQ(d->ChosenReadOnly(), taken) << name;
        EXPECT_EQ(d->ChosenPath(), (taken ? beside : folder_) + name + ".ddf");
    }
    EXPECT_EQ(Read("Oud"), "oud");
    EXPECT_EQ(Read("Jan"), "jan hier");
    EXPECT_NE(told_.back().find("niet worden gekopieerd"), std::string::npos) << told_.back();
    fs::remove_all(besideDir, ec);
}

TEST_F(DiaryDialog, AddAndItsRefusalGoThroughTheRealDialogs) {
    auto d = std::make_unique<TOpenDreamDiaryDialog>();
    d->Show();
    When(NameDialogUp, [] {
        Type(NewDialog()->NewDlgEdit, L"Anna");
        Release(NewDialog()->NewDlgEdit, VK_RETURN);
    });
    Click(d->PersonsBoxAddBtn, true);
    EXPECT_TRUE(Exists("Anna"));
    EXPECT_EQ(d->PersonsBox->Items(), std::vector<std::string>{"Anna"});

    std::string told;
    When(NameDialogUp, [&told] {
        Type(NewDialog()->NewDlgEdit, L"anna");
        Release(NewDialog()->NewDlgEdit, VK_RETURN);
        When(MessageUp, [&told] {
            told = MessageDialog()->HCaption->Caption() + "|" + MessageDialog()->MsgDlgMsg->Caption();
            Release(MessageDialog(), VK_RETURN);
        });
    });
    Click(d->PersonsBoxAddBtn, true);
    EXPECT_EQ(told, "Fout|Droomnachtboek kan niet worden gemaakt");
    EXPECT_EQ(Diaries().size(), 1u);
}

// The skin tile lies under the whole dialog and shows through the list's rows at the place
// where each row lies, also below the last one.
TEST_F(DiaryDialog, ListRowsShowTheSkinWhereTheyLie) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const fs::path skins = fs::path(self).parent_path() / L"I";
    if (fs::exists(skins)) GTEST_SKIP() << "skins lie beside the test program";
    struct Cleanup {
        fs::path dir;
        ~Cleanup() {
            std::error_code ec;
            fs::remove_all(dir, ec);
        }
    } cleanup{skins};
    // A 64 × 64 tile: left half one colour, right half another (24-bit BMP, bottom-up).
    constexpr int kTile = 64;
    constexpr std::uint32_t kLeft = 0x3060A0, kRight = 0xA06030;
    fs::create_directories(skins / L"B");
    {
        std::ofstream bmp(skins / L"B" / L"abk", std::ios::binary);
        auto put = [&bmp](std::uint32_t v, int bytes) {
            for (int i = 0; i < bytes; ++i) bmp.put(static_cast<char>((v >> (8 * i)) & 0xFF));
        };
        bmp << "BM";
        put(54 + kTile * kTile * 3, 4), put(0, 4), put(54, 4);
        put(40, 4), put(kTile, 4), put(kTile, 4), put(1, 2), put(24, 2), put(0, 4);
        put(kTile * kTile * 3, 4), put(2835, 4), put(2835, 4), put(0, 4), put(0, 4);
        for (int y = 0; y < kTile; ++y)
            for (int x = 0; x < kTile; ++x) put(x < kTile / 2 ? kLeft : kRight, 3);
    }
    Write("Jan", "");
    Write("Piet", "");
    auto d = Make();
    test::Pump(150);
    const auto tileAt = [&](int formX) { return formX % kTile < kTile / 2 ? kLeft : kRight; };

    const test::Pixels form = test::Grab(*d);
    const int gapY = d->PersonsBox->Top() + d->PersonsBox->Height() + 3;
    for (int x = 40; x < 200; x += 7) EXPECT_EQ(form.At(x, gapY), tileAt(x)) << x;

    const test::Pixels list = test::Grab(*d->PersonsBox);
    const int belowRows = d->PersonsBox->ItemRect(1).bottom + 5;
    const int firstRow = d->PersonsBox->ItemRect(0).bottom / 2;
    for (int x = 0; x < list.Width(); x += 5) {
        EXPECT_EQ(list.At(x, belowRows), tileAt(d->PersonsBox->Left() + x)) << x;
        // Beside the name, which is written from 5 pixels in.
        if (x < 5 || x > 80) {
            EXPECT_EQ(list.At(x, firstRow), tileAt(d->PersonsBox->Left() + x)) << x;
        }
    }
}

// On a 1280 × 1024 screen the program shows its 1024 × 768 design: the dialogs grow by 1.6,
// their round shape with them, and the list's rows too.
TEST(DiaryDialogs, LargestDesignScalesShapeAndRows) {
    tk::TScreen::Pretend(1280, 1024, 24);
    {
        TMainForm main;
        ASSERT_EQ(SizeClass(), 2);
        TOpenDreamDiaryDialog diary;
        EXPECT_EQ(diary.Width(), 627);
        EXPECT_EQ(diary.Height(), 357);
        EXPECT_EQ(diary.PersonsBox->ItemHeight(), 27);
        EXPECT_EQ(diary.YesBtn->Left() + diary.YesBtn->Width(), 608);
        RECT box{};
        GetWindowRgnBox(diary.Handle(), &box);
        EXPECT_EQ(box.right, 626);  // a rounded region leaves out its last column and row
        EXPECT_EQ(box.bottom, 356);
        TNewDialog name;
        EXPECT_EQ(name.Width(), 499);
        EXPECT_EQ(name.Height(), 181);
        GetWindowRgnBox(name.Handle(), &box);
        EXPECT_EQ(box.right, 498);
        EXPECT_EQ(name.NewDlgEdit->Font.Height(), -18);
    }
    tk::TScreen::Pretend(0, 0, 0);
}

}  // namespace
}  // namespace slumra

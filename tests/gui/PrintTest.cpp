// Printing on a real printer: the PDF printer of the private CUPS server that scripts/test
// starts (scripts/cups-env). The set-up dialog is answered by a click on its button; the PDF the
// job writes is read back with pdftotext. Without that server the tests skip.
#include "GuiTest.h"

#include "output/Printer.h"
#include "toolkit/Graphics.h"
#include "toolkit/Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

namespace slumra {
namespace {

namespace fs = std::filesystem;

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr ? v : "";
}

fs::path ToWindows(const std::string& unixPath) {
    std::string p = "Z:" + unixPath;
    for (char& c : p)
        if (c == '/') c = '\\';
    return fs::path(p);
}

fs::path SelfExe() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return self;
}

// Clicks OK or Cancel in the printer set-up dialog of the calling thread once it shows.
class DialogAnswer {
public:
    explicit DialogAnswer(int button)
        : FThread([this, button, owner = GetCurrentThreadId()] {
              for (int i = 0; i < 400 && !FStop; ++i) {
                  HWND dlg = nullptr;
                  EnumThreadWindows(owner, FindDialog, reinterpret_cast<LPARAM>(&dlg));
                  if (dlg != nullptr) {
                      wchar_t title[100] = {};
                      GetWindowTextW(dlg, title, 100);
                      FTitle = tk::NarrowLossy(title);
                      PostMessageW(GetDlgItem(dlg, button), BM_CLICK, 0, 0);
                      FAnswered = true;
                      return;
                  }
                  Sleep(25);
              }
          }) {}
    ~DialogAnswer() {
        FStop = true;
        FThread.join();
    }
    bool Answered() const { return FAnswered; }
    std::string Title() const { return FTitle; }

private:
    static BOOL CALLBACK FindDialog(HWND w, LPARAM found) {
        wchar_t cls[16] = {};
        GetClassNameW(w, cls, 16);
        if (std::wstring(cls) != L"#32770" || !IsWindowVisible(w)) return TRUE;
        *reinterpret_cast<HWND*>(found) = w;
        return FALSE;
    }
    std::atomic<bool> FStop{false}, FAnswered{false};
    std::string FTitle;
    std::thread FThread;
};

// A PDF the printer wrote, as pdftotext reads it: the words of every page with their boxes.
struct Pdf {
    struct Page {
        double width = 0, height = 0;
        std::string text;  // words joined by spaces
        bool allInside = true;
    };
    std::vector<Page> pages;
};

Pdf ReadPdf(const std::string& unixPdf) {
    Pdf pdf;
    const std::string unixOut = unixPdf + ".html";
    std::wstring cmd = tk::Widen("/usr/bin/pdftotext -bbox \"" + unixPdf + "\" \"" + unixOut + "\"");
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(L"Z:\\usr\\bin\\pdftotext", cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi))
        return pdf;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    // A Unix program started from Wine has no process handle to wait on: wait for its output.
    std::string html;
    for (int i = 0; i < 200 && html.find("</html>") == std::string::npos; ++i) {
        Sleep(50);
        std::ifstream in(ToWindows(unixOut));
        std::stringstream all;
        all << in.rdbuf();
        html = all.str();
    }
    static const std::regex tag(
        R"re(<page width="([\d.]+)" height="([\d.]+)">|<word xMin="([\d.-]+)" yMin="([\d.-]+)" xMax="([\d.-]+)" yMax="([\d.-]+)">([^<]*)</word>)re");
    for (auto it = std::sregex_iterator(html.begin(), html.end(), tag); it != std::sregex_iterator(); ++it) {
        const std::smatch& m = *it;
        if (m[1].matched) {
            pdf.pages.push_back({std::stod(m[1]), std::stod(m[2]), "", true});
            continue;
        }
        if (pdf.pages.empty()) continue;
        Pdf::Page& p = pdf.pages.back();
        if (std::stod(m[3]) < 0 || std::stod(m[4]) < 0 || std::stod(m[5]) > p.width ||
            std::stod(m[6]) > p.height)
            p.allInside = false;
        std::string word = std::regex_replace(m[7].str(), std::regex("&quot;"), "\"");
        word = std::regex_replace(word, std::regex("&amp;"), "&");
        p.text += (p.text.empty() ? "" : " ") + word;
    }
    return pdf;
}

// True when every piece appears in `text`, each after the one before.
::testing::AssertionResult InOrder(const std::string& text, const std::vector<std::string>& pieces) {
    std::size_t at = 0;
    for (const std::string& piece : pieces) {
        const std::size_t found = text.find(piece, at);
        if (found == std::string::npos)
            return ::testing::AssertionFailure() << "\"" << piece << "\" missing (in order) from: " << text;
        at = found + piece.size();
    }
    return ::testing::AssertionSuccess();
}

class Print : public ::testing::Test {
protected:
    void SetUp() override {
        FPdfDir = Env("SLUMRA_PDF_DIR");
        if (FPdfDir.empty() || Env("CUPS_SERVER").empty())
            GTEST_SKIP() << "no CUPS server (scripts/cups-env)";
        ASSERT_TRUE(AnyPrinterInstalled()) << "CUPS runs, but Wine sees no printer";
        // The program's own TrueType faces, as the program loads them.
        tk::LoadPrivateFonts(
            (SelfExe().parent_path().parent_path().parent_path() / L"program" / L"Fonts").wstring());
        FBefore = Pdfs();
    }

    std::set<std::string> Pdfs() const {
        std::set<std::string> out;
        for (const auto& e : fs::directory_iterator(ToWindows(FPdfDir)))
            if (e.path().extension() == ".pdf") out.insert(e.path().filename().string());
        return out;
    }

    // The PDF of the job just printed, once CUPS has written it whole.
    Pdf NextPdf() {
        for (int i = 0; i < 300; ++i) {
            for (const std::string& name : Pdfs()) {
                if (FBefore.count(name) != 0) continue;
                std::error_code ec;
                const auto size = fs::file_size(ToWindows(FPdfDir) / name, ec);
                Sleep(200);
                if (ec || size == 0 || size != fs::file_size(ToWindows(FPdfDir) / name, ec)) continue;
                FBefore.insert(name);
                return ReadPdf(FPdfDir + "/" + name);
            }
            Sleep(100);
        }
        ADD_FAILURE() << "no PDF appeared";
        return {};
    }

    void ExpectOnEveryPage(const Pdf& pdf, const std::string& caption, bool notice) {
        for (std::size_t i = 0; i < pdf.pages.size(); ++i) {
            const Pdf::Page& p = pdf.pages[i];
            EXPECT_TRUE(p.allInside) << "page " << i + 1;
            EXPECT_TRUE(InOrder(p.text, {caption})) << "page " << i + 1;
            EXPECT_TRUE(InOrder(p.text, {"Pagina " + std::to_string(i + 1)})) << "page " << i + 1;
            EXPECT_EQ(p.text.find("slumra.nl") != std::string::npos, notice) << "page " << i + 1;
        }
    }

    std::string FPdfDir;
    std::set<std::string> FBefore;
};

RecordPrint Record(const std::string& text) {
    return {"Slumra proefdruk", "Dieren|Reptielen|Adder", text,
            "Uit het droomwoordenboek Slumra, www.slumra.nl", kPageLabel};
}

TEST_F(Print, RecordOnOnePageInTheRecordListFont) {
    const std::string wide(150, 'W');
    {
        DialogAnswer ok(IDOK);
        ASSERT_TRUE(PrintRecordJob(nullptr,
                                   Record("Wie droomt van een {Slang}, ziet een adder.\r\nTweede alinea.\r\n"
                                          "Derde alinea " +
                                          wide + " einde."),
                                   "Comic Sans MS"));
        EXPECT_TRUE(ok.Answered());
    }
    const Pdf pdf = NextPdf();
    ASSERT_EQ(pdf.pages.size(), 1u);
    ExpectOnEveryPage(pdf, "Slumra proefdruk", true);
    const std::string& text = pdf.pages[0].text;
    EXPECT_TRUE(InOrder(text, {"Dieren, Reptielen", "Adder", "Wie droomt van een Slang, ziet een adder.",
                               "Tweede alinea.", "Derde alinea", "einde."}));
    EXPECT_EQ(text.find('{'), std::string::npos);
    // The word wider than a line is cut at the margin, every letter of it on paper.
    EXPECT_EQ(std::count(text.begin(), text.end(), 'W'), 151);
}

TEST_F(Print, RecordOntoSecondPageAndCancelledDialogPrintsNothing) {
    std::string text;
    for (int i = 1; i <= 70; ++i) text += "Alinea " + std::to_string(i) + " van de uitleg.\r\n";
    {
        DialogAnswer ok(IDOK);
        ASSERT_TRUE(PrintRecordJob(nullptr, Record(text)));
    }
    const Pdf pdf = NextPdf();
    ASSERT_EQ(pdf.pages.size(), 2u);
    ExpectOnEveryPage(pdf, "Slumra proefdruk", true);
    EXPECT_TRUE(InOrder(pdf.pages[0].text, {"Dieren, Reptielen", "Adder", "Alinea 1 van"}));
    EXPECT_TRUE(InOrder(pdf.pages[1].text, {"Dieren, Reptielen, Adder", "Alinea 70 van de uitleg."}));

    {
        DialogAnswer cancel(IDCANCEL);
        EXPECT_FALSE(PrintRecordJob(nullptr, Record(text)));
        EXPECT_TRUE(cancel.Answered());
    }
    Sleep(3000);
    EXPECT_EQ(Pdfs(), FBefore);
}

std::string WriteDiary(const fs::path& folder, const std::string& name, int dreams, int lines) {
    fs::create_directories(folder);
    TDrDiRecFile diary;
    for (int i = 1; i <= dreams; ++i) {
        std::string text;
        for (int j = 1; j <= lines; ++j)
            text += "Droom " + std::to_string(i) + " regel " + std::to_string(j) + ".\r\n";
        const DrDiRec rec{0, "Droom " + std::to_string(i) + "|0" + std::to_string(i % 10) + "-12-2026|07:30",
                          text, "Uitleg bij droom " + std::to_string(i) + ".", 1};
        EXPECT_TRUE(diary.AddRecord(rec));
    }
    const std::string path = (folder / (name + ".ddf")).string();
    EXPECT_TRUE(diary.SaveToFile(path));
    return path;
}

DiaryPrint DiaryFrame() {
    DiaryPrint d;
    d.Caption = "Slumra proefdruk";
    return d;
}

TEST_F(Print, DiaryOfThreeDreamsOntoSecondPageAndUnreadableDiary) {
    const fs::path folder = fs::temp_directory_path() / L"slumra-print-test";
    const std::string path = WriteDiary(folder, "Anna", 3, 14);
    {
        DialogAnswer ok(IDOK);
        ASSERT_TRUE(PrintDiaryJob(nullptr, path, DiaryFrame()));
    }
    const Pdf pdf = NextPdf();
    ASSERT_EQ(pdf.pages.size(), 2u);
    ExpectOnEveryPage(pdf, "Slumra proefdruk", false);
    for (const Pdf::Page& p : pdf.pages) EXPECT_TRUE(InOrder(p.text, {"Droomnachtboek van \"Anna\""}));
    std::string all = pdf.pages[0].text + " " + pdf.pages[1].text;
    EXPECT_TRUE(InOrder(
        all, {"Droom 1", "Datum: 01-12-2026", "Tijdstip: 07:30", "Droomomschrijving:", "Droom 1 regel 14.",
              "Mijn eigen verklaring:", "Uitleg bij droom 1.", "Droom 2", "Droom 3", "Uitleg bij droom 3."}));

    std::ofstream(folder / L"Kapot.ddf") << "xy";
    {
        DialogAnswer ok(IDOK);
        ASSERT_TRUE(PrintDiaryJob(nullptr, (folder / L"Kapot.ddf").string(), DiaryFrame()));
    }
    const Pdf broken = NextPdf();
    ASSERT_EQ(broken.pages.size(), 1u);
    ExpectOnEveryPage(broken, "Slumra proefdruk", false);
    EXPECT_EQ(broken.pages[0].text.find("Datum"), std::string::npos);
    EXPECT_TRUE(InOrder(broken.pages[0].text, {"Droomnachtboek van \"Kapot\""}));
    fs::remove_all(folder);
}

TEST_F(Print, LongDiaryPrintsQuickly) {
    const fs::path folder = fs::temp_directory_path() / L"slumra-print-test";
    const std::string path = WriteDiary(folder, "Lang", 200, 6);
    const auto start = std::chrono::steady_clock::now();
    {
        DialogAnswer ok(IDOK);
        ASSERT_TRUE(PrintDiaryJob(nullptr, path, DiaryFrame()));
    }
    const Pdf pdf = NextPdf();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("200 dreams: %zu pages, %.1f s from the dialog to the PDF\n", pdf.pages.size(), seconds);
    EXPECT_LT(seconds, 10.0);
    ASSERT_GT(pdf.pages.size(), 20u);
    ExpectOnEveryPage(pdf, "Slumra proefdruk", false);
    EXPECT_TRUE(InOrder(pdf.pages.back().text, {"Uitleg bij droom 200."}));
    fs::remove_all(folder);
}

// Run by ctest alone, with CUPS_SERVER pointing nowhere (SerialPrint.cmake), so that Wine finds
// no printer: Wine reads the CUPS printers once for all processes that run at the same time.
TEST(PrintNoPrinter, NothingIsOffered) {
    if (Env("SLUMRA_EXPECT_NO_PRINTER").empty()) GTEST_SKIP() << "runs alone, from ctest";
    EXPECT_FALSE(AnyPrinterInstalled());
    DialogAnswer cancel(IDCANCEL);
    EXPECT_FALSE(PrintRecordJob(nullptr, Record("x")));
    EXPECT_FALSE(cancel.Answered()) << "a dialog showed without a printer: " << cancel.Title();
}

}  // namespace
}  // namespace slumra

#include "output/PrintLayout.h"

#include "data/iDbRecs.h"

namespace slumra {

namespace {

bool Fits(PrintPage& page, const std::string& text, int maxWidth) {
    return page.Measure(text).cx <= maxWidth;
}

// The longest start of `word` (at least one character) that fits the line.
std::size_t FittingPrefix(PrintPage& page, const std::string& word, int maxWidth) {
    std::size_t lo = 1, hi = word.size();
    while (lo < hi) {
        const std::size_t mid = (lo + hi + 1) / 2;
        if (Fits(page, word.substr(0, mid), maxWidth))
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

// The distances of a printed page. The margins follow the width of "H" in the body font; line
// heights follow the height of "H" in the font in force.
class Sheet {
public:
    explicit Sheet(PrintPage& page) : FPage(page) {
        FPage.SetFontSize(kBodyPoints);
        FUnit = FPage.Measure("H").cx;
    }

    PrintPage& Page() { return FPage; }
    int LineHeight() { return FPage.Measure("H").cy; }
    int Left() const { return 6 * FUnit; }
    int MaxWidth() const { return FPage.Width() - 12 * FUnit; }
    bool PastBottom() { return y > FPage.Height() - 4 * LineHeight(); }

    void Print(const std::string& text) { FPage.Print(Left(), y, text); }
    void PrintRight(int atY, const std::string& text) {
        FPage.Print(FPage.Width() - FPage.Measure(text).cx - 3 * FUnit, atY, text);
    }
    int FooterY() { return FPage.Height() - 3 * LineHeight(); }
    void PrintPageLabel(const std::string& label) {
        PrintRight(FooterY(), label + std::to_string(FPage.PageNumber()));
    }
    void Wrap(const std::string& text, const std::function<void()>& advance) {
        WrapText(FPage, Left(), MaxWidth(), y, text, advance);
    }

    int y = 0;

private:
    PrintPage& FPage;
    int FUnit = 0;
};

// Runs `body` in the body font and goes back to the font in force: headers and footers look the
// same on every page, whatever was being printed when the page ran out.
template <typename F>
void InBodyFont(PrintPage& page, F body) {
    const int size = page.FontSize();
    page.SetFontSize(kBodyPoints);
    body();
    page.SetFontSize(size);
}

}  // namespace

std::string DiaryTitle(const std::string& path, const std::string& prefix) {
    const std::size_t slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    name = name.substr(0, name.find('.'));
    return prefix + " \"" + name + "\"";
}

void WrapText(PrintPage& page, int left, int maxWidth, int& y, const std::string& text,
              const std::function<void()>& advance) {
    std::string line, word;
    auto print = [&](const std::string& s) { page.Print(left, y, s); };
    // Prints the pieces of a word too wide for a line, each as wide as fits; returns the rest.
    auto cutWide = [&](std::string w) {
        for (;;) {
            const std::size_t bare = w.size() - (!w.empty() && w.back() == ' ' ? 1 : 0);
            if (bare == 0 || Fits(page, w.substr(0, bare), maxWidth)) return w;
            const std::size_t n = FittingPrefix(page, w, maxWidth);
            print(w.substr(0, n));
            advance();
            w.erase(0, n);
        }
    };
    auto endParagraph = [&] {
        if (Fits(page, line + word, maxWidth)) {
            print(line + word);
        } else {
            if (!line.empty()) {
                print(line);
                advance();
            }
            print(cutWide(word));
        }
        advance();
        line.clear();
        word.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n' && c != '{' && c != '}') word.push_back(c);
        if (c == '\n' && i > 0 && text[i - 1] == '\r') {
            endParagraph();
        } else if (c == ' ') {
            if (Fits(page, line + word, maxWidth)) {
                line += word;
            } else {
                if (!line.empty()) {
                    print(line);
                    advance();
                }
                line = cutWide(word);
            }
            word.clear();
        }
    }
    if (!word.empty()) {
        endParagraph();
    } else if (!line.empty()) {
        print(line);
        advance();
    }
}

void LayOutRecord(PrintPage& page, const RecordPrint& record) {
    Sheet sheet(page);
    std::string level1, level2, level3;
    SplitPath(record.Head.c_str(), level1, level2, level3);

    auto header = [&] {
        sheet.PrintRight(sheet.y, record.Caption);
        sheet.PrintPageLabel(record.PageLabel);
        page.Print(sheet.Left(), sheet.FooterY(), record.Notice);
    };
    auto advance = [&] {
        sheet.y += sheet.LineHeight();
        if (!sheet.PastBottom()) return;
        InBodyFont(page, [&] {
            page.NewPage();
            sheet.y = 2 * sheet.LineHeight();
            sheet.Print(level1 + ", " + level2 + ", " + level3);
            header();
            sheet.y = 3 * sheet.LineHeight();
        });
    };

    sheet.y = 2 * sheet.LineHeight();
    header();
    sheet.y = 3 * sheet.LineHeight();
    if (!level1.empty()) {
        page.SetFontSize(kTitlePoints);
        sheet.Print(level2.empty() ? level1 : level1 + ", " + level2);
        advance();
        advance();
        page.SetFontSize(kBodyPoints);
    }
    if (!level3.empty()) {
        sheet.Print(level3);
        advance();
        advance();
    }
    sheet.Wrap(record.Text, advance);
}

void LayOutDiary(PrintPage& page, const DiaryPrint& diary) {
    Sheet sheet(page);
    std::string name;  // of the dream being printed

    auto printTitle = [&] {
        page.SetFontSize(kTitlePoints);
        sheet.Print(diary.Title);
        sheet.y += sheet.LineHeight();
        page.SetFontSize(kBodyPoints);
    };
    auto advance = [&] {
        sheet.y += sheet.LineHeight();
        if (!sheet.PastBottom()) return;
        InBodyFont(page, [&] {
            page.NewPage();
            sheet.y = 2 * sheet.LineHeight();
            sheet.PrintRight(sheet.y, diary.Caption);
            sheet.y += 2 * sheet.LineHeight();
            if (!name.empty()) printTitle();
            sheet.y += sheet.LineHeight();
            sheet.PrintPageLabel(diary.PageLabel);
        });
    };

    sheet.y = 2 * sheet.LineHeight();
    sheet.PrintRight(sheet.y, diary.Caption);
    advance();
    advance();
    page.SetFontSize(kTitlePoints);
    sheet.Print(diary.Title);
    advance();
    page.SetFontSize(kBodyPoints);
    advance();
    sheet.PrintPageLabel(diary.PageLabel);

    for (const DrDiRec& dream : diary.Dreams) {
        std::string date, time;
        SplitPath(dream.Head.c_str(), name, date, time);
        page.SetFontSize(kTitlePoints);
        sheet.Print(name);
        advance();
        page.SetFontSize(kBodyPoints);
        sheet.Print(diary.Labels.Date + ": " + date);
        advance();
        sheet.Print(diary.Labels.Time + ": " + time);
        advance();
        advance();
        sheet.Print(diary.Labels.Description + ":");
        advance();
        sheet.Wrap(dream.Description, advance);
        advance();
        sheet.Print(diary.Labels.Explanation + ":");
        advance();
        sheet.Wrap(dream.Explanation, advance);
        advance();
    }
}

}  // namespace slumra

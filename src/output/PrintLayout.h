// The printed pages of an interpretation and of a whole diary, laid out on an abstract page in
// the printer's own units. Every distance follows from the size of "H" in the font in force,
// so the same layout fits any printer resolution.
#pragma once

#include "diary/DrDiRecs.h"

#include <functional>
#include <string>
#include <vector>

namespace slumra {

struct TextSize {
    int cx = 0;
    int cy = 0;
};

// What printing draws on: black text in one face at a size in points, with a clear background.
class PrintPage {
public:
    virtual ~PrintPage() = default;
    virtual int Width() const = 0;   // printable width, in device units
    virtual int Height() const = 0;  // printable height
    virtual void SetFontSize(int points) = 0;
    virtual int FontSize() const = 0;
    virtual TextSize Measure(const std::string& text) = 0;  // Windows-1252
    virtual void Print(int x, int y, const std::string& text) = 0;
    virtual void NewPage() = 0;
    virtual int PageNumber() const = 0;  // 1 on the first page
};

inline constexpr int kBodyPoints = 10;
inline constexpr int kTitlePoints = 14;
inline constexpr const char* kPageLabel = "Pagina ";

// One interpretation: its path "category|subcategory|symbol" and its text (CR LF lines; the
// reference braces are left out in print).
struct RecordPrint {
    std::string Caption;  // the main window's caption, at the top right of every page
    std::string Head;
    std::string Text;
    std::string Notice;  // the publisher's line at the foot of every page
    std::string PageLabel = kPageLabel;
};

// The captions of the diary panel's labels, as the user sees them (colons are added).
struct DiaryLabels {
    std::string Date = "Datum";
    std::string Time = "Tijdstip";
    std::string Description = "Droomomschrijving";
    std::string Explanation = "Mijn eigen verklaring";
};

struct DiaryPrint {
    std::string Caption;
    std::string Title;  // see DiaryTitle
    std::vector<DrDiRec> Dreams;
    DiaryLabels Labels;
    std::string PageLabel = kPageLabel;
};

// "Droomnachtboek van" (or a translation of it), a space and the diary's name in double quotes;
// the name is the file name part of `path` up to its first ".".
std::string DiaryTitle(const std::string& path, const std::string& prefix = "Droomnachtboek van");

// Prints `text` word-wrapped at the left edge from line y on, calling advance() after every
// line. A word wider than the line is cut at the margin rather than run off the paper.
// `left` and `maxWidth` are in device units.
void WrapText(PrintPage& page, int left, int maxWidth, int& y, const std::string& text,
              const std::function<void()>& advance);

void LayOutRecord(PrintPage& page, const RecordPrint& record);
void LayOutDiary(PrintPage& page, const DiaryPrint& diary);

}  // namespace slumra

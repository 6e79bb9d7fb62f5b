#include "output/Printer.h"

#include "diary/DrDiRecs.h"
#include "toolkit/Graphics.h"
#include "toolkit/Handles.h"
#include "toolkit/LateBound.h"
#include "toolkit/Text.h"

#include <commdlg.h>
#include <winspool.h>

#include <vector>

namespace slumra {

namespace {

// Owns a printer DC from CreateDC.
class PrinterDC {
public:
    explicit PrinterDC(HDC dc) : FDC(dc) {}
    ~PrinterDC() {
        if (FDC != nullptr) DeleteDC(FDC);
    }
    PrinterDC(const PrinterDC&) = delete;
    PrinterDC& operator=(const PrinterDC&) = delete;
    HDC Get() const { return FDC; }

private:
    HDC FDC;
};

// Frees the two global blocks the printer dialog hands back.
struct DialogBlocks {
    HGLOBAL DevMode = nullptr;
    HGLOBAL DevNames = nullptr;
    ~DialogBlocks() {
        if (DevMode != nullptr) GlobalFree(DevMode);
        if (DevNames != nullptr) GlobalFree(DevNames);
    }
};

// Shows the hourglass while a job runs; the old cursor comes back at the end.
class WaitCursor {
public:
    WaitCursor() : FOld(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(FOld); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR FOld;
};

// The printer the user confirmed in the set-up dialog, as a DC; null when cancelled.
HDC ChoosePrinterDC(HWND owner) {
    PRINTDLGW pd{};
    pd.lStructSize = sizeof(pd);
    pd.hwndOwner = owner;
    pd.Flags = PD_PRINTSETUP;
    if (!tk::late::PrintDlg(&pd)) return nullptr;
    DialogBlocks blocks{pd.hDevMode, pd.hDevNames};
    if (blocks.DevNames == nullptr) return nullptr;
    const auto* names = static_cast<const DEVNAMES*>(GlobalLock(blocks.DevNames));
    if (names == nullptr) return nullptr;
    const auto* base = reinterpret_cast<const wchar_t*>(names);
    const std::wstring driver = base + names->wDriverOffset;
    const std::wstring device = base + names->wDeviceOffset;
    GlobalUnlock(blocks.DevNames);
    const auto* mode =
        blocks.DevMode != nullptr ? static_cast<const DEVMODEW*>(GlobalLock(blocks.DevMode)) : nullptr;
    HDC dc = CreateDCW(driver.c_str(), device.c_str(), nullptr, mode);
    if (mode != nullptr) GlobalUnlock(blocks.DevMode);
    return dc;
}

// A page of a running print job. A failure of the printer ends the drawing; the job is then
// aborted rather than ended.
class PrinterPage : public PrintPage {
public:
    PrinterPage(HDC dc, const std::string& fontName)
        : FDC(dc),
          FFace(tk::ResolveFaceName(fontName)),
          FWidth(GetDeviceCaps(dc, HORZRES)),
          FHeight(GetDeviceCaps(dc, VERTRES)),
          FDpiY(GetDeviceCaps(dc, LOGPIXELSY)) {}

    bool Failed() const { return FFailed; }
    void Fail() { FFailed = true; }

    void Begin() {
        if (StartPage(FDC) <= 0) FFailed = true;
        Prepare();
    }
    void Finish() {
        if (!FFailed && EndPage(FDC) <= 0) FFailed = true;
    }

    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    void SetFontSize(int points) override {
        if (points == FPoints && FFont) return;
        FPoints = points;
        FFont.Reset(CreateFontW(-MulDiv(points, FDpiY, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH | FF_DONTCARE, FFace.c_str()));
        SelectObject(FDC, FFont.Get());
    }
    int FontSize() const override { return FPoints; }
    TextSize Measure(const std::string& text) override {
        const std::wstring w = tk::Widen(text);
        SIZE s{};
        GetTextExtentPoint32W(FDC, w.c_str(), static_cast<int>(w.size()), &s);
        return {s.cx, s.cy};
    }
    void Print(int x, int y, const std::string& text) override {
        if (FFailed || text.empty()) return;
        const std::wstring w = tk::Widen(text);
        TextOutW(FDC, x, y, w.c_str(), static_cast<int>(w.size()));
    }
    void NewPage() override {
        Finish();
        ++FPage;
        Begin();
    }
    int PageNumber() const override { return FPage; }

private:
    // Some drivers reset the DC at every page: the font and text settings go in again.
    void Prepare() {
        SetBkMode(FDC, TRANSPARENT);
        SetTextColor(FDC, RGB(0, 0, 0));
        SetTextAlign(FDC, TA_LEFT | TA_TOP | TA_NOUPDATECP);
        if (FFont) SelectObject(FDC, FFont.Get());
    }

    HDC FDC;
    std::wstring FFace;
    int FWidth, FHeight, FDpiY;
    int FPoints = 0;
    int FPage = 1;
    bool FFailed = false;
    tk::FontHandle FFont;
};

// Runs `layOut` as one print job on the printer the user chooses. `prepare` runs after the
// dialog and before the job starts (it may read files).
template <typename Prepare, typename LayOut>
bool RunJob(HWND owner, const char* title, const std::string& fontName, Prepare prepare, LayOut layOut) {
    if (!AnyPrinterInstalled()) return false;
    PrinterDC dc(ChoosePrinterDC(owner));
    if (dc.Get() == nullptr) return false;
    WaitCursor wait;
    prepare();
    const std::wstring docName = tk::Widen(title);
    DOCINFOW doc{};
    doc.cbSize = sizeof(doc);
    doc.lpszDocName = docName.c_str();
    if (StartDocW(dc.Get(), &doc) <= 0) return false;
    PrinterPage page(dc.Get(), fontName);
    try {
        page.Begin();
        layOut(static_cast<PrintPage&>(page));
        page.Finish();
    } catch (...) {
        page.Fail();
    }
    if (page.Failed()) {
        AbortDoc(dc.Get());
        return false;
    }
    return EndDoc(dc.Get()) > 0;
}

}  // namespace

bool AnyPrinterInstalled() {
    DWORD needed = 0, count = 0;
    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    tk::late::EnumPrinters(flags, nullptr, 4, nullptr, 0, &needed, &count);
    if (needed == 0) return false;
    std::vector<BYTE> buffer(needed);
    if (!tk::late::EnumPrinters(flags, nullptr, 4, buffer.data(), needed, &needed, &count)) return false;
    return count > 0;
}

bool PrintRecordJob(HWND owner, const RecordPrint& record, const std::string& fontName) {
    return RunJob(
        owner, kRecordJobTitle, fontName, [] {}, [&](PrintPage& page) { LayOutRecord(page, record); });
}

bool PrintDiaryJob(HWND owner, const std::string& diaryPath, DiaryPrint diary, const std::string& fontName) {
    auto read = [&] {
        diary.Title = DiaryTitle(diaryPath);
        diary.Dreams.clear();
        TDrDiRecFile file;
        // A diary that cannot be read whole prints what was read; one that cannot be opened
        // prints the title page alone.
        (void)file.LoadFromFile(diaryPath);
        file.ShowAll();
        for (std::int32_t i = 1; i <= file.VisibleCount(); ++i)
            diary.Dreams.push_back(file.GetVisibleRecord(i));
    };
    return RunJob(owner, kDiaryJobTitle, fontName, read, [&](PrintPage& page) { LayOutDiary(page, diary); });
}

}  // namespace slumra

#include "widgets/Ticker.h"

#include "toolkit/Text.h"

#include <utility>

namespace slumra {

namespace {

TextSize Measure(HDC dc, const tk::TFont& font, const std::string& text) {
    tk::SelectGuard f(dc, font.Handle());
    const std::wstring w = tk::Widen(text);
    SIZE s{0, 0};
    GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &s);
    return {s.cx, s.cy};
}

void Write(HDC dc, const tk::TFont& font, int x, int y, const std::string& text) {
    tk::SelectGuard f(dc, font.Handle());
    SetTextColor(dc, font.Color());
    SetBkMode(dc, TRANSPARENT);
    const std::wstring w = tk::Widen(text);
    TextOutW(dc, x, y, w.c_str(), static_cast<int>(w.size()));
}

}  // namespace

TTicker::TTicker(tk::TWinControl* parent) : tk::TWinControl(parent) {
    FWidth = 100;
    FHeight = 30;
    MajorFont.SetName("Arial");
    MajorFont.SetHeight(20);
    MajorFont.SetColor(tk::clWhite);
    MinorFont.SetName("Arial");
    MinorFont.SetHeight(15);
    MinorFont.SetColor(tk::clWhite);
    auto paintNow = [this] { PaintNow(); };
    Brush.OnChange = paintNow;
    Pen.OnChange = paintNow;
    MajorFont.OnChange = paintNow;
    MinorFont.OnChange = paintNow;
}

TTicker::~TTicker() {
    // The thread first: once it is stopped no tick of it runs, queued or not. Then the window,
    // so that messages still queued for it find no ticker.
    FThread.reset();
    FTimer.reset();
    DestroyHandle();
}

void TTicker::SetItems(std::vector<std::string> items) {
    if (items == FItems) return;
    FItems = std::move(items);
    FParts.clear();
    FParts.reserve(FItems.size());
    for (const std::string& item : FItems) FParts.push_back(SplitTickerItem(item));
    PaintNow();
}

void TTicker::SetIfChanged(int& field, int v) {
    if (field == v) return;
    field = v;
    Invalidate();
}

void TTicker::SetItemSpacing(int v) {
    SetIfChanged(FSettings.ItemSpacing, v);
}
void TTicker::SetSpacing(int v) {
    SetIfChanged(FSettings.Spacing, v);
}
void TTicker::SetTapeJumper(int v) {
    SetIfChanged(FTapeJumper, v);
}
void TTicker::SetTapePosition(int v) {
    SetIfChanged(FState.TapePosition, v);
}

void TTicker::SetMajorOffset(double v) {
    if (v == FSettings.MajorOffset) return;
    FSettings.MajorOffset = v;
    Invalidate();
}

void TTicker::SetMinorOffset(double v) {
    if (v == FSettings.MinorOffset) return;
    FSettings.MinorOffset = v;
    Invalidate();
}

void TTicker::SetRelativeSubPos(bool v) {
    if (v == FSettings.RelativeSubPos) return;
    FSettings.RelativeSubPos = v;
    Invalidate();
}

void TTicker::SetStyle(TTickerStyle v) {
    if (v == FSettings.Style) return;
    FSettings.Style = v;
    Invalidate();
}

void TTicker::SetTapeSpeed(std::uint16_t v) {
    if (v == FTapeSpeed) return;
    FTapeSpeed = v;
    if (FTimer) FTimer->SetInterval(v);
    Invalidate();
}

void TTicker::SetTapeRuns(bool v) {
    if (v && !FTimer) {
        FTimer = std::make_unique<tk::TTimer>();
        FTimer->SetInterval(FTapeSpeed);
        FTimer->OnTimer = [this](tk::TTimer*) { Tick(); };
    } else if (!v) {
        FTimer.reset();
    }
    Invalidate();
}

void TTicker::SetPlay(bool v) {
    if (v == Play()) return;
    FThread.reset();
    if (v) FThread = std::make_unique<GTimeClick>(FTapeSpeed, [this] { Tick(); });
}

void TTicker::SetEnabled(bool v) {
    if (v == Enabled()) return;
    tk::TWinControl::SetEnabled(v);
    Invalidate();
}

void TTicker::Tick() {
    if (!Enabled()) return;
    FState = TickerTick(FSettings.Style, static_cast<int>(FItems.size()), FTapeJumper, FState);
    // Our pens only ever draw in copy mode, so the brush alone decides.
    if (Brush.Style() == tk::BrushStyle::Solid)
        PaintNow();
    else
        Invalidate();
}

LRESULT TTicker::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_TICKERCOUNT) {
        if (FTapeSpeed < FMessageCount) {
            FMessageCount = 0;
            Tick();
        } else {
            ++FMessageCount;
        }
        return 0;
    }
    return tk::TWinControl::WndProc(msg, wp, lp);
}

bool TTicker::Compose() {
    if (!Visible() || FPainting) return false;
    const int w = FWidth, h = FHeight;
    if (w <= 0 || h <= 0) return false;
    FPainting = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{FPainting};
    try {
        if ((FBitmap.Width() != w || FBitmap.Height() != h) && !FBitmap.SetSize(w, h)) return false;
        const HDC dc = FBitmap.DC();
        if (dc == nullptr) return false;
        tk::PaletteGuard palette(dc, tk::TScreen::BitsPerPixel() <= 8 ? GetPalette() : nullptr);
        tk::TCanvas canvas(dc);
        if (Brush.Style() == tk::BrushStyle::Clear) {
            // The bitmap outlives the frame: without this, a clear brush would leave every
            // earlier frame's texts behind. What shows through is the parent's colour.
            canvas.Brush.SetColor(FParent != nullptr ? FParent->Color : tk::clBlack);
            canvas.FillRect({0, 0, w, h});
        }
        canvas.Brush = Brush;
        canvas.Pen = Pen;
        canvas.Rectangle(0, 0, w, h);

        if (FItems.empty()) {
            FState.Current = -1;
        } else if (Enabled() && FState.Current >= 0) {
            FSettings.Width = w;
            FSettings.Height = h;
            auto measure = [&](int i) {
                const TickerItemParts& parts = FParts[static_cast<std::size_t>(i)];
                TickerItemSize size;
                size.Major = Measure(dc, MajorFont, parts.Major);
                size.HasMinor = parts.HasMinor;
                if (parts.HasMinor) size.Minor = Measure(dc, MinorFont, parts.Minor);
                return size;
            };
            const TickerFrame frame =
                LayoutTickerFrame(FSettings, static_cast<int>(FItems.size()), measure, FState);
            for (const TickerText& t : frame.Texts) {
                const TickerItemParts& parts = FParts[static_cast<std::size_t>(t.Item)];
                if (t.Minor)
                    Write(dc, MinorFont, t.At.X, t.At.Y, parts.Minor);
                else
                    Write(dc, MajorFont, t.At.X, t.At.Y, parts.Major);
            }
            FState = frame.State;
        }
    } catch (...) {
        // A frame that could not be drawn is skipped; the next tick tries again.
        return false;
    }
    return true;
}

void TTicker::PaintNow() {
    if (!HandleAllocated() || !Compose()) return;
    tk::WindowDC dc(FHandle);
    tk::PaletteGuard palette(dc.Get(), tk::TScreen::BitsPerPixel() <= 8 ? GetPalette() : nullptr);
    BitBlt(dc.Get(), 0, 0, FBitmap.Width(), FBitmap.Height(), FBitmap.DC(), 0, 0, SRCCOPY);
}

void TTicker::PaintWindow(tk::TCanvas& canvas) {
    Compose();
    if (FBitmap.Empty()) {
        tk::TWinControl::PaintWindow(canvas);
        return;
    }
    BitBlt(canvas.Handle(), 0, 0, FBitmap.Width(), FBitmap.Height(), FBitmap.DC(), 0, 0, SRCCOPY);
}

}  // namespace slumra

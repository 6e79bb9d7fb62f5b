#include "toolkit/Graphics.h"

#include "toolkit/Text.h"

#include <map>
#include <utility>
#include <vector>

namespace slumra::tk {

// ---- font, pen, brush ------------------------------------------------------------------

TFont& TFont::operator=(const TFont& o) {
    if (this != &o &&
        (FName != o.FName || FHeight != o.FHeight || FColor != o.FColor || FStyle != o.FStyle)) {
        FName = o.FName;
        FHeight = o.FHeight;
        FColor = o.FColor;
        FStyle = o.FStyle;
        Changed();
    }
    return *this;
}

void TFont::Changed() {
    FHandle.Reset();
    if (OnChange) OnChange();
}

void TFont::SetName(const std::string& v) {
    if (v != FName) FName = v, Changed();
}
void TFont::SetHeight(int v) {
    if (v != FHeight) FHeight = v, Changed();
}
void TFont::SetColor(COLORREF v) {
    // The colour is not part of the font handle.
    if (v != FColor) {
        FColor = v;
        if (OnChange) OnChange();
    }
}
void TFont::SetStyle(unsigned v) {
    if (v != FStyle) FStyle = v, Changed();
}

bool ScreenHasPalette() {
    static const bool palette = [] {
        const HDC screen = GetDC(nullptr);
        const int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
        ReleaseDC(nullptr, screen);
        return bits <= 8;
    }();
    return palette;
}

HFONT TFont::Handle() const {
    if (!FHandle) {
        LOGFONTW lf{};
        lf.lfHeight = FHeight;
        lf.lfWeight = (FStyle & fsBold) != 0 ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = (FStyle & fsItalic) != 0;
        lf.lfUnderline = (FStyle & fsUnderline) != 0;
        lf.lfStrikeOut = (FStyle & fsStrikeOut) != 0;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfQuality = DEFAULT_QUALITY;
        const std::wstring face = ResolveFaceName(FName);
        wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
        FHandle.Reset(CreateFontIndirectW(&lf));
    }
    return FHandle.Get();
}

TPen& TPen::operator=(const TPen& o) {
    if (this != &o && (FColor != o.FColor || FWidth != o.FWidth || FStyle != o.FStyle || FMode != o.FMode)) {
        FColor = o.FColor;
        FWidth = o.FWidth;
        FStyle = o.FStyle;
        FMode = o.FMode;
        Changed();
    }
    return *this;
}
void TPen::Changed() {
    FHandle.Reset();
    if (OnChange) OnChange();
}
void TPen::SetColor(COLORREF v) {
    if (v != FColor) FColor = v, Changed();
}
void TPen::SetWidth(int v) {
    if (v != FWidth) FWidth = v, Changed();
}
void TPen::SetStyle(PenStyle v) {
    if (v != FStyle) FStyle = v, Changed();
}
void TPen::SetMode(PenMode v) {
    // The mode is not part of the pen handle; the canvas applies it per shape.
    if (v != FMode) {
        FMode = v;
        if (OnChange) OnChange();
    }
}
HPEN TPen::Handle() const {
    if (!FHandle) FHandle.Reset(CreatePen(FStyle == PenStyle::Clear ? PS_NULL : PS_SOLID, FWidth, FColor));
    return FHandle.Get();
}

TBrush& TBrush::operator=(const TBrush& o) {
    if (this != &o && (FColor != o.FColor || FStyle != o.FStyle)) {
        FColor = o.FColor;
        FStyle = o.FStyle;
        Changed();
    }
    return *this;
}
void TBrush::Changed() {
    FHandle.Reset();
    if (OnChange) OnChange();
}
void TBrush::SetColor(COLORREF v) {
    if (v != FColor) FColor = v, Changed();
}
void TBrush::SetStyle(BrushStyle v) {
    if (v != FStyle) FStyle = v, Changed();
}
HBRUSH TBrush::Handle() const {
    if (FStyle == BrushStyle::Clear) return static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH));
    if (!FHandle) FHandle.Reset(CreateSolidBrush(FColor));
    return FHandle.Get();
}

// ---- bitmap, picture -------------------------------------------------------------------

HPALETTE CopyPalette(HPALETTE pal) {
    if (pal == nullptr) return nullptr;
    const UINT n = GetPaletteEntries(pal, 0, 0, nullptr);
    if (n == 0) return nullptr;
    std::vector<unsigned char> buf(sizeof(LOGPALETTE) + n * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(buf.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = static_cast<WORD>(n);
    GetPaletteEntries(pal, 0, n, lp->palPalEntry);
    return CreatePalette(lp);
}

TBitmap::~TBitmap() {
    ReleaseDC();
}

TBitmap::TBitmap(const TBitmap& o) {
    *this = o;
}

TBitmap& TBitmap::operator=(const TBitmap& o) {
    if (this == &o) return *this;
    ReleaseDC();
    FHandle.Reset();
    FPalette.Reset(CopyPalette(o.Palette()));
    FWidth = FHeight = 0;
    if (!o.Empty()) {
        WindowDC screen(nullptr);
        HBITMAP copy = CreateCompatibleBitmap(screen.Get(), o.FWidth, o.FHeight);
        if (copy != nullptr) {
            MemoryDC dc(screen.Get());
            SelectGuard sel(dc.Get(), copy);
            PaletteGuard pal(dc.Get(), FPalette.Get());
            BitBlt(dc.Get(), 0, 0, o.FWidth, o.FHeight, o.DC(), 0, 0, SRCCOPY);
            FHandle.Reset(copy);
            FWidth = o.FWidth;
            FHeight = o.FHeight;
        }
    }
    Changed();
    return *this;
}

TBitmap::TBitmap(TBitmap&& o) noexcept {
    *this = std::move(o);
}

TBitmap& TBitmap::operator=(TBitmap&& o) noexcept {
    if (this == &o) return *this;
    ReleaseDC();
    o.ReleaseDC();
    FHandle = std::move(o.FHandle);
    FPalette = std::move(o.FPalette);
    FWidth = std::exchange(o.FWidth, 0);
    FHeight = std::exchange(o.FHeight, 0);
    Changed();
    return *this;
}

void TBitmap::SetHandles(HBITMAP bitmap, HPALETTE palette) {
    ReleaseDC();
    FHandle.Reset(bitmap);
    FPalette.Reset(palette);
    FWidth = FHeight = 0;
    BITMAP bm{};
    if (bitmap != nullptr && GetObjectW(bitmap, sizeof bm, &bm) != 0) {
        FWidth = bm.bmWidth;
        FHeight = bm.bmHeight;
    }
    Changed();
}

bool TBitmap::SetSize(int width, int height) {
    if (width <= 0 || height <= 0) {
        Clear();
        return true;
    }
    WindowDC screen(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(screen.Get(), width, height);
    if (bmp == nullptr) return false;
    ReleaseDC();
    FHandle.Reset(bmp);
    FWidth = width;
    FHeight = height;
    RECT r{0, 0, width, height};
    ::FillRect(DC(), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    Changed();
    return true;
}

void TBitmap::Clear() {
    ReleaseDC();
    FHandle.Reset();
    FPalette.Reset();
    FWidth = FHeight = 0;
    Changed();
}

HDC TBitmap::DC() const {
    if (FDC == nullptr && FHandle) {
        FDC = CreateCompatibleDC(nullptr);
        if (FDC == nullptr) return nullptr;
        FOldBitmap = SelectObject(FDC, FHandle.Get());
        if (FPalette) {
            FOldPalette = SelectPalette(FDC, FPalette.Get(), FALSE);
            RealizePalette(FDC);
        }
    }
    return FDC;
}

void TBitmap::ReleaseDC() const {
    if (FDC == nullptr) return;
    if (FOldPalette != nullptr) SelectPalette(FDC, FOldPalette, TRUE);
    SelectObject(FDC, FOldBitmap);
    DeleteDC(FDC);
    FDC = nullptr;
    FOldBitmap = nullptr;
    FOldPalette = nullptr;
    if (FCanvas) FCanvas->SetHandle(nullptr);
}

TCanvas& TBitmap::Canvas() {
    if (!FCanvas) FCanvas = std::make_unique<TCanvas>();
    FCanvas->SetHandle(DC());
    return *FCanvas;
}

void TBitmap::Changed() {
    if (OnChange) OnChange();
}

TPicture::TPicture(const TPicture& o) {
    *this = o;
}

TPicture& TPicture::operator=(const TPicture& o) {
    if (this == &o) return *this;
    FBitmap = o.FBitmap ? std::make_unique<TBitmap>(*o.FBitmap) : nullptr;
    if (FIcon != nullptr) DestroyIcon(FIcon);
    FIcon = o.FIcon != nullptr ? CopyIcon(o.FIcon) : nullptr;
    Changed();
    return *this;
}

TPicture::TPicture(TPicture&& o) noexcept {
    *this = std::move(o);
}

TPicture& TPicture::operator=(TPicture&& o) noexcept {
    if (this == &o) return *this;
    FBitmap = std::move(o.FBitmap);
    if (FIcon != nullptr) DestroyIcon(FIcon);
    FIcon = std::exchange(o.FIcon, nullptr);
    Changed();
    return *this;
}

TPicture::~TPicture() {
    if (FIcon != nullptr) DestroyIcon(FIcon);
}

bool TPicture::Empty() const {
    return (FBitmap == nullptr || FBitmap->Empty()) && FIcon == nullptr;
}

int TPicture::Width() const {
    if (FBitmap) return FBitmap->Width();
    return FIcon != nullptr ? GetSystemMetrics(SM_CXICON) : 0;
}

int TPicture::Height() const {
    if (FBitmap) return FBitmap->Height();
    return FIcon != nullptr ? GetSystemMetrics(SM_CYICON) : 0;
}

void TPicture::Assign(const TBitmap& bmp) {
    if (FIcon != nullptr) DestroyIcon(FIcon), FIcon = nullptr;
    FBitmap = bmp.Empty() ? nullptr : std::make_unique<TBitmap>(bmp);
    Changed();
}

void TPicture::Assign(TBitmap&& bmp) {
    if (FIcon != nullptr) DestroyIcon(FIcon), FIcon = nullptr;
    FBitmap = bmp.Empty() ? nullptr : std::make_unique<TBitmap>(std::move(bmp));
    Changed();
}

void TPicture::AssignIcon(HICON icon) {
    FBitmap.reset();
    if (FIcon != nullptr) DestroyIcon(FIcon);
    FIcon = icon;
    Changed();
}

void TPicture::Clear() {
    FBitmap.reset();
    if (FIcon != nullptr) DestroyIcon(FIcon), FIcon = nullptr;
    Changed();
}

void TPicture::Changed() {
    if (OnChange) OnChange();
}

// ---- canvas ----------------------------------------------------------------------------

namespace {

// Sets a DC's mix mode for the lifetime of the guard.
class MixGuard {
public:
    MixGuard(HDC dc, PenMode mode) : dc_(dc), old_(SetROP2(dc, static_cast<int>(mode))) {}
    ~MixGuard() {
        if (old_ != 0) SetROP2(dc_, old_);
    }
    MixGuard(const MixGuard&) = delete;
    MixGuard& operator=(const MixGuard&) = delete;

private:
    HDC dc_;
    int old_;
};

}  // namespace

void TCanvas::FillRect(const RECT& r) {
    if (Brush.Style() == BrushStyle::Clear) return;
    ::FillRect(FDC, &r, Brush.Handle());
}

void TCanvas::Rectangle(int l, int t, int r, int b) {
    SelectGuard p(FDC, Pen.Handle());
    SelectGuard br(FDC, Brush.Handle());
    MixGuard mix(FDC, Pen.Mode());
    ::Rectangle(FDC, l, t, r, b);
}

void TCanvas::RoundRect(int l, int t, int r, int b, int cw, int ch) {
    SelectGuard p(FDC, Pen.Handle());
    SelectGuard br(FDC, Brush.Handle());
    MixGuard mix(FDC, Pen.Mode());
    ::RoundRect(FDC, l, t, r, b, cw, ch);
}

void TCanvas::Ellipse(int l, int t, int r, int b) {
    SelectGuard p(FDC, Pen.Handle());
    SelectGuard br(FDC, Brush.Handle());
    MixGuard mix(FDC, Pen.Mode());
    ::Ellipse(FDC, l, t, r, b);
}

void TCanvas::MoveTo(int x, int y) {
    MoveToEx(FDC, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
    SelectGuard p(FDC, Pen.Handle());
    MixGuard mix(FDC, Pen.Mode());
    ::LineTo(FDC, x, y);
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    SelectGuard f(FDC, Font.Handle());
    SetTextColor(FDC, Font.Color());
    if (Brush.Style() == BrushStyle::Clear) {
        SetBkMode(FDC, TRANSPARENT);
    } else {
        SetBkMode(FDC, OPAQUE);
        SetBkColor(FDC, Brush.Color());
    }
    const std::wstring w = Widen(text);
    ::TextOutW(FDC, x, y, w.c_str(), static_cast<int>(w.size()));
}

void TCanvas::TextRect(const RECT& r, const std::string& text, UINT format) {
    SelectGuard f(FDC, Font.Handle());
    SetTextColor(FDC, Font.Color());
    SetBkMode(FDC, Brush.Style() == BrushStyle::Clear ? TRANSPARENT : OPAQUE);
    SetBkColor(FDC, Brush.Color());
    std::wstring w = Widen(text);
    RECT rc = r;
    ::DrawTextW(FDC, w.data(), static_cast<int>(w.size()), &rc, format);
}

int TCanvas::WrappedTextHeight(const std::string& text, int width) {
    SelectGuard f(FDC, Font.Handle());
    std::wstring w = Widen(text);
    RECT rc{0, 0, width, 0};
    ::DrawTextW(FDC, w.data(), static_cast<int>(w.size()), &rc, DT_NOPREFIX | DT_WORDBREAK | DT_CALCRECT);
    return rc.bottom - rc.top;
}

SIZE TCanvas::TextExtent(const std::string& text) {
    SelectGuard f(FDC, Font.Handle());
    const std::wstring w = Widen(text);
    SIZE s{0, 0};
    GetTextExtentPoint32W(FDC, w.c_str(), static_cast<int>(w.size()), &s);
    // On a 256-colour screen glyphs come out wider than the font measures them (unsmoothed
    // glyphs are drawn at their own, larger advances): layouts get that room.
    if (ScreenHasPalette()) s.cx += s.cx / 12;
    return s;
}

void TCanvas::Draw(int x, int y, const TBitmap& bmp) {
    if (bmp.Empty()) return;
    BitBlt(FDC, x, y, bmp.Width(), bmp.Height(), bmp.DC(), 0, 0, CopyMode);
}

void TCanvas::StretchDraw(const RECT& r, const TBitmap& bmp) {
    if (bmp.Empty()) return;
    SetStretchBltMode(FDC, COLORONCOLOR);
    StretchBlt(FDC, r.left, r.top, r.right - r.left, r.bottom - r.top, bmp.DC(), 0, 0, bmp.Width(),
               bmp.Height(), CopyMode);
}

void TCanvas::CopyRect(const RECT& dst, const TCanvas& src, const RECT& srcRect) {
    SetStretchBltMode(FDC, COLORONCOLOR);
    StretchBlt(FDC, dst.left, dst.top, dst.right - dst.left, dst.bottom - dst.top, src.Handle(), srcRect.left,
               srcRect.top, srcRect.right - srcRect.left, srcRect.bottom - srcRect.top, CopyMode);
}

// ---- fonts -----------------------------------------------------------------------------

void LoadPrivateFonts(const std::wstring& folder) {
    // TrueType only: Wine's printer driver fails on OpenType CFF outlines.
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((folder + L"\\*.ttf").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        AddFontResourceExW((folder + L"\\" + fd.cFileName).c_str(), FR_PRIVATE, nullptr);
    } while (FindNextFileW(find, &fd));
    FindClose(find);
}

namespace {

int CALLBACK FaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FaceExists(const std::wstring& face) {
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    bool found = false;
    WindowDC screen(nullptr);
    EnumFontFamiliesExW(screen.Get(), &lf, FaceFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

}  // namespace

std::wstring ResolveFaceName(const std::string& name) {
    static std::map<std::string, std::wstring> resolved;
    auto it = resolved.find(name);
    if (it != resolved.end()) return it->second;
    std::wstring face = Widen(name);
    if (!FaceExists(face)) {
        if (name == "Comic Sans MS")
            face = L"Comic Neue TT";  // Comic Neue, converted to TrueType
        else if (name == "Arial")
            face = L"Liberation Sans";
    }
    resolved.emplace(name, face);
    return face;
}

}  // namespace slumra::tk

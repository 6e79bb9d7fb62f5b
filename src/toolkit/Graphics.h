// Drawing objects: font, pen and brush (values that copy on assignment and tell their owner
// of changes), the device-dependent bitmap with its palette, the picture that holds one, and
// the canvas that draws with them on a device context.
#pragma once

#include "toolkit/Handles.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace slumra::tk {

using ChangeEvent = std::function<void()>;

enum FontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// Colours as the platform's COLORREF (0x00BBGGRR).
inline constexpr COLORREF clBlack = RGB(0, 0, 0);
inline constexpr COLORREF clWhite = RGB(255, 255, 255);

// True on a screen of 256 colours or fewer, which draws text a little wider than it measures.
bool ScreenHasPalette();

class TFont {
public:
    TFont() = default;
    TFont(const TFont& o) : FName(o.FName), FHeight(o.FHeight), FColor(o.FColor), FStyle(o.FStyle) {}
    // Takes the other font's look; keeps its own change handler.
    TFont& operator=(const TFont& o);

    const std::string& Name() const { return FName; }
    int Height() const { return FHeight; }  // negative: character height in pixels
    COLORREF Color() const { return FColor; }
    unsigned Style() const { return FStyle; }
    void SetName(const std::string& v);
    void SetHeight(int v);
    void SetColor(COLORREF v);
    void SetStyle(unsigned v);

    HFONT Handle() const;
    ChangeEvent OnChange;

private:
    void Changed();
    std::string FName = "MS Sans Serif";
    int FHeight = -11;
    COLORREF FColor = clBlack;
    unsigned FStyle = 0;
    mutable FontHandle FHandle;
};

enum class PenStyle { Solid, Clear };
// How a shape's outline and fill mix with what is already there (the platform's R2_ codes).
enum class PenMode {
    Black = R2_BLACK,
    White = R2_WHITE,
    Nop = R2_NOP,
    Not = R2_NOT,
    Copy = R2_COPYPEN,
    NotCopy = R2_NOTCOPYPEN,
    MergePenNot = R2_MERGEPENNOT,
    MaskPenNot = R2_MASKPENNOT,
    MergeNotPen = R2_MERGENOTPEN,
    MaskNotPen = R2_MASKNOTPEN,
    Merge = R2_MERGEPEN,
    NotMerge = R2_NOTMERGEPEN,
    Mask = R2_MASKPEN,
    NotMask = R2_NOTMASKPEN,
    Xor = R2_XORPEN,
    NotXor = R2_NOTXORPEN,
};
enum class BrushStyle { Solid, Clear };

class TPen {
public:
    TPen() = default;
    TPen(const TPen& o) : FColor(o.FColor), FWidth(o.FWidth), FStyle(o.FStyle), FMode(o.FMode) {}
    TPen& operator=(const TPen& o);

    COLORREF Color() const { return FColor; }
    int Width() const { return FWidth; }
    PenStyle Style() const { return FStyle; }
    PenMode Mode() const { return FMode; }
    void SetColor(COLORREF v);
    void SetWidth(int v);
    void SetStyle(PenStyle v);
    void SetMode(PenMode v);

    HPEN Handle() const;
    ChangeEvent OnChange;

private:
    void Changed();
    COLORREF FColor = clBlack;
    int FWidth = 1;
    PenStyle FStyle = PenStyle::Solid;
    PenMode FMode = PenMode::Copy;
    mutable PenHandle FHandle;
};

class TBrush {
public:
    TBrush() = default;
    TBrush(const TBrush& o) : FColor(o.FColor), FStyle(o.FStyle) {}
    TBrush& operator=(const TBrush& o);

    COLORREF Color() const { return FColor; }
    BrushStyle Style() const { return FStyle; }
    void SetColor(COLORREF v);
    void SetStyle(BrushStyle v);

    HBRUSH Handle() const;  // the stock hollow brush for a clear brush
    ChangeEvent OnChange;

private:
    void Changed();
    COLORREF FColor = clWhite;
    BrushStyle FStyle = BrushStyle::Solid;
    mutable BrushHandle FHandle;
};

class TCanvas;

// A device-dependent bitmap with the palette it was made for. It lives selected into a
// memory DC of its own, which serves as the source of every copy from it.
class TBitmap {
public:
    TBitmap() = default;
    ~TBitmap();
    TBitmap(const TBitmap& o);
    TBitmap& operator=(const TBitmap& o);
    // Moving hands the handles over; the event handler stays where it was.
    TBitmap(TBitmap&& o) noexcept;
    TBitmap& operator=(TBitmap&& o) noexcept;

    bool Empty() const { return !FHandle || FWidth <= 0 || FHeight <= 0; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    HBITMAP Handle() const { return FHandle.Get(); }
    HPALETTE Palette() const { return FPalette.Get(); }

    // Takes ownership of both handles (either may be null).
    void SetHandles(HBITMAP bitmap, HPALETTE palette);
    // A new bitmap compatible with the screen, filled black.
    [[nodiscard]] bool SetSize(int width, int height);
    void Clear();

    // The memory DC with this bitmap selected (and its palette, if any); null when empty.
    HDC DC() const;
    TCanvas& Canvas();

    ChangeEvent OnChange;

private:
    void ReleaseDC() const;
    void Changed();
    BitmapHandle FHandle;
    PaletteHandle FPalette;
    int FWidth = 0;
    int FHeight = 0;
    mutable HDC FDC = nullptr;
    mutable HGDIOBJ FOldBitmap = nullptr;
    mutable HPALETTE FOldPalette = nullptr;
    std::unique_ptr<TCanvas> FCanvas;
};

// Copies a palette handle (a new handle with the same entries); null for null.
HPALETTE CopyPalette(HPALETTE pal);

// A picture: empty, a bitmap or an icon.
class TPicture {
public:
    TPicture() = default;
    TPicture(const TPicture& o);
    TPicture& operator=(const TPicture& o);
    // Moving hands the bitmap or icon over without copying it; OnChange stays where it was.
    TPicture(TPicture&& o) noexcept;
    TPicture& operator=(TPicture&& o) noexcept;
    ~TPicture();

    bool Empty() const;
    TBitmap* Bitmap() const { return FBitmap.get(); }
    HICON Icon() const { return FIcon; }
    int Width() const;
    int Height() const;

    void Assign(const TBitmap& bmp);
    void Assign(TBitmap&& bmp);
    void AssignIcon(HICON icon);  // takes ownership
    void Clear();

    ChangeEvent OnChange;

private:
    void Changed();
    std::unique_ptr<TBitmap> FBitmap;
    HICON FIcon = nullptr;
};

// Draws on a device context with its own pen, brush and font. Does not own the DC.
class TCanvas {
public:
    explicit TCanvas(HDC dc = nullptr) : FDC(dc) {}
    HDC Handle() const { return FDC; }
    void SetHandle(HDC dc) { FDC = dc; }

    TPen Pen;
    TBrush Brush;
    TFont Font;
    DWORD CopyMode = SRCCOPY;

    void FillRect(const RECT& r);
    // Shapes and lines mix with what is there by Pen.Mode; text and bitmaps do not.
    void Rectangle(int l, int t, int r, int b);
    void RoundRect(int l, int t, int r, int b, int cw, int ch);
    void Ellipse(int l, int t, int r, int b);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    // Text in Font, transparent when the brush is clear.
    void TextOut(int x, int y, const std::string& text);
    void TextRect(const RECT& r, const std::string& text, UINT format);
    SIZE TextExtent(const std::string& text);
    // The height of `text` broken into lines at word boundaries to fit `width`.
    int WrappedTextHeight(const std::string& text, int width);
    int TextWidth(const std::string& text) { return TextExtent(text).cx; }
    int TextHeight(const std::string& text) { return TextExtent(text).cy; }
    // Bitmap at natural size at (x, y), with CopyMode.
    void Draw(int x, int y, const TBitmap& bmp);
    void StretchDraw(const RECT& r, const TBitmap& bmp);
    void CopyRect(const RECT& dst, const TCanvas& src, const RECT& srcRect);

private:
    HDC FDC;
};

// Loads the font files shipped in `folder` for this process only.
void LoadPrivateFonts(const std::wstring& folder);
// The face to ask for: `name` when the system has it, else its shipped look-alike.
std::wstring ResolveFaceName(const std::string& name);

}  // namespace slumra::tk

// Small owning wrappers for GDI and USER handles: whoever holds one frees it, on every path.
#pragma once

#include "toolkit/Win.h"

#include <utility>

namespace slumra::tk {

// Any handle freed by DeleteObject: bitmaps, palettes, brushes, pens, fonts, regions.
template <typename H>
class GdiHandle {
public:
    GdiHandle() = default;
    explicit GdiHandle(H h) : h_(h) {}
    ~GdiHandle() { Reset(); }
    GdiHandle(const GdiHandle&) = delete;
    GdiHandle& operator=(const GdiHandle&) = delete;
    GdiHandle(GdiHandle&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    GdiHandle& operator=(GdiHandle&& o) noexcept {
        if (this != &o) Reset(std::exchange(o.h_, nullptr));
        return *this;
    }

    H Get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    void Reset(H h = nullptr) {
        if (h_ != nullptr) DeleteObject(h_);
        h_ = h;
    }
    H Release() { return std::exchange(h_, nullptr); }

private:
    H h_ = nullptr;
};

using BitmapHandle = GdiHandle<HBITMAP>;
using PaletteHandle = GdiHandle<HPALETTE>;
using BrushHandle = GdiHandle<HBRUSH>;
using PenHandle = GdiHandle<HPEN>;
using FontHandle = GdiHandle<HFONT>;
using RegionHandle = GdiHandle<HRGN>;

// A memory device context, deleted with DeleteDC.
class MemoryDC {
public:
    explicit MemoryDC(HDC compatibleWith = nullptr) : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDC() {
        if (dc_ != nullptr) DeleteDC(dc_);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HDC dc_;
};

// A window's (or the screen's) device context, released with ReleaseDC.
class WindowDC {
public:
    explicit WindowDC(HWND wnd) : wnd_(wnd), dc_(GetDC(wnd)) {}
    ~WindowDC() {
        if (dc_ != nullptr) ReleaseDC(wnd_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND wnd_;
    HDC dc_;
};

// Selects an object into a DC for the lifetime of the guard.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj != nullptr ? SelectObject(dc, obj) : nullptr) {}
    ~SelectGuard() {
        if (old_ != nullptr) SelectObject(dc_, old_);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// Selects and realizes a palette (foreground) for the lifetime of the guard; nothing for none.
class PaletteGuard {
public:
    PaletteGuard(HDC dc, HPALETTE pal) : dc_(dc) {
        if (pal != nullptr) {
            old_ = SelectPalette(dc, pal, FALSE);
            RealizePalette(dc);
        }
    }
    ~PaletteGuard() {
        if (old_ != nullptr) SelectPalette(dc_, old_, TRUE);
    }
    PaletteGuard(const PaletteGuard&) = delete;
    PaletteGuard& operator=(const PaletteGuard&) = delete;

private:
    HDC dc_;
    HPALETTE old_ = nullptr;
};

}  // namespace slumra::tk

#include "GuiTest.h"

#include <gtest/gtest.h>

#include <cstring>

namespace slumra::test {

namespace {

HBITMAP Dib32(int w, int h, void** bits) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, bits, nullptr, 0);
}

}  // namespace

Pixels Render(tk::TWinControl& control) {
    Pixels out(control.Width(), control.Height());
    void* bits = nullptr;
    tk::BitmapHandle dib(Dib32(out.Width(), out.Height(), &bits));
    tk::MemoryDC dc(nullptr);
    {
        tk::SelectGuard sel(dc.Get(), dib.Get());
        const RECT all{0, 0, out.Width(), out.Height()};
        control.PaintTo(dc.Get(), all);
        GdiFlush();
        std::memcpy(out.Data(), bits, static_cast<std::size_t>(out.Width()) * out.Height() * 4);
    }
    return out;
}

Pixels Grab(tk::TWinControl& control) {
    RECT rc;
    GetClientRect(control.Handle(), &rc);
    Pixels out(rc.right, rc.bottom);
    void* bits = nullptr;
    tk::BitmapHandle dib(Dib32(out.Width(), out.Height(), &bits));
    tk::MemoryDC mem(nullptr);
    tk::WindowDC wdc(control.Handle());
    tk::SelectGuard sel(mem.Get(), dib.Get());
    BitBlt(mem.Get(), 0, 0, out.Width(), out.Height(), wdc.Get(), 0, 0, SRCCOPY);
    GdiFlush();
    std::memcpy(out.Data(), bits, static_cast<std::size_t>(out.Width()) * out.Height() * 4);
    return out;
}

tk::TBitmap MakeBitmap(int w, int h, const std::function<std::uint32_t(int, int)>& color) {
    void* bits = nullptr;
    HBITMAP dib = Dib32(w, h, &bits);
    auto* px = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) px[y * w + x] = color(x, y);
    }
    tk::TBitmap bmp;
    bmp.SetHandles(dib, nullptr);
    return bmp;
}

void Pump(int milliseconds) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    do {
        tk::Application().ProcessMessages();
        Sleep(5);
    } while (GetTickCount() < end);
}

}  // namespace slumra::test

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    slumra::tk::Application().Initialize(GetModuleHandleW(nullptr));
    return RUN_ALL_TESTS();
}

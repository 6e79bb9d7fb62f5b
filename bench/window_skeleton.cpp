// The start-up benchmark's second yardstick: the program's start-up made of nothing but its
// windows. It binds the system libraries the program binds at start, carries its manifest,
// makes the hidden application window, shows and paints a splash of the splash's size, then
// makes the full-screen main window with a centred panel and as many windowed children as the
// main window makes at start, and shows it. No pictures, no data, no fonts: what is left
// between this and the program is the program's own work.
// The order matters: windows.h first.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>
// clang-format on

namespace {

LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(wnd, msg, wp, lp);
}

HWND Make(DWORD exStyle, const wchar_t* cls, const wchar_t* title, DWORD style, int x, int y, int w, int h,
          HWND parent) {
    return CreateWindowExW(exStyle, cls, title, style, x, y, w, h, parent, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    int argc = 0;
    LocalFree(CommandLineToArgvW(GetCommandLineW(), &argc));
    // Never called (argc is never negative): it only binds ole32 at start, as the program's
    // picture decoding does.
    if (argc < 0) CoUninitialize();

    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = L"SkeletonWindow";
    RegisterClassW(&wc);
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);

    HWND app = Make(0, wc.lpszClassName, L"Skeleton", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0,
                    0, 0, 0, nullptr);
    HWND splash = Make(WS_EX_TOPMOST, wc.lpszClassName, nullptr, WS_POPUP | WS_CLIPCHILDREN, (w - 282) / 2,
                       (h - 282) / 2, 282, 282, app);
    Make(0, wc.lpszClassName, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 282, 282, splash);
    ShowWindow(splash, SW_SHOW);
    UpdateWindow(splash);

    HWND main = Make(WS_EX_TOPMOST, wc.lpszClassName, L"Skeleton window", WS_POPUP | WS_CLIPCHILDREN, 0, 0, w,
                     h, app);
    HWND panel = Make(0, wc.lpszClassName, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, (w - 800) / 2,
                      (h - 600) / 2, 800, 600, main);
    for (int i = 0; i < 7; ++i)
        Make(0, i < 2 ? L"LISTBOX" : wc.lpszClassName, nullptr, WS_CHILD | WS_VISIBLE, 20 + i * 100, 20, 90,
             300, panel);
    ShowWindow(main, SW_SHOW);
    DestroyWindow(splash);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

#include "widgets/GTimer.h"

#include "toolkit/Controls.h"

namespace slumra {

namespace {

constexpr wchar_t kClassName[] = L"SlumraTimeClick";
constexpr UINT kTickMessage = WM_APP + 0x51;

}  // namespace

LRESULT CALLBACK GTimeClick::WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kTickMessage) {
        // The ticket, not the window, names the clock: a clock that has stopped or gone finds
        // no callback to run, whatever is still queued for it.
        try {
            TickThread::Deliver(static_cast<std::uint32_t>(wp));
        } catch (...) {
            // Nothing may unwind through the window procedure.
        }
        return 0;
    }
    return DefWindowProcW(wnd, msg, wp, lp);
}

GTimeClick::GTimeClick(std::uint16_t interval, std::function<void()> callback) : FInterval(interval) {
    HINSTANCE instance = tk::Application().Instance_();
    if (instance == nullptr) instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    if (!GetClassInfoExW(instance, kClassName, &wc)) {
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &GTimeClick::WindowProc;
        wc.hInstance = instance;
        wc.lpszClassName = kClassName;
        RegisterClassExW(&wc);
    }
    FWindow =
        CreateWindowExW(0, kClassName, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (FWindow == nullptr) return;  // no way to reach this thread: the clock does not run
    const HWND target = FWindow;
    FThread = std::make_unique<TickThread>(
        interval, std::move(callback),
        [target](std::uint32_t ticket) { return PostMessageW(target, kTickMessage, ticket, 0) != 0; },
        [] { SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_IDLE); });
}

GTimeClick::~GTimeClick() {
    // The worker posts to the window, so it ends before the window goes.
    FThread.reset();
    if (FWindow != nullptr) DestroyWindow(FWindow);
}

void GTimeClick::Stop() {
    if (FThread) FThread->Stop();
}

}  // namespace slumra

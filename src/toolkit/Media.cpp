#include "toolkit/Media.h"

#include "toolkit/LateBound.h"
#include "toolkit/Text.h"

#include <mmsystem.h>

namespace slumra::tk {

TMediaPlayer::TMediaPlayer() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &TMediaPlayer::Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"SlumraMediaPlayer";
        RegisterClassExW(&wc);
        registered = true;
    }
    FWindow = CreateWindowExW(0, L"SlumraMediaPlayer", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (FWindow != nullptr) SetWindowLongPtrW(FWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TMediaPlayer::~TMediaPlayer() {
    Close();
    if (FWindow != nullptr) DestroyWindow(FWindow);
}

LRESULT CALLBACK TMediaPlayer::Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == MM_MCINOTIFY) {
        auto* self = reinterpret_cast<TMediaPlayer*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
        // A notice from a device closed since it was sent is not ours any more.
        if (self != nullptr && static_cast<unsigned>(lp) == self->FDevice && self->OnNotify) {
            TMPNotifyValue v = TMPNotifyValue::nvFailure;
            switch (wp) {
                case MCI_NOTIFY_SUCCESSFUL:
                    v = TMPNotifyValue::nvSuccessful;
                    break;
                case MCI_NOTIFY_SUPERSEDED:
                    v = TMPNotifyValue::nvSuperseded;
                    break;
                case MCI_NOTIFY_ABORTED:
                    v = TMPNotifyValue::nvAborted;
                    break;
                default:
                    break;
            }
            self->OnNotify(self, v);
        }
        return 0;
    }
    return DefWindowProcW(wnd, msg, wp, lp);
}

bool TMediaPlayer::Open() {
    Close();
    const std::wstring path = Widen(FileName);
    MCI_OPEN_PARMSW open{};
    open.lpstrElementName = path.c_str();
    if (late::MciSendCommand(0, MCI_OPEN, MCI_OPEN_ELEMENT, reinterpret_cast<DWORD_PTR>(&open)) != 0)
        return false;
    FDevice = open.wDeviceID;
    return true;
}

bool TMediaPlayer::Play() {
    if (FDevice == 0) return false;
    MCI_PLAY_PARMS play{};
    play.dwCallback = reinterpret_cast<DWORD_PTR>(FWindow);
    MCI_SEEK_PARMS seek{};
    late::MciSendCommand(FDevice, MCI_SEEK, MCI_SEEK_TO_START, reinterpret_cast<DWORD_PTR>(&seek));
    return late::MciSendCommand(FDevice, MCI_PLAY, MCI_NOTIFY, reinterpret_cast<DWORD_PTR>(&play)) == 0;
}

bool TMediaPlayer::Stop() {
    if (FDevice == 0) return false;
    MCI_GENERIC_PARMS p{};
    return late::MciSendCommand(FDevice, MCI_STOP, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&p)) == 0;
}

void TMediaPlayer::Close() {
    if (FDevice == 0) return;
    MCI_GENERIC_PARMS p{};
    late::MciSendCommand(FDevice, MCI_CLOSE, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&p));
    FDevice = 0;
}

TAnimate::TAnimate(TWinControl* parent) : TWinControl(parent) {
    FOwnClass = false;
}

void TAnimate::CreateParams(CREATESTRUCTW& cs, std::wstring& className) {
    className = ANIMATE_CLASSW;
    cs.style = WS_CHILD | WS_CLIPSIBLINGS | ACS_TRANSPARENT;
}

bool TAnimate::Open(const std::string& path) {
    if (Handle() == nullptr) return false;
    const std::wstring w = Widen(path);
    return SendMessageW(FHandle, ACM_OPENW, 0, reinterpret_cast<LPARAM>(w.c_str())) != 0;
}

bool TAnimate::Play(int fromFrame, int toFrame, int repeat) {
    if (FHandle == nullptr) return false;
    return SendMessageW(FHandle, ACM_PLAY, static_cast<WPARAM>(repeat), MAKELPARAM(fromFrame, toFrame)) != 0;
}

void TAnimate::Stop() {
    if (FHandle != nullptr) SendMessageW(FHandle, ACM_STOP, 0, 0);
}

}  // namespace slumra::tk

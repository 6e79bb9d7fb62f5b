#include "toolkit/Clipboard.h"

#include "toolkit/Text.h"

#include <cstring>

namespace slumra::tk {

bool SetClipboardText(HWND owner, const std::string& cp1252) {
    const std::wstring text = Widen(cp1252);
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    if (mem == nullptr) return false;
    void* p = GlobalLock(mem);
    if (p == nullptr) {
        GlobalFree(mem);
        return false;
    }
    std::memcpy(p, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(mem);
    if (!OpenClipboard(owner)) {
        GlobalFree(mem);
        return false;
    }
    EmptyClipboard();
    const bool ok = SetClipboardData(CF_UNICODETEXT, mem) != nullptr;
    CloseClipboard();
    if (!ok) GlobalFree(mem);  // the clipboard took it only on success
    return ok;
}

std::string ClipboardText(HWND owner) {
    std::wstring text;
    if (!OpenClipboard(owner)) return {};
    if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* p = static_cast<const wchar_t*>(GlobalLock(h))) {
            text = p;
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return NarrowLossy(text);
}

}  // namespace slumra::tk

#include "toolkit/LateBound.h"

#include <winspool.h>

#include <string>

namespace slumra::tk::late {

namespace {

// The function `name` of the system library `library`, loading the library on the first call;
// it stays loaded for the rest of the program. Null when either is missing. The library is
// taken from the system folder only, never from beside the program or the current folder.
template <class Function>
Function Bind(const wchar_t* library, const char* name) {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    HMODULE module = LoadLibraryW((std::wstring(folder, length) + L'\\' + library).c_str());
    if (module == nullptr) return nullptr;
    // Through a plain function pointer: GetProcAddress's own type says nothing of the real one.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace

BOOL GetSaveFileName(OPENFILENAMEW* ofn) {
    static const auto f = Bind<decltype(&::GetSaveFileNameW)>(L"comdlg32.dll", "GetSaveFileNameW");
    return f != nullptr ? f(ofn) : FALSE;
}

BOOL PrintDlg(PRINTDLGW* pd) {
    static const auto f = Bind<decltype(&::PrintDlgW)>(L"comdlg32.dll", "PrintDlgW");
    return f != nullptr ? f(pd) : FALSE;
}

MCIERROR MciSendCommand(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR params) {
    static const auto f = Bind<decltype(&::mciSendCommandW)>(L"winmm.dll", "mciSendCommandW");
    return f != nullptr ? f(device, message, flags, params) : MCIERR_DEVICE_NOT_INSTALLED;
}

BOOL EnumPrinters(DWORD flags, LPWSTR name, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed,
                  LPDWORD returned) {
    static const auto f = Bind<decltype(&::EnumPrintersW)>(L"winspool.drv", "EnumPrintersW");
    if (f == nullptr) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return FALSE;
    }
    return f(flags, name, level, buffer, size, needed, returned);
}

}  // namespace slumra::tk::late

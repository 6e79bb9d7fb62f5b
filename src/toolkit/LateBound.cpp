#include "toolkit/LateBound.h"

#include <winspool.h>

namespace slumra::tk::late {

namespace {

// The function `name` of `library`, loading the library on the first call; it stays loaded
// for the rest of the program. Null when either is missing.
template <class Function>
Function Bind(const wchar_t* library, const char* name) {
    HMODULE module = LoadLibraryW(library);
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

#include "toolkit/Shell.h"

#include "app/CommandString.h"
#include "toolkit/Text.h"

#include <shellapi.h>

namespace slumra::tk {

std::string ReadRegistryString(HKEY root, const std::string& key, const std::string& name) {
    HKEY h = nullptr;
    if (RegOpenKeyExW(root, Widen(key).c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return {};
    wchar_t buf[256] = {};
    DWORD size = sizeof buf - sizeof(wchar_t);
    DWORD type = 0;
    const std::wstring wname = Widen(name);
    const LSTATUS rc = RegQueryValueExW(h, wname.empty() ? nullptr : wname.c_str(), nullptr, &type,
                                        reinterpret_cast<BYTE*>(buf), &size);
    RegCloseKey(h);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return {};
    buf[size / sizeof(wchar_t)] = L'\0';
    return NarrowLossy(buf).substr(0, 255);
}

bool OpenWebPage(const std::string& address) {
    std::string type;
    for (const char* ext : {".HTML", ".HTM", ".SHTML", ".SHTM"}) {
        HKEY h = nullptr;
        if (RegOpenKeyExW(HKEY_CLASSES_ROOT, Widen(ext).c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) continue;
        RegCloseKey(h);
        type = ReadRegistryString(HKEY_CLASSES_ROOT, ext, "");
        break;
    }
    const std::string command =
        type.empty() ? std::string() : ReadRegistryString(HKEY_CLASSES_ROOT, type + "\\Shell\\Open\\Command", "");
    if (command.empty()) return false;
    const ProgramCall call = BrowserCall(command, address.substr(0, 255));
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(GetDesktopWindow(), nullptr, Widen(call.Program).c_str(),
                                                                Widen(call.Parameters).c_str(), nullptr, SW_SHOWNORMAL));
    return result > 32;
}

}  // namespace slumra::tk

#include "app/Folders.h"

#include "toolkit/Text.h"

#include <shlobj.h>

#include <cstdio>
#include <filesystem>

namespace slumra {

namespace {

int gSizeClass = 0;

std::filesystem::path Roaming(const wchar_t* sub) {
    wchar_t appData[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, appData))) return {};
    std::filesystem::path folder = std::filesystem::path(appData) / L"Slumra" / sub;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return ec ? std::filesystem::path() : folder;
}

}  // namespace

std::string ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring p(path);
    return tk::NarrowLossy(p.substr(0, p.find_last_of(L'\\') + 1));
}

std::string UserFolder() {
    const std::filesystem::path beside = std::filesystem::path(tk::Widen(ProgramFolder())) / L"User";
    std::error_code ec;
    std::filesystem::create_directories(beside, ec);
    // Writable only if a file can really be made there (Program Files refuses ordinary users).
    const std::filesystem::path probe = beside / L".slumra-write-test";
    if (!ec) {
        if (FILE* f = _wfopen(probe.c_str(), L"wb")) {
            fclose(f);
            std::filesystem::remove(probe, ec);
            return tk::NarrowLossy(beside.wstring()) + "\\";
        }
    }
    if (const auto roaming = Roaming(L"User"); !roaming.empty()) return tk::NarrowLossy(roaming.wstring()) + "\\";
    return tk::NarrowLossy(beside.wstring()) + "\\";
}

DiaryPlaces FindDiaryPlaces() {
    DiaryPlaces places;
    places.Own = UserFolder();
    const std::string beside = ProgramFolder() + "User\\";
    if (places.Own == beside) return places;
    const std::filesystem::path path = std::filesystem::path(tk::Widen(ProgramFolder())) / L"User";
    std::error_code ec;
    places.BesideUnusable = std::filesystem::exists(path, ec);
    if (std::filesystem::is_directory(path, ec)) places.ReadOnly = beside;
    return places;
}

std::string RoamingFolder(const std::string& sub) {
    const auto folder = Roaming(tk::Widen(sub).c_str());
    return folder.empty() ? std::string() : tk::NarrowLossy(folder.wstring()) + "\\";
}

int SizeClass() {
    return gSizeClass;
}

void SetSizeClass(int sizeClass) {
    gSizeClass = sizeClass;
}

}  // namespace slumra

// The program as a user starts it: separate processes, one instance per desktop, and the
// "uninstall" argument with and without a running instance.
#include "GuiTest.h"
#include "../Scratch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace slumra {
namespace {

namespace fs = std::filesystem;

fs::path ProgramExe() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    // build/win32/tests/gui/gui_tests.exe → build/win32/program/slumra.exe
    return fs::path(self).parent_path().parent_path().parent_path() / L"program" / L"slumra.exe";
}

// A started program; ended at the latest with the test.
struct Process {
    explicit Process(const std::wstring& args = L"") {
        std::wstring cmd = L"\"" + ProgramExe().wstring() + L"\" " + args;
        STARTUPINFOW si{};
        si.cb = sizeof si;
        started = CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 ProgramExe().parent_path().c_str(), &si, &pi) != 0;
    }
    ~Process() {
        if (!started) return;
        if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 99);
        WaitForSingleObject(pi.hProcess, 5000);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    // The exit code, or STILL_ACTIVE after `ms` milliseconds.
    DWORD Wait(DWORD ms) {
        WaitForSingleObject(pi.hProcess, ms);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(pi.hProcess, &code);
        return code;
    }
    bool started = false;
    PROCESS_INFORMATION pi{};
};

// Waits until `condition` holds, letting messages run; false after `ms` milliseconds.
template <typename F>
bool WaitFor(F condition, int ms) {
    for (int waited = 0; waited < ms; waited += 50) {
        if (condition()) return true;
        test::Pump(50);
    }
    return condition();
}

int CountMainWindows() {
    int n = 0;
    for (HWND w = FindWindowW(L"Slumra", nullptr); w != nullptr;
         w = FindWindowExW(nullptr, w, L"Slumra", nullptr))
        ++n;
    return n;
}

const wchar_t* kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Slumra";

// Registers an "uninstaller" that only leaves a mark, so the test sees it ran.
struct FakeUninstaller {
    FakeUninstaller() {
        mark = test::ScratchPath("slumra-uninstaller-ran") / L"mark.txt";
        fs::create_directories(mark.parent_path());
        fs::remove(mark);
        wchar_t sys[MAX_PATH] = {};
        GetSystemDirectoryW(sys, MAX_PATH);
        const std::wstring value =
            L"\"" + std::wstring(sys) + L"\\cmd.exe\" /c echo ran> \"" + mark.wstring() + L"\"";
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
        RegSetValueExW(key, L"UninstallString", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
    ~FakeUninstaller() {
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, kUninstallKey);
        fs::remove(mark);
    }
    bool Ran() const { return fs::exists(mark); }
    fs::path mark;
};

class Instance : public testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(ProgramExe())) GTEST_SKIP() << "the program is not built";
        ASSERT_EQ(CountMainWindows(), 0) << "a program from an earlier run is still open";
    }
};

TEST_F(Instance, SecondStartRestoresTheMinimizedFirstAndShowsNothing) {
    Process first;
    ASSERT_TRUE(first.started);
    ASSERT_TRUE(WaitFor([] { return FindWindowW(L"Slumra", nullptr) != nullptr; }, 30000));
    HWND main = FindWindowW(L"Slumra", nullptr);
    HWND app = GetWindow(main, GW_OWNER);
    ASSERT_NE(app, nullptr);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main) != 0; }, 30000));
    PostMessageW(app, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitFor([&] { return IsIconic(app) != 0; }, 5000));

    Process second;
    EXPECT_EQ(second.Wait(20000), 0u);
    EXPECT_TRUE(WaitFor([&] { return IsIconic(app) == 0; }, 5000));
    EXPECT_EQ(CountMainWindows(), 1);
    EXPECT_EQ(first.Wait(0), STILL_ACTIVE);
}

TEST_F(Instance, UninstallClosesTheRunningInstanceAndStartsTheUninstaller) {
    FakeUninstaller uninstaller;
    Process first;
    ASSERT_TRUE(WaitFor([] { return FindWindowW(L"Slumra", nullptr) != nullptr; }, 30000));
    ASSERT_TRUE(WaitFor([] { return IsWindowVisible(FindWindowW(L"Slumra", nullptr)) != 0; }, 30000));
    Process remover(L"UnInstall");
    EXPECT_EQ(remover.Wait(20000), 0u);
    EXPECT_TRUE(WaitFor([&] { return uninstaller.Ran(); }, 10000));
    // The first instance goes through its close sequence, the farewell included.
    EXPECT_EQ(first.Wait(15000), 0u);
}

TEST_F(Instance, UninstallWithoutARunningInstanceShowsNothing) {
    FakeUninstaller uninstaller;
    Process remover(L"uninstall");
    EXPECT_EQ(remover.Wait(20000), 0u);
    EXPECT_EQ(CountMainWindows(), 0);
    EXPECT_TRUE(WaitFor([&] { return uninstaller.Ran(); }, 10000));
}

TEST_F(Instance, LongerArgumentIsNotUninstall) {
    FakeUninstaller uninstaller;
    Process first(L"uninstaller");
    ASSERT_TRUE(WaitFor([] { return FindWindowW(L"Slumra", nullptr) != nullptr; }, 30000));
    EXPECT_FALSE(uninstaller.Ran());
    // Asked to close while it is still loading: it closes once it is up.
    PostMessageW(FindWindowW(L"Slumra", nullptr), WM_CLOSE, 0, 0);
    EXPECT_EQ(first.Wait(15000), 0u);
}

}  // namespace
}  // namespace slumra

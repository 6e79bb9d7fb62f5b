// The program entry: one instance per desktop, the "uninstall" argument, the splash while the
// main window loads, the message loop.

#include "app/CommandString.h"
#include "app/Intro.h"
#include "app/Layout.h"
#include "app/Main.h"
#include "app/StartupLoad.h"
#include "imaging/TMultiP.h"
#include "lang/TransLtrWin.h"
#include "toolkit/Palette.h"
#include "toolkit/Shell.h"
#include "toolkit/Text.h"
#include "widgets/About.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <string>

using namespace slumra;

namespace {

// Bit 1: choose the layout by the screen; bit 2: show the splash.
constexpr unsigned char StartupOptions = 7;

// True when the first argument is "uninstall" in any mix of capitals, and nothing more.
bool UninstallRequested() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    bool yes = false;
    if (argv != nullptr && argc >= 2) {
        std::wstring arg = argv[1];
        for (wchar_t& c : arg) {
            if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + 32);
        }
        yes = arg == L"uninstall";
    }
    LocalFree(argv);
    return yes;
}

void RunUninstaller() {
    const std::string registered = tk::ReadRegistryString(
        HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Slumra",
        "UninstallString");
    if (registered.empty()) return;
    const ProgramCall call = UninstallCall(registered);
    ShellExecuteW(GetDesktopWindow(), nullptr, tk::Widen(call.Program).c_str(),
                  tk::Widen(call.Parameters).c_str(),
                  call.Folder.empty() ? nullptr : tk::Widen(call.Folder).c_str(), SW_SHOWNORMAL);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const bool uninstall = UninstallRequested();
    if (HWND running = FindWindowW(kMainWindowClass, nullptr)) {
        if (!uninstall) {
            PostMessageW(running, ActivateInstanceMessage, 0, 0);
            return 0;
        }
        PostMessageW(running, WM_CLOSE, 0, 0);
    }
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    if (uninstall) {
        RunUninstaller();
        return 0;
    }
    tk::BuildPalettes(instance);
    // On a 256-colour display pictures are dithered to the colours the system keeps fixed: the
    // others may never reach the screen (Wine shows only those), and dark blues would turn black.
    SetDefaultDecoderPalette(tk::TScreen::BitsPerPixel() == 8 && tk::StaticColorsPalette() != nullptr
                                 ? tk::StaticColorsPalette()
                                 : tk::ScreenPalette());
    // What the main window shows is read and decoded on a second thread while this one makes
    // the windows and shows the splash.
    TStartupLoad::Start(ProgramFolder(), std::max(0, SizeClassFor(tk::TScreen::Width(), tk::TScreen::Height())),
                        tk::TScreen::BitsPerPixel());
    tk::Application().Initialize(instance);
    InstallTranslatorHooks();
    tk::Application().SetCursor(tk::TCursor::AppStart, LoadCursorW(instance, L"HandCursor"));
    tk::Application().SetCursor(tk::TCursor::Help, LoadCursorW(instance, L"HandNoFingersCursor"));
    {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring folder(path);
        folder = folder.substr(0, folder.find_last_of(L'\\'));
        tk::LoadPrivateFonts(folder + L"\\Fonts");
    }
    if ((StartupOptions & 2) != 0) {
        ShowSplash();
        tk::Application().ProcessMessages();
    }
    {
        TMainForm mainForm;
        tk::Application().MainForm = &mainForm;
        tk::Application().Run();
        tk::Application().MainForm = nullptr;
    }
    FreeSplash();
    FreeAboutBox();
    tk::FreePalettes();
    return 0;
}

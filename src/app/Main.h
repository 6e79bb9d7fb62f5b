// TMainForm: the full-screen main window. It owns the interpretation records with the index
// and outline built from them, the synonym list and the background sound, lays out its skinned
// panels at one of three designs chosen by the screen, and carries the title row, the menu
// strip and the close sequence. The reference side (TRecordView) and the diary side
// (TDiaryPanel) are units of their own.
#pragma once

#include "app/DiaryPanel.h"
#include "app/Folders.h"
#include "app/RecordView.h"
#include "app/StartupLoad.h"
#include "data/iDbRecs.h"
#include "imaging/TMultiP.h"
#include "toolkit/Media.h"
#include "toolkit/StdCtrls.h"
#include "widgets/Bk.h"
#include "widgets/MMBtns.h"

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace slumra {

// ViewFlags bits.
enum : unsigned { ContentShown = 1, IndexShown = 2, DiaryShown = 4, SearchBusy = 8 };

// The slots of TopRowCache: the first visible row each transparent list was last painted with.
enum TopRowSlot { kContentSlot = 0, kIndexSlot = 1, kRecordSlot = 2, kExpsSlot = 3, kExpsTextSlot = 4 };

// Asks the running instance to restore itself and come to the front.
inline constexpr UINT ActivateInstanceMessage = 0x1400;
inline constexpr const wchar_t* kMainWindowClass = L"Slumra";

class TMainForm : public tk::TForm {
public:
    TMainForm();
    ~TMainForm() override;

    // FormCreate ends the process with exit code 1 on a screen below 640 × 480. Tests put
    // their own reaction here before making a main window.
    static void (*ScreenTooSmall)();

    tk::TMediaPlayer MediaPlayer;
    TPMultiImage anImage;
    tk::TPanel* MainFormPanel;
    TBkControl* Bk;
    TBaseBtn* InfoBtn;
    TBaseBtn* SoundSBtn;
    tk::TLabel* CaptionLbl;
    TBaseBtn* FindBtn;
    TBaseBtn* HelpBtn;
    TBaseBtn* MinimizeBtn;
    TBaseBtn* QuitBtn;
    tk::TPanel* MenuPnl;
    TBkControl* MenuBk;
    tk::TPanel* MenuSelectedPnl;
    TBkControl* MenuSelectedBk;
    TBaseBtn* ContentIndexBtn;
    TBaseBtn* DreamDiaryBtn;
    std::unique_ptr<TRecordView> Records;
    std::unique_ptr<TDiaryPanel> Diary;

    unsigned ViewFlags = ContentShown;
    std::string SoundPath;
    std::uint32_t LastShownId = 0;
    std::unique_ptr<TiDbRecFile> RecordFile;
    std::unique_ptr<std::vector<std::string>> SynonymList;
    int TopRowCache[5] = {};

    void SlideMenu(int position);
    void ShowRecord(const iDbRecInfo& rec) { Records->ShowRecord(rec); }
    void UpdateStatus();
    void SoundSBtnClick();
    void PlaySound(const std::string& path);
    void StopSound();
    // The program's folder, with its trailing backslash.
    const std::string& Folder() const { return FProgramFolder; }
    // Sets the picture loader's depth and dithering for the display.
    void PrepareLoader();
    void BtnMouseIn(tk::TControl* sender);
    void BtnMouseOut(tk::TControl* sender);

    // A random number below `bound`; the program's own generator unless a test puts another.
    std::function<int(int)> Random = [](int bound) { return bound > 0 ? std::rand() % bound : 0; };

    // The noun inside the dream prompts and messages.
    std::string ItemNoun = "Droom";

    // The dialogs the window asks: the program's own unless a test puts others.
    std::function<std::string(const std::string&, const std::string&)> AskNameFunc;
    std::function<bool(const std::string&, const std::string&, const std::string&, const std::string&)>
        AskMessageFunc;
    std::string AskName(const std::string& caption, const std::string& prompt);
    bool AskMessage(const std::string& caption, const std::string& text, const std::string& yes,
                    const std::string& no);
    // A plain message with only "OK".
    void Message(const std::string& caption, const std::string& text);
    // Decodes the diary panel's skins when the diary is first opened.
    void LoadDiarySkins() { LoadSkins(true); }

    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void CreateComponents();
    void ChooseSizeClass();
    void LoadSkins(bool diary = false);
    // A skin the start-up decoded ahead, or null: then the window loads it itself.
    TStartupLoad::Skin* ReadySkin(const std::string& name);
    std::unique_ptr<TStartupLoad> FStartupLoad;  // only while the window is being made
    bool FDiarySkinsLoaded = false;
    void CutShapes();
    void FormShow();
    void FormCloseQuery(bool& canClose);
    // Saves the open diary for the close; false when the user chose to keep the program open.
    bool DiarySavedForClose();
    void FormMinimize();
    void FormRestore();
    void CatXBtnClick(tk::TControl* sender);
    // Ctrl+F searches the dictionary (in the diary: the dreams); Alt+Left or Backspace and
    // Alt+Right walk the records shown.
    void FormKeyDown(WORD& key, unsigned shift);
    void HelpBtnClick();
    void MediaPlayerNotify(tk::TMPNotifyValue value);
    std::string FProgramFolder;
    bool FShown = false;
    bool FCloseRequested = false;
};

// The main window while it exists.
TMainForm* MainForm();

}  // namespace slumra

// TMainForm: the full-screen main window. It owns the interpretation records with the index
// and outline built from them, the synonym list, the open diary and the background sound, and
// lays out its skinned panels at one of three designs chosen by the screen.
#pragma once

#include "data/iDbRecs.h"
#include "diary/DrDiRecs.h"
#include "imaging/TMultiP.h"
#include "toolkit/Media.h"
#include "toolkit/Outline.h"
#include "toolkit/StdCtrls.h"
#include "widgets/Bk.h"
#include "widgets/MMBtns.h"
#include "widgets/ProImg.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace slumra {

// ViewFlags bits.
enum : unsigned { ContentShown = 1, IndexShown = 2, DiaryShown = 4, SearchBusy = 8 };

// Asks the running instance to restore itself and come to the front.
inline constexpr UINT ActivateInstanceMessage = 0x1400;
inline constexpr const wchar_t* kMainWindowClass = L"Slumra";

// The size class chosen at start-up (0..5).
int SizeClass();

// The folder of the user's diaries: User\ beside the program, or %APPDATA%\Slumra\User when
// the program's folder cannot be written (an installation under Program Files).
std::string UserFolder();

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
    TBaseBtn* HelpBtn;
    TBaseBtn* MinimizeBtn;
    TBaseBtn* QuitBtn;
    tk::TLabel* ContentIndexLbl;
    tk::TOutline* ContentLst;
    tk::TListBox* IndexLst;
    tk::TPanel* iDbRecTextPnl;
    TBkControl* iDbRecTextPnlBk;
    tk::TLabel* iDbRecHeader;
    tk::TListBox* iDbRecText;
    TBaseBtn* ToClipBrdBtn;
    TBaseBtn* PrintBtn;
    tk::TPanel* OrvelLogoPnl;
    tk::TAnimate* OrvelLogo;
    tk::TPanel* SubjectPicturePnl;
    TProportionalImage* SubjectPicture;
    tk::TPanel* DreamDiaryPnl;
    TBkControl* DreamDiaryBk;
    tk::TLabel* DrDiCaptionLbl;
    tk::TLabel* DrDiLstBoxLbl;
    tk::TComboBox* DrDiLstBox;
    tk::TLabel* DrDiDreamDateLbl;
    tk::TEdit* DrDiDreamDateEdit;
    tk::TLabel* DrDiDreamTimeLbl;
    tk::TEdit* DrDiDreamTimeEdit;
    tk::TLabel* DrDiRecTextLbl;
    tk::TMemo* DrDiRecText;
    tk::TLabel* DrDiRecExpTextLbl;
    tk::TMemo* DrDiRecExpsText;
    tk::TLabel* DrDiExpsLstHeaderLbl;
    tk::TListBox* DrDiExpsLst;
    tk::TLabel* DrDiExpsLstLbl;
    TBaseBtn* DrDiSearchForExpsBtn;
    TBaseBtn* DrDiAddBtn;
    TBaseBtn* DrDiDeleteBtn;
    TBaseBtn* DrDiRenameBtn;
    tk::TPanel* DrDiExpsLstPnl;
    TBkControl* DrDiExpsLstPnlBk;
    tk::TLabel* DrDiExpsPnlHeader;
    TBaseBtn* DrDiExpsPnlQuitBtn;
    tk::TListBox* DrDiExpsLstPnlText;
    tk::TPanel* MenuPnl;
    TBkControl* MenuBk;
    tk::TPanel* MenuSelectedPnl;
    TBkControl* MenuSelectedBk;
    TBaseBtn* ContentIndexBtn;
    TBaseBtn* DreamDiaryBtn;

    unsigned ViewFlags = ContentShown;
    std::string SoundPath;
    std::uint32_t LastShownId = 0;
    std::unique_ptr<TiDbRecFile> RecordFile;
    std::unique_ptr<std::vector<std::string>> SynonymList;
    std::unique_ptr<TDrDiRecFile> DiaryFile;
    int TopRowCache[5] = {};

    void SlideMenu(int position);
    void LoadIndex();
    void ShowRecord(const iDbRecInfo& rec);
    void UpdateStatus();
    void ContentLstSelect(int item);
    void IndexLstSelect(tk::TControl* sender);
    void SoundSBtnClick();
    void ToClipBrdBtnClick();
    void PlaySound(const std::string& path);
    void StopSound();

    // A random number below `bound`; the program's own generator unless a test puts another.
    std::function<int(int)> Random = [](int bound) { return bound > 0 ? std::rand() % bound : 0; };

    // The noun inside the dream prompts and messages.
    std::string ItemNoun = "Droom";

    // The diary panel. The dialogs it asks are these, the program's own unless a test puts others.
    std::function<std::string(const std::string&, const std::string&)> AskNameFunc;
    std::function<bool(const std::string&, const std::string&, const std::string&, const std::string&)>
        AskMessageFunc;
    void OpenDiary();
    // Opens the diary file at `path` in the panel (what choosing it in the diary dialog does).
    void OpenDiaryFile(const std::string& path);
    void CloseDiary();
    void FillDreamList();
    void ShowDream(const DrDiRec& rec);
    void StoreCurrentDream();
    void DrDiLstBoxClick();
    void DrDiAddBtnClick();
    void DrDiDeleteBtnClick();
    void DrDiRenameBtnClick();
    void DrDiSearchForExpsBtnClick();

    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void CreateComponents();
    void CreateDiaryPanel();
    // True when the list's selection is the dream the editors show, the one to delete or rename.
    bool SelectedIsCurrentDream(int selected) const;
    void Message(const std::string& caption, const std::string& text);
    void ChooseSizeClass();
    void LoadSkins();
    void CutShapes();
    void FormShow();
    void FormCloseQuery(bool& canClose);
    void FormMinimize();
    void FormRestore();
    void CatXBtnClick(tk::TControl* sender);
    void HelpBtnClick();
    void BtnMouseIn(tk::TControl* sender);
    void BtnMouseOut(tk::TControl* sender);
    void MediaPlayerNotify(tk::TMPNotifyValue value);
    void IndexLstKeyUp(tk::TControl* sender, WORD key);
    void ContentLstMouseUp(int x, int y);
    // Paints one row of a transparent list over the picture of `under`.
    void DrawListRow(tk::TListBox* list, TBkControl* under, int cacheSlot, int topMarker, bool last,
                     const RECT& rect, const std::function<void(tk::TCanvas&, int width)>& drawText);
    void PrepareLoader();
    void ShowPictures(const std::string& category, const std::string& subcategory, const std::string& symbol);
    std::string FProgramFolder;
    bool FShown = false;
    bool FCloseRequested = false;
};

// The main window while it exists.
TMainForm* MainForm();

}  // namespace slumra

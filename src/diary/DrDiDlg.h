// TOpenDreamDiaryDialog: the modal dialog in which the user picks the diary to open, and
// creates, deletes or renames diaries. One diary is one file <name>.ddf in the user's diary
// folder (UserFolder()); the dialog handles the files whole and never reads one. When the folder
// User beside the program cannot be written, its diaries are listed too, marked, to be read only.
#pragma once

#include "app/Folders.h"
#include "imaging/TMultiP.h"
#include "toolkit/Controls.h"
#include "toolkit/StdCtrls.h"
#include "widgets/Bk.h"
#include "widgets/MMBtns.h"

#include <functional>
#include <string>
#include <vector>

namespace slumra {

class TOpenDreamDiaryDialog : public tk::TForm {
public:
    // 392 × 223 at the 640 × 480 design, scaled to the program's design, skinned and rounded;
    // lists the diaries of the places given.
    explicit TOpenDreamDiaryDialog(TPMultiImage* loader = nullptr, DiaryPlaces places = FindDiaryPlaces());

    TBkControl* Bk;
    tk::TLabel* PersonsBoxLbl;
    tk::TListBox* PersonsBox;
    TBaseBtn* PersonsBoxAddBtn;
    TBaseBtn* PersonsBoxDeleteBtn;
    TBaseBtn* PersonsBoxChangeBtn;
    TBaseBtn* PersonsBoxPrintBtn;
    TBaseBtn* PersonsBoxExportBtn;
    TBaseBtn* NoBtn;
    TBaseBtn* YesBtn;

    // How the dialog asks the user: AskName and AskMessage, unless a test answers instead.
    std::function<std::string(const std::string& caption, const std::string& prompt)> AskNameFunc;
    std::function<bool(const std::string& caption, const std::string& text, const std::string& yesCaption,
                       const std::string& noCaption)>
        AskMessageFunc;

    // Prints the diary at a path, the dialog (its owner) staying open; the main window's own
    // printing unless a test puts another. Without one the button stays off.
    std::function<void(HWND owner, const std::string& path)> PrintFunc;

    // Makes the export of the diary at a path: an HTML page (html) or plain text, UTF-8; empty
    // when the diary cannot be read. Given by the main window; without one the button stays off.
    std::function<std::string(const std::string& path, const std::string& name, bool html)> ExportFunc;
    // Asks where to write the export of `name`: the save dialog, starting in the user's
    // Documents folder, unless a test answers. Empty when the user cancels; *html tells which
    // of the two kinds was chosen.
    std::function<std::string(HWND owner, const std::string& name, bool* html)> AskExportPathFunc;

    // The folder diaries are made in, with its trailing backslash.
    const std::string& Folder() const { return FPlaces.Own; }
    // The full path of the diary `name` in that folder.
    std::string PathOf(const std::string& name) const;
    // The longest name whose diary, its copies and its emergency copies the folder can hold
    // within the platform's path length.
    int NameLimit() const;
    // The path of the diary chosen with "Openen"; empty before. A diary of the read-only place
    // is opened only to be read unless the user has it copied into the own folder first.
    const std::string& ChosenPath() const { return FChosenPath; }
    bool ChosenReadOnly() const { return FChosenReadOnly; }

    // Says, the first time in a run only, that User\ beside the program cannot be used and
    // where the diaries go instead. False when there was nothing to say.
    bool TellAboutPlaces();

    // Lists every <name>.ddf file of the own folder, in the order the file system gives them,
    // then those of the read-only place, marked " (alleen lezen)".
    void FillList();
    // Deleting, renaming and opening need a chosen diary.
    void UpdateButtons();

    // Enter acts as YesBtn while a diary is chosen, Escape as NoBtn; not with Shift, Ctrl or Alt.
    void FormKeyUp(tk::TControl* sender, WORD& key, unsigned shift);
    void PersonsBoxClick(tk::TControl* sender);
    void YesBtnClick(tk::TControl* sender);
    void NoBtnClick(tk::TControl* sender);
    void PersonsBoxAddBtnClick(tk::TControl* sender);
    void PersonsBoxDeleteBtnClick(tk::TControl* sender);
    void PersonsBoxChangeBtnClick(tk::TControl* sender);
    void PersonsBoxPrintBtnClick(tk::TControl* sender);
    void PersonsBoxExportBtnClick(tk::TControl* sender);

private:
    void PersonsBoxDrawItem(int index, const RECT& rect, unsigned state);
    void ShowError(const std::string& text);
    struct Entry {
        std::string Name;
        std::string Path;
        bool ReadOnly = false;
    };
    const Entry* Selected() const;
    std::string SelectedName() const;
    DiaryPlaces FPlaces;
    std::vector<Entry> FEntries;
    std::string FChosenPath;
    bool FChosenReadOnly = false;
    int FTopRow = 0;
};

// Shows the diary dialog (its skin loaded through `loader`) and answers the path of the diary
// chosen with "Openen" (or Enter); empty when the dialog was left otherwise. *readOnly tells
// whether that diary is to be opened only to be read.
std::string OpenDiaryDialog(TPMultiImage* loader = nullptr,
                            std::function<void(HWND owner, const std::string& path)> print = {},
                            std::function<std::string(const std::string& path, const std::string& name, bool html)>
                                exportDiary = {},
                            bool* readOnly = nullptr);

// The platform's save dialog for an export of the diary `name`: HTML or text, starting in the
// user's Documents folder. Answers the path (empty when cancelled) and in *html the kind chosen.
std::string AskExportPath(HWND owner, const std::string& name, bool* html);

// The diary dialog while OpenDiaryDialog shows it, else null.
TOpenDreamDiaryDialog* OpenDreamDiaryDialog();

}  // namespace slumra

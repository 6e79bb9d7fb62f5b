#include "diary/DrDiDlg.h"

#include "app/Folders.h"
#include "data/Coding.h"
#include "data/Files.h"
#include "diary/DlgSkin.h"
#include "diary/DrDiExport.h"
#include "diary/MsgDlg.h"
#include "diary/NameFilter.h"
#include "diary/NewDlg.h"
#include "lang/Cp1252.h"
#include "lang/TransLtrWin.h"
#include "output/Printer.h"
#include "toolkit/Handles.h"
#include "toolkit/LateBound.h"
#include "toolkit/ListRows.h"
#include "toolkit/Text.h"
#include "widgets/Geometry.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <cwctype>
#include <memory>
#include <utility>
#include <vector>

namespace slumra {

namespace {

TOpenDreamDiaryDialog* gDiaryDialog = nullptr;
bool gToldAboutPlaces = false;

constexpr unsigned kModifiers = tk::ssShift | tk::ssCtrl | tk::ssAlt;
constexpr std::size_t kMaxText = 255;

// The diaries (<name>.ddf) of a folder, in the order the file system gives them.
std::vector<std::string> DiaryNamesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW(tk::Widen(folder + "*.ddf").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        // Only files whose names the program can write back: a name outside the code page
        // would address another file.
        std::string file, name;
        if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
        if (!tk::Narrow(fd.cFileName, file) || !DiaryNameOfFile(file, name)) continue;
        names.push_back(std::move(name));
    } while (FindNextFileW(find, &fd));
    FindClose(find);
    return names;
}

bool CreateEmptyFile(const std::string& path) {
    // CREATE_NEW: a diary that appeared in the meantime is never truncated.
    HANDLE file = CreateFileW(tk::Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

}  // namespace

TOpenDreamDiaryDialog::TOpenDreamDiaryDialog(TPMultiImage* loader, DiaryPlaces places)
    : tk::TForm(L"SlumraDiaryDialog"), FPlaces(std::move(places)) {
    SetCaption("Droomnachtboek openen");
    OnShow = [this](tk::TForm*) { TranslateProgramForm(this); };
    Bk = DialogFrame(*this, 392, 223);
    PersonsBoxLbl = new tk::TLabel(this);
    PersonsBoxLbl->SetBounds(10, 11, 0, 0);
    PersonsBoxLbl->Tag = 4100;
    PersonsBoxLbl->SetCaption("Droomnachtboek openen van: ");
    PersonsBox = new tk::TListBox(this);
    PersonsBox->SetBounds(8, 33, 240, 148);
    PersonsBox->SetItemHeight(17);
    PersonsBox->Color = tk::clBlack;
    PersonsBox->Cursor = tk::TCursor::AppStart;
    PersonsBox->Tag = 1900;
    PersonsBox->TabOrder = 0;
    PersonsBox->OnDrawItem = [this](tk::TWinControl*, int i, const RECT& r, unsigned state) {
        PersonsBoxDrawItem(i, r, state);
    };
    PersonsBox->OnSelect = [this](tk::TControl* s) { PersonsBoxClick(s); };
    PersonsBoxAddBtn = DialogButton(this, 260, 32, 120, "Naam toevoegen", 4200);
    PersonsBoxAddBtn->OnClick = [this](tk::TControl* s) { PersonsBoxAddBtnClick(s); };
    PersonsBoxDeleteBtn = DialogButton(this, 260, 58, 120, "Naam verwijderen", 4300);
    PersonsBoxDeleteBtn->OnClick = [this](tk::TControl* s) { PersonsBoxDeleteBtnClick(s); };
    PersonsBoxChangeBtn = DialogButton(this, 260, 84, 120, "Naam veranderen", 4400);
    PersonsBoxChangeBtn->OnClick = [this](tk::TControl* s) { PersonsBoxChangeBtnClick(s); };
    // Printing a diary waits for the print job; until then the button stays off.
    PersonsBoxPrintBtn = DialogButton(this, 260, 110, 120, "Afdrukken", 4500);
    PersonsBoxPrintBtn->OnClick = [this](tk::TControl* s) { PersonsBoxPrintBtnClick(s); };
    PersonsBoxExportBtn = DialogButton(this, 260, 136, 120, "Exporteren", 7200);
    PersonsBoxExportBtn->OnClick = [this](tk::TControl* s) { PersonsBoxExportBtnClick(s); };
    AskExportPathFunc = [](HWND owner, const std::string& name, bool* html) {
        return AskExportPath(owner, name, html);
    };
    NoBtn = DialogButton(this, 140, 196, 120, "Annuleren", 4600);
    NoBtn->OnClick = [this](tk::TControl* s) { NoBtnClick(s); };
    YesBtn = DialogButton(this, 260, 196, 120, "Openen", 4700);
    YesBtn->OnClick = [this](tk::TControl* s) { YesBtnClick(s); };
    ActiveControl = PersonsBox;
    OnKeyUp = [this](tk::TControl* s, WORD& key, unsigned shift) { FormKeyUp(s, key, shift); };
    AskNameFunc = [this, loader](const std::string& caption, const std::string& prompt) {
        return AskName(caption, prompt, loader, NameLimit());
    };
    AskMessageFunc = [loader](const std::string& caption, const std::string& text, const std::string& yes,
                              const std::string& no) { return AskMessage(caption, text, yes, no, loader); };

    const double rowFactor = FinishDialog(*this, *Bk, loader, "abd");
    PersonsBox->SetItemHeight(RoundHalfEven(PersonsBox->ItemHeight() * rowFactor));
    FillList();
    UpdateButtons();
}

std::string TOpenDreamDiaryDialog::PathOf(const std::string& name) const {
    return FPlaces.Own + name + ".ddf";
}

int TOpenDreamDiaryDialog::NameLimit() const {
    // A path holds at most 259 characters. A name needs room for its longest companions:
    // "<name>.ddf.beschadigd10000" beside it, and "<name> 2026-12-08 14.05.09 (100).ddf" in the
    // folder of emergency copies.
    constexpr int kPathMax = 259, kDamagedSuffix = 20, kEmergencySuffix = 30;
    int room = kPathMax - static_cast<int>(FPlaces.Own.size()) - kDamagedSuffix;
    if (const std::string emergency = RoamingFolder("Herstel"); !emergency.empty())
        room = std::min(room, kPathMax - static_cast<int>(emergency.size()) - kEmergencySuffix);
    return std::clamp(room, 1, static_cast<int>(kMaxNameLength));
}

const TOpenDreamDiaryDialog::Entry* TOpenDreamDiaryDialog::Selected() const {
    const int i = PersonsBox->ItemIndex();
    return i >= 0 && i < static_cast<int>(FEntries.size()) ? &FEntries[static_cast<std::size_t>(i)] : nullptr;
}

std::string TOpenDreamDiaryDialog::SelectedName() const {
    const Entry* e = Selected();
    return e != nullptr ? e->Name : std::string();
}

bool TOpenDreamDiaryDialog::TellAboutPlaces() {
    if (gToldAboutPlaces || !FPlaces.BesideUnusable) return false;
    gToldAboutPlaces = true;
    const std::string text =
        FPlaces.ReadOnly.empty()
            ? ProgramText(7206, "De map User naast het programma kan niet worden gebruikt. Uw droomnachtboeken "
                                "worden bewaard in: ") +
                  FPlaces.Own
            : ProgramText(7207, "In de map User naast het programma kan niet worden geschreven. De droomnachtboeken "
                                "daar zijn alleen te lezen en staan in de lijst met \"(alleen lezen)\". Nieuwe "
                                "droomnachtboeken worden bewaard in: ") +
                  FPlaces.Own;
    (void)AskMessageFunc(ProgramText(7205, "Let op"), text, "", ProgramText(4205, "OK"));
    return true;
}

void TOpenDreamDiaryDialog::FillList() {
    FEntries.clear();
    for (std::string& name : DiaryNamesIn(FPlaces.Own)) {
        std::string path = PathOf(name);
        FEntries.push_back({std::move(name), std::move(path), false});
    }
    if (!FPlaces.ReadOnly.empty()) {
        for (std::string& name : DiaryNamesIn(FPlaces.ReadOnly)) {
            std::string path = FPlaces.ReadOnly + name + ".ddf";
            FEntries.push_back({std::move(name), std::move(path), true});
        }
    }
    std::vector<std::string> rows;
    rows.reserve(FEntries.size());
    const std::string readOnly = ProgramText(7201, " (alleen lezen)");
    for (const Entry& e : FEntries) rows.push_back(e.ReadOnly ? e.Name + readOnly : e.Name);
    PersonsBox->SetItems(std::move(rows));
    // The list window keeps its old selection through a new count; nothing is chosen afresh.
    PersonsBox->SetItemIndex(-1);
}

void TOpenDreamDiaryDialog::UpdateButtons() {
    const Entry* selected = Selected();
    const bool chosen = selected != nullptr;
    // A diary of the read-only place can be opened, printed and exported, not changed.
    const bool own = chosen && !selected->ReadOnly;
    PersonsBoxDeleteBtn->SetEnabled(own);
    PersonsBoxChangeBtn->SetEnabled(own);
    PersonsBoxPrintBtn->SetEnabled(chosen && PrintFunc && AnyPrinterInstalled());
    PersonsBoxExportBtn->SetEnabled(chosen && static_cast<bool>(ExportFunc));
    YesBtn->SetEnabled(chosen);
}

void TOpenDreamDiaryDialog::FormKeyUp(tk::TControl*, WORD& key, unsigned shift) {
    if ((shift & kModifiers) != 0) return;
    if (key == VK_RETURN) {
        key = 0;
        // Without a chosen diary there is nothing to open: the main window would otherwise
        // open a diary without a file, whose dreams are never saved.
        if (YesBtn->Enabled()) YesBtnClick(YesBtn);
    } else if (key == VK_ESCAPE) {
        key = 0;
        NoBtnClick(NoBtn);
    }
}

void TOpenDreamDiaryDialog::PersonsBoxClick(tk::TControl*) {
    UpdateButtons();
}

void TOpenDreamDiaryDialog::YesBtnClick(tk::TControl*) {
    const Entry* e = Selected();
    ModalResult = 1;
    if (e == nullptr) return;
    FChosenPath = e->Path;
    FChosenReadOnly = e->ReadOnly;
    if (e->ReadOnly) {
        // Writing in it needs a copy in the own folder; the original beside the program stays.
        const std::string copy = PathOf(e->Name);
        if (AskMessageFunc(ProgramText(7210, "Alleen lezen"),
                           ProgramText(7211, "Dit droomnachtboek staat in een map waarin niet kan worden geschreven. "
                                             "Wilt u het kopi\xEBren naar uw eigen map, zodat u erin kunt schrijven? "
                                             "Met Nee opent u het alleen om te lezen."),
                           ProgramText(4304, "Ja"), ProgramText(4305, "Nee"))) {
            if (FileExists(copy) || !CopyFileW(tk::Widen(e->Path).c_str(), tk::Widen(copy).c_str(), TRUE)) {
                ShowError(ProgramText(7212, "Het droomnachtboek kon niet worden gekopieerd: er staat al een "
                                            "droomnachtboek met die naam in uw map, of de map is niet te beschrijven. "
                                            "Het wordt alleen om te lezen geopend."));
            } else {
                FChosenPath = copy;
                FChosenReadOnly = false;
            }
        }
    }
}

void TOpenDreamDiaryDialog::NoBtnClick(tk::TControl*) {
    ModalResult = 2;
}

void TOpenDreamDiaryDialog::ShowError(const std::string& text) {
    (void)AskMessageFunc(ProgramText(4203, "Fout"), text, "", ProgramText(4205, "OK"));
}

void TOpenDreamDiaryDialog::PersonsBoxAddBtnClick(tk::TControl*) {
    const std::string name = AskNameFunc(ProgramText(4201, "Nieuw Droomnachtboek"), ProgramText(4202, "Voer een naam in"));
    if (name.empty()) return;
    const std::string path = PathOf(name);
    if (!IsUsableDiaryName(name) || FileExists(path) || !CreateEmptyFile(path)) {
        ShowError(ProgramText(4204, "Droomnachtboek kan niet worden gemaakt"));
        return;
    }
    FillList();
    UpdateButtons();
}

void TOpenDreamDiaryDialog::PersonsBoxDeleteBtnClick(tk::TControl*) {
    if (Selected() == nullptr || Selected()->ReadOnly) return;
    const std::string name = SelectedName();
    if (!AskMessageFunc(ProgramText(4301, "Bevestigen"),
                        ProgramText(4302, "Weet u zeker dat u het droomnachtboek van ") + name +
                            ProgramText(4303, " wilt verwijderen"),
                        ProgramText(4304, "Ja"), ProgramText(4305, "Nee")))
        return;
    if (!DeleteFileW(tk::Widen(PathOf(name)).c_str())) {
        ShowError(ProgramText(4307, "Droomnachtboek kan niet worden verwijderd"));
        return;
    }
    FillList();
    UpdateButtons();
}

void TOpenDreamDiaryDialog::PersonsBoxChangeBtnClick(tk::TControl*) {
    if (Selected() == nullptr || Selected()->ReadOnly) return;
    const std::string oldName = SelectedName();
    const std::string newName =
        AskNameFunc(ProgramText(4401, "Droomnachtboek hernoemen"), ProgramText(4402, "Geef een nieuwe naam op voor ") + oldName);
    if (newName.empty()) return;
    const std::string oldPath = PathOf(oldName), newPath = PathOf(newName);
    // MoveFile never replaces an existing file: renaming onto another diary fails, both stay.
    // The same name in other letters ("Zo" to "ZO") is that same file on Windows: it goes
    // through a name of its own first, so that the new letters are really taken.
    bool moved = false;
    if (IsUsableDiaryName(newName)) {
        if (oldName != newName && SameTextIgnoringCase(oldName, newName)) {
            const std::wstring step = tk::Widen(oldPath + ".hernoemen");
            moved = MoveFileW(tk::Widen(oldPath).c_str(), step.c_str()) != 0;
            if (moved && MoveFileW(step.c_str(), tk::Widen(newPath).c_str()) == 0) {
                MoveFileW(step.c_str(), tk::Widen(oldPath).c_str());
                moved = false;
            }
        } else {
            moved = MoveFileW(tk::Widen(oldPath).c_str(), tk::Widen(newPath).c_str()) != 0;
        }
    }
    if (!moved) {
        ShowError(
            (oldPath + "-->" + newPath + ProgramText(4404, "Droomnachtboek kan niet worden hernoemd")).substr(0, kMaxText));
        return;
    }
    FillList();
    UpdateButtons();
}

void TOpenDreamDiaryDialog::PersonsBoxDrawItem(int index, const RECT& rect, unsigned state) {
    tk::PaintTransparentRow(*PersonsBox, FTopRow, PersonsBox->TopIndex(), index < 0 || index == PersonsBox->Count() - 1,
                            rect, BkUnder(*Bk, *PersonsBox), [&](tk::TCanvas& canvas) {
                                if (index < 0 || index >= PersonsBox->Count()) return;
                                if ((state & tk::odSelected) != 0) canvas.Font.SetStyle(tk::fsBold);
                                canvas.TextOut(5, 0, PersonsBox->Items()[static_cast<std::size_t>(index)]);
                            });
}

void TOpenDreamDiaryDialog::PersonsBoxPrintBtnClick(tk::TControl*) {
    if (Selected() == nullptr || !PrintFunc) return;
    PrintFunc(Handle(), Selected()->Path);
}

void TOpenDreamDiaryDialog::PersonsBoxExportBtnClick(tk::TControl*) {
    if (Selected() == nullptr || !ExportFunc || !AskExportPathFunc) return;
    const std::string name = SelectedName();
    const std::string source = Selected()->Path;
    bool html = true;
    const std::string target = AskExportPathFunc(Handle(), name, &html);
    if (target.empty()) return;
    const std::string bytes = ExportFunc(source, name, html);
    if (bytes.empty()) {
        ShowError(ProgramText(7215, "Het droomnachtboek kan niet worden gelezen en is niet ge\xEBxporteerd"));
        return;
    }
    // A failed write leaves a file that was there as it was, and says so.
    if (!WriteExport(target, bytes))
        ShowError(ProgramText(7216, "Het droomnachtboek kan niet worden ge\xEBxporteerd naar ") + target);
}

std::string AskExportPath(HWND owner, const std::string& name, bool* html) {
    wchar_t documents[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, 0, documents))) documents[0] = 0;
    std::wstring file = tk::Widen(name) + L".html";
    std::vector<wchar_t> buffer(32768, L'\0');
    file.copy(buffer.data(), std::min(file.size(), buffer.size() - 1));
    // The filter's names are texts; its patterns and the NUL separators are not.
    std::wstring filter = tk::Widen(ProgramText(7221, "Webpagina")) + L" (*.html)";
    filter += L'\0';
    filter += L"*.html";
    filter += L'\0';
    filter += tk::Widen(ProgramText(7222, "Tekst")) + L" (*.txt)";
    filter += L'\0';
    filter += L"*.txt";
    filter += L'\0';
    const std::wstring title = tk::Widen(ProgramText(7220, "Droomnachtboek exporteren"));
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrInitialDir = documents[0] != 0 ? documents : nullptr;
    ofn.lpstrTitle = title.c_str();
    ofn.lpstrDefExt = L"html";
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    if (!tk::late::GetSaveFileName(&ofn)) return {};
    std::wstring chosen(buffer.data());
    // The kind follows the name's extension, else the filter chosen.
    std::wstring ext = chosen.substr(std::min(chosen.size(), chosen.find_last_of(L'.')));
    for (wchar_t& c : ext) c = static_cast<wchar_t>(towlower(c));
    if (html != nullptr) *html = ext == L".html" || ext == L".htm" || (ext != L".txt" && ofn.nFilterIndex != 2);
    std::string path;
    // A name outside the code page would address another file: the write then fails and says so.
    if (!tk::Narrow(chosen, path)) path = tk::NarrowLossy(chosen);
    return path;
}

std::string OpenDiaryDialog(TPMultiImage* loader, std::function<void(HWND owner, const std::string& path)> print,
                            std::function<std::string(const std::string& path, const std::string& name, bool html)>
                                exportDiary,
                            bool* readOnly) {
    if (readOnly != nullptr) *readOnly = false;
    try {
        auto dialog = std::make_unique<TOpenDreamDiaryDialog>(loader);
        dialog->PrintFunc = std::move(print);
        dialog->ExportFunc = std::move(exportDiary);
        dialog->UpdateButtons();
        TShownDialog<TOpenDreamDiaryDialog> shown(gDiaryDialog, dialog.get());
        (void)dialog->TellAboutPlaces();
        if (dialog->ShowModal() != 1) return {};
        if (readOnly != nullptr) *readOnly = dialog->ChosenReadOnly();
        return dialog->ChosenPath();
    } catch (...) {
        return {};
    }
}

TOpenDreamDiaryDialog* OpenDreamDiaryDialog() {
    return gDiaryDialog;
}

}  // namespace slumra

#include "app/Main.h"

#include "app/Intro.h"
#include "app/Layout.h"
#include "app/RecordText.h"
#include "app/Skin.h"
#include "data/Index.h"
#include "data/Synonyms.h"
#include "output/ClipText.h"
#include "toolkit/Clipboard.h"
#include "toolkit/Palette.h"
#include "toolkit/Shell.h"
#include "toolkit/Text.h"
#include "widgets/About.h"

#include <shlobj.h>

#include <cstdlib>
#include <filesystem>

namespace slumra {

namespace {

int gSizeClass = 0;
TMainForm* gMainForm = nullptr;
constexpr const char* kHelpServer = "http://www.slumra.nl";
constexpr int kLanguageCode = 31;

enum CacheSlot { kContentSlot = 0, kIndexSlot = 1, kRecordSlot = 2, kExpsSlot = 3, kExpsTextSlot = 4 };

std::string ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p(path);
    return tk::NarrowLossy(p.substr(0, p.find_last_of(L'\\') + 1));
}

void DefaultScreenTooSmall() {
    ExitProcess(1);
}

}  // namespace

void (*TMainForm::ScreenTooSmall)() = &DefaultScreenTooSmall;

int SizeClass() {
    return gSizeClass;
}
TMainForm* MainForm() {
    return gMainForm;
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
    wchar_t appData[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, appData))) {
        const std::filesystem::path roaming = std::filesystem::path(appData) / L"Slumra" / L"User";
        std::filesystem::create_directories(roaming, ec);
        return tk::NarrowLossy(roaming.wstring()) + "\\";
    }
    return tk::NarrowLossy(beside.wstring()) + "\\";
}

TMainForm::TMainForm() : tk::TForm(kMainWindowClass) {
    gMainForm = this;
    FProgramFolder = ProgramFolder();
    // 1. Caption, application title, minimize and restore handlers.
    SetCaption("Slumra 2.2 release 2");
    tk::Application().SetTitle("Slumra");
    tk::Application().OnMinimize = [this] { FormMinimize(); };
    tk::Application().OnRestore = [this] { FormRestore(); };
    Color = tk::clBlack;
    StayOnTop = true;
    KeyPreview = true;
    Cursor = tk::TCursor::Help;
    Font.SetName("Comic Sans MS");
    Font.SetHeight(-11);
    Font.SetColor(kTextColor);
    SetBounds(0, 0, 660, 500);
    CreateComponents();
    CaptionLbl->SetCaption(Caption());

    // 2. The program's folder is the current folder; the diaries' folder exists.
    SetCurrentDirectoryW(tk::Widen(FProgramFolder).c_str());
    UserFolder();
    // 3., 4. Decoding depth by the display; the hourglass while loading.
    PrepareLoader();
    tk::Application().SetScreenCursor(tk::TCursor::HourGlass);
    // 5. Size class and scaling.
    ChooseSizeClass();
    // 6. The outline a whole number of rows high.
    ContentLst->SetHeight(ContentLst->ItemHeight() * (ContentLst->Height() / ContentLst->ItemHeight()));
    // 7. Full screen, the layout panel centred.
    const int sw = tk::TScreen::Width(), sh = tk::TScreen::Height();
    SetBounds(0, 0, sw, sh);
    MainFormPanel->SetBounds((sw - MainFormPanel->Width()) / 2, (sh - MainFormPanel->Height()) / 2,
                             MainFormPanel->Width(), MainFormPanel->Height());
    // 9. View state.
    ViewFlags = ContentShown;
    SoundPath.clear();
    // 10., 11. Skins and shapes.
    LoadSkins();
    CutShapes();
    // 12., 13. Records, synonyms, index.
    LastShownId = 0;
    RecordFile = std::make_unique<TiDbRecFile>();
    SplashProgress gauge;
    (void)RecordFile->LoadFromFile(FProgramFolder + "D\\iDbRecs.dat", SplashShowing() ? &gauge : nullptr);
    SynonymList = std::make_unique<std::vector<std::string>>();
    if (FileExists(FProgramFolder + "D\\Syn.dat"))
        *SynonymList = LoadSynonymList(FProgramFolder + "D\\Syn.dat");
    LoadIndex();
    // 14.
    tk::Application().SetScreenCursor(tk::TCursor::Default);
    OnShow = [this](tk::TForm*) { FormShow(); };
    OnCloseQuery = [this](tk::TForm*, bool& canClose) { FormCloseQuery(canClose); };
}

TMainForm::~TMainForm() {
    StopSound();
    if (gMainForm == this) gMainForm = nullptr;
}

void TMainForm::CreateComponents() {
    // Created in the stacking order of the windowed children, bottom first.
    MainFormPanel = new tk::TPanel(this);
    MainFormPanel->SetBounds(10, 10, 640, 480);
    MainFormPanel->Color = tk::clBlack;
    Bk = new TBkControl(MainFormPanel);
    Bk->SetAlign(tk::TAlign::Client);
    Bk->Background.Brush.SetStyle(tk::BrushStyle::Clear);
    Bk->Background.SetImageDrawStyle(TImageDrawStyle::idsTopLeft);

    InfoBtn = new TBaseBtn(MainFormPanel);
    TitleButton(InfoBtn, 12, 3, "i", "Over Slumra", 200, 0.35);
    InfoBtn->OnClick = [](tk::TControl*) {
        ShowAboutBox();
        if (TAboutBox* box = AboutBox()) box->QuitBtn->Show();
    };
    SoundSBtn = new TBaseBtn(MainFormPanel);
    TitleButton(SoundSBtn, 60, 3, "G", "Geluid Aan/Uitzetten", 300, 0.15);
    SoundSBtn->OnClick = [this](tk::TControl*) { SoundSBtnClick(); };
    CaptionLbl = new tk::TLabel(MainFormPanel);
    CaptionLbl->SetBounds(84, 4, 200, 16);
    CaptionLbl->Tag = 10;
    HelpBtn = new TBaseBtn(MainFormPanel);
    TitleButton(HelpBtn, 571, 3, "?", "Slumra Online Help", 100, 0.2);
    HelpBtn->OnClick = [this](tk::TControl*) { HelpBtnClick(); };
    MinimizeBtn = new TBaseBtn(MainFormPanel);
    TitleButton(MinimizeBtn, 591, 3, "-", "Slumra Minimaliseren", 400, 0.3);
    MinimizeBtn->OnClick = [](tk::TControl*) { tk::Application().Minimize(); };
    QuitBtn = new TBaseBtn(MainFormPanel);
    TitleButton(QuitBtn, 611, 3, "X", "Slumra Afsluiten", 500, 0.15);
    QuitBtn->OnClick = [this](tk::TControl*) { Close(); };
    ContentIndexLbl = new tk::TLabel(MainFormPanel);
    ContentIndexLbl->AutoSize = false;
    ContentIndexLbl->SetBounds(25, 55, 220, 17);
    ContentIndexLbl->Alignment = tk::TAlignment::Center;
    ContentIndexLbl->Font.SetHeight(-13);
    ContentIndexLbl->Tag = 2100;
    ContentIndexLbl->SetCaption("Inhoud");

    IndexLst = new tk::TListBox(MainFormPanel);
    IndexLst->SetBounds(25, 80, 220, 272);
    IndexLst->SetItemHeight(17);
    TransparentList(IndexLst, 2100);
    IndexLst->Hide();
    IndexLst->OnDrawItem = [this](tk::TWinControl*, int i, const RECT& r, unsigned state) {
        DrawListRow(IndexLst, Bk, kIndexSlot, IndexLst->TopIndex(), i < 0 || i == IndexLst->Count() - 1, r,
                    [&](tk::TCanvas& c, int) {
                        if ((state & tk::odSelected) != 0) {
                            c.Font.SetStyle(tk::fsBold);
                            IndexLstSelect(IndexLst);
                        }
                        if (i >= 0) c.TextOut(5, 0, AfterBar(IndexLst->Items()[static_cast<std::size_t>(i)]));
                    });
    };
    IndexLst->OnMouseUp = [this](tk::TControl* s, tk::TMouseButton, unsigned, int, int) {
        IndexLstSelect(s);
    };
    IndexLst->OnKeyUp = [this](tk::TControl* s, WORD& key, unsigned) { IndexLstKeyUp(s, key); };

    ContentLst = new tk::TOutline(MainFormPanel);
    ContentLst->SetBounds(25, 80, 220, 272);
    ContentLst->SetItemHeight(17);
    TransparentList(ContentLst, 2100);
    ContentLst->OnDrawItem = [this](tk::TWinControl*, int, const RECT& r, unsigned state) {
        const int top = ContentLst->GetItem(ContentLst->Width() / 2, ContentLst->ItemHeight() / 2);
        const int d = ContentLst->GetItem(r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2);
        // The last visible row also paints the background below it, down to the list's bottom.
        const int row = ContentLst->RowOfItem(d);
        DrawListRow(ContentLst, Bk, kContentSlot, top, d <= 0 || row == ContentLst->Count() - 1, r,
                    [&](tk::TCanvas& c, int) {
                        if (d <= 0 || d > ContentLst->ItemCount()) return;
                        const tk::TOutlineNode& node = ContentLst->Item(d);
                        if (node.HasItems) {
                            const std::string mark = node.Expanded ? "-" : "+";
                            c.TextOut(node.Level * 10 - 5 - c.TextWidth(mark) / 2, 0, mark);
                        }
                        if ((state & tk::odSelected) != 0) {
                            ContentLstSelect(ContentLst->SelectedItem());
                            c.Font.SetStyle(tk::fsBold);
                        }
                        c.TextOut(node.Level * 10 + 3, 0, AfterBar(node.Text));
                    });
    };
    ContentLst->OnMouseUp = [this](tk::TControl*, tk::TMouseButton, unsigned, int x, int y) {
        ContentLstMouseUp(x, y);
    };
    ContentLst->OnKeyUp = [this](tk::TControl*, WORD&, unsigned) {
        ContentLstSelect(ContentLst->SelectedItem());
    };

    iDbRecTextPnl = new tk::TPanel(MainFormPanel);
    iDbRecTextPnl->SetBounds(270, 25, 396, 355);
    iDbRecTextPnl->Color = tk::clBlack;
    iDbRecTextPnlBk = new TBkControl(iDbRecTextPnl);
    iDbRecTextPnlBk->SetAlign(tk::TAlign::Client);
    iDbRecTextPnlBk->Background.Brush.SetStyle(tk::BrushStyle::Clear);
    iDbRecTextPnlBk->Background.Pen.SetStyle(tk::PenStyle::Clear);
    iDbRecHeader = new tk::TLabel(iDbRecTextPnl);
    iDbRecHeader->AutoSize = false;
    iDbRecHeader->WordWrap = true;
    iDbRecHeader->Alignment = tk::TAlignment::Center;
    iDbRecHeader->SetBounds(83, 36, 240, 38);
    iDbRecHeader->Tag = 2200;
    iDbRecText = new tk::TListBox(iDbRecTextPnl);
    iDbRecText->SetBounds(68, 78, 270, 153);
    iDbRecText->SetItemHeight(17);
    TransparentList(iDbRecText, 2200);
    iDbRecText->Cursor = tk::TCursor::Default;
    iDbRecText->OnDrawItem = [this](tk::TWinControl*, int i, const RECT& r, unsigned) {
        DrawListRow(iDbRecText, iDbRecTextPnlBk, kRecordSlot, iDbRecText->TopIndex(),
                    i < 0 || i == iDbRecText->Count() - 1, r, [&](tk::TCanvas& c, int) {
                        c.Font = Font;
                        if (i >= 0)
                            c.TextOut(5, 0, AfterBar(iDbRecText->Items()[static_cast<std::size_t>(i)]));
                    });
    };
    ToClipBrdBtn = new TBaseBtn(iDbRecTextPnl);
    TextButton(ToClipBrdBtn, 126, 246, 75, "Klembord", "Huidige onderdeel naar het klembord kopieren", 2300);
    ToClipBrdBtn->OnClick = [this](tk::TControl*) { ToClipBrdBtnClick(); };
    PrintBtn = new TBaseBtn(iDbRecTextPnl);
    TextButton(PrintBtn, 216, 246, 75, "Afdrukken", "Huidige onderdeel afdrukken", 2400);
    OrvelLogoPnl = new tk::TPanel(iDbRecTextPnl);
    OrvelLogoPnl->SetBounds(280, 0, 45, 45);
    OrvelLogoPnl->Color = tk::clBlack;
    OrvelLogo = new tk::TAnimate(OrvelLogoPnl);
    OrvelLogo->SetBounds(0, 0, 45, 45);
    OrvelLogo->StopFrame = 30;
    OrvelLogo->Hide();
    SubjectPicturePnl = new tk::TPanel(iDbRecTextPnl);
    SubjectPicturePnl->SetBounds(0, 230, 125, 125);
    SubjectPicturePnl->Color = tk::clBlack;
    SubjectPicture = new TProportionalImage(SubjectPicturePnl);
    SubjectPicture->SetBounds(0, 0, 125, 125);
    SubjectPicture->Background.Brush.SetColor(tk::clBlack);
    SubjectPicture->Background.SetImageDrawStyle(TImageDrawStyle::idsAlongside);
    SubjectPicture->SetSx(140);
    SubjectPicture->SetSy(140);

    CreateDiaryPanel();

    MenuPnl = new tk::TPanel(MainFormPanel);
    MenuPnl->SetBounds(0, 385, 640, 75);
    MenuPnl->Color = tk::clBlack;
    MenuBk = new TBkControl(MenuPnl);
    MenuBk->SetBounds(0, 0, 1707, 75);
    MenuBk->SetAlign(tk::TAlign::Left);
    MenuBk->Background.SetImageDrawStyle(TImageDrawStyle::idsTopLeft);
    MenuBk->Background.Brush.SetStyle(tk::BrushStyle::Clear);
    MenuBk->Background.Pen.SetStyle(tk::PenStyle::Clear);

    MenuSelectedPnl = new tk::TPanel(MainFormPanel);
    MenuSelectedPnl->SetBounds(5, 375, 195, 95);
    MenuSelectedPnl->Color = tk::clBlack;
    MenuSelectedBk = new TBkControl(MenuSelectedPnl);
    MenuSelectedBk->SetAlign(tk::TAlign::Client);
    MenuSelectedBk->Background.Brush.SetStyle(tk::BrushStyle::Clear);
    MenuSelectedBk->Background.Pen.SetStyle(tk::PenStyle::Clear);
    ContentIndexBtn = new TBaseBtn(MenuSelectedPnl);
    TextButton(ContentIndexBtn, 26, 28, 140, "Zoeken via index",
               "Inhoudsopgave of Index als zoekingang selecteren", 2101);
    ContentIndexBtn->OnClick = [this](tk::TControl* s) { CatXBtnClick(s); };
    DreamDiaryBtn = new TBaseBtn(MenuSelectedPnl);
    TextButton(DreamDiaryBtn, 26, 51, 140, "Droomnachtboek Openen", "Droomnachtboek openen of sluiten", 3101);
    DreamDiaryBtn->OnClick = [this](tk::TControl* s) { CatXBtnClick(s); };

    for (TBaseBtn* b : {ToClipBrdBtn, PrintBtn, ContentIndexBtn, DreamDiaryBtn}) {
        b->OnMouseIn = [this](tk::TControl* s) { BtnMouseIn(s); };
        b->OnMouseOut = [this](tk::TControl* s) { BtnMouseOut(s); };
    }
    ContentLst->TabOrder = 0;
    IndexLst->TabOrder = 1;
    MenuPnl->TabOrder = 2;
    MenuSelectedPnl->TabOrder = 3;
    iDbRecTextPnl->TabOrder = 4;
    DreamDiaryPnl->TabOrder = 5;
    MediaPlayer.OnNotify = [this](tk::TMediaPlayer*, tk::TMPNotifyValue v) { MediaPlayerNotify(v); };
}

void TMainForm::PrepareLoader() {
    const int bits = tk::TScreen::BitsPerPixel();
    if (bits < 8) {
        anImage.ImageReadRes = TLoadResolution::lColor16;
        anImage.ImageDither = true;
    } else if (bits < 16) {
        anImage.ImageReadRes = TLoadResolution::lColor256;
        anImage.ImageDither = true;
    } else {
        anImage.ImageReadRes = TLoadResolution::lColorTrue;
        anImage.ImageDither = false;
    }
}

void TMainForm::ChooseSizeClass() {
    gSizeClass = 0;
    const int sizeClass = SizeClassFor(tk::TScreen::Width(), tk::TScreen::Height());
    if (sizeClass < 0) {
        ScreenTooSmall();
        return;
    }
    gSizeClass = sizeClass;
    int m = 1, d = 1;
    DesignScale(sizeClass, m, d);
    if (m == d) return;
    ScaleBy(m, d);
    // Item heights by the design's factor, halves to even: 17 becomes 21 or 27.
    const double factor = DesignOf(sizeClass) == 1 ? 1.25 : 1.6;
    for (tk::TListBox* list : {static_cast<tk::TListBox*>(iDbRecText), static_cast<tk::TListBox*>(ContentLst),
                               IndexLst, DrDiExpsLst, DrDiExpsLstPnlText})
        list->SetItemHeight(RoundHalfEven(list->ItemHeight() * factor));
}

void TMainForm::LoadSkins() {
    const std::string suffix = DesignSuffix(gSizeClass);
    const std::pair<std::string, TBkControl*> rows[] = {
        {"I\\B\\dd" + suffix, DreamDiaryBk},
        {"I\\B\\s", DrDiExpsLstPnlBk},
        {"I\\B\\mb" + suffix, MenuBk},
        {"I\\B\\ms" + suffix, MenuSelectedBk},
        {"I\\B\\cddb" + suffix, iDbRecTextPnlBk},
        {"I\\B\\" + suffix + "\\1", Bk},
    };
    for (const auto& [name, target] : rows) {
        anImage.SetImageName("");
        if (FileExists(FProgramFolder + name)) anImage.SetImageName(FProgramFolder + name);
        target->Background.Image = anImage.Picture;
        anImage.SetImageName("");
    }
}

void TMainForm::CutShapes() {
    auto ellipse = [](int l, int t, int r, int b) { return CreateEllipticRgn(l, t, r, b); };
    auto unite = [](HRGN a, HRGN b) {
        CombineRgn(a, a, b, RGN_OR);
        DeleteObject(b);
        return a;
    };
    // The windows own their shapes from here on and free them with themselves.
    MainFormPanel->SetRegion(
        CreateRoundRectRgn(0, 0, MainFormPanel->Width(), MainFormPanel->Height(), 40, 40));
    HRGN record = nullptr;
    switch (DesignOf(gSizeClass)) {
        case 0:
            record =
                unite(unite(ellipse(6, 6, 396, 291), ellipse(280, 0, 325, 45)), ellipse(0, 230, 125, 355));
            break;
        case 1:
            record =
                unite(unite(ellipse(8, 8, 495, 364), ellipse(350, 0, 406, 56)), ellipse(0, 288, 156, 444));
            break;
        default:
            record =
                unite(unite(ellipse(10, 10, 634, 466), ellipse(448, 0, 520, 72)), ellipse(0, 368, 200, 568));
            break;
    }
    iDbRecTextPnl->SetRegion(record);
    const int corner = DesignOf(gSizeClass) == 0 ? 40 : DesignOf(gSizeClass) == 1 ? 50 : 64;
    DreamDiaryPnl->SetRegion(
        CreateRoundRectRgn(0, 0, DreamDiaryPnl->Width(), DreamDiaryPnl->Height(), corner, corner));
    DrDiExpsLstPnl->SetRegion(
        CreateRoundRectRgn(0, 0, DrDiExpsLstPnl->Width(), DrDiExpsLstPnl->Height(), 40, 40));
    OrvelLogoPnl->SetRegion(ellipse(1, 1, OrvelLogoPnl->Width() - 1, OrvelLogoPnl->Height() - 1));
    SubjectPicturePnl->SetRegion(
        ellipse(1, 1, SubjectPicturePnl->Width() - 2, SubjectPicturePnl->Height() - 2));
    MenuSelectedPnl->SetRegion(ellipse(0, 0, MenuSelectedPnl->Width(), MenuSelectedPnl->Height()));
}

void TMainForm::LoadIndex() {
    if (TIntroForm* splash = SplashWindow(); splash != nullptr && SplashShowing())
        splash->SetStatus("Index wordt geladen...");
    std::vector<std::string> outline, index;
    if (RecordFile) BuildIndexLists(*RecordFile, outline, index);
    if (TIntroForm* splash = SplashWindow(); splash != nullptr && SplashShowing())
        splash->SetStatus("Synoniemen worden geladen");
    if (index.size() >= 2) SortIndex(index, 0, static_cast<int>(index.size()) - 1);
    ContentLst->SetLines(outline);
    IndexLst->SetItems(std::move(index));
}

void TMainForm::FormShow() {
    // 2. The publisher's logo clip.
    const std::string clip = FProgramFolder + "V\\ov" + DesignSuffix(gSizeClass);
    if (FileExists(clip) && OrvelLogo->Open(clip)) {
        OrvelLogo->Play(0, OrvelLogo->StopFrame, -1);
        OrvelLogo->Show();
    }
    // 3. The splash goes.
    if (SplashShowing()) FreeSplash();
    // 4.–6. Menu strip, first outline line, first index entry.
    SlideMenu(1);
    if (ContentLst->ItemCount() > 0) {
        ContentLst->SetSelectedItem(1);
        ContentLstSelect(ContentLst->SelectedItem());
    }
    if (IndexLst->Count() > 0) {
        IndexLst->SetItemIndex(0);
        IndexLstSelect(IndexLst);
    }
    // 7. The background sound.
    SoundPath = (FProgramFolder + "a\\somnar.wav").substr(0, 255);
    SoundSBtnClick();
    FShown = true;
    if (FCloseRequested) PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

void TMainForm::SlideMenu(int position) {
    const int target = SlideTarget(MenuBk->Width(), position);
    const int step = SlideStep(gSizeClass, tk::TScreen::Width(), tk::TScreen::Height());
    SlideSteps(MenuBk->ImageXOffset(), target, step, [this](int x) { MenuBk->SetImageXOffset(x); });
}

void TMainForm::FormCloseQuery(bool& canClose) {
    if ((ViewFlags & DiaryShown) != 0) CloseDiary();
    StopSound();
    if (DreamDiaryPnl->Visible()) CloseDiary();
    RecordFile.reset();
    DiaryFile.reset();
    SynonymList.reset();
    SendMessageW(Handle(), WM_CANCELMODE, 0, 0);
    Hide();
    tk::Application().ProcessMessages();
    // The about box as a farewell picture.
    ShowAboutBox();
    tk::Application().ProcessMessages();
    Sleep(2000);
    if (TAboutBox* box = AboutBox()) box->Close();
    canClose = true;
}

void TMainForm::FormMinimize() {
    ShowWindow(tk::Application().Handle(), SW_MINIMIZE);
}

void TMainForm::FormRestore() {
    ShowWindow(tk::Application().Handle(), SW_RESTORE);
    ShowWindow(Handle(), SW_RESTORE);
    ShowWindow(Handle(), SW_SHOWMAXIMIZED);
    SetForegroundWindow(Handle());
    BringToFront();
}

void TMainForm::BtnMouseIn(tk::TControl* sender) {
    if (auto* b = dynamic_cast<TBaseBtn*>(sender); b != nullptr && b->Enabled())
        b->Font.SetStyle(b->Font.Style() | tk::fsUnderline);
}

void TMainForm::BtnMouseOut(tk::TControl* sender) {
    if (auto* b = dynamic_cast<TBaseBtn*>(sender); b != nullptr && b->Enabled())
        b->Font.SetStyle(b->Font.Style() & ~static_cast<unsigned>(tk::fsUnderline));
}

void TMainForm::CatXBtnClick(tk::TControl* sender) {
    if (sender == ContentIndexBtn) {
        if (ContentLst->Visible()) {
            SlideMenu(2);
            ContentLst->Hide();
            ViewFlags &= ~static_cast<unsigned>(ContentShown);
            IndexLst->Show();
            ViewFlags |= IndexShown;
            ContentIndexLbl->SetCaption("Index");
            ContentIndexBtn->SetCaption("Zoeken via inhoud");
            IndexLstSelect(IndexLst);
        } else {
            SlideMenu(1);
            IndexLst->Hide();
            ViewFlags &= ~static_cast<unsigned>(IndexShown);
            ContentLst->Show();
            ViewFlags |= ContentShown;
            ContentIndexLbl->SetCaption("Inhoud");
            ContentIndexBtn->SetCaption("Zoeken via index");
            ContentLstSelect(ContentLst->SelectedItem());
        }
    } else if (sender == DreamDiaryBtn) {
        if (DreamDiaryPnl->Visible())
            CloseDiary();
        else
            OpenDiary();
        return;
    }
    UpdateStatus();
}

void TMainForm::ContentLstSelect(int item) {
    if (item > 0 && item <= ContentLst->ItemCount() && ContentLst->Item(item).Level == 2)
        item = ContentLst->Item(item).Parent;
    if (RecordFile && RecordFile->VisibleCount() > 0 && ContentLst->ItemCount() > 0 && item > 0 &&
        ContentLst->Item(item).Text.find('|') != std::string::npos) {
        const std::int32_t n = ItemRecordNumber(ContentLst->Item(item).Text);
        if (n != 0) {
            ShowRecord(RecordFile->GetVisibleRecord(n));
            UpdateStatus();
            return;
        }
    }
    iDbRecHeader->SetCaption("");
    iDbRecText->Clear();
    LastShownId = 0;
    UpdateStatus();
}

void TMainForm::ContentLstMouseUp(int x, int y) {
    const int a = ContentLst->GetItem(x, y);
    if (a > 0 && a <= ContentLst->ItemCount() && x < ContentLst->Item(a).Level * 10 &&
        ContentLst->Item(a).HasItems)
        ContentLst->Toggle(a);
    ContentLstSelect(ContentLst->SelectedItem());
}

void TMainForm::IndexLstSelect(tk::TControl* sender) {
    auto* list = sender == IndexLst ? IndexLst : sender == DrDiExpsLst ? DrDiExpsLst : nullptr;
    if (list == nullptr || !RecordFile || RecordFile->VisibleCount() <= 0 || list->Count() == 0) return;
    const int i = list->ItemIndex();
    if (i < 0) return;
    const std::string& item = list->Items()[static_cast<std::size_t>(i)];
    if (item.find('|') == std::string::npos) return;
    const std::int32_t n = ItemRecordNumber(item);
    if (n == 0) return;
    ShowRecord(RecordFile->GetVisibleRecord(n));
    UpdateStatus();
}

void TMainForm::IndexLstKeyUp(tk::TControl* sender, WORD key) {
    char c = static_cast<char>(key & 0xFF);
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    const std::string pattern = std::string("|") + c;
    const int count = IndexLst->Count();
    if (count > 0) {
        const int selected = IndexLst->ItemIndex();
        int i = selected + 1;
        if (i > count - 1) i = 0;
        while (i < count && IndexLst->Items()[static_cast<std::size_t>(i)].find(pattern) == std::string::npos)
            ++i;
        if (i < count) {
            IndexLst->SetItemIndex(i);
        } else if (selected > 0) {
            for (int j = 0; j < selected; ++j) {
                if (IndexLst->Items()[static_cast<std::size_t>(j)].find(pattern) != std::string::npos) {
                    IndexLst->SetItemIndex(j);
                    break;
                }
            }
        }
    }
    IndexLstSelect(sender);
}

void TMainForm::ShowRecord(const iDbRecInfo& rec) {
    const tk::TCursor before = tk::Application().ScreenCursor;
    tk::Application().SetScreenCursor(tk::TCursor::HourGlass);
    const bool diary = (ViewFlags & DiaryShown) != 0;
    tk::TLabel* header = diary ? DrDiExpsPnlHeader : iDbRecHeader;
    tk::TListBox* list = diary ? DrDiExpsLstPnlText : iDbRecText;
    auto empty = [&] {
        iDbRecHeader->SetCaption("");
        DrDiExpsPnlHeader->SetCaption("");
        iDbRecText->Clear();
        DrDiExpsLstPnlText->Clear();
    };
    if (rec.Head == nullptr) {
        empty();
        LastShownId = 0;
    } else if (rec.Id == LastShownId && !diary) {
        // Already on screen.
    } else if (rec.Text == nullptr) {
        empty();
        LastShownId = rec.Id;
    } else {
        std::string c, u, y;
        SplitPath(rec.Head, c, u, y);
        if (!diary) ShowPictures(c, u, y);
        iDbRecHeader->SetCaption("");
        DrDiExpsPnlHeader->SetCaption("");
        header->SetCaption(c + "\r\n" + u);
        std::vector<std::string> lines;
        if (!y.empty()) {
            lines.push_back(y);
            lines.emplace_back();
        } else if (!c.empty()) {
            lines.push_back(c);
        }
        tk::WindowDC dc(list->Handle());
        tk::TCanvas canvas(dc.Get());
        canvas.Font = list->Font;
        const auto wrapped = WrapRecordText(rec.Text, static_cast<int>(0.9 * list->Width()),
                                            [&](const std::string& s) { return canvas.TextWidth(s); });
        lines.insert(lines.end(), wrapped.begin(), wrapped.end());
        while (static_cast<int>(lines.size()) * list->ItemHeight() < list->Height()) lines.emplace_back();
        list->BeginUpdate();
        list->SetItems(std::move(lines));
        list->EndUpdate();
        if (diary && DrDiExpsLst->Count() > 0) {
            DrDiExpsLstPnl->Show();
            DrDiExpsLstPnl->BringToFront();
            DrDiExpsLstPnlText->SetFocus();
        } else {
            DrDiExpsLstPnl->Hide();
        }
        LastShownId = rec.Id;
    }
    tk::Application().SetScreenCursor(before);
}

void TMainForm::ShowPictures(const std::string& category, const std::string& subcategory,
                             const std::string& symbol) {
    PrepareLoader();
    anImage.SetImageName("");
    // About one display in four brings another of the ten night scenes.
    if (Random(100) < 26) {
        const std::string background =
            FProgramFolder + "i\\b\\" + DesignSuffix(gSizeClass) + "\\" + std::to_string(Random(10) + 1);
        if (FileExists(background)) {
            anImage.SetImageName(background);
            Bk->Background.Image = anImage.Picture;
        }
    }
    anImage.SetImageName("");
    anImage.SetImageName(
        (FProgramFolder + "i\\" + category + "\\" + subcategory + "\\" + symbol + ".jpg").substr(0, 255));
    if (!anImage.Picture.Empty()) {
        SubjectPicture->Image = anImage.Picture;
    } else if (!Bk->Background.Image.Empty()) {
        SubjectPicture->Image = Bk->Background.Image;
    } else {
        SubjectPicture->Image.Clear();
    }
    SubjectPicture->Invalidate();
    ContentLst->Invalidate();
    IndexLst->Invalidate();
    anImage.SetImageName("");
}

void TMainForm::ToClipBrdBtnClick() {
    if (!RecordFile || RecordFile->VisibleCount() <= 0 ||
        RecordFile->VisibleCount() < RecordFile->CursorIndex())
        return;
    const iDbRecInfo rec = RecordFile->GetVisibleRecord(RecordFile->CursorIndex());
    (void)tk::SetClipboardText(Handle(), RecordClipboardText(rec.Head, rec.Text, Caption()));
}

void TMainForm::UpdateStatus() {
    const bool fetched = RecordFile && RecordFile->VisibleCount() > 0 && RecordFile->CursorIndex() > 0;
    ToClipBrdBtn->SetEnabled(fetched);
    // Printing has no print job behind it yet: the button stays off rather than do nothing.
    PrintBtn->SetEnabled(false);
    iDbRecText->SetVisible(iDbRecText->Count() > 0);
    const bool diary = (ViewFlags & DiaryShown) != 0;
    ContentLst->SetVisible(ContentLst->ItemCount() > 0 && (ViewFlags & ContentShown) != 0 && !diary);
    IndexLst->SetVisible(IndexLst->Count() > 0 && (ViewFlags & IndexShown) != 0 && !diary);
    DrDiExpsLst->SetVisible(DrDiExpsLst->Count() > 0 && diary);
    ContentIndexBtn->SetEnabled(!diary);
    SubjectPicturePnl->SetVisible(!SubjectPicture->Image.Empty());
    // The dream controls work on the chosen dream; the count label tells what the search found.
    const bool dream = diary && DrDiLstBox->ItemIndex() >= 0;
    for (tk::TControl* c : std::initializer_list<tk::TControl*>{
             DrDiDeleteBtn, DrDiRenameBtn, DrDiDreamDateEdit, DrDiDreamTimeEdit, DrDiRecText, DrDiRecExpsText,
             DrDiSearchForExpsBtn, DrDiExpsLst})
        if (diary) c->SetEnabled(dream);
    const std::string label = DrDiExpsLstLbl->Caption();
    const std::string prefix = label.substr(0, label.find(':') + 1);
    DrDiExpsLstLbl->SetCaption(prefix + " " + std::to_string(diary ? DrDiExpsLst->Count() : 0));
}

void TMainForm::DrawListRow(tk::TListBox* list, TBkControl* under, int cacheSlot, int topMarker, bool last,
                            const RECT& rect, const std::function<void(tk::TCanvas&, int)>& drawText) {
    // A scrolled list: the background does not move with the rows, so all of it is painted anew.
    if (topMarker != TopRowCache[cacheSlot]) {
        TopRowCache[cacheSlot] = topMarker;
        InvalidateRect(list->Handle(), nullptr, FALSE);
        return;
    }
    RECT r = rect;
    if (last) r.bottom += list->Height();
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    tk::WindowDC dc(list->Handle());
    tk::MemoryDC mem(dc.Get());
    tk::BitmapHandle bmp(CreateCompatibleBitmap(dc.Get(), w, h));
    if (!mem || !bmp) return;
    {
        tk::SelectGuard sel(mem.Get(), bmp.Get());
        HPALETTE pal = tk::TScreen::BitsPerPixel() <= 8 ? GetPalette() : nullptr;
        tk::PaletteGuard palette(mem.Get(), pal);
        tk::TCanvas canvas(mem.Get());
        const tk::TBitmap* picture = under->Background.Image.Bitmap();
        if (picture != nullptr && !picture->Empty()) {
            POINT origin{r.left, r.top};
            MapWindowPoints(list->Handle(), under->Parent()->Handle(), &origin, 1);
            BitBlt(mem.Get(), 0, 0, w, h, picture->DC(), origin.x - under->Left() - under->ImageXOffset(),
                   origin.y - under->Top() - under->ImageYOffset(), SRCCOPY);
        } else {
            canvas.Brush.SetColor(tk::clBlack);
            canvas.FillRect({0, 0, w, h});
        }
        canvas.Font = list->Font;
        canvas.Brush.SetStyle(tk::BrushStyle::Clear);
        drawText(canvas, w);
        tk::PaletteGuard screenPal(dc.Get(), pal);
        BitBlt(dc.Get(), r.left, r.top, w, h, mem.Get(), 0, 0, SRCCOPY);
    }
}

void TMainForm::SoundSBtnClick() {
    if (SoundSBtn->ButtonIsDown()) {
        StopSound();
        SoundSBtn->SetButtonIsDown(false);
    } else {
        PlaySound(SoundPath);
        SoundSBtn->SetButtonIsDown(true);
    }
}

void TMainForm::PlaySound(const std::string& path) {
    if (!MediaPlayer.FileName.empty() || !FileExists(path)) {
        StopSound();
        return;
    }
    MediaPlayer.FileName = path;
    if (!MediaPlayer.Open() || !MediaPlayer.Play()) StopSound();
}

void TMainForm::StopSound() {
    if (MediaPlayer.FileName.empty()) return;
    MediaPlayer.Stop();
    MediaPlayer.Close();
    MediaPlayer.FileName.clear();
}

void TMainForm::MediaPlayerNotify(tk::TMPNotifyValue value) {
    if (value != tk::TMPNotifyValue::nvSuccessful) return;
    StopSound();
    PlaySound(SoundPath);
}

void TMainForm::HelpBtnClick() {
    const std::string address =
        std::string(kHelpServer) + "/index.dll?lngid=" + std::to_string(kLanguageCode) +
        "&customerno=" + "&programlabel=" + "somnar" + "&programversionnumber=" + "2221" + "&show=onlinehelp";
    tk::OpenWebPage(address);
    ShowWindow(tk::Application().Handle(), SW_MINIMIZE);
}

LRESULT TMainForm::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CLOSE && !FShown) {
        // A close request while still loading (a second start with "uninstall") is kept and
        // carried out once the window is up, rather than lost.
        FCloseRequested = true;
        return 0;
    }
    if (msg == ActivateInstanceMessage) {
        if (IsIconic(tk::Application().Handle()) != 0) tk::Application().Restore();
        SetForegroundWindow(Handle());
        BringToFront();
        return 0;
    }
    return tk::TForm::WndProc(msg, wp, lp);
}

}  // namespace slumra

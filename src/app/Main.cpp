#include "app/Main.h"

#include "app/Intro.h"
#include "app/Layout.h"
#include "app/Skin.h"
#include "data/Files.h"
#include "data/Synonyms.h"
#include "diary/MsgDlg.h"
#include "diary/NewDlg.h"
#include "lang/TransLtrWin.h"
#include "toolkit/Palette.h"
#include "toolkit/Shell.h"
#include "toolkit/Text.h"
#include "widgets/About.h"

#include <cstdlib>
#include <filesystem>

namespace slumra {

namespace {

TMainForm* gMainForm = nullptr;
constexpr const char* kHelpServer = "http://www.slumra.nl";

void DefaultScreenTooSmall() {
    ExitProcess(1);
}

}  // namespace

void (*TMainForm::ScreenTooSmall)() = &DefaultScreenTooSmall;

TMainForm* MainForm() {
    return gMainForm;
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
    (void)UserFolder();
    // 3., 4. Decoding depth by the display; the hourglass while loading.
    PrepareLoader();
    tk::Application().SetScreenCursor(tk::TCursor::HourGlass);
    // 5. Size class and scaling.
    ChooseSizeClass();
    // 6. The outline a whole number of rows high.
    tk::TOutline* outline = Records->ContentLst;
    outline->SetHeight(outline->ItemHeight() * (outline->Height() / outline->ItemHeight()));
    // The overlay's text ends on a whole row, inside its rounded shape.
    tk::TListBox* overlay = Diary->DrDiExpsLstPnlText;
    overlay->SetHeight(overlay->ItemHeight() * (overlay->Height() / overlay->ItemHeight()));
    // 7. Full screen, the layout panel centred.
    const int sw = tk::TScreen::Width(), sh = tk::TScreen::Height();
    SetBounds(0, 0, sw, sh);
    MainFormPanel->SetBounds((sw - MainFormPanel->Width()) / 2, (sh - MainFormPanel->Height()) / 2,
                             MainFormPanel->Width(), MainFormPanel->Height());
    // 8. The language: Dutch unless the command line asks for another.
    LanguageFile = FProgramFolder + "D\\UI.LNG";
    LanguageCode = CommandLineLanguage();
    if (LanguageCode != kDutchLanguage) ItemNoun = ProgramText(2, ItemNoun);
    // 9. View state.
    ViewFlags = ContentShown;
    SoundPath.clear();
    // 10., 11. Skins and shapes. What the start-up read ahead on its second thread is taken over.
    FStartupLoad = TStartupLoad::TakeSkins(FProgramFolder, SizeClass());
    LoadSkins();
    CutShapes();
    // 12., 13. Records, synonyms, index.
    LastShownId = 0;
    SplashProgress gauge;
    if (FStartupLoad) FStartupLoad->WaitForData(SplashShowing() ? &gauge : nullptr);
    if (FStartupLoad && FStartupLoad->Records) {
        RecordFile = std::move(FStartupLoad->Records);
        SynonymList = std::move(FStartupLoad->Synonyms);
        Records->LoadIndex(std::move(FStartupLoad->Index));
    } else {
        RecordFile = std::make_unique<TiDbRecFile>();
        (void)RecordFile->LoadFromFile(FProgramFolder + "D\\iDbRecs.dat", SplashShowing() ? &gauge : nullptr);
        SynonymList = std::make_unique<std::vector<std::string>>();
        if (FileExists(FProgramFolder + "D\\Syn.dat"))
            *SynonymList = LoadSynonymList(FProgramFolder + "D\\Syn.dat");
        Records->LoadIndex();
    }
    FStartupLoad.reset();
    // 14.
    tk::Application().SetScreenCursor(tk::TCursor::Default);
    OnShow = [this](tk::TForm*) { FormShow(); };
    OnKeyDown = [this](tk::TControl*, WORD& key, unsigned shift) { FormKeyDown(key, shift); };
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
    FindBtn = new TBaseBtn(MainFormPanel);
    TitleButton(FindBtn, 551, 3, "", "Zoeken in het woordenboek (Ctrl+F)", 7000, 0.2);
    {
        // A magnifier in the light lettering of the title row.
        tk::TBitmap lens;
        if (lens.SetSize(12, 12)) {
            tk::TCanvas& c = lens.Canvas();
            c.Brush.SetColor(tk::clBlack);
            c.FillRect({0, 0, 12, 12});
            c.Pen.SetColor(kTextColor);
            c.Pen.SetWidth(2);
            c.Brush.SetStyle(tk::BrushStyle::Clear);
            c.Ellipse(1, 1, 8, 8);
            c.MoveTo(7, 7);
            c.LineTo(11, 11);
            tk::TPicture glyph;
            glyph.Assign(lens);
            FindBtn->SetGlyphUp(glyph);
            FindBtn->SetGlyphCentered(true);
        }
    }
    FindBtn->OnClick = [this](tk::TControl*) { Records->FindInDictionary(); };
    HelpBtn = new TBaseBtn(MainFormPanel);
    TitleButton(HelpBtn, 571, 3, "?", "Slumra Online Help", 100, 0.2);
    HelpBtn->OnClick = [this](tk::TControl*) { HelpBtnClick(); };
    MinimizeBtn = new TBaseBtn(MainFormPanel);
    TitleButton(MinimizeBtn, 591, 3, "-", "Slumra Minimaliseren", 400, 0.3);
    MinimizeBtn->OnClick = [](tk::TControl*) { tk::Application().Minimize(); };
    QuitBtn = new TBaseBtn(MainFormPanel);
    TitleButton(QuitBtn, 611, 3, "X", "Slumra Afsluiten", 500, 0.15);
    QuitBtn->OnClick = [this](tk::TControl*) { Close(); };
    Records = std::make_unique<TRecordView>(*this);
    Diary = std::make_unique<TDiaryPanel>(*this);

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

    for (TBaseBtn* b : {ContentIndexBtn, DreamDiaryBtn}) {
        b->OnMouseIn = [this](tk::TControl* s) { BtnMouseIn(s); };
        b->OnMouseOut = [this](tk::TControl* s) { BtnMouseOut(s); };
    }
    Records->ContentLst->TabOrder = 0;
    Records->IndexLst->TabOrder = 1;
    MenuPnl->TabOrder = 2;
    MenuSelectedPnl->TabOrder = 3;
    Records->iDbRecTextPnl->TabOrder = 4;
    Diary->DreamDiaryPnl->TabOrder = 5;
    MediaPlayer.OnNotify = [this](tk::TMediaPlayer*, tk::TMPNotifyValue v) { MediaPlayerNotify(v); };
}

void TMainForm::PrepareLoader() {
    PrepareLoaderFor(anImage, tk::TScreen::BitsPerPixel());
}

void TMainForm::ChooseSizeClass() {
    SetSizeClass(0);
    const int sizeClass = SizeClassFor(tk::TScreen::Width(), tk::TScreen::Height());
    if (sizeClass < 0) {
        ScreenTooSmall();
        return;
    }
    SetSizeClass(sizeClass);
    int m = 1, d = 1;
    DesignScale(sizeClass, m, d);
    if (m == d) return;
    ScaleBy(m, d);
    // Item heights by the design's factor, halves to even: 17 becomes 21 or 27.
    const double factor = DesignOf(sizeClass) == 1 ? 1.25 : 1.6;
    for (tk::TListBox* list : {Records->iDbRecText, static_cast<tk::TListBox*>(Records->ContentLst), Records->IndexLst,
                               Diary->DrDiExpsLst, Diary->DrDiExpsLstPnlText})
        list->SetItemHeight(RoundHalfEven(list->ItemHeight() * factor));
}

void TMainForm::LoadSkins(bool diary) {
    const std::string suffix = DesignSuffix(SizeClass());
    std::vector<std::pair<std::string, TBkControl*>> rows;
    if (diary) {
        // The diary's skins wait for the diary: the start-up decodes only what it shows.
        if (FDiarySkinsLoaded) return;
        FDiarySkinsLoaded = true;
        rows = {{"I\\B\\dd" + suffix, Diary->DreamDiaryBk}, {"I\\B\\s", Diary->DrDiExpsLstPnlBk}};
    } else {
        const std::vector<std::string> names = MainSkinNames(SizeClass());
        TBkControl* const targets[] = {MenuBk, MenuSelectedBk, Records->iDbRecTextPnlBk, Bk};
        for (std::size_t i = 0; i < names.size(); ++i) rows.emplace_back(names[i], targets[i]);
    }
    for (const auto& [name, target] : rows) {
        if (TStartupLoad::Skin* ready = ReadySkin(name)) {
            target->Background.Image = std::move(ready->Picture);
            continue;
        }
        anImage.SetImageName("");
        if (FileExists(FProgramFolder + name)) anImage.SetImageName(FProgramFolder + name);
        target->Background.Image = std::move(anImage.Picture);
        anImage.SetImageName("");
    }
}

TStartupLoad::Skin* TMainForm::ReadySkin(const std::string& name) {
    if (!FStartupLoad) return nullptr;
    for (TStartupLoad::Skin& skin : FStartupLoad->Skins)
        if (skin.Name == name && skin.Usable) return &skin;
    return nullptr;
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
    switch (DesignOf(SizeClass())) {
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
    Records->iDbRecTextPnl->SetRegion(record);
    const int corner = DesignOf(SizeClass()) == 0 ? 40 : DesignOf(SizeClass()) == 1 ? 50 : 64;
    tk::TPanel* diary = Diary->DreamDiaryPnl;
    diary->SetRegion(CreateRoundRectRgn(0, 0, diary->Width(), diary->Height(), corner, corner));
    tk::TPanel* found = Diary->DrDiExpsLstPnl;
    found->SetRegion(CreateRoundRectRgn(0, 0, found->Width(), found->Height(), 40, 40));
    tk::TPanel* logo = Records->OrvelLogoPnl;
    logo->SetRegion(ellipse(1, 1, logo->Width() - 1, logo->Height() - 1));
    tk::TPanel* picture = Records->SubjectPicturePnl;
    picture->SetRegion(ellipse(1, 1, picture->Width() - 2, picture->Height() - 2));
    MenuSelectedPnl->SetRegion(ellipse(0, 0, MenuSelectedPnl->Width(), MenuSelectedPnl->Height()));
}

void TMainForm::FormShow() {
    // 1. The texts of another language.
    if (LanguageCode != kDutchLanguage) {
        TranslateProgramForm(this);
        const std::string title = ProgramText(10, Caption());
        tk::Application().SetTitle(title);
        SetCaption(title);
    }
    // 2. The publisher's logo clip.
    const std::string clip = FProgramFolder + "V\\ov" + DesignSuffix(SizeClass());
    if (tk::TAnimate* logo = Records->OrvelLogo; FileExists(clip) && logo->Open(clip)) {
        logo->Play(0, logo->StopFrame, -1);
        logo->Show();
    }
    // 3. The splash goes.
    if (SplashShowing()) FreeSplash();
    // The whole window is painted before the slide and the first record: otherwise it stays
    // half black until they are done and the message loop runs (about 150 ms under Wine).
    Repaint();
    // 4.–6. Menu strip, first outline line, first index entry.
    SlideMenu(1);
    if (Records->ContentLst->ItemCount() > 0) {
        Records->ContentLst->SetSelectedItem(1);
        Records->ContentLstSelect(Records->ContentLst->SelectedItem());
    }
    if (Records->IndexLst->Count() > 0) {
        Records->IndexLst->SetItemIndex(0);
        Records->IndexLstSelect(Records->IndexLst);
    }
    Records->TellWhenEmpty();
    UpdateStatus();
    // 7. The background sound.
    SoundPath = (FProgramFolder + "a\\somnar.wav").substr(0, 255);
    SoundSBtnClick();
    FShown = true;
    if (FCloseRequested) PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

void TMainForm::SlideMenu(int position) {
    const int target = SlideTarget(MenuBk->Width(), position);
    const int step = SlideStep(SizeClass(), tk::TScreen::Width(), tk::TScreen::Height());
    SlideSteps(MenuBk->ImageXOffset(), target, step, [this](int x) { MenuBk->SetImageXOffset(x); });
}

bool TMainForm::DiarySavedForClose() {
    DiarySession& session = Diary->Session;
    ViewFlags &= ~static_cast<unsigned>(SearchBusy);
    if (!session.IsOpen() || Diary->SaveDiary()) return true;
    // The diary could not be saved: what the user wrote goes somewhere safe before anything
    // else, and the program closes only when the user says so.
    Message(ProgramText(7010, "Fout"), SaveFailureText(session.LastError()));
    SYSTEMTIME t{};
    GetLocalTime(&t);
    const std::string folder = RoamingFolder("Herstel");
    std::string copy;
    if (!folder.empty() &&
        session.WriteCopy(folder, FileTimeStamp(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond), copy)) {
        if (!AskMessage(ProgramText(7011, "Afsluiten"),
                        ProgramText(7012, "Er is een noodkopie met alle wijzigingen gemaakt: ") + copy +
                            ProgramText(7013, ". Toch afsluiten?"),
                        ProgramText(7016, "Ja"), ProgramText(7017, "Nee")))
            return false;
    } else {
        if (!AskMessage(ProgramText(7011, "Afsluiten"),
                        ProgramText(7014, "Er kon ook geen noodkopie worden gemaakt. Toch afsluiten?"),
                        ProgramText(7016, "Ja"), ProgramText(7017, "Nee")))
            return false;
        if (!AskMessage(ProgramText(7011, "Afsluiten"),
                        ProgramText(7015, "Weet u het zeker? Alle wijzigingen sinds het openen gaan dan verloren."),
                        ProgramText(7016, "Ja"), ProgramText(7017, "Nee")))
            return false;
    }
    session.Close();
    return true;
}

void TMainForm::FormCloseQuery(bool& canClose) {
    if (!DiarySavedForClose()) {
        canClose = false;
        return;
    }
    if ((ViewFlags & DiaryShown) != 0 || Diary->DreamDiaryPnl->Visible()) (void)Diary->CloseDiary();
    StopSound();
    RecordFile.reset();
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
    // The application window carries the task bar entry; the full-screen window goes out of
    // sight with it (where no window manager hides owned windows, it would stay on screen).
    ShowWindow(tk::Application().Handle(), SW_MINIMIZE);
    ShowWindow(Handle(), SW_HIDE);
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

void TMainForm::FormKeyDown(WORD& key, unsigned shift) {
    const bool alt = (shift & tk::ssAlt) != 0, ctrl = (shift & tk::ssCtrl) != 0;
    if ((ViewFlags & DiaryShown) != 0) {
        // In the diary Ctrl+F searches one's own dreams.
        if (ctrl && !alt && key == 'F') {
            key = 0;
            Diary->FindDreamClick();
        }
        return;
    }
    if (ctrl && !alt && key == 'F') {
        key = 0;
        Records->FindInDictionary();
    } else if ((alt && key == VK_LEFT) || (!alt && !ctrl && key == VK_BACK)) {
        key = 0;
        Records->GoBack();
    } else if (alt && key == VK_RIGHT) {
        key = 0;
        Records->GoForward();
    }
}

void TMainForm::CatXBtnClick(tk::TControl* sender) {
    if (sender == ContentIndexBtn) {
        Records->SwitchOutlineIndex(ContentIndexBtn);
    } else if (sender == DreamDiaryBtn) {
        if (Diary->DreamDiaryPnl->Visible())
            (void)Diary->CloseDiary();
        else
            Diary->OpenDiary();
        return;
    }
    UpdateStatus();
}
void TMainForm::UpdateStatus() {
    const bool diary = (ViewFlags & DiaryShown) != 0;
    Records->UpdateStatus(diary);
    Diary->UpdateStatus(diary);
    ContentIndexBtn->SetEnabled(!diary);
}

std::string TMainForm::AskName(const std::string& caption, const std::string& prompt) {
    return AskNameFunc ? AskNameFunc(caption, prompt) : slumra::AskName(caption, prompt, &anImage);
}

bool TMainForm::AskMessage(const std::string& caption, const std::string& text, const std::string& yes,
                           const std::string& no) {
    return AskMessageFunc ? AskMessageFunc(caption, text, yes, no)
                          : slumra::AskMessage(caption, text, yes, no, &anImage);
}

void TMainForm::Message(const std::string& caption, const std::string& text) {
    (void)AskMessage(caption, text, "", ProgramText(3308, "OK"));
}

void TMainForm::SoundSBtnClick() {
    const bool on = !SoundSBtn->ButtonIsDown();
    if (on)
        PlaySound(SoundPath);
    else
        StopSound();
    SoundSBtn->SetButtonIsDown(on);
    // Latched or not differs by a pixel only: without sound the "G" is struck through and dimmed.
    const unsigned style = SoundSBtn->Font.Style() & ~static_cast<unsigned>(tk::fsStrikeOut);
    SoundSBtn->Font.SetStyle(on ? style : style | tk::fsStrikeOut);
    SoundSBtn->Font.SetColor(on ? kTextColor : kDimTextColor);
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
        std::string(kHelpServer) + "/index.dll?lngid=" + std::to_string(LanguageCode) +
        "&customerno=" + "&programlabel=" + "somnar" + "&programversionnumber=" + "2221" + "&show=onlinehelp";
    tk::OpenWebPage(address);
    tk::Application().Minimize();
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

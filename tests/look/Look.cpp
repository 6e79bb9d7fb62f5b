// slumra-look: shows the program's skins and components laid out as the main window lays them
// out, at the size class of the screen, for people to look at. With --screenshot FILE it
// writes what the screen shows to a 24-bit BMP and ends.

#include "data/Index.h"
#include "data/iDbRecs.h"
#include "imaging/TMultiP.h"
#include "toolkit/Outline.h"
#include "toolkit/Palette.h"
#include "toolkit/StdCtrls.h"
#include "toolkit/Text.h"
#include "widgets/Bk.h"

#include <cstdio>
#include <string>
#include <vector>

using namespace slumra;
using namespace slumra::tk;

namespace {

std::string ProgramFolder() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p(path);
    return NarrowLossy(p.substr(0, p.find_last_of(L'\\') + 1));
}

bool SaveScreen(const std::wstring& file) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    WindowDC screen(nullptr);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    BitmapHandle dib(CreateDIBSection(screen.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    MemoryDC mem(screen.Get());
    {
        SelectGuard sel(mem.Get(), dib.Get());
        BitBlt(mem.Get(), 0, 0, w, h, screen.Get(), 0, 0, SRCCOPY);
    }
    GdiFlush();
    const DWORD stride = ((w * 3 + 3) / 4) * 4, size = stride * h;
    BITMAPFILEHEADER fh{0x4D42, static_cast<DWORD>(sizeof fh + sizeof(BITMAPINFOHEADER) + size), 0, 0,
                        static_cast<DWORD>(sizeof fh + sizeof(BITMAPINFOHEADER))};
    FILE* f = _wfopen(file.c_str(), L"wb");
    if (f == nullptr) return false;
    fwrite(&fh, sizeof fh, 1, f);
    fwrite(&bi.bmiHeader, sizeof(BITMAPINFOHEADER), 1, f);
    fwrite(bits, 1, size, f);
    return fclose(f) == 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring shot;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::wstring(argv[i]) == L"--screenshot") shot = argv[i + 1];

    BuildPalettes(instance);
    SetDefaultDecoderPalette(ScreenPalette());
    Application().Initialize(instance);
    const std::string folder = ProgramFolder();
    LoadPrivateFonts(Widen(folder + "Fonts"));

    const int sw = TScreen::Width(), sh = TScreen::Height();
    const bool heightDecides = sw * 480 >= sh * 640;
    const int design = heightDecides ? (sh >= 864 ? 2 : sh >= 768 ? 1 : 0) : (sw >= 1152 ? 2 : sw >= 1024 ? 1 : 0);
    const char* suffix[] = {"6x4", "8x6", "10x7"};
    const int m[] = {1, 5, 8}, d[] = {1, 4, 5};

    TForm form(L"SlumraLook");
    form.SetCaption("Slumra");
    form.Color = clBlack;
    form.Font.SetName("Comic Sans MS");
    form.Font.SetHeight(-11);
    form.Font.SetColor(RGB(0xE0, 0xE4, 0xE2));
    form.SetBounds(0, 0, 640, 480);

    auto* panel = new TPanel(&form);
    panel->SetBounds(0, 0, 640, 480);
    panel->Color = clBlack;
    auto* bk = new TBkControl(panel);
    bk->SetAlign(TAlign::Client);
    bk->Background.Brush.SetStyle(BrushStyle::Clear);
    bk->Background.SetImageDrawStyle(TImageDrawStyle::idsTopLeft);

    auto* caption = new TLabel(panel);
    caption->SetBounds(84, 4, 200, 16);
    caption->SetCaption("Slumra 2.2 release 2");

    auto* title = new TLabel(panel);
    title->SetBounds(25, 55, 220, 17);
    title->AutoSize = false;
    title->Alignment = TAlignment::Center;
    title->Font.SetHeight(-13);
    title->SetCaption("Inhoud");

    auto* outline = new TOutline(panel);
    outline->SetBounds(25, 80, 220, 272);
    outline->Color = clBlack;

    auto* record = new TPanel(panel);
    record->SetBounds(270, 25, 396, 355);
    auto* recordBk = new TBkControl(record);
    recordBk->SetAlign(TAlign::Client);
    recordBk->Background.Brush.SetStyle(BrushStyle::Clear);
    recordBk->Background.Pen.SetStyle(PenStyle::Clear);
    auto* header = new TLabel(record);
    header->AutoSize = false;
    header->WordWrap = true;
    header->Alignment = TAlignment::Center;
    header->SetBounds(83, 36, 240, 38);

    auto* menu = new TPanel(panel);
    menu->SetBounds(0, 385, 640, 75);
    auto* menuBk = new TBkControl(menu);
    menuBk->SetBounds(0, 0, 1707, 75);
    menuBk->SetAlign(TAlign::Left);
    menuBk->Background.SetImageDrawStyle(TImageDrawStyle::idsTopLeft);
    menuBk->Background.Brush.SetStyle(BrushStyle::Clear);
    menuBk->Background.Pen.SetStyle(PenStyle::Clear);

    auto* selected = new TPanel(panel);
    selected->SetBounds(5, 375, 195, 95);
    auto* selectedBk = new TBkControl(selected);
    selectedBk->SetAlign(TAlign::Client);
    selectedBk->Background.Brush.SetStyle(BrushStyle::Clear);
    selectedBk->Background.Pen.SetStyle(PenStyle::Clear);
    auto* choice = new TLabel(selected);
    choice->SetBounds(40, 30, 140, 18);
    choice->SetCaption("Zoeken via index");
    auto* diary = new TLabel(selected);
    diary->SetBounds(40, 53, 140, 18);
    diary->SetCaption("Droomnachtboek Openen");

    if (design > 0) {
        form.ScaleBy(m[design], d[design]);
        menuBk->SetWidth(ScaleValue(1707, m[design], d[design]));
    }
    const int itemHeight = ScaleValue(17, m[design], d[design]);
    outline->SetItemHeight(itemHeight);
    form.SetBounds(0, 0, sw, sh);
    panel->SetBounds((sw - panel->Width()) / 2, (sh - panel->Height()) / 2, panel->Width(), panel->Height());

    TPMultiImage loader;
    loader.ImageReadRes = TScreen::BitsPerPixel() < 8    ? TLoadResolution::lColor16
                          : TScreen::BitsPerPixel() < 16 ? TLoadResolution::lColor256
                                                         : TLoadResolution::lColorTrue;
    loader.ImageDither = TScreen::BitsPerPixel() < 16;
    auto skin = [&](const std::string& name, TBkControl* target) {
        loader.SetImageName("");
        if (FileExists(folder + name)) loader.SetImageName(folder + name);
        target->Background.Image = loader.Picture;
        loader.SetImageName("");
    };
    skin(std::string("I\\B\\mb") + suffix[design], menuBk);
    skin(std::string("I\\B\\ms") + suffix[design], selectedBk);
    skin(std::string("I\\B\\cddb") + suffix[design], recordBk);
    skin(std::string("I\\B\\") + suffix[design] + "\\1", bk);
    menuBk->SetImageXOffset(-(menuBk->Width() / 8));

    const int W = record->Width(), H = record->Height();
    const double f = static_cast<double>(m[design]) / d[design];
    auto e = [&](int l, int t, int r, int b) {
        return CreateEllipticRgn(RoundHalfEven(l * f), RoundHalfEven(t * f), RoundHalfEven(r * f), RoundHalfEven(b * f));
    };
    HRGN shape = e(6, 6, 396, 291);
    HRGN logo = e(280, 0, 325, 45), pic = e(0, 230, 125, 355);
    CombineRgn(shape, shape, logo, RGN_OR);
    CombineRgn(shape, shape, pic, RGN_OR);
    DeleteObject(logo);
    DeleteObject(pic);
    (void)W;
    (void)H;
    record->SetRegion(shape);
    panel->SetRegion(CreateRoundRectRgn(0, 0, panel->Width() + 1, panel->Height() + 1, 40, 40));
    selected->SetRegion(CreateEllipticRgn(0, 0, selected->Width(), selected->Height()));

    TiDbRecFile records;
    std::vector<std::string> lines, index;
    if (records.LoadFromFile(folder + "D\\iDbRecs.dat")) BuildIndexLists(records, lines, index);
    outline->SetLines(lines);
    outline->OnDrawItem = [&](TWinControl* c, int row, const RECT& r, unsigned state) {
        WindowDC dc(c->Handle());
        TCanvas canvas(dc.Get());
        // The piece of the main background under the row, so the list looks transparent.
        POINT o{r.left, r.top};
        MapWindowPoints(c->Handle(), panel->Handle(), &o, 1);
        RECT full = r;
        if (row == outline->Count() - 1 || row < 0) full.bottom += c->Height();
        if (const TBitmap* b = bk->Background.Image.Bitmap()) {
            BitBlt(dc.Get(), full.left, full.top, full.right - full.left, full.bottom - full.top, b->DC(), o.x, o.y,
                   SRCCOPY);
        } else {
            canvas.Brush.SetColor(clBlack);
            canvas.FillRect(full);
        }
        if (row < 0) return;
        const int item = outline->ItemOfRow(row);
        const TOutlineNode& node = outline->Item(item);
        canvas.Font = outline->Font;
        if ((state & odSelected) != 0) canvas.Font.SetStyle(fsBold);
        canvas.Brush.SetStyle(BrushStyle::Clear);
        const std::string mark = node.HasItems ? (node.Expanded ? "-" : "+") : " ";
        const std::string text = node.Text.substr(node.Text.find('|') + 1);
        canvas.TextOut(r.left + (node.Level - 1) * 10, r.top, mark + " " + text);
    };
    outline->Expand(1);
    outline->SetSelectedItem(3);
    if (const int item = outline->SelectedItem(); item > 0) {
        const iDbRecInfo rec = records.GetVisibleRecord(ItemRecordNumber(outline->Item(item).Text));
        std::string cat, sub, sym;
        SplitPath(rec.Head, cat, sub, sym);
        header->SetCaption(cat + "\r\n" + sub);
    }

    Application().MainForm = &form;
    form.Show();
    if (!shot.empty()) {
        const DWORD end = GetTickCount() + 1500;
        while (GetTickCount() < end) {
            Application().ProcessMessages();
            Sleep(20);
        }
        const bool ok = SaveScreen(shot);
        FreePalettes();
        return ok ? 0 : 1;
    }
    Application().Run();
    FreePalettes();
    return 0;
}

#include "app/RecordView.h"

#include "app/DiaryPanel.h"
#include "app/FindDlg.h"
#include "app/Folders.h"
#include "app/Intro.h"
#include "app/Layout.h"
#include "app/Main.h"
#include "app/RecordText.h"
#include "app/Skin.h"
#include "data/Files.h"
#include "data/Index.h"
#include "lang/TransLtr.h"
#include "output/ClipText.h"
#include "output/Printer.h"
#include "toolkit/Clipboard.h"
#include "toolkit/Handles.h"
#include "toolkit/ListRows.h"

namespace slumra {

TRecordView::TRecordView(TMainForm& form) : F(form) {
    tk::TPanel* panel = F.MainFormPanel;
    ContentIndexLbl = new tk::TLabel(panel);
    ContentIndexLbl->AutoSize = false;
    ContentIndexLbl->SetBounds(25, 55, 220, 17);
    ContentIndexLbl->Alignment = tk::TAlignment::Center;
    ContentIndexLbl->Font.SetHeight(-13);
    ContentIndexLbl->Tag = 2100;
    ContentIndexLbl->SetCaption("Inhoud");

    IndexLst = new tk::TListBox(panel);
    IndexLst->SetBounds(25, 80, 220, 272);
    IndexLst->SetItemHeight(17);
    TransparentList(IndexLst, 2100);
    IndexLst->Hide();
    IndexLst->OnDrawItem = [this](tk::TWinControl*, int i, const RECT& r, unsigned state) {
        tk::PaintTransparentRow(*IndexLst, F.TopRowCache[kIndexSlot], IndexLst->TopIndex(),
                                i < 0 || i == IndexLst->Count() - 1, r, BkUnder(*F.Bk, *IndexLst),
                                [&](tk::TCanvas& c) {
                                    if ((state & tk::odSelected) != 0) {
                                        c.Font.SetStyle(tk::fsBold);
                                        IndexLstSelect(IndexLst);
                                    }
                                    if (i >= 0)
                                        c.TextOut(5, 0, AfterBar(IndexLst->Item(i)));
                                });
    };
    IndexLst->OnMouseUp = [this](tk::TControl* s, tk::TMouseButton, unsigned, int, int) { IndexLstSelect(s); };
    IndexLst->OnKeyUp = [this](tk::TControl* s, WORD& key, unsigned) { IndexLstKeyUp(s, key); };

    ContentLst = new tk::TOutline(panel);
    ContentLst->SetBounds(25, 80, 220, 272);
    ContentLst->SetItemHeight(17);
    TransparentList(ContentLst, 2100);
    ContentLst->OnDrawItem = [this](tk::TWinControl*, int, const RECT& r, unsigned state) {
        const int top = ContentLst->GetItem(ContentLst->Width() / 2, ContentLst->ItemHeight() / 2);
        const int d = ContentLst->GetItem(r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2);
        // The last visible row also paints the background below it, down to the list's bottom.
        const int row = ContentLst->RowOfItem(d);
        tk::PaintTransparentRow(*ContentLst, F.TopRowCache[kContentSlot], top,
                                d <= 0 || row == ContentLst->Count() - 1, r, BkUnder(*F.Bk, *ContentLst),
                                [&](tk::TCanvas& c) {
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
    ContentLst->OnKeyUp = [this](tk::TControl*, WORD&, unsigned) { ContentLstSelect(ContentLst->SelectedItem()); };

    iDbRecTextPnl = new tk::TPanel(panel);
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
        tk::PaintTransparentRow(*iDbRecText, F.TopRowCache[kRecordSlot], iDbRecText->TopIndex(),
                                i < 0 || i == iDbRecText->Count() - 1, r, BkUnder(*iDbRecTextPnlBk, *iDbRecText),
                                [&](tk::TCanvas& c) {
                                    c.Font = F.Font;
                                    if (i >= 0)
                                        c.TextOut(5, 0, AfterBar(iDbRecText->Items()[static_cast<std::size_t>(i)]));
                                });
    };
    // A name in braces refers to another symbol: a click on its line, or Enter, shows it.
    iDbRecText->OnMouseUp = [this](tk::TControl*, tk::TMouseButton, unsigned, int x, int y) {
        FollowReference(iDbRecText->ItemAtPos(x, y));
    };
    iDbRecText->OnKeyUp = [this](tk::TControl*, WORD& key, unsigned) {
        if (key == VK_RETURN) FollowReference(iDbRecText->ItemIndex());
    };
    ToClipBrdBtn = new TBaseBtn(iDbRecTextPnl);
    TextButton(ToClipBrdBtn, 126, 246, 75, "Klembord", "Huidige onderdeel naar het klembord kopieren", 2300);
    ToClipBrdBtn->OnClick = [this](tk::TControl*) { ToClipBrdBtnClick(); };
    PrintBtn = new TBaseBtn(iDbRecTextPnl);
    TextButton(PrintBtn, 216, 246, 75, "Afdrukken", "Huidige onderdeel afdrukken", 2400);
    PrintBtn->OnClick = [this](tk::TControl*) { PrintBtnClick(); };
    for (TBaseBtn* b : {ToClipBrdBtn, PrintBtn}) {
        b->OnMouseIn = [this](tk::TControl* s) { F.BtnMouseIn(s); };
        b->OnMouseOut = [this](tk::TControl* s) { F.BtnMouseOut(s); };
    }
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
}

void TRecordView::LoadIndex() {
    if (TIntroForm* splash = SplashWindow(); splash != nullptr && SplashShowing())
        splash->SetStatus(ProgramText(12, "Index wordt geladen..."));
    TIndexLists index;
    if (F.RecordFile) BuildIndexLists(*F.RecordFile, index);
    if (TIntroForm* splash = SplashWindow(); splash != nullptr && SplashShowing())
        splash->SetStatus(ProgramText(13, "Synoniemen worden geladen"));
    index.SortIndex();
    LoadIndex(std::move(index));
}

void TRecordView::LoadIndex(TIndexLists index) {
    // Both lists show the texts of FIndex: they let go of the old ones before it changes.
    ContentLst->SetLines({});
    IndexLst->Clear();
    FIndex = std::move(index);
    ContentLst->SetLines(FIndex.OutlineCount(), [this](std::size_t i) { return FIndex.OutlineLine(i); });
    IndexLst->SetItemSource(static_cast<int>(FIndex.IndexCount()),
                            [this](int i) { return FIndex.IndexItem(static_cast<std::size_t>(i)); });
    FindIndex.Clear();
    FindIndexReady = false;
    History.Clear();
}

const TFindIndex& TRecordView::Finder() {
    if (!FindIndexReady) {
        FindIndexReady = true;
        const tk::TCursor before = tk::Application().ScreenCursor;
        tk::Application().SetScreenCursor(tk::TCursor::HourGlass);
        if (F.RecordFile && F.SynonymList) FindIndex.Build(*F.RecordFile, *F.SynonymList);
        tk::Application().SetScreenCursor(before);
    }
    return FindIndex;
}

void TRecordView::ShowRecordNumber(std::int32_t n) {
    if (n <= 0 || !F.RecordFile || (F.ViewFlags & DiaryShown) != 0) return;
    if ((F.ViewFlags & IndexShown) != 0) {
        for (int i = 0; i < IndexLst->Count(); ++i)
            if (ItemRecordNumber(IndexLst->Item(i)) == n) {
                IndexLst->SetItemIndex(i);
                break;
            }
    } else {
        for (int i = 1; i <= ContentLst->ItemCount(); ++i) {
            if (ItemRecordNumber(ContentLst->Item(i).Text) != n) continue;
            // Its category and subcategory open, so that the line can be seen and chosen.
            std::vector<int> parents;
            for (int p = ContentLst->Item(i).Parent; p > 0; p = ContentLst->Item(p).Parent) parents.push_back(p);
            for (auto it = parents.rbegin(); it != parents.rend(); ++it)
                if (!ContentLst->Item(*it).Expanded) ContentLst->Toggle(*it);
            ContentLst->SetSelectedItem(i);
            break;
        }
    }
    ShowRecord(F.RecordFile->GetVisibleRecord(n));
    F.UpdateStatus();
}

void TRecordView::FindInDictionary() {
    if ((F.ViewFlags & DiaryShown) != 0) return;
    ShowRecordNumber(slumra::FindInDictionary(Finder(), &F.anImage));
}

void TRecordView::GoBack() {
    if ((F.ViewFlags & DiaryShown) == 0 && History.CanGoBack()) ShowRecordNumber(History.Back());
}

void TRecordView::GoForward() {
    if ((F.ViewFlags & DiaryShown) == 0 && History.CanGoForward()) ShowRecordNumber(History.Forward());
}

void TRecordView::FollowReference(int line) {
    if (line < 0 || line >= iDbRecText->Count()) return;
    ShowRecordNumber(ReferencedRecord(Finder(), iDbRecText->Items(), static_cast<std::size_t>(line)));
}

void TRecordView::SwitchOutlineIndex(TBaseBtn* button) {
    if (ContentLst->Visible()) {
        F.SlideMenu(2);
        ContentLst->Hide();
        F.ViewFlags &= ~static_cast<unsigned>(ContentShown);
        IndexLst->Show();
        F.ViewFlags |= IndexShown;
        ContentIndexLbl->SetCaption(ProgramText(2102, "Index"));
        button->SetCaption(ProgramText(2103, "Zoeken via inhoud"));
        IndexLstSelect(IndexLst);
        IndexLst->SetFocus();
    } else {
        F.SlideMenu(1);
        IndexLst->Hide();
        F.ViewFlags &= ~static_cast<unsigned>(IndexShown);
        ContentLst->Show();
        F.ViewFlags |= ContentShown;
        ContentIndexLbl->SetCaption(ProgramText(2100, "Inhoud"));
        button->SetCaption(ProgramText(2101, "Zoeken via index"));
        ContentLstSelect(ContentLst->SelectedItem());
        ContentLst->SetFocus();
    }
}

void TRecordView::ContentLstSelect(int item) {
    if (item > 0 && item <= ContentLst->ItemCount() && ContentLst->Item(item).Level == 2)
        item = ContentLst->Item(item).Parent;
    if (F.RecordFile && F.RecordFile->VisibleCount() > 0 && ContentLst->ItemCount() > 0 && item > 0 &&
        ContentLst->Item(item).Text.find('|') != std::string_view::npos) {
        const std::int32_t n = ItemRecordNumber(ContentLst->Item(item).Text);
        if (n != 0) {
            ShowRecord(F.RecordFile->GetVisibleRecord(n));
            F.UpdateStatus();
            return;
        }
    }
    iDbRecHeader->SetCaption("");
    iDbRecText->Clear();
    F.LastShownId = 0;
    F.UpdateStatus();
}

void TRecordView::ContentLstMouseUp(int x, int y) {
    const int a = ContentLst->GetItem(x, y);
    if (a > 0 && a <= ContentLst->ItemCount() && x < ContentLst->Item(a).Level * 10 && ContentLst->Item(a).HasItems)
        ContentLst->Toggle(a);
    ContentLstSelect(ContentLst->SelectedItem());
}

void TRecordView::IndexLstSelect(tk::TControl* sender) {
    tk::TListBox* found = F.Diary->DrDiExpsLst;
    auto* list = sender == IndexLst ? IndexLst : sender == found ? found : nullptr;
    if (list == nullptr || !F.RecordFile || F.RecordFile->VisibleCount() <= 0 || list->Count() == 0) return;
    const int i = list->ItemIndex();
    if (i < 0) return;
    const std::string_view item = list->Item(i);
    if (item.find('|') == std::string_view::npos) return;
    const std::int32_t n = ItemRecordNumber(item);
    if (n == 0) return;
    ShowRecord(F.RecordFile->GetVisibleRecord(n));
    F.UpdateStatus();
}

void TRecordView::IndexLstKeyUp(tk::TControl* sender, WORD key) {
    char c = static_cast<char>(key & 0xFF);
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    const std::string pattern = std::string("|") + c;
    const int count = IndexLst->Count();
    if (count > 0) {
        const int selected = IndexLst->ItemIndex();
        int i = selected + 1;
        if (i > count - 1) i = 0;
        while (i < count && IndexLst->Item(i).find(pattern) == std::string_view::npos) ++i;
        if (i < count) {
            IndexLst->SetItemIndex(i);
        } else if (selected > 0) {
            for (int j = 0; j < selected; ++j) {
                if (IndexLst->Item(j).find(pattern) != std::string_view::npos) {
                    IndexLst->SetItemIndex(j);
                    break;
                }
            }
        }
    }
    IndexLstSelect(sender);
}

void TRecordView::ShowRecord(const iDbRecInfo& rec) {
    const tk::TCursor before = tk::Application().ScreenCursor;
    tk::Application().SetScreenCursor(tk::TCursor::HourGlass);
    TDiaryPanel& diaryPanel = *F.Diary;
    const bool diary = (F.ViewFlags & DiaryShown) != 0;
    tk::TLabel* header = diary ? diaryPanel.DrDiExpsPnlHeader : iDbRecHeader;
    tk::TListBox* list = diary ? diaryPanel.DrDiExpsLstPnlText : iDbRecText;
    auto empty = [&] {
        iDbRecHeader->SetCaption("");
        diaryPanel.DrDiExpsPnlHeader->SetCaption("");
        iDbRecText->Clear();
        diaryPanel.DrDiExpsLstPnlText->Clear();
    };
    if (rec.Head == nullptr) {
        empty();
        F.LastShownId = 0;
    } else if (rec.Id == F.LastShownId && !diary) {
        // Already on screen.
    } else if (rec.Text == nullptr) {
        empty();
        F.LastShownId = rec.Id;
    } else {
        std::string c, u, y;
        SplitPath(rec.Head, c, u, y);
        if (!diary) ShowPictures(c, u, y);
        iDbRecHeader->SetCaption("");
        diaryPanel.DrDiExpsPnlHeader->SetCaption("");
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
        // A new record is read from its first line, wherever the last one was scrolled to.
        list->SetTopIndex(0);
        list->EndUpdate();
        if (diary && diaryPanel.DrDiExpsLst->Count() > 0) {
            diaryPanel.DrDiExpsLstPnl->Show();
            diaryPanel.DrDiExpsLstPnl->BringToFront();
            diaryPanel.DrDiExpsLstPnlText->SetFocus();
        } else {
            diaryPanel.DrDiExpsLstPnl->Hide();
        }
        F.LastShownId = rec.Id;
        if (!diary && F.RecordFile) History.Visit(F.RecordFile->CursorIndex());
    }
    tk::Application().SetScreenCursor(before);
}

void TRecordView::ShowPictures(const std::string& category, const std::string& subcategory,
                               const std::string& symbol) {
    TPMultiImage& loader = F.anImage;
    F.PrepareLoader();
    loader.SetImageName("");
    // About one display in four brings another of the ten night scenes.
    if (F.Random(100) < 26) {
        const std::string background =
            F.Folder() + "i\\b\\" + DesignSuffix(SizeClass()) + "\\" + std::to_string(F.Random(10) + 1);
        if (FileExists(background)) {
            loader.SetImageName(background);
            F.Bk->Background.Image = loader.Picture;
        }
    }
    loader.SetImageName("");
    loader.SetImageName((F.Folder() + "i\\" + category + "\\" + subcategory + "\\" + symbol + ".jpg").substr(0, 255));
    if (!loader.Picture.Empty()) {
        SubjectPicture->Image = loader.Picture;
    } else if (!F.Bk->Background.Image.Empty()) {
        SubjectPicture->Image = F.Bk->Background.Image;
    } else {
        SubjectPicture->Image.Clear();
    }
    SubjectPicture->Invalidate();
    ContentLst->Invalidate();
    IndexLst->Invalidate();
    loader.SetImageName("");
}

void TRecordView::ToClipBrdBtnClick() {
    TiDbRecFile* records = F.RecordFile.get();
    if (records == nullptr || records->VisibleCount() <= 0 || records->VisibleCount() < records->CursorIndex()) return;
    const iDbRecInfo rec = records->GetVisibleRecord(records->CursorIndex());
    (void)tk::SetClipboardText(F.Handle(), RecordClipboardText(rec.Head, rec.Text, F.Caption()));
}

void TRecordView::TellWhenEmpty() {
    if (F.RecordFile && F.RecordFile->VisibleCount() > 0) return;
    iDbRecHeader->SetCaption("");
    iDbRecText->SetItems({"", ProgramText(7003, "Het woordenboek kon niet worden gelezen.")});
}

void TRecordView::PrintBtnClick() {
    TiDbRecFile* records = F.RecordFile.get();
    if (records == nullptr || records->VisibleCount() <= 0 || records->VisibleCount() < records->CursorIndex()) return;
    const iDbRecInfo rec = records->GetVisibleRecord(records->CursorIndex());
    (void)PrintRecordJob(F.Handle(),
                         RecordPrint{F.Caption(), rec.Head != nullptr ? rec.Head : "", rec.Text != nullptr ? rec.Text : "",
                                     kPublisherNotice},
                         iDbRecText->Font.Name());
}

void TRecordView::UpdateStatus(bool diary) {
    const bool fetched = F.RecordFile && F.RecordFile->VisibleCount() > 0 && F.RecordFile->CursorIndex() > 0;
    ToClipBrdBtn->SetEnabled(fetched);
    PrintBtn->SetEnabled(fetched && AnyPrinterInstalled());
    iDbRecText->SetVisible(iDbRecText->Count() > 0);
    ContentLst->SetVisible(ContentLst->ItemCount() > 0 && (F.ViewFlags & ContentShown) != 0 && !diary);
    IndexLst->SetVisible(IndexLst->Count() > 0 && (F.ViewFlags & IndexShown) != 0 && !diary);
    SubjectPicturePnl->SetVisible(!SubjectPicture->Image.Empty());
}

}  // namespace slumra

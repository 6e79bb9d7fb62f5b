#include "toolkit/StdCtrls.h"

#include "lang/Cp1252.h"
#include "toolkit/Text.h"

#include <windowsx.h>

#include <algorithm>
#include <cwctype>
#include <functional>
#include <map>

namespace slumra::tk {

// ---- TListBox --------------------------------------------------------------------------

TListBox::TListBox(TWinControl* parent) : TWinControl(parent) {
    FOwnClass = false;
    TabStop = true;
}

void TListBox::CreateParams(CREATESTRUCTW& cs, std::wstring& className) {
    className = L"LISTBOX";
    // The own bar must be chosen when the window is made: a list made with the platform's bar
    // keeps setting that bar up.
    cs.style = WS_CHILD | WS_CLIPSIBLINGS | LBS_OWNERDRAWFIXED | LBS_NODATA | LBS_NOINTEGRALHEIGHT |
               LBS_NOTIFY | (ScrollBar && !SkinnedScrollBar ? WS_VSCROLL : 0);
}

void TListBox::CreateHandle() {
    TWinControl::CreateHandle();
    if (FHandle == nullptr) return;
    SendMessageW(FHandle, LB_SETITEMHEIGHT, 0, FItemHeight);
    ItemsChanged();
    if (FItemIndex >= 0) SendMessageW(FHandle, LB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
}

void TListBox::ItemsChanged() {
    if (FHandle != nullptr) SendMessageW(FHandle, LB_SETCOUNT, static_cast<WPARAM>(Count()), 0);
    if (FItemIndex >= Count()) FItemIndex = -1;
}

void TListBox::SetItems(std::vector<std::string> items) {
    FSource = nullptr;
    FSourceCount = 0;
    FItems = std::move(items);
    FItemIndex = -1;
    ItemsChanged();
}

void TListBox::SetItemSource(int count, std::function<std::string_view(int)> item) {
    FItems.clear();
    FSource = std::move(item);
    FSourceCount = FSource ? std::max(0, count) : 0;
    FItemIndex = -1;
    ItemsChanged();
}

std::string_view TListBox::Item(int i) const {
    return FSource ? FSource(i) : std::string_view(FItems[static_cast<std::size_t>(i)]);
}

void TListBox::AddItem(const std::string& item) {
    if (FSource) return;
    FItems.push_back(item);
    if (FUpdating == 0) ItemsChanged();
}

void TListBox::SetItem(int i, const std::string& item) {
    if (FSource || i < 0 || i >= Count()) return;
    FItems[static_cast<std::size_t>(i)] = item;
    if (FHandle != nullptr && FUpdating == 0) {
        const RECT r = ItemRect(i);
        InvalidateRect(FHandle, &r, TRUE);
    }
}

void TListBox::InsertItem(int i, const std::string& item) {
    if (FSource) return;
    i = std::clamp(i, 0, Count());
    const int selected = ItemIndex();
    FItems.insert(FItems.begin() + i, item);
    if (FUpdating == 0) ItemsChanged();
    SetItemIndex(selected >= i ? selected + 1 : selected);
}

void TListBox::DeleteItem(int i) {
    if (FSource || i < 0 || i >= Count()) return;
    const int selected = ItemIndex();
    FItems.erase(FItems.begin() + i);
    if (FUpdating == 0) ItemsChanged();
    SetItemIndex(selected == i ? -1 : selected > i ? selected - 1 : selected);
}

void TListBox::Clear() {
    SetItems({});
}

int TListBox::ItemIndex() const {
    if (FHandle == nullptr) return FItemIndex;
    return static_cast<int>(SendMessageW(FHandle, LB_GETCURSEL, 0, 0));
}

void TListBox::SetItemIndex(int i) {
    FItemIndex = i >= 0 && i < Count() ? i : -1;
    if (FHandle != nullptr) SendMessageW(FHandle, LB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
}

int TListBox::TopIndex() const {
    return FHandle == nullptr ? 0 : static_cast<int>(SendMessageW(FHandle, LB_GETTOPINDEX, 0, 0));
}

void TListBox::SetTopIndex(int i) {
    if (FHandle != nullptr) SendMessageW(FHandle, LB_SETTOPINDEX, static_cast<WPARAM>(std::max(0, i)), 0);
}

void TListBox::SetItemHeight(int h) {
    FItemHeight = std::max(1, h);
    if (FHandle != nullptr) {
        SendMessageW(FHandle, LB_SETITEMHEIGHT, 0, FItemHeight);
        Invalidate();
    }
}

int TListBox::ItemAtPos(int x, int y) const {
    if (FHandle == nullptr) return -1;
    const LRESULT r = SendMessageW(FHandle, LB_ITEMFROMPOINT, 0, MAKELPARAM(x, y));
    if (HIWORD(r) != 0) return -1;  // outside every item
    const int i = LOWORD(r);
    return i < Count() ? i : -1;
}

RECT TListBox::ItemRect(int i) const {
    RECT r{0, 0, 0, 0};
    if (FHandle != nullptr)
        SendMessageW(FHandle, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    return r;
}

void TListBox::BeginUpdate() {
    if (FUpdating++ == 0 && FHandle != nullptr) SendMessageW(FHandle, WM_SETREDRAW, FALSE, 0);
}

void TListBox::EndUpdate() {
    if (FUpdating == 0 || --FUpdating > 0) return;
    ItemsChanged();
    if (FHandle != nullptr) {
        SendMessageW(FHandle, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(FHandle, nullptr, TRUE);
    }
}

void TListBox::ChangeScale(int m, int d) {
    TWinControl::ChangeScale(m, d);
    // Item heights are left to the owner: the program scales them by its own factors.
}

void TListBox::DrawItem(int index, const RECT& rect, unsigned state) {
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    WindowDC dc(FHandle);
    TCanvas canvas(dc.Get());
    canvas.Font = Font;
    canvas.Brush.SetColor((state & odSelected) != 0 ? GetSysColor(COLOR_HIGHLIGHT) : Color);
    canvas.FillRect(rect);
    if (index >= 0 && index < Count()) {
        const std::string_view item = Item(index);
        const std::size_t bar = item.find('|');
        canvas.Brush.SetStyle(BrushStyle::Clear);
        canvas.TextOut(rect.left + 2, rect.top, std::string(bar == std::string_view::npos ? item : item.substr(bar + 1)));
    }
}

bool TListBox::Notification(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == WM_DRAWITEM) {
        const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        unsigned state = 0;
        if ((dis->itemState & ODS_SELECTED) != 0) state |= odSelected;
        if ((dis->itemState & ODS_FOCUS) != 0) state |= odFocused;
        if ((dis->itemState & ODS_DISABLED) != 0) state |= odDisabled;
        DrawItem(static_cast<int>(dis->itemID == static_cast<UINT>(-1) ? -1 : static_cast<int>(dis->itemID)),
                 dis->rcItem, state);
        result = TRUE;
        return true;
    }
    if (msg == WM_COMMAND && HIWORD(wp) == LBN_SELCHANGE) {
        FItemIndex = ItemIndex();
        if (OnSelect) OnSelect(this);
        result = 0;
        return true;
    }
    if (msg == WM_CTLCOLORLISTBOX) {
        static BrushHandle brush;
        brush.Reset(CreateSolidBrush(Color));
        result = reinterpret_cast<LRESULT>(brush.Get());
        return true;
    }
    (void)lp;
    return false;
}

// ---- TListBox: the own scroll bar ------------------------------------------------------
//
// The bar lies in a strip of the window's frame at the right edge, as wide as the platform's,
// so the rows' area is the same as with the platform's bar. The list box itself keeps doing
// all scrolling: the bar sends it the same scroll messages the platform's bar would send, and
// follows its first row after every message.

namespace {

constexpr UINT_PTR kBarRepeatTimer = 0x5C01;
constexpr int kMinThumb = 12;

// 8 bits per pixel: only colours among the static ones stay what they are.
constexpr COLORREF kStaticNavy = RGB(0, 0, 128), kStaticBlack = RGB(0, 0, 0),
                   kStaticGray = RGB(128, 128, 128), kStaticSilver = RGB(192, 192, 192),
                   kStaticWhite = RGB(255, 255, 255);

COLORREF Lighter(COLORREF c) {
    return RGB((GetRValue(c) + 0xA0) / 2, (GetGValue(c) + 0xA0) / 2, (GetBValue(c) + 0xD0) / 2);
}

void FillSolid(HDC dc, const RECT& r, COLORREF color) {
    BrushHandle brush(CreateSolidBrush(color));
    FillRect(dc, &r, brush.Get());
}

// A filled triangle pointing up or down, centred in `box`.
void Arrow(HDC dc, const RECT& box, bool up, COLORREF color) {
    const int w = box.right - box.left, h = box.bottom - box.top;
    const int half = std::max(1, std::min(w, h) / 4);
    const int cx = box.left + w / 2, tip = box.top + (h - half - 1) / 2 + (up ? 0 : half);
    for (int i = 0; i <= half; ++i) {
        const int y = up ? tip + i : tip - i;
        FillSolid(dc, {cx - i, y, cx + i + 1, y + 1}, color);
    }
}

}  // namespace

int TListBox::BarStripWidth() {
    return std::max(8, GetSystemMetrics(SM_CXVSCROLL));
}

TListBox::BarState TListBox::CurrentBarState() const {
    BarState s;
    if (FHandle == nullptr || FOldProc == nullptr) return s;
    s.Count = static_cast<int>(CallWindowProcW(FOldProc, FHandle, LB_GETCOUNT, 0, 0));
    s.Top = static_cast<int>(CallWindowProcW(FOldProc, FHandle, LB_GETTOPINDEX, 0, 0));
    RECT r;
    GetWindowRect(FHandle, &r);
    s.Height = r.bottom - r.top;
    // As the list box counts its page: whole rows, at least one.
    s.Page = std::max(1, s.Height / std::max(1, FItemHeight));
    s.Pressed = FPressed;
    return s;
}

TListBox::BarLayout TListBox::LayoutOf(const BarState& s) const {
    BarLayout l;
    l.Arrow = std::clamp((s.Height - kMinThumb) / 2, 0, BarStripWidth());
    const int track = std::max(0, s.Height - 2 * l.Arrow);
    l.MaxTop = std::max(0, s.Count - s.Page);
    const long long share = s.Count > 0 ? static_cast<long long>(track) * s.Page / s.Count : track;
    l.ThumbLength = std::min(track, std::max(kMinThumb, static_cast<int>(share)));
    const int travel = track - l.ThumbLength;
    l.ThumbTop = l.Arrow + (l.MaxTop > 0 ? static_cast<int>(static_cast<long long>(travel) *
                                                            std::clamp(s.Top, 0, l.MaxTop) / l.MaxTop)
                                         : 0);
    return l;
}

RECT TListBox::ScrollThumbRect() const {
    if (!FBarShown || FHandle == nullptr) return {0, 0, 0, 0};
    const BarLayout l = LayoutOf(CurrentBarState());
    RECT w;
    GetWindowRect(FHandle, &w);
    const int right = w.right - w.left;
    return {right - BarStripWidth(), l.ThumbTop, right, l.ThumbTop + l.ThumbLength};
}

TListBox::BarPart TListBox::PartAt(int y) const {
    const BarState s = CurrentBarState();
    const BarLayout l = LayoutOf(s);
    if (y < 0 || y >= s.Height) return BarPart::None;
    if (y < l.Arrow) return BarPart::LineUp;
    if (y >= s.Height - l.Arrow) return BarPart::LineDown;
    if (y < l.ThumbTop) return BarPart::PageUp;
    if (y >= l.ThumbTop + l.ThumbLength) return BarPart::PageDown;
    return BarPart::Thumb;
}

void TListBox::PaintBar(HDC windowDC) {
    const BarState s = CurrentBarState();
    FPainted = s;
    if (!FBarShown) return;
    const BarLayout l = LayoutOf(s);
    const int w = BarStripWidth(), h = s.Height;
    if (h <= 0) return;
    const bool fewColours = TScreen::BitsPerPixel() <= 8;
    const COLORREF track = fewColours ? kStaticNavy : ScrollTrackColor;
    const COLORREF button = fewColours ? kStaticBlack : ScrollButtonColor;
    const COLORREF pressed = fewColours ? kStaticGray : Lighter(ScrollButtonColor);
    const COLORREF thumb = fewColours ? kStaticSilver : ScrollThumbColor;
    const COLORREF glyph = fewColours ? kStaticWhite : ScrollThumbColor;

    MemoryDC mem(windowDC);
    BitmapHandle bmp(CreateCompatibleBitmap(windowDC, w, h));
    if (!mem || !bmp) return;
    SelectGuard sel(mem.Get(), bmp.Get());
    FillSolid(mem.Get(), {0, 0, w, h}, track);
    if (l.Arrow > 0) {
        const RECT up{0, 0, w, l.Arrow}, down{0, h - l.Arrow, w, h};
        FillSolid(mem.Get(), up, s.Pressed == BarPart::LineUp ? pressed : button);
        FillSolid(mem.Get(), down, s.Pressed == BarPart::LineDown ? pressed : button);
        Arrow(mem.Get(), up, true, glyph);
        Arrow(mem.Get(), down, false, glyph);
    }
    const int inset = w >= 12 ? 3 : 1;
    FillSolid(mem.Get(), {inset, l.ThumbTop + 1, w - inset, l.ThumbTop + l.ThumbLength - 1},
              s.Pressed == BarPart::Thumb && !fewColours ? Lighter(thumb) : thumb);
    RECT win;
    GetWindowRect(FHandle, &win);
    BitBlt(windowDC, (win.right - win.left) - w, 0, w, h, mem.Get(), 0, 0, SRCCOPY);
}

void TListBox::SyncBar() {
    if (!OwnBar() || FHandle == nullptr || FSyncing || FUpdating > 0) return;
    FSyncing = true;
    const BarState s = CurrentBarState();
    const bool need = s.Count > s.Page;
    if (need != FBarShown) {
        // The rows' area narrows or widens: the frame is computed again, the rows repainted.
        FBarShown = need;
        SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(FHandle, nullptr, FALSE);
        FPainted = BarState{};
        FPainted.Count = -1;
    }
    if (FBarShown && !(CurrentBarState() == FPainted) && IsWindowVisible(FHandle)) {
        HDC dc = GetWindowDC(FHandle);
        if (dc != nullptr) {
            PaintBar(dc);
            ReleaseDC(FHandle, dc);
        }
    }
    FSyncing = false;
}

void TListBox::PressBar(int y) {
    FPressed = PartAt(y);
    if (FPressed == BarPart::None) return;
    SetCapture(FHandle);
    if (FPressed == BarPart::Thumb) {
        FGrab = y - LayoutOf(CurrentBarState()).ThumbTop;
        return;
    }
    StepBar();
    // Held down, it repeats as the platform's bar does.
    SetTimer(FHandle, kBarRepeatTimer, 350, nullptr);
}

void TListBox::StepBar() {
    WORD request = 0;
    switch (FPressed) {
        case BarPart::LineUp:
            request = SB_LINEUP;
            break;
        case BarPart::LineDown:
            request = SB_LINEDOWN;
            break;
        case BarPart::PageUp:
            request = SB_PAGEUP;
            break;
        case BarPart::PageDown:
            request = SB_PAGEDOWN;
            break;
        default:
            return;
    }
    SendMessageW(FHandle, WM_VSCROLL, MAKEWPARAM(request, 0), 0);
}

void TListBox::RepeatBar() {
    // Only while the pointer stays on the part pressed: paging stops when the thumb reaches it.
    POINT p;
    GetCursorPos(&p);
    RECT w;
    GetWindowRect(FHandle, &w);
    if (p.x >= w.right - BarStripWidth() && p.x < w.right && PartAt(p.y - w.top) == FPressed) StepBar();
}

bool TListBox::BarMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
        case WM_NCCALCSIZE: {
            result = TWinControl::WndProc(msg, wp, lp);
            RECT* r =
                wp != 0 ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lp)->rgrc[0] : reinterpret_cast<RECT*>(lp);
            if (FBarShown) r->right = std::max(r->left, r->right - BarStripWidth());
            return true;
        }
        case WM_NCPAINT:
            result = TWinControl::WndProc(msg, wp, lp);
            if (FBarShown) {
                HDC dc = GetWindowDC(FHandle);
                if (dc != nullptr) {
                    PaintBar(dc);
                    ReleaseDC(FHandle, dc);
                }
            }
            return true;
        case WM_NCHITTEST: {
            if (!FBarShown) return false;
            RECT w;
            GetWindowRect(FHandle, &w);
            const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
            if (x >= w.right - BarStripWidth() && x < w.right && y >= w.top && y < w.bottom) {
                result = HTVSCROLL;
                return true;
            }
            return false;
        }
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK: {
            if (wp != HTVSCROLL || !FBarShown) return false;
            RECT w;
            GetWindowRect(FHandle, &w);
            PressBar(GET_Y_LPARAM(lp) - w.top);
            result = 0;
            return true;
        }
        case WM_MOUSEMOVE:
            if (FPressed == BarPart::None) return false;
            if (FPressed == BarPart::Thumb) {
                const BarState s = CurrentBarState();
                const BarLayout l = LayoutOf(s);
                const int travel = s.Height - 2 * l.Arrow - l.ThumbLength;
                const int along = std::clamp(GET_Y_LPARAM(lp) - FGrab - l.Arrow, 0, std::max(0, travel));
                const int top =
                    travel > 0
                        ? static_cast<int>((static_cast<long long>(along) * l.MaxTop + travel / 2) / travel)
                        : 0;
                if (top != s.Top) SetTopIndex(top);
            }
            result = 0;
            return true;
        case WM_LBUTTONUP:
            if (FPressed == BarPart::None) return false;
            if (GetCapture() == FHandle) ReleaseCapture();
            FPressed = BarPart::None;  // also when the capture had gone elsewhere already
            KillTimer(FHandle, kBarRepeatTimer);
            result = 0;
            return true;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
            // Not while the bar holds the mouse.
            if (FPressed == BarPart::None) return false;
            result = 0;
            return true;
        case WM_CAPTURECHANGED:
            if (FPressed != BarPart::None) {
                FPressed = BarPart::None;
                KillTimer(FHandle, kBarRepeatTimer);
            }
            return false;
        case WM_TIMER:
            if (wp != kBarRepeatTimer) return false;
            SetTimer(FHandle, kBarRepeatTimer, 50, nullptr);
            RepeatBar();
            result = 0;
            return true;
        default:
            return false;
    }
}

LRESULT TListBox::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (OwnBar() && FHandle != nullptr) {
        LRESULT result = 0;
        const bool handled = BarMessage(msg, wp, lp, result);
        if (handled) {
            if (msg != WM_NCCALCSIZE && msg != WM_NCPAINT && msg != WM_NCHITTEST) SyncBar();
            return result;
        }
        result = ListWndProc(msg, wp, lp);
        // The bar follows whatever moved the rows or changed their number.
        if (FHandle != nullptr && msg != WM_NCHITTEST && msg != WM_SETCURSOR && msg != WM_NCDESTROY)
            SyncBar();
        return result;
    }
    return ListWndProc(msg, wp, lp);
}

LRESULT TListBox::ListWndProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ERASEBKGND && OnDrawItem) return 1;  // the owner paints every pixel
    const bool scrolls = msg == WM_VSCROLL || msg == WM_MOUSEWHEEL || msg == WM_KEYDOWN ||
                         msg == LB_SETTOPINDEX || msg == LB_SETCURSEL;
    if (scrolls && OnDrawItem && FUpdating == 0 && FHandle != nullptr && IsWindowVisible(FHandle)) {
        // Owner-drawn rows show a background that does not move with them: the platform would
        // first shift the old pixels and show rows over a moved background. Scrolling runs with
        // drawing off, and the list is then painted whole at once (twice: the first paint after
        // a new first row only asks for the whole list).
        TWinControl::WndProc(WM_SETREDRAW, FALSE, 0);
        const LRESULT result = TWinControl::WndProc(msg, wp, lp);
        TWinControl::WndProc(WM_SETREDRAW, TRUE, 0);
        InvalidateRect(FHandle, nullptr, FALSE);
        UpdateWindow(FHandle);
        UpdateWindow(FHandle);
        return result;
    }
    if (msg == WM_PAINT && Count() == 0 && OnDrawItem) {
        // An empty list still shows its owner's background.
        PAINTSTRUCT ps;
        BeginPaint(FHandle, &ps);
        EndPaint(FHandle, &ps);
        RECT r;
        GetClientRect(FHandle, &r);
        OnDrawItem(this, -1, r, 0);
        return 0;
    }
    return TWinControl::WndProc(msg, wp, lp);
}

// ---- TComboBox -------------------------------------------------------------------------

// The list that drops down: a borderless-looking popup that never takes activation, holding
// the combo box's items in an owner-data list box. The mouse picks here; the keyboard stays
// with the combo box.
class TComboDrop : public TWinControl {
public:
    explicit TComboDrop(TComboBox& owner);
    void Open();
    void Close();
    bool IsOpen() const { return FHandle != nullptr && IsWindowVisible(FHandle); }
    TListBox* List;

protected:
    void CreateParams(CREATESTRUCTW& cs, std::wstring& className) override;
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    static LRESULT CALLBACK MouseHook(int code, WPARAM wp, LPARAM lp);
    TComboBox& FOwner;
    HHOOK FHook = nullptr;
};

namespace {

TComboDrop* gOpenDrop = nullptr;

// The list box of the drop: picks by mouse without taking the focus from the combo box.
class TDropListBox : public TListBox {
public:
    explicit TDropListBox(TWinControl* parent) : TListBox(parent) {
        SkinnedScrollBar = false;
        TabStop = false;
    }
    std::function<void(int)> OnPick;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
            case WM_MOUSEACTIVATE:
                return MA_NOACTIVATE;
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK:
            case WM_MOUSEMOVE: {
                const int i = ItemAtPos(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
                if (i >= 0 && i != ItemIndex()) SetItemIndex(i);
                return 0;
            }
            case WM_LBUTTONUP: {
                const int i = ItemAtPos(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
                if (i >= 0 && OnPick) OnPick(i);
                return 0;
            }
            default:
                return TListBox::WndProc(msg, wp, lp);
        }
    }
};

}  // namespace

TComboDrop::TComboDrop(TComboBox& owner) : TWinControl(nullptr), FOwner(owner) {
    FVisible = false;
    Color = clWhite;
    auto* list = new TDropListBox(this);
    list->Color = clWhite;
    list->SetAlign(TAlign::Client);
    list->OnPick = [this](int i) {
        Close();
        FOwner.Choose(i);
    };
    list->OnDrawItem = [this](TWinControl*, int i, const RECT& r, unsigned state) {
        WindowDC dc(List->Handle());
        const bool selected = (state & odSelected) != 0;
        SetBkColor(dc.Get(), GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        SetTextColor(dc.Get(), GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        SelectGuard font(dc.Get(), FOwner.CrispFont());
        const std::wstring text = i >= 0 && i < List->Count() ? Widen(List->Items()[static_cast<std::size_t>(i)])
                                                             : std::wstring();
        RECT box = r;
        ExtTextOutW(dc.Get(), r.left + 3, r.top, ETO_OPAQUE | ETO_CLIPPED, &box, text.c_str(),
                    static_cast<UINT>(text.size()), nullptr);
    };
    List = list;
}

void TComboDrop::CreateParams(CREATESTRUCTW& cs, std::wstring& className) {
    TWinControl::CreateParams(cs, className);
    cs.style = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN;
    cs.dwExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    cs.hwndParent = GetAncestor(FOwner.Handle(), GA_ROOT);
}

LRESULT TComboDrop::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    return TWinControl::WndProc(msg, wp, lp);
}

LRESULT CALLBACK TComboDrop::MouseHook(int code, WPARAM wp, LPARAM lp) {
    // A press anywhere but on the drop or its combo box closes the drop without a choice.
    if (code == HC_ACTION && gOpenDrop != nullptr &&
        (wp == WM_LBUTTONDOWN || wp == WM_RBUTTONDOWN || wp == WM_MBUTTONDOWN || wp == WM_NCLBUTTONDOWN ||
         wp == WM_NCRBUTTONDOWN)) {
        const HWND target = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lp)->hwnd;
        TComboDrop* drop = gOpenDrop;
        if (target != drop->FHandle && GetParent(target) != drop->FHandle && target != drop->FOwner.FHandle)
            drop->Close();
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

void TComboDrop::Open() {
    if (IsOpen() || FOwner.Count() == 0) return;
    if (gOpenDrop != nullptr) gOpenDrop->Close();
    RECT field{};
    GetWindowRect(FOwner.Handle(), &field);
    {
        WindowDC dc(FOwner.Handle());
        SelectGuard font(dc.Get(), FOwner.CrispFont());
        TEXTMETRICW tm{};
        GetTextMetricsW(dc.Get(), &tm);
        List->SetItemHeight(tm.tmHeight + 1);
    }
    const int border = 2 * GetSystemMetrics(SM_CYBORDER);
    const int rows = std::min(FOwner.Count(), std::max(1, FOwner.DropDownCount));
    const int width = field.right - field.left, height = rows * List->ItemHeight() + border;
    HMONITOR monitor = MonitorFromWindow(FOwner.Handle(), MONITOR_DEFAULTTONEAREST);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoW(monitor, &mi);
    // Below the field where it fits, else above it.
    const int top = field.bottom + height <= mi.rcWork.bottom ? field.bottom : std::max(0, int(field.top - height));
    SetBounds(field.left, top, width, height);
    List->SetItemIndex(FOwner.ItemIndex());
    List->SetTopIndex(std::max(0, FOwner.ItemIndex() - rows / 2));
    SetWindowPos(Handle(), HWND_TOPMOST, field.left, top, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    gOpenDrop = this;
    FHook = SetWindowsHookExW(WH_MOUSE, &TComboDrop::MouseHook, nullptr, GetCurrentThreadId());
    InvalidateRect(FOwner.Handle(), nullptr, FALSE);
}

void TComboDrop::Close() {
    if (FHook != nullptr) {
        UnhookWindowsHookEx(FHook);
        FHook = nullptr;
    }
    if (gOpenDrop == this) gOpenDrop = nullptr;
    if (FHandle != nullptr && IsWindowVisible(FHandle)) {
        ShowWindow(FHandle, SW_HIDE);
        if (FOwner.HandleAllocated()) InvalidateRect(FOwner.FHandle, nullptr, FALSE);
    }
}

TComboBox::TComboBox(TWinControl* parent) : TWinControl(parent), FDrop(std::make_unique<TComboDrop>(*this)) {
    TabStop = true;
    Color = clWhite;
    Cursor = TCursor::Default;
}

TComboBox::~TComboBox() {
    FDrop->Close();
}

void TComboBox::CreateParams(CREATESTRUCTW& cs, std::wstring& className) {
    TWinControl::CreateParams(cs, className);
    cs.style |= WS_TABSTOP;
    cs.dwExStyle = WS_EX_CLIENTEDGE;
}

const std::vector<std::string>& TComboBox::Items() const {
    return FDrop->List->Items();
}

void TComboBox::SetItems(std::vector<std::string> items) {
    FDrop->Close();
    FDrop->List->SetItems(std::move(items));
    FItemIndex = -1;
    Invalidate();
}

void TComboBox::SetItem(int i, const std::string& item) {
    FDrop->List->SetItem(i, item);
    if (i == FItemIndex) Invalidate();
}

void TComboBox::InsertItem(int i, const std::string& item) {
    i = std::clamp(i, 0, Count());
    FDrop->List->InsertItem(i, item);
    if (FItemIndex >= i) ++FItemIndex;
}

void TComboBox::DeleteItem(int i) {
    if (i < 0 || i >= Count()) return;
    FDrop->List->DeleteItem(i);
    if (FItemIndex == i) {
        FItemIndex = -1;
        Invalidate();
    } else if (FItemIndex > i) {
        --FItemIndex;
    }
    if (Count() == 0) FDrop->Close();
}

void TComboBox::SetItemIndex(int i) {
    const int index = i >= 0 && i < Count() ? i : -1;
    if (index == FItemIndex) return;
    FItemIndex = index;
    Invalidate();
}

std::string TComboBox::Text() const {
    return FItemIndex >= 0 && FItemIndex < Count() ? Items()[static_cast<std::size_t>(FItemIndex)] : std::string();
}

bool TComboBox::DroppedDown() const {
    return FDrop->IsOpen();
}

void TComboBox::SetDroppedDown(bool down) {
    if (down && Enabled())
        FDrop->Open();
    else
        FDrop->Close();
}

void TComboBox::Choose(int i) {
    const int before = FItemIndex;
    SetItemIndex(i);
    if (FItemIndex != before && OnChange) OnChange(this);
}

void TComboBox::CloseUp(bool choose) {
    const int picked = FDrop->List->ItemIndex();
    FDrop->Close();
    if (choose && picked >= 0) Choose(picked);
}

HFONT TComboBox::CrispFont() {
    // Drawn without smoothing, as the edits draw what is typed: black pixels on white.
    const HFONT from = Font.Handle();
    if (from != FCrispFrom || !FCrispFont) {
        LOGFONTW lf{};
        if (GetObjectW(from, sizeof lf, &lf) == sizeof lf) {
            lf.lfQuality = NONANTIALIASED_QUALITY;
            FCrispFont.Reset(CreateFontIndirectW(&lf));
        }
        FCrispFrom = from;
    }
    return FCrispFont ? FCrispFont.Get() : from;
}

void TComboBox::PaintWindow(TCanvas& canvas) {
    const HDC dc = canvas.Handle();
    RECT client{0, 0, 0, 0};
    GetClientRect(FHandle, &client);
    const bool enabled = Enabled() && IsWindowEnabled(FHandle);
    const bool focused = GetFocus() == FHandle && !DroppedDown();
    const int arrow = GetSystemMetrics(SM_CXVSCROLL);
    RECT field = client;
    field.right = std::max(field.left, static_cast<LONG>(client.right - arrow));
    {
        BrushHandle back(CreateSolidBrush(enabled ? GetSysColor(COLOR_WINDOW) : GetSysColor(COLOR_BTNFACE)));
        FillRect(dc, &field, back.Get());
    }
    RECT textBox{field.left + 1, field.top + 1, field.right - 1, field.bottom - 1};
    SelectGuard font(dc, CrispFont());
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, focused ? GetSysColor(COLOR_HIGHLIGHT) : GetSysColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
    SetTextColor(dc, !enabled  ? GetSysColor(COLOR_GRAYTEXT)
                     : focused ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                               : GetSysColor(COLOR_WINDOWTEXT));
    const std::wstring text = Widen(Text());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    const int y = std::max(0, static_cast<int>((client.bottom - tm.tmHeight) / 2));
    ExtTextOutW(dc, textBox.left + 2, y, ETO_OPAQUE | ETO_CLIPPED, &textBox, text.c_str(),
                static_cast<UINT>(text.size()), nullptr);
    if (focused) DrawFocusRect(dc, &textBox);
    RECT button{field.right, client.top, client.right, client.bottom};
    DrawFrameControl(dc, &button, DFC_SCROLL,
                     DFCS_SCROLLCOMBOBOX | (DroppedDown() ? DFCS_PUSHED | DFCS_FLAT : 0) | (enabled ? 0 : DFCS_INACTIVE));
}

bool TComboBox::KeyDown(WPARAM key, bool alt) {
    const int count = Count();
    if (count == 0) return false;
    const bool down = DroppedDown();
    if (key == VK_F4 || (alt && (key == VK_DOWN || key == VK_UP))) {
        if (down)
            CloseUp(true);
        else
            FDrop->Open();
        return true;
    }
    if (down && (key == VK_RETURN || key == VK_ESCAPE)) {
        CloseUp(key == VK_RETURN);
        return true;
    }
    const int page = std::max(1, DropDownCount - 1);
    const int current = down ? FDrop->List->ItemIndex() : FItemIndex;
    int next = current;
    switch (key) {
        case VK_UP:
        case VK_LEFT:
            next = current < 0 ? 0 : current - 1;
            break;
        case VK_DOWN:
        case VK_RIGHT:
            next = current + 1;
            break;
        case VK_PRIOR:
            next = current - page;
            break;
        case VK_NEXT:
            next = current + page;
            break;
        case VK_HOME:
            next = 0;
            break;
        case VK_END:
            next = count - 1;
            break;
        default:
            return false;
    }
    next = std::clamp(next, 0, count - 1);
    if (down)
        FDrop->List->SetItemIndex(next);
    else
        Choose(next);
    return true;
}

LRESULT TComboBox::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (KeyDown(wp, msg == WM_SYSKEYDOWN)) return 0;
            break;
        case WM_CHAR: {
            // A letter chooses the next item that begins with it.
            const int count = Count();
            if (wp < 32 || count == 0) break;
            const wchar_t typed = static_cast<wchar_t>(towlower(static_cast<wint_t>(wp)));
            const int from = DroppedDown() ? FDrop->List->ItemIndex() : FItemIndex;
            for (int step = 1; step <= count; ++step) {
                const int i = ((from < 0 ? -1 : from) + step) % count;
                const std::wstring item = Widen(Items()[static_cast<std::size_t>(i)]);
                if (!item.empty() && towlower(item[0]) == typed) {
                    if (DroppedDown())
                        FDrop->List->SetItemIndex(i);
                    else
                        Choose(i);
                    break;
                }
            }
            return 0;
        }
        case WM_MOUSEWHEEL:
            if (DroppedDown()) return SendMessageW(FDrop->List->Handle(), msg, wp, lp);
            KeyDown(GET_WHEEL_DELTA_WPARAM(wp) > 0 ? VK_UP : VK_DOWN, false);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (Enabled()) {
                if (GetFocus() != FHandle) ::SetFocus(FHandle);
                SetDroppedDown(!DroppedDown());
            }
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            if (msg == WM_KILLFOCUS) FDrop->Close();
            InvalidateRect(FHandle, nullptr, FALSE);
            break;
        case WM_ENABLE:
            if (wp == 0) FDrop->Close();
            InvalidateRect(FHandle, nullptr, FALSE);
            break;
        default:
            break;
    }
    return TWinControl::WndProc(msg, wp, lp);
}

// ---- TEdit, TMemo ----------------------------------------------------------------------

TEdit::TEdit(TWinControl* parent) : TWinControl(parent) {
    FOwnClass = false;
    TabStop = true;
    Color = clWhite;
    Cursor = TCursor::IBeam;
}

void TEdit::CreateParams(CREATESTRUCTW& cs, std::wstring& className) {
    className = L"EDIT";
    cs.style = WS_CHILD | WS_CLIPSIBLINGS | FExtraStyle | (ReadOnly ? ES_READONLY : 0);
    cs.dwExStyle = WS_EX_CLIENTEDGE;
}

void TEdit::CreateHandle() {
    TWinControl::CreateHandle();
    if (FHandle == nullptr) return;
    SendMessageW(FHandle, EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
    SetWindowTextW(FHandle, Widen(FText).c_str());
}

std::string TEdit::Text() const {
    if (FHandle == nullptr) return FText;
    const int n = GetWindowTextLengthW(FHandle);
    std::wstring w(static_cast<std::size_t>(n) + 1, L'\0');
    GetWindowTextW(FHandle, w.data(), n + 1);
    w.resize(static_cast<std::size_t>(n));
    std::string out;
    // Nothing outside the code page can be in the window: typing and pasting refuse it.
    if (!Narrow(w, out)) return NarrowLossy(w);
    return out;
}

void TEdit::SetText(const std::string& v) {
    FText = v;
    if (FHandle != nullptr) SetWindowTextW(FHandle, Widen(v).c_str());
}

void TEdit::SetMaxLength(int v) {
    FMaxLength = std::max(0, v);
    if (FHandle != nullptr) SendMessageW(FHandle, EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
}

void TEdit::SelectAll() {
    if (FHandle != nullptr) SendMessageW(FHandle, EM_SETSEL, 0, -1);
}

bool TEdit::Notification(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    if (msg == WM_COMMAND && HIWORD(wp) == EN_CHANGE) {
        if (OnChange) OnChange(this);
        result = 0;
        return true;
    }
    if (msg == WM_COMMAND && HIWORD(wp) == EN_MAXTEXT) {
        if (OnTooLong) OnTooLong(this);
        result = 0;
        return true;
    }
    return false;
}

LRESULT TEdit::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SETFONT && wp != 0) {
        // What the user types is drawn without smoothing: thin faces smoothed on white read as
        // pale grey, solid black pixels read best.
        LOGFONTW lf{};
        if (GetObjectW(reinterpret_cast<HFONT>(wp), sizeof lf, &lf) == sizeof lf) {
            lf.lfQuality = NONANTIALIASED_QUALITY;
            FCrispFont.Reset(CreateFontIndirectW(&lf));
            if (FCrispFont) wp = reinterpret_cast<WPARAM>(FCrispFont.Get());
        }
    }
    if (msg == WM_CHAR && wp >= 32) {
        unsigned char b = 0;
        if (!CodePointToCp1252(static_cast<char32_t>(wp), b)) {
            ++FRefused;
            MessageBeep(MB_ICONWARNING);
            return 0;
        }
    }
    if (msg == WM_PASTE && !ReadOnly) {
        // Pasted text is taken only when every character fits the code page.
        std::wstring clip;
        if (OpenClipboard(FHandle)) {
            if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
                if (const auto* p = static_cast<const wchar_t*>(GlobalLock(h))) {
                    clip = p;
                    GlobalUnlock(h);
                }
            }
            CloseClipboard();
        }
        std::string fits;
        if (!Narrow(clip, fits)) {
            ++FRefused;
            MessageBeep(MB_ICONWARNING);
            return 0;
        }
        // A paste that would not fit is refused whole and told, never cut off unseen.
        if (FMaxLength > 0) {
            DWORD from = 0, to = 0;
            SendMessageW(FHandle, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
            const std::size_t kept = static_cast<std::size_t>(GetWindowTextLengthW(FHandle)) - (to - from);
            std::size_t pasted = fits.size();
            // A single-line edit takes the first line only.
            if ((FExtraStyle & ES_MULTILINE) == 0) pasted = std::min(pasted, fits.find_first_of("\r\n"));
            if (kept + pasted > static_cast<std::size_t>(FMaxLength)) {
                ++FRefused;
                MessageBeep(MB_ICONWARNING);
                if (OnTooLong) OnTooLong(this);
                return 0;
            }
        }
    }
    return TWinControl::WndProc(msg, wp, lp);
}

TMemo::TMemo(TWinControl* parent) : TEdit(parent) {
    FExtraStyle = ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL;
}

std::vector<std::string> TMemo::Lines() const {
    std::vector<std::string> lines;
    const std::string text = Text();
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            if (start < text.size()) lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// ---- TGauge ----------------------------------------------------------------------------

TGauge::TGauge(TWinControl* parent) : TControl(parent) {
    FWidth = 100;
    FHeight = 16;
}

void TGauge::SetProgress(int v) {
    v = std::clamp(v, MinValue, MaxValue);
    if (v == FProgress) return;
    FProgress = v;
    Invalidate();
}

void TGauge::Paint(TCanvas& canvas) {
    const int span = std::max(1, MaxValue - MinValue);
    const int filled = (FWidth * (FProgress - MinValue)) / span;
    canvas.Brush.SetStyle(BrushStyle::Solid);
    canvas.Brush.SetColor(BackColor);
    canvas.FillRect({0, 0, FWidth, FHeight});
    canvas.Brush.SetColor(ForeColor);
    canvas.FillRect({0, 0, filled, FHeight});
    if (ShowText) {
        canvas.Brush.SetStyle(BrushStyle::Clear);
        canvas.Font = Font;
        const std::string text = std::to_string((100 * (FProgress - MinValue)) / span) + "%";
        canvas.TextRect({0, 0, FWidth, FHeight}, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

// ---- TTimer ----------------------------------------------------------------------------

namespace {
std::map<UINT_PTR, TTimer*>& Timers() {
    static std::map<UINT_PTR, TTimer*> timers;
    return timers;
}
}  // namespace

TTimer::TTimer() {
    Update();
}

TTimer::~TTimer() {
    if (FId != 0) {
        KillTimer(nullptr, FId);
        Timers().erase(FId);
    }
}

void TTimer::SetEnabled(bool v) {
    if (v == FEnabled) return;
    FEnabled = v;
    Update();
}

void TTimer::SetInterval(unsigned ms) {
    if (ms == FInterval) return;
    FInterval = ms;
    Update();
}

void TTimer::Update() {
    if (FId != 0) {
        KillTimer(nullptr, FId);
        Timers().erase(FId);
        FId = 0;
    }
    if (FEnabled && FInterval > 0) {
        FId = SetTimer(nullptr, 0, FInterval, &TTimer::Fired);
        if (FId != 0) Timers()[FId] = this;
    }
}

void CALLBACK TTimer::Fired(HWND, UINT, UINT_PTR id, DWORD) {
    auto it = Timers().find(id);
    if (it == Timers().end()) return;
    TTimer* t = it->second;
    if (t->OnTimer) t->OnTimer(t);
}

}  // namespace slumra::tk

#include "toolkit/Controls.h"

#include "lang/Cp1252.h"
#include "toolkit/Palette.h"
#include "toolkit/Text.h"

#include <algorithm>

namespace slumra::tk {

namespace {

constexpr wchar_t kPanelClass[] = L"SlumraPanel";
constexpr UINT_PTR kHintTimerId = 0x5E1;
constexpr UINT kHintDelayMs = 500;

TMouseButton ButtonOf(UINT msg) {
    switch (msg) {
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            return TMouseButton::Right;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
            return TMouseButton::Middle;
        default:
            return TMouseButton::Left;
    }
}

unsigned ShiftFromKeys(WPARAM wp) {
    unsigned s = 0;
    if ((wp & MK_SHIFT) != 0) s |= ssShift;
    if ((wp & MK_CONTROL) != 0) s |= ssCtrl;
    if ((wp & MK_LBUTTON) != 0) s |= ssLeft;
    if ((wp & MK_RBUTTON) != 0) s |= ssRight;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

void RegisterOwnClass(const wchar_t* name, UINT style = CS_DBLCLKS) {
    WNDCLASSEXW wc{};
    if (GetClassInfoExW(Application().Instance_(), name, &wc)) return;
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = DefWindowProcW;  // replaced by StaticProc on creation
    wc.hInstance = Application().Instance_();
    wc.hCursor = nullptr;
    wc.hbrBackground = nullptr;
    wc.lpszClassName = name;
    wc.hIcon = LoadIconW(Application().Instance_(), L"MAINICON");
    RegisterClassExW(&wc);
}

}  // namespace

unsigned ShiftState() {
    unsigned s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    if (GetKeyState(VK_LBUTTON) < 0) s |= ssLeft;
    if (GetKeyState(VK_RBUTTON) < 0) s |= ssRight;
    return s;
}

// ---- TControl --------------------------------------------------------------------------

TControl::TControl(TWinControl* parent) : FParent(parent) {
    if (FParent != nullptr) {
        Font = FParent->Font;
        FParent->InsertControl(this);
    }
    Font.OnChange = [this] { FontChanged(); };
}

void TControl::TakeParentFont(const TFont& font) {
    FTakingParentFont = true;
    Font = font;
    FTakingParentFont = false;
    ParentFont = true;
}

TControl::~TControl() {
    if (FParent != nullptr) FParent->RemoveControl(this);
}

TForm* TControl::Form() {
    TControl* c = this;
    while (c->FParent != nullptr) c = c->FParent;
    return dynamic_cast<TForm*>(c);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
    Invalidate();
    FLeft = left;
    FTop = top;
    FWidth = std::max(0, width);
    FHeight = std::max(0, height);
    Invalidate();
    if (FParent != nullptr && FAlign != TAlign::None) FParent->Realign();
}

void TControl::SetAlign(TAlign a) {
    FAlign = a;
    if (FParent != nullptr) FParent->Realign();
}

void TControl::SetVisible(bool v) {
    if (v == FVisible) return;
    FVisible = v;
    if (FParent != nullptr && FParent->HandleAllocated()) {
        RECT r = BoundsRect();
        InvalidateRect(FParent->Handle(), &r, FALSE);
    }
}

void TControl::SetEnabled(bool v) {
    if (v == FEnabled) return;
    FEnabled = v;
    Invalidate();
}

bool TControl::Showing() const {
    for (const TControl* c = this; c != nullptr; c = c->FParent) {
        if (!c->FVisible) return false;
    }
    return true;
}

void TControl::Invalidate() {
    if (FParent == nullptr || !FParent->HandleAllocated() || !FVisible) return;
    RECT r = BoundsRect();
    InvalidateRect(FParent->Handle(), &r, FALSE);
}

void TControl::Repaint() {
    Invalidate();
    if (FParent != nullptr && FParent->HandleAllocated()) UpdateWindow(FParent->Handle());
}

void TControl::ChangeScale(int m, int d) {
    // Position and size scale each on their own, so a 45-pixel panel becomes the same size
    // wherever it stands.
    SetBounds(ScaleValue(FLeft, m, d), ScaleValue(FTop, m, d), ScaleValue(FWidth, m, d),
              ScaleValue(FHeight, m, d));
    if (!ParentFont) {
        Font.SetHeight(ScaleValue(Font.Height(), m, d));
        ParentFont = false;
    }
}

HPALETTE TControl::GetPalette() const {
    return ScreenPalette();
}

void TControl::MouseDown(TMouseButton button, unsigned shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}
void TControl::MouseUp(TMouseButton button, unsigned shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}
void TControl::MouseMove(unsigned shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}
void TControl::Click() {
    if (OnClick) OnClick(this);
}
void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}
void TControl::MouseEnter() {
    Application().MouseEntered(this);
}
void TControl::MouseLeave() {
    Application().MouseLeft(this);
}
void TControl::Paint(TCanvas&) {}
void TControl::FontChanged() {
    if (!FTakingParentFont) ParentFont = false;
    Invalidate();
}

// ---- TWinControl -----------------------------------------------------------------------

TWinControl::TWinControl(TWinControl* parent) : TControl(parent) {
    Color = GetSysColor(COLOR_BTNFACE);
}

TWinControl::~TWinControl() {
    // Children first: they unlink themselves from FControls as they go.
    while (!FControls.empty()) delete FControls.back();
    DestroyHandle();
}

void TWinControl::InsertControl(TControl* c) {
    FControls.push_back(c);
}

void TWinControl::RemoveControl(TControl* c) {
    FControls.erase(std::remove(FControls.begin(), FControls.end(), c), FControls.end());
    if (FMouseControl == c) FMouseControl = nullptr;
    if (FCaptureControl == c) FCaptureControl = nullptr;
    if (Application().HintControl() == c) Application().CancelHint();
}

TWinControl* TWinControl::FromHandle(HWND wnd) {
    if (wnd == nullptr) return nullptr;
    return reinterpret_cast<TWinControl*>(GetPropW(wnd, L"SlumraControl"));
}

void TWinControl::CreateParams(CREATESTRUCTW& cs, std::wstring& className) {
    RegisterOwnClass(kPanelClass);
    className = kPanelClass;
    cs.style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    cs.dwExStyle = 0;
}

HWND TWinControl::Handle() {
    if (FHandle == nullptr) CreateHandle();
    return FHandle;
}

void TWinControl::CreateHandle() {
    if (FHandle != nullptr) return;
    HWND parentWnd = nullptr;
    if (FParent != nullptr) parentWnd = FParent->Handle();
    // Making the parent's window makes its children's windows too, ours among them.
    if (FHandle != nullptr) return;
    CREATESTRUCTW cs{};
    std::wstring className;
    CreateParams(cs, className);
    if (FVisible && (cs.style & WS_CHILD) != 0) cs.style |= WS_VISIBLE;
    if (!FEnabled) cs.style |= WS_DISABLED;
    FHandle =
        CreateWindowExW(cs.dwExStyle, className.c_str(), cs.lpszName, cs.style, FLeft, FTop, FWidth, FHeight,
                        parentWnd ? parentWnd : cs.hwndParent, nullptr, Application().Instance_(), nullptr);
    if (FHandle == nullptr) return;
    SetPropW(FHandle, L"SlumraControl", this);
    // A later sibling lies over the earlier ones, whatever order the platform inserts in, and
    // whenever the window is made: one made late goes under the first later sibling that has one.
    if ((cs.style & WS_CHILD) != 0) {
        HWND above = HWND_TOP;
        if (FParent != nullptr) {
            const auto& siblings = FParent->FControls;
            for (auto it = std::find(siblings.begin(), siblings.end(), this); it != siblings.end(); ++it) {
                auto* w = dynamic_cast<TWinControl*>(*it);
                if (w != nullptr && w != this && w->FHandle != nullptr) {
                    above = w->FHandle;
                    break;
                }
            }
        }
        SetWindowPos(FHandle, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    FOldProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWinControl::StaticProc)));
    if (!FOwnClass) SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font.Handle()), FALSE);
    if (FPendingRegion) SetWindowRgn(FHandle, FPendingRegion.Release(), FALSE);  // the window owns it now
    // Windowed children made before this window exist only now; give them windows in order.
    // A hidden one gets its window when it is first shown or asked for its handle: the start-up
    // makes only what it shows.
    for (TControl* c : FControls) {
        if (auto* w = dynamic_cast<TWinControl*>(c); w != nullptr && w->FVisible) w->CreateHandle();
    }
}

void TWinControl::DestroyHandle() {
    if (FHandle == nullptr) return;
    HWND wnd = FHandle;
    SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FOldProc));
    RemovePropW(wnd, L"SlumraControl");
    FHandle = nullptr;
    DestroyWindow(wnd);
}

LRESULT CALLBACK TWinControl::StaticProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    TWinControl* self = FromHandle(wnd);
    if (self == nullptr) return DefWindowProcW(wnd, msg, wp, lp);
    return self->WndProc(msg, wp, lp);
}

LRESULT TWinControl::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (FOldProc != nullptr && FOldProc != DefWindowProcW)
        return CallWindowProcW(FOldProc, FHandle, msg, wp, lp);
    return DefWindowProcW(FHandle, msg, wp, lp);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    const bool moved = left != FLeft || top != FTop || width != FWidth || height != FHeight;
    FLeft = left;
    FTop = top;
    FWidth = std::max(0, width);
    FHeight = std::max(0, height);
    if (moved && FHandle != nullptr)
        SetWindowPos(FHandle, nullptr, FLeft, FTop, FWidth, FHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    if (moved) {
        Realign();
        if (FParent != nullptr && FAlign != TAlign::None) FParent->Realign();
    }
}

void TWinControl::SetVisible(bool v) {
    if (v == FVisible) return;
    FVisible = v;
    if (FHandle != nullptr)
        ShowWindow(FHandle, v ? SW_SHOWNA : SW_HIDE);
    else if (v && FParent != nullptr && FParent->FHandle != nullptr)
        CreateHandle();  // shown for the first time: made visible
}

void TWinControl::SetEnabled(bool v) {
    if (v == FEnabled) return;
    FEnabled = v;
    if (FHandle != nullptr) EnableWindow(FHandle, v);
}

void TWinControl::Invalidate() {
    if (FHandle != nullptr) InvalidateRect(FHandle, nullptr, FALSE);
}

void TWinControl::Repaint() {
    if (FHandle != nullptr)
        RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void TWinControl::ChangeScale(int m, int d) {
    TControl::ChangeScale(m, d);
    for (TControl* c : std::vector<TControl*>(FControls)) {
        c->ChangeScale(m, d);
        if (c->ParentFont) c->TakeParentFont(Font);
    }
}

void TWinControl::FontChanged() {
    TControl::FontChanged();
    for (TControl* c : FControls) {
        if (c->ParentFont) c->TakeParentFont(Font);
    }
    if (!FOwnClass && FHandle != nullptr)
        SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font.Handle()), TRUE);
}

bool TWinControl::Focused() const {
    return FHandle != nullptr && GetFocus() == FHandle;
}

bool TWinControl::CanFocus() const {
    return Showing() && FEnabled;
}

void TWinControl::SetFocus() {
    if (Handle() != nullptr && CanFocus()) ::SetFocus(FHandle);
}

void TWinControl::BringToFront() {
    if (Handle() != nullptr)
        SetWindowPos(FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::SetRegion(HRGN region) {
    if (FHandle == nullptr && !FVisible) {
        FPendingRegion.Reset(region);
        return;
    }
    if (Handle() == nullptr) {
        if (region != nullptr) DeleteObject(region);
        return;
    }
    SetWindowRgn(FHandle, region, TRUE);  // the window owns the region from here on
}

void TWinControl::Realign() {
    RECT area{0, 0, FWidth, FHeight};
    for (TControl* c : FControls) {
        if (!c->Visible()) continue;
        switch (c->Align()) {
            case TAlign::None:
                break;
            case TAlign::Top:
                c->SetBounds(area.left, area.top, area.right - area.left, c->Height());
                area.top += c->Height();
                break;
            case TAlign::Bottom:
                c->SetBounds(area.left, area.bottom - c->Height(), area.right - area.left, c->Height());
                area.bottom -= c->Height();
                break;
            case TAlign::Left:
                c->SetBounds(area.left, area.top, c->Width(), area.bottom - area.top);
                area.left += c->Width();
                break;
            case TAlign::Right:
                c->SetBounds(area.right - c->Width(), area.top, c->Width(), area.bottom - area.top);
                area.right -= c->Width();
                break;
            case TAlign::Client:
                break;
        }
    }
    for (TControl* c : FControls) {
        if (c->Visible() && c->Align() == TAlign::Client)
            c->SetBounds(area.left, area.top, area.right - area.left, area.bottom - area.top);
    }
}

TControl* TWinControl::GraphicChildAt(int x, int y) const {
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* c = *it;
        if (c->IsWindowed() || !c->Visible()) continue;
        if (x >= c->Left() && x < c->Left() + c->Width() && y >= c->Top() && y < c->Top() + c->Height())
            return c;
    }
    return nullptr;
}

void TWinControl::PaintWindow(TCanvas& canvas) {
    canvas.Brush.SetStyle(BrushStyle::Solid);
    canvas.Brush.SetColor(Color);
    RECT r{0, 0, FWidth, FHeight};
    canvas.FillRect(r);
}

void TWinControl::PaintTo(HDC dc, const RECT& clip) {
    HPALETTE pal = GetPalette();
    PaletteGuard palette(dc, pal);
    TCanvas canvas(dc);
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    PaintWindow(canvas);
    RestoreDC(dc, saved);
    POINT origin;
    GetViewportOrgEx(dc, &origin);
    for (TControl* c : FControls) {
        if (c->IsWindowed() || !c->Visible() || c->Width() <= 0 || c->Height() <= 0) continue;
        RECT r = c->BoundsRect(), hit;
        if (IntersectRect(&hit, &r, &clip) == 0) continue;
        const int childSaved = SaveDC(dc);
        SetViewportOrgEx(dc, origin.x + c->Left(), origin.y + c->Top(), nullptr);
        IntersectClipRect(dc, std::max(0, static_cast<int>(hit.left - c->Left())),
                          std::max(0, static_cast<int>(hit.top - c->Top())), hit.right - c->Left(),
                          hit.bottom - c->Top());
        TCanvas childCanvas(dc);
        childCanvas.Font = c->Font;
        c->Paint(childCanvas);
        RestoreDC(dc, childSaved);
    }
}

void TWinControl::PaintMessage() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(FHandle, &ps);
    const int w = ps.rcPaint.right - ps.rcPaint.left, h = ps.rcPaint.bottom - ps.rcPaint.top;
    if (w > 0 && h > 0) {
        // Composed off-screen and copied in one go: no flicker while the layers are drawn.
        MemoryDC mem(dc);
        BitmapHandle buffer(CreateCompatibleBitmap(dc, w, h));
        if (mem && buffer) {
            SelectGuard sel(mem.Get(), buffer.Get());
            SetViewportOrgEx(mem.Get(), -ps.rcPaint.left, -ps.rcPaint.top, nullptr);
            PaintTo(mem.Get(), ps.rcPaint);
            SetViewportOrgEx(mem.Get(), 0, 0, nullptr);
            PaletteGuard dcPal(dc, GetPalette());
            BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, w, h, mem.Get(), 0, 0, SRCCOPY);
        }
    }
    EndPaint(FHandle, &ps);
}

void TWinControl::HandleMouse(UINT msg, WPARAM wp, LPARAM lp) {
    const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
    const unsigned shift = ShiftFromKeys(wp);
    if (!FTrackingLeave) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, FHandle, 0};
        FTrackingLeave = TrackMouseEvent(&tme) != 0;
    }
    TControl* over = FCaptureControl != nullptr ? FCaptureControl : GraphicChildAt(x, y);
    if (over != nullptr && !over->Enabled()) over = FCaptureControl != nullptr ? over : nullptr;
    if (msg == WM_MOUSEMOVE) {
        TControl* hovered = GraphicChildAt(x, y);
        if (hovered != FMouseControl) {
            if (FMouseControl != nullptr) FMouseControl->MouseLeave();
            FMouseControl = hovered;
            if (FMouseControl != nullptr) FMouseControl->MouseEnter();
        }
        const bool inSelf = hovered == nullptr;
        if (inSelf != FMouseInSelf) {
            FMouseInSelf = inSelf;
            if (inSelf)
                MouseEnter();
            else
                MouseLeave();
        }
    }
    TControl* target = over != nullptr ? over : this;
    const int tx = x - (over != nullptr ? over->Left() : 0), ty = y - (over != nullptr ? over->Top() : 0);
    switch (msg) {
        case WM_MOUSEMOVE:
            target->MouseMove(shift, tx, ty);
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            Application().CancelHint();
            if (over != nullptr) {
                FCaptureControl = over;
                SetCapture(FHandle);
            }
            target->MouseDown(ButtonOf(msg), shift, tx, ty);
            break;
        case WM_LBUTTONDBLCLK:
            if (over != nullptr && over->Enabled()) {
                over->DblClick();
                over->MouseDown(TMouseButton::Left, shift, tx, ty);
            } else if (over == nullptr) {
                DblClick();
            }
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: {
            TControl* captured = FCaptureControl;
            FCaptureControl = nullptr;
            if (GetCapture() == FHandle) ReleaseCapture();
            target->MouseUp(ButtonOf(msg), shift, tx, ty);
            if (captured != nullptr && msg == WM_LBUTTONUP && captured->Enabled() && tx >= 0 && ty >= 0 &&
                tx < captured->Width() && ty < captured->Height())
                captured->Click();
            break;
        }
        default:
            break;
    }
}

bool TWinControl::SetCursorMessage() {
    TCursor role = Application().ScreenCursor;
    if (role == TCursor::Default) {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(FHandle, &p);
        TControl* c = GraphicChildAt(p.x, p.y);
        role = c != nullptr && c->Cursor != TCursor::Default ? c->Cursor : Cursor;
    }
    if (role == TCursor::Default) return false;
    ::SetCursor(Application().CursorOf(role));
    return true;
}

bool TWinControl::Notification(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

void TWinControl::DoKeyDown(WORD& key, unsigned shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}
void TWinControl::DoKeyUp(WORD& key, unsigned shift) {
    if (OnKeyUp) OnKeyUp(this, key, shift);
}
void TWinControl::DoKeyPress(char& key) {
    if (OnKeyPress) OnKeyPress(this, key);
}

LRESULT TWinControl::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_PAINT:
            if (FOwnClass) {
                PaintMessage();
                return 0;
            }
            break;
        case WM_ERASEBKGND:
            if (FOwnClass) return 1;
            break;
        case WM_SIZE:
            if (FOwnClass) Realign();
            break;
        case WM_SETCURSOR:
            if (LOWORD(lp) == HTCLIENT && SetCursorMessage()) return TRUE;
            break;
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_LBUTTONDBLCLK:
            if (FOwnClass) {
                HandleMouse(msg, wp, lp);
                return 0;
            } else {
                const LRESULT r = DefaultProc(msg, wp, lp);
                if (FHandle == nullptr) return r;
                const unsigned shift = ShiftFromKeys(wp);
                const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
                if (msg == WM_MOUSEMOVE) {
                    if (!FMouseInSelf) {
                        FMouseInSelf = true;
                        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, FHandle, 0};
                        TrackMouseEvent(&tme);
                        MouseEnter();
                    }
                    MouseMove(shift, x, y);
                } else if (msg == WM_LBUTTONDBLCLK) {
                    DblClick();
                } else if (msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP) {
                    MouseUp(ButtonOf(msg), shift, x, y);
                } else {
                    Application().CancelHint();
                    MouseDown(ButtonOf(msg), shift, x, y);
                }
                return r;
            }
        case WM_MOUSELEAVE:
            FTrackingLeave = false;
            if (FMouseControl != nullptr) {
                FMouseControl->MouseLeave();
                FMouseControl = nullptr;
            }
            if (FMouseInSelf) {
                FMouseInSelf = false;
                MouseLeave();
            }
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            WORD key = static_cast<WORD>(wp);
            DoKeyDown(key, ShiftState());
            if (key == 0) return 0;
            wp = key;
            break;
        }
        case WM_KEYUP:
        case WM_SYSKEYUP: {
            WORD key = static_cast<WORD>(wp);
            DoKeyUp(key, ShiftState());
            if (key == 0) return 0;
            wp = key;
            break;
        }
        case WM_CHAR: {
            unsigned char b = '?';
            if (!CodePointToCp1252(static_cast<char32_t>(wp), b)) break;
            char key = static_cast<char>(b);
            DoKeyPress(key);
            if (key == 0) return 0;
            break;
        }
        case WM_SETFOCUS:
            if (TForm* f = Form(); f != nullptr && f != this) f->ActiveControl = this;
            if (OnEnter) OnEnter(this);
            break;
        case WM_KILLFOCUS:
            if (OnExit) OnExit(this);
            break;
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_COMMAND:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSTATIC:
        case WM_VSCROLL: {
            HWND child = nullptr;
            if (msg == WM_DRAWITEM)
                child = reinterpret_cast<DRAWITEMSTRUCT*>(lp)->hwndItem;
            else if (msg == WM_MEASUREITEM)
                child = GetDlgItem(FHandle, static_cast<int>(wp));
            else
                child = reinterpret_cast<HWND>(lp);
            if (TWinControl* c = FromHandle(child); c != nullptr && c != this) {
                LRESULT result = 0;
                if (c->Notification(msg, wp, lp, result)) return result;
            }
            break;
        }
        case WM_PALETTECHANGED:
            if (reinterpret_cast<HWND>(wp) == FHandle) return 0;
            [[fallthrough]];
        case WM_QUERYNEWPALETTE:
            if (HPALETTE pal = GetPalette(); pal != nullptr && FOwnClass) {
                WindowDC dc(FHandle);
                HPALETTE old = SelectPalette(dc.Get(), pal, msg == WM_PALETTECHANGED);
                const UINT changed = RealizePalette(dc.Get());
                SelectPalette(dc.Get(), old, TRUE);
                if (changed > 0) RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
                return changed > 0;
            }
            break;
        default:
            break;
    }
    return DefaultProc(msg, wp, lp);
}

// ---- TPanel, TLabel --------------------------------------------------------------------

TPanel::TPanel(TWinControl* parent) : TWinControl(parent) {}

void TPanel::SetCaption(const std::string& v) {
    if (v == FCaption) return;
    FCaption = v;
    Invalidate();
}

void TPanel::PaintWindow(TCanvas& canvas) {
    TWinControl::PaintWindow(canvas);
    if (FCaption.empty()) return;
    RECT r{0, 0, FWidth, FHeight};
    canvas.Brush.SetStyle(BrushStyle::Clear);
    canvas.Font = Font;
    canvas.TextRect(r, FCaption, DT_NOPREFIX | DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

TLabel::TLabel(TWinControl* parent) : TControl(parent) {}

void TLabel::SetCaption(const std::string& v) {
    if (v == FCaption) return;
    FCaption = v;
    AdjustSize();
    Invalidate();
}

void TLabel::AdjustSize() {
    if (!AutoSize || WordWrap) return;
    WindowDC screen(nullptr);
    TCanvas c(screen.Get());
    c.Font = Font;
    const SIZE s = c.TextExtent(FCaption.empty() ? std::string(" ") : FCaption);
    // Room to spare: on a 256-colour screen text is drawn a little wider than the screen measures it.
    SetBounds(FLeft, FTop, FCaption.empty() ? FWidth : s.cx + s.cx / 8 + 2, s.cy);
}

int TLabel::WrappedTextHeight() const {
    WindowDC screen(nullptr);
    TCanvas c(screen.Get());
    c.Font = Font;
    return c.WrappedTextHeight(FCaption.empty() ? std::string(" ") : FCaption, FWidth);
}

void TLabel::ChangeScale(int m, int d) {
    TControl::ChangeScale(m, d);
    AdjustSize();
}

void TLabel::Paint(TCanvas& canvas) {
    RECT r{0, 0, FWidth, FHeight};
    // Wrapped where the drawn, wider glyphs of a 256-colour screen still fit: lines are broken
    // in a narrower box and drawn without its clip.
    const bool narrower = WordWrap && ScreenHasPalette();
    if (narrower) r.right -= FWidth / 12;
    if (!Transparent) {
        canvas.Brush.SetColor(Color);
        canvas.FillRect(r);
    }
    canvas.Brush.SetStyle(BrushStyle::Clear);
    canvas.Font = Font;
    UINT format = DT_NOPREFIX | (WordWrap ? DT_WORDBREAK : DT_SINGLELINE) | (narrower ? DT_NOCLIP : 0);
    if (Alignment == TAlignment::Center)
        format |= DT_CENTER;
    else if (Alignment == TAlignment::RightJustify)
        format |= DT_RIGHT;
    if (!FEnabled) canvas.Font.SetColor(GetSysColor(COLOR_GRAYTEXT));
    canvas.TextRect(r, FCaption, format);
}

// ---- TForm -----------------------------------------------------------------------------

TForm::TForm(const std::wstring& className) : TWinControl(nullptr), FClassName(className) {
    FVisible = false;
    Color = clBlack;
}

TForm::~TForm() {
    if (Application().MainForm == this) Application().MainForm = nullptr;
}

void TForm::CreateParams(CREATESTRUCTW& cs, std::wstring& className) {
    RegisterOwnClass(FClassName.c_str());
    className = FClassName;
    cs.style = WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX;
    cs.dwExStyle = StayOnTop ? WS_EX_TOPMOST : 0;
    cs.hwndParent = Application().Handle();
}

void TForm::CreateHandle() {
    TWinControl::CreateHandle();
    if (FHandle != nullptr) SetWindowTextW(FHandle, Widen(FCaption).c_str());
}

void TForm::SetCaption(const std::string& v) {
    FCaption = v;
    if (FHandle != nullptr) SetWindowTextW(FHandle, Widen(v).c_str());
}

void TForm::CenterOnScreen() {
    SetBounds((TScreen::Width() - FWidth) / 2, (TScreen::Height() - FHeight) / 2, FWidth, FHeight);
}

void TForm::SetVisible(bool v) {
    if (v && Centered && !FShownOnce) CenterOnScreen();
    const bool showing = v && !FVisible;
    FVisible = v;
    if (Handle() == nullptr) return;
    if (v) {
        if (StayOnTop) SetWindowPos(FHandle, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        ShowWindow(FHandle, SW_SHOW);
        if (showing) {
            FShownOnce = true;
            if (OnShow) OnShow(this);
        }
    } else {
        ShowWindow(FHandle, SW_HIDE);
    }
}

void TForm::Close() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    if (!canClose) return;
    TCloseAction action = FModal ? TCloseAction::Hide : TCloseAction::Hide;
    if (OnClose) OnClose(this, action);
    if (action == TCloseAction::None) return;
    if (FModal) {
        if (ModalResult == 0) ModalResult = 2;  // cancelled
        return;
    }
    if (action == TCloseAction::Minimize) {
        ShowWindow(FHandle, SW_MINIMIZE);
        return;
    }
    Hide();
    if (Application().MainForm == this) Application().Terminate();
}

namespace {
BOOL CALLBACK CollectEnabledWindow(HWND w, LPARAM list) {
    if (IsWindowVisible(w) && IsWindowEnabled(w)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
    return TRUE;
}
}  // namespace

int TForm::ShowModal() {
    // Every other window of the program is disabled while the modal form runs.
    std::vector<HWND> disabled;
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindow, reinterpret_cast<LPARAM>(&disabled));
    for (HWND w : disabled) EnableWindow(w, FALSE);
    FModal = true;
    ModalResult = 0;
    Show();
    SetForegroundWindow(FHandle);
    while (ModalResult == 0 && !Application().Terminated()) {
        Application().HandleMessage(true);
        if (ModalResult != 0) {
            // A close request that its handlers refuse leaves the form running.
            bool canClose = true;
            if (OnCloseQuery) OnCloseQuery(this, canClose);
            if (!canClose) ModalResult = 0;
        }
    }
    for (HWND w : disabled) EnableWindow(w, TRUE);
    FModal = false;
    Hide();
    return ModalResult;
}

void TForm::SelectNext(bool forward) {
    std::vector<TWinControl*> order;
    std::function<void(TWinControl*)> collect = [&](TWinControl* w) {
        for (TControl* c : w->Controls()) {
            auto* wc = dynamic_cast<TWinControl*>(c);
            if (wc == nullptr || !wc->Visible()) continue;
            if (wc->TabStop && wc->CanFocus()) order.push_back(wc);
            collect(wc);
        }
    };
    collect(this);
    std::stable_sort(order.begin(), order.end(),
                     [](TWinControl* a, TWinControl* b) { return a->TabOrder < b->TabOrder; });
    if (order.empty()) return;
    auto it = std::find(order.begin(), order.end(), FromHandle(GetFocus()));
    if (it == order.end()) {
        order.front()->SetFocus();
        return;
    }
    const auto n = static_cast<std::ptrdiff_t>(order.size());
    const std::ptrdiff_t i = ((it - order.begin()) + (forward ? 1 : n - 1)) % n;
    order[static_cast<std::size_t>(i)]->SetFocus();
}

bool TForm::PreviewKey(UINT msg, WORD& key, unsigned shift) {
    if (!KeyPreview) return false;
    if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN)
        DoKeyDown(key, shift);
    else if (msg == WM_KEYUP || msg == WM_SYSKEYUP)
        DoKeyUp(key, shift);
    return key == 0;
}

LRESULT TForm::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CLOSE:
            if (FModal)
                ModalResult = ModalResult != 0 ? ModalResult : 2;
            else
                Close();
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wp) == WA_INACTIVE) {
                if (OnDeactivate) OnDeactivate(this);
            } else {
                if (OnActivate) OnActivate(this);
                if (ActiveControl != nullptr && ActiveControl->CanFocus()) {
                    ActiveControl->SetFocus();
                    return 0;
                }
            }
            break;
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
            // Keys reach the form itself only when no control has the focus; preview has run.
            if (KeyPreview) return 0;
            break;
        default:
            break;
    }
    return TWinControl::WndProc(msg, wp, lp);
}

// ---- TApplication ----------------------------------------------------------------------

TApplication& TApplication::Instance() {
    static TApplication app;
    return app;
}

LRESULT CALLBACK TApplication::AppProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    TApplication& app = Instance();
    switch (msg) {
        case WM_SYSCOMMAND:
            if ((wp & 0xFFF0) == SC_MINIMIZE) {
                app.Minimize();
                return 0;
            }
            if ((wp & 0xFFF0) == SC_RESTORE) {
                app.Restore();
                return 0;
            }
            break;
        case WM_TIMER:
            if (wp == kHintTimerId) {
                KillTimer(wnd, kHintTimerId);
                app.FHintTimer = 0;
                app.ShowHintNow();
                return 0;
            }
            break;
        case WM_ACTIVATEAPP:
            if (wp == FALSE) app.CancelHint();
            break;
        case WM_CLOSE:
            if (app.MainForm != nullptr) app.MainForm->Close();
            return 0;
        default:
            break;
    }
    return DefWindowProcW(wnd, msg, wp, lp);
}

void TApplication::Initialize(HINSTANCE instance) {
    FInstance = instance;
    INITCOMMONCONTROLSEX icc{
        sizeof icc, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_ANIMATE_CLASS | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = AppProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"SlumraApplication";
    wc.hIcon = LoadIconW(instance, L"MAINICON");
    RegisterClassExW(&wc);
    // The application's own window: never seen, but the owner of every form and the one the
    // taskbar shows, so minimizing it takes the whole program down at once.
    FHandle = CreateWindowExW(0, wc.lpszClassName, Widen(FTitle).c_str(),
                              WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0, nullptr,
                              nullptr, instance, nullptr);
    FCursors[static_cast<int>(TCursor::Default)] = LoadCursorW(nullptr, IDC_ARROW);
    FCursors[static_cast<int>(TCursor::Arrow)] = LoadCursorW(nullptr, IDC_ARROW);
    FCursors[static_cast<int>(TCursor::HourGlass)] = LoadCursorW(nullptr, IDC_WAIT);
    FCursors[static_cast<int>(TCursor::AppStart)] = LoadCursorW(nullptr, IDC_APPSTARTING);
    FCursors[static_cast<int>(TCursor::Help)] = LoadCursorW(nullptr, IDC_HELP);
    FCursors[static_cast<int>(TCursor::IBeam)] = LoadCursorW(nullptr, IDC_IBEAM);
}

void TApplication::SetTitle(const std::string& v) {
    FTitle = v;
    if (FHandle != nullptr) SetWindowTextW(FHandle, Widen(v).c_str());
}

HCURSOR TApplication::CursorOf(TCursor role) const {
    return FCursors[static_cast<int>(role)];
}

void TApplication::SetCursor(TCursor role, HCURSOR cursor) {
    if (cursor != nullptr) FCursors[static_cast<int>(role)] = cursor;
}

void TApplication::SetScreenCursor(TCursor c) {
    ScreenCursor = c;
    ::SetCursor(CursorOf(c == TCursor::Default ? TCursor::Arrow : c));
}

bool TApplication::PreTranslate(MSG& msg) {
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
        HWND root = GetAncestor(msg.hwnd, GA_ROOT);
        auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(root));
        if (form == nullptr) return false;
        if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_SYSKEYDOWN ||
            msg.message == WM_SYSKEYUP) {
            WORD key = static_cast<WORD>(msg.wParam);
            if (form->PreviewKey(msg.message, key, ShiftState())) return true;
            msg.wParam = key;
            if (msg.message == WM_KEYDOWN && key == VK_TAB && (GetKeyState(VK_CONTROL) >= 0)) {
                form->SelectNext(GetKeyState(VK_SHIFT) >= 0);
                return true;
            }
        }
    }
    return false;
}

bool TApplication::HandleMessage(bool wait) {
    MSG msg;
    if (wait) {
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
            FTerminated = true;
            return false;
        }
    } else if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        return false;
    }
    if (msg.message == WM_QUIT) {
        FTerminated = true;
        return true;
    }
    if (!PreTranslate(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

void TApplication::ProcessMessages() {
    while (HandleMessage(false)) {
    }
}

void TApplication::Run() {
    if (MainForm != nullptr) MainForm->Show();
    while (!FTerminated) HandleMessage(true);
}

void TApplication::Minimize() {
    ShowWindow(FHandle, SW_MINIMIZE);
    if (OnMinimize) OnMinimize();
}

void TApplication::Restore() {
    ShowWindow(FHandle, SW_RESTORE);
    if (OnRestore) OnRestore();
}

void TApplication::MouseEntered(TControl* c) {
    CancelHint();
    if (c == nullptr || !c->ShowHint || c->Hint.empty()) return;
    FHintControl = c;
    FHintTimer = SetTimer(FHandle, kHintTimerId, kHintDelayMs, nullptr);
}

void TApplication::MouseLeft(TControl* c) {
    if (c == FHintControl) CancelHint();
}

void TApplication::CancelHint() {
    if (FHintTimer != 0) KillTimer(FHandle, kHintTimerId), FHintTimer = 0;
    FHintControl = nullptr;
    if (!FHintShowing.empty() && FTip != nullptr) {
        TOOLINFOW ti{};
        ti.cbSize = TTTOOLINFOW_V1_SIZE;
        ti.hwnd = FHandle;
        ti.uId = 1;
        SendMessageW(FTip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
    }
    FHintShowing.clear();
}

// The hint window is made for the first hint: most starts show none, and each window costs.
bool TApplication::MakeHintWindow() {
    if (FTip != nullptr) return true;
    FTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                           0, 0, 0, 0, FHandle, nullptr, FInstance, nullptr);
    if (FTip == nullptr) return false;
    TOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V1_SIZE;
    ti.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    ti.hwnd = FHandle;
    ti.uId = 1;
    ti.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(FTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    SendMessageW(FTip, TTM_SETMAXTIPWIDTH, 0, 400);
    return true;
}

void TApplication::ShowHintNow() {
    if (FHintControl == nullptr || !MakeHintWindow()) return;
    FHintShowing = FHintControl->Hint;
    static std::wstring text;
    text = Widen(FHintShowing);
    TOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V1_SIZE;
    ti.hwnd = FHandle;
    ti.uId = 1;
    ti.lpszText = text.data();
    SendMessageW(FTip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    POINT p;
    GetCursorPos(&p);
    SendMessageW(FTip, TTM_TRACKPOSITION, 0, MAKELPARAM(p.x + 4, p.y + 20));
    SendMessageW(FTip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
}

// ---- TScreen ---------------------------------------------------------------------------

namespace {
int gPretendW = 0, gPretendH = 0, gPretendBpp = 0;
}

int TScreen::Width() {
    return gPretendW != 0 ? gPretendW : GetSystemMetrics(SM_CXSCREEN);
}
int TScreen::Height() {
    return gPretendH != 0 ? gPretendH : GetSystemMetrics(SM_CYSCREEN);
}
int TScreen::BitsPerPixel() {
    if (gPretendBpp != 0) return gPretendBpp;
    MemoryDC dc(nullptr);
    return GetDeviceCaps(dc.Get(), BITSPIXEL) * GetDeviceCaps(dc.Get(), PLANES);
}
void TScreen::Pretend(int width, int height, int bitsPerPixel) {
    gPretendW = width;
    gPretendH = height;
    gPretendBpp = bitsPerPixel;
}

}  // namespace slumra::tk

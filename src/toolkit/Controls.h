// The window toolkit: controls without a window of their own (painted by their parent),
// windowed controls, panels, labels, forms and the application object with its message loop.
#pragma once

#include "toolkit/Graphics.h"
#include "widgets/Geometry.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace slumra::tk {

class TWinControl;
class TForm;
class TControl;

using TNotifyEvent = std::function<void(TControl* sender)>;
enum class TMouseButton { Left, Right, Middle };
// Shift state bits, as the key and mouse messages report them.
enum : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16 };
using TMouseEvent = std::function<void(TControl* sender, TMouseButton button, unsigned shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TControl* sender, unsigned shift, int x, int y)>;
using TKeyEvent = std::function<void(TControl* sender, WORD& key, unsigned shift)>;
using TKeyPressEvent = std::function<void(TControl* sender, char& key)>;

enum class TAlign { None, Top, Bottom, Left, Right, Client };

// Cursor roles. crAppStart and crHelp are bound to the program's hand cursors.
enum class TCursor { Default, Arrow, HourGlass, AppStart, Help, IBeam };

class TControl {
public:
    explicit TControl(TWinControl* parent);
    virtual ~TControl();
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    TWinControl* Parent() const { return FParent; }
    TForm* Form();

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    RECT BoundsRect() const { return {FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
    virtual void SetBounds(int left, int top, int width, int height);
    void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
    void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
    void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
    void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign a);

    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool v);
    // Visible here and in every parent.
    bool Showing() const;

    TFont Font;
    bool ParentFont = true;
    COLORREF Color = clWhite;
    std::string Hint;
    bool ShowHint = false;
    TCursor Cursor = TCursor::Default;
    int Tag = 0;
    std::string Name;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    // Repaints the control's area later (graphic controls: the parent's area under it).
    virtual void Invalidate();
    // Repaints now.
    virtual void Repaint();
    // Scales bounds (and the font, when it is the control's own) by m / d, halves to even.
    virtual void ChangeScale(int m, int d);
    // The screen palette the control paints with, or null (16 bits and more).
    virtual HPALETTE GetPalette() const;

    // Mouse input, in client coordinates of the control; called by the toolkit.
    virtual void MouseDown(TMouseButton button, unsigned shift, int x, int y);
    virtual void MouseUp(TMouseButton button, unsigned shift, int x, int y);
    virtual void MouseMove(unsigned shift, int x, int y);
    virtual void Click();
    virtual void DblClick();
    virtual void MouseEnter();
    virtual void MouseLeave();

    virtual bool IsWindowed() const { return false; }
    // Takes the parent's font without ceasing to follow it.
    void TakeParentFont(const TFont& font);
    // Graphic controls paint here, on the parent's canvas moved to their origin.
    virtual void Paint(TCanvas& canvas);
    virtual void FontChanged();

protected:
    TWinControl* FParent;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    TAlign FAlign = TAlign::None;
    bool FVisible = true;
    bool FEnabled = true;
    bool FTakingParentFont = false;
};

using TGraphicControl = TControl;

class TWinControl : public TControl {
public:
    explicit TWinControl(TWinControl* parent);
    ~TWinControl() override;

    HWND Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    const std::vector<TControl*>& Controls() const { return FControls; }

    void SetBounds(int left, int top, int width, int height) override;
    void SetVisible(bool v) override;
    void SetEnabled(bool v) override;
    void Invalidate() override;
    void Repaint() override;
    void ChangeScale(int m, int d) override;
    bool IsWindowed() const override { return true; }
    void FontChanged() override;

    bool Focused() const;
    virtual void SetFocus();
    bool CanFocus() const;
    int TabOrder = -1;
    bool TabStop = false;
    void BringToFront();
    // Makes the window's shape `region` (taken over), or a rectangle for null. A hidden control
    // without a window keeps it for the window it gets when first shown.
    void SetRegion(HRGN region);

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    // Places the aligned children again.
    void Realign();
    // Lets the parent's child list know about a new or leaving child; called by TControl.
    void InsertControl(TControl* c);
    void RemoveControl(TControl* c);

    // The graphic child at a client point, topmost first; null for none.
    TControl* GraphicChildAt(int x, int y) const;

    static TWinControl* FromHandle(HWND wnd);
    // Paints the control's face and its graphic children into `dc` (client coordinates),
    // within `clip`: what WM_PAINT shows, for off-screen use and for tests.
    void PaintTo(HDC dc, const RECT& clip);

    virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);

protected:
    // Creates the window; derived classes choose class and styles.
    virtual void CreateParams(CREATESTRUCTW& cs, std::wstring& className);
    virtual void CreateHandle();
    virtual void DestroyHandle();
    LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp);
    // Paints the control's own face into the off-screen canvas, before its graphic children.
    virtual void PaintWindow(TCanvas& canvas);
    virtual void DoKeyDown(WORD& key, unsigned shift);
    virtual void DoKeyUp(WORD& key, unsigned shift);
    virtual void DoKeyPress(char& key);
    // Messages a parent passes back to the child they concern (WM_DRAWITEM, WM_COMMAND ...).
    virtual bool Notification(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // Standard window classes keep their own procedure; ours call PaintWindow.
    bool FOwnClass = true;
    HWND FHandle = nullptr;
    WNDPROC FOldProc = nullptr;
    RegionHandle FPendingRegion;

private:
    friend class TApplication;
    static LRESULT CALLBACK StaticProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
    void PaintMessage();
    void HandleMouse(UINT msg, WPARAM wp, LPARAM lp);
    bool SetCursorMessage();
    std::vector<TControl*> FControls;
    TControl* FMouseControl = nullptr;    // graphic child under the mouse
    TControl* FCaptureControl = nullptr;  // graphic child that had the button pressed
    bool FTrackingLeave = false;
    bool FMouseInSelf = false;
};

// A panel: a window that paints its colour (no bevel), its caption and its graphic children.
class TPanel : public TWinControl {
public:
    explicit TPanel(TWinControl* parent);
    // Centred on one line beneath the graphic children; none by default.
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& v);

protected:
    void PaintWindow(TCanvas& canvas) override;

private:
    std::string FCaption;
};

enum class TAlignment { LeftJustify, Center, RightJustify };

class TLabel : public TControl {
public:
    explicit TLabel(TWinControl* parent);
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& v);
    bool Transparent = true;
    TAlignment Alignment = TAlignment::LeftJustify;
    bool WordWrap = false;
    bool AutoSize = true;
    void Paint(TCanvas& canvas) override;
    // The height the caption takes when wrapped at the label's width.
    int WrappedTextHeight() const;
    // A scaled font does not grow its text by exactly the factor: an auto-sized label measures anew.
    void ChangeScale(int m, int d) override;

private:
    void AdjustSize();
    std::string FCaption;
};

enum class TCloseAction { None, Hide, Free, Minimize };

class TForm : public TWinControl {
public:
    explicit TForm(const std::wstring& className = L"SlumraForm");
    ~TForm() override;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& v);
    bool KeyPreview = false;
    bool StayOnTop = false;
    bool Centered = false;

    std::function<void(TForm*)> OnShow;
    std::function<void(TForm*, bool& canClose)> OnCloseQuery;
    std::function<void(TForm*, TCloseAction& action)> OnClose;
    std::function<void(TForm*)> OnActivate;
    std::function<void(TForm*)> OnDeactivate;

    // Shows the form and runs its own loop until it closes; the result it closed with.
    int ShowModal();
    void Close();
    int ModalResult = 0;
    bool Modal() const { return FModal; }
    // Scales the whole form and its children by m / d.
    void ScaleBy(int m, int d) { ChangeScale(m, d); }
    void SetVisible(bool v) override;
    // Centres the form on the screen.
    void CenterOnScreen();

    TWinControl* ActiveControl = nullptr;
    // Moves the focus to the next (or previous) windowed control in tab order.
    void SelectNext(bool forward);

    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    // Key preview: called for every key message of the form's controls before they see it.
    virtual bool PreviewKey(UINT msg, WORD& key, unsigned shift);

protected:
    void CreateParams(CREATESTRUCTW& cs, std::wstring& className) override;
    void CreateHandle() override;

private:
    std::wstring FClassName;
    std::string FCaption;
    bool FModal = false;
    bool FShownOnce = false;
};

// The application: the hidden owner window, the message loop, hints and cursors.
class TApplication {
public:
    static TApplication& Instance();

    void Initialize(HINSTANCE instance);
    HINSTANCE Instance_() const { return FInstance; }
    HWND Handle() const { return FHandle; }
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& v);

    TForm* MainForm = nullptr;
    std::function<void()> OnMinimize;
    std::function<void()> OnRestore;

    // Runs the message loop until the main form closes or Terminate is called.
    void Run();
    // Lets every pending message run once.
    void ProcessMessages();
    // True when a message was handled; false for none waiting.
    bool HandleMessage(bool wait);
    void Terminate() { FTerminated = true; }
    bool Terminated() const { return FTerminated; }
    void Minimize();
    void Restore();

    // Cursor of a role; the program binds its resources to AppStart and Help.
    HCURSOR CursorOf(TCursor role) const;
    void SetCursor(TCursor role, HCURSOR cursor);
    // While not Default, shown over every window (the hourglass while loading).
    TCursor ScreenCursor = TCursor::Default;
    void SetScreenCursor(TCursor c);

    // Hints: shown after a short pause over a control with ShowHint and a Hint.
    void MouseEntered(TControl* c);
    void MouseLeft(TControl* c);
    void CancelHint();
    TControl* HintControl() const { return FHintControl; }
    const std::string& HintShowing() const { return FHintShowing; }

private:
    TApplication() = default;
    static LRESULT CALLBACK AppProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
    void ShowHintNow();
    bool MakeHintWindow();
    bool PreTranslate(MSG& msg);
    HINSTANCE FInstance = nullptr;
    HWND FHandle = nullptr;
    HWND FTip = nullptr;
    std::string FTitle;
    bool FTerminated = false;
    HCURSOR FCursors[6] = {};
    TControl* FHintControl = nullptr;
    std::string FHintShowing;
    UINT_PTR FHintTimer = 0;
};

inline TApplication& Application() {
    return TApplication::Instance();
}

// The display: size and colour depth, with a seam so tests can pretend another screen.
struct TScreen {
    static int Width();
    static int Height();
    static int BitsPerPixel();
    static void Pretend(int width, int height, int bitsPerPixel);  // 0 = real value
};

// The shift state of the keyboard and mouse buttons now.
unsigned ShiftState();

}  // namespace slumra::tk

// The standard windowed controls the forms use: an owner-drawn list box, a drop-down list
// combo box, single- and multi-line edits; and the gauge and timer.
#pragma once

#include "toolkit/Controls.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace slumra::tk {

// Item states handed to draw handlers.
enum : unsigned { odSelected = 1, odFocused = 2, odDisabled = 4 };
using TDrawItemEvent = std::function<void(TWinControl* control, int index, const RECT& rect, unsigned state)>;

// An owner-drawn list box with fixed item height. The items live here, not in the window, so
// even very long lists cost the window nothing.
class TListBox : public TWinControl {
public:
    explicit TListBox(TWinControl* parent);

    // The list's own items (empty while the items come from a source).
    const std::vector<std::string>& Items() const { return FItems; }
    void SetItems(std::vector<std::string> items);
    // Items kept elsewhere: `count` of them, item i read through `item(i)` whenever it is drawn
    // or asked for. Such a list is changed only by setting its source again (or other items).
    void SetItemSource(int count, std::function<std::string_view(int)> item);
    // Item i (0 <= i < Count()), from the own items or the source.
    std::string_view Item(int i) const;
    void AddItem(const std::string& item);
    // One item renamed, put in before index i, or taken out, without refilling the list.
    void SetItem(int i, const std::string& item);
    void InsertItem(int i, const std::string& item);
    void DeleteItem(int i);
    void Clear();
    int Count() const { return FSource ? FSourceCount : static_cast<int>(FItems.size()); }

    int ItemIndex() const;  // -1 for none
    void SetItemIndex(int i);
    int TopIndex() const;
    void SetTopIndex(int i);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int h);
    // The item at a client point, or -1.
    int ItemAtPos(int x, int y) const;
    RECT ItemRect(int i) const;
    // Changes in between do not repaint the list.
    void BeginUpdate();
    void EndUpdate();
    bool ScrollBar = true;
    // The vertical bar is the list's own, in the program's colours, in place of the platform's
    // white one; it takes the platform bar's strip at the right edge and hides when every row
    // fits. Set before the window is made.
    bool SkinnedScrollBar = true;
    COLORREF ScrollTrackColor = RGB(0x10, 0x14, 0x30);
    COLORREF ScrollButtonColor = RGB(0x28, 0x30, 0x60);
    COLORREF ScrollThumbColor = RGB(0xE0, 0xE4, 0xE2);
    // The own bar's strip width (0 while hidden) and its thumb in window coordinates.
    int ScrollBarWidth() const { return FBarShown ? BarStripWidth() : 0; }
    RECT ScrollThumbRect() const;

    TDrawItemEvent OnDrawItem;
    TNotifyEvent OnSelect;  // the selection changed by mouse or keyboard

    void ChangeScale(int m, int d) override;

protected:
    void CreateParams(CREATESTRUCTW& cs, std::wstring& className) override;
    void CreateHandle() override;
    bool Notification(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    // Draws item i into rect with the given state; by default the text after the first "|".
    virtual void DrawItem(int index, const RECT& rect, unsigned state);
    virtual void ItemsChanged();
    std::vector<std::string> FItems;
    std::function<std::string_view(int)> FSource;
    int FSourceCount = 0;

private:
    // The own scroll bar.
    enum class BarPart { None, LineUp, LineDown, PageUp, PageDown, Thumb };
    struct BarState {
        int Count = 0, Top = 0, Page = 1, Height = 0;
        BarPart Pressed = BarPart::None;
        bool operator==(const BarState&) const = default;
    };
    struct BarLayout {
        int Arrow = 0, ThumbTop = 0, ThumbLength = 0, MaxTop = 0;
    };
    bool OwnBar() const { return ScrollBar && SkinnedScrollBar; }
    static int BarStripWidth();
    BarState CurrentBarState() const;
    BarLayout LayoutOf(const BarState& s) const;
    BarPart PartAt(int y) const;
    void SyncBar();
    void PaintBar(HDC windowDC);
    void PressBar(int y);
    void StepBar();
    void RepeatBar();
    bool BarMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    LRESULT ListWndProc(UINT msg, WPARAM wp, LPARAM lp);
    bool FBarShown = false;
    bool FSyncing = false;
    BarState FPainted;
    BarPart FPressed = BarPart::None;
    int FGrab = 0;  // where in the thumb it was taken

    int FItemHeight = 16;
    int FItemIndex = -1;  // kept while there is no window
    int FUpdating = 0;
};

// A drop-down list: choose one of its items, no typing. The program draws the field, and the
// list that drops down is an owner-data list box, so that a list of a million items costs the
// window nothing and changing one item does not refill it.
class TComboDrop;
class TComboBox : public TWinControl {
public:
    explicit TComboBox(TWinControl* parent);
    ~TComboBox() override;
    void SetItems(std::vector<std::string> items);
    const std::vector<std::string>& Items() const;
    int Count() const { return static_cast<int>(Items().size()); }
    // One item renamed, put in before index i, or taken out. The choice stays on its item (none
    // when that item is taken out).
    void SetItem(int i, const std::string& item);
    void InsertItem(int i, const std::string& item);
    void DeleteItem(int i);
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int i);
    std::string Text() const;
    bool DroppedDown() const;
    // Drops the list down or closes it; closing this way chooses nothing.
    void SetDroppedDown(bool down);
    // Rows shown at most while the list is down.
    int DropDownCount = 12;
    TNotifyEvent OnChange;  // the user chose another item

protected:
    void CreateParams(CREATESTRUCTW& cs, std::wstring& className) override;
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void PaintWindow(TCanvas& canvas) override;

private:
    friend class TComboDrop;
    // Makes item i the chosen one and tells OnChange when that changed it.
    void Choose(int i);
    void CloseUp(bool choose);
    bool KeyDown(WPARAM key, bool alt);
    HFONT CrispFont();
    std::unique_ptr<TComboDrop> FDrop;
    int FItemIndex = -1;
    FontHandle FCrispFont;
    HFONT FCrispFrom = nullptr;
};

// A single-line edit. Text is Windows-1252: characters the code page lacks are refused where
// they are typed or pasted, never replaced, so what the user sees is what is saved.
class TEdit : public TWinControl {
public:
    explicit TEdit(TWinControl* parent);
    std::string Text() const;
    void SetText(const std::string& v);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int v);
    void SelectAll();
    bool ReadOnly = false;
    TNotifyEvent OnChange;
    // The text reached MaxLength while typing, or a paste was refused whole because the text
    // would grow past it.
    TNotifyEvent OnTooLong;
    // Counts the characters refused so far (for tests and for a hint to the user).
    int RefusedCount() const { return FRefused; }

protected:
    void CreateParams(CREATESTRUCTW& cs, std::wstring& className) override;
    void CreateHandle() override;
    bool Notification(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    DWORD FExtraStyle = ES_AUTOHSCROLL;

private:
    std::string FText;  // kept while there is no window
    int FMaxLength = 0;
    int FRefused = 0;
    FontHandle FCrispFont;
};

// A multi-line edit with word wrap and a vertical scroll bar; lines end in CR LF.
class TMemo : public TEdit {
public:
    explicit TMemo(TWinControl* parent);
    std::vector<std::string> Lines() const;
};

// A progress bar drawn by the toolkit itself.
class TGauge : public TControl {
public:
    explicit TGauge(TWinControl* parent);
    int Progress() const { return FProgress; }
    void SetProgress(int v);
    int MinValue = 0;
    int MaxValue = 100;
    COLORREF ForeColor = RGB(0, 0, 128);
    COLORREF BackColor = clWhite;
    bool ShowText = true;
    void Paint(TCanvas& canvas) override;

private:
    int FProgress = 0;
};

// Calls OnTimer every Interval milliseconds while enabled, on the window thread.
class TTimer {
public:
    TTimer();
    ~TTimer();
    TTimer(const TTimer&) = delete;
    TTimer& operator=(const TTimer&) = delete;
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned ms);
    std::function<void(TTimer*)> OnTimer;

private:
    void Update();
    static void CALLBACK Fired(HWND, UINT, UINT_PTR id, DWORD);
    bool FEnabled = true;
    unsigned FInterval = 1000;
    UINT_PTR FId = 0;
};

}  // namespace slumra::tk

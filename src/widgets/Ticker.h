// TTicker: a list of text items shown as a horizontally scrolling tape, a vertically scrolling
// credit roll or one item at a time, each item with an optional smaller second text. Driven by
// a timer (TapeRuns), by a GTimeClick thread (Play) or by messages WM_USER + 1.
#pragma once

#include "toolkit/Controls.h"
#include "toolkit/StdCtrls.h"
#include "widgets/GTimer.h"
#include "widgets/TickerLayout.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace slumra {

class TTicker : public tk::TWinControl {
public:
    // Every TapeSpeed + 2 of these messages make one tick.
    static constexpr UINT WM_TICKERCOUNT = WM_USER + 1;

    explicit TTicker(tk::TWinControl* parent);
    ~TTicker() override;

    // Changes of these four paint the ticker at once; assigning one copies it.
    tk::TBrush Brush;
    tk::TPen Pen;
    tk::TFont MajorFont;  // Arial, height 20, white
    tk::TFont MinorFont;  // Arial, height 15, white

    // Each item is a major text, optionally "|" and a minor text. Setting them paints at once.
    const std::vector<std::string>& Items() const { return FItems; }
    void SetItems(std::vector<std::string> items);

    // Setting any of these to another value repaints later.
    int ItemSpacing() const { return FSettings.ItemSpacing; }
    void SetItemSpacing(int v);
    double MajorOffset() const { return FSettings.MajorOffset; }
    void SetMajorOffset(double v);
    double MinorOffset() const { return FSettings.MinorOffset; }
    void SetMinorOffset(double v);
    bool RelativeSubPos() const { return FSettings.RelativeSubPos; }
    void SetRelativeSubPos(bool v);
    int Spacing() const { return FSettings.Spacing; }
    void SetSpacing(int v);
    TTickerStyle Style() const { return FSettings.Style; }
    void SetStyle(TTickerStyle v);
    int TapeJumper() const { return FTapeJumper; }
    void SetTapeJumper(int v);
    int TapePosition() const { return FState.TapePosition; }
    void SetTapePosition(int v);
    // Milliseconds between ticks; changes a running timer at once, a running thread not.
    std::uint16_t TapeSpeed() const { return FTapeSpeed; }
    void SetTapeSpeed(std::uint16_t v);

    // Runs the timer.
    bool TapeRuns() const { return FTimer != nullptr; }
    void SetTapeRuns(bool v);
    // Runs the GTimeClick thread.
    bool Play() const { return FThread != nullptr; }
    void SetPlay(bool v);

    // The item shown first (flash: the only one); -1 for none yet.
    int CurrentItem() const { return FState.Current; }

    // One step, as each driver makes it: flash shows the next item, tape and credit move by
    // TapeJumper. A disabled ticker stays where it is.
    void Tick();

    void SetEnabled(bool v) override;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void PaintWindow(tk::TCanvas& canvas) override;

private:
    // Draws background and items into the off-screen bitmap; false when nothing was drawn.
    bool Compose();
    // Composes and copies to the window now, not through invalidation.
    void PaintNow();
    void SetIfChanged(int& field, int v);

    std::vector<std::string> FItems;
    std::vector<TickerItemParts> FParts;  // FItems split, kept beside them
    TickerSettings FSettings;
    TickerState FState;
    int FTapeJumper = 0;
    std::uint16_t FTapeSpeed = 500;
    int FMessageCount = 0;
    bool FPainting = false;
    tk::TBitmap FBitmap;
    std::unique_ptr<tk::TTimer> FTimer;
    std::unique_ptr<GTimeClick> FThread;
};

}  // namespace slumra

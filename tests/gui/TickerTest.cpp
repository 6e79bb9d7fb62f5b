#include "GuiTest.h"

#include "toolkit/Text.h"
#include "widgets/GTimer.h"
#include "widgets/Ticker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace slumra {
namespace {

using test::Pixels;
using test::Pump;
using test::Render;

constexpr COLORREF kMinorGreen = RGB(0, 255, 0);

// Text pixels on a dark background: the white major text (smoothed to greys) and the green
// minor text.
bool MajorInk(std::uint32_t c) {
    return ((c >> 16) & 0xFF) > 0x40;
}
bool MinorInk(std::uint32_t c) {
    return ((c >> 16) & 0xFF) < 0x20 && ((c >> 8) & 0xFF) > 0x40 && (c & 0xFF) < 0x20;
}

struct Span {
    int From, To;  // [From, To)
};

// Every pixel `ink` picks lies, along x (or y), within one of `spans` give or take a pixel of
// smoothing; every span wholly inside the picture holds some ink.
void ExpectInkIn(const Pixels& p, bool (*ink)(std::uint32_t), const std::vector<Span>& spans,
                 bool alongY = false) {
    const int n = alongY ? p.Height() : p.Width();
    std::vector<int> count(static_cast<std::size_t>(n));
    for (int y = 0; y < p.Height(); ++y)
        for (int x = 0; x < p.Width(); ++x)
            if (ink(p.At(x, y))) ++count[static_cast<std::size_t>(alongY ? y : x)];
    for (int i = 0; i < n; ++i) {
        if (count[static_cast<std::size_t>(i)] == 0) continue;
        const bool inside = std::any_of(spans.begin(), spans.end(),
                                        [&](const Span& s) { return i >= s.From - 1 && i <= s.To; });
        EXPECT_TRUE(inside) << (alongY ? "ink in row " : "ink in column ") << i;
    }
    for (const Span& s : spans) {
        if (s.From < 0 || s.To > n) continue;
        int sum = 0;
        for (int i = s.From; i < s.To; ++i) sum += count[static_cast<std::size_t>(i)];
        EXPECT_GT(sum, 0) << "no ink in " << s.From << ".." << s.To;
    }
}

SIZE Extent(const tk::TFont& font, const std::string& text) {
    tk::WindowDC screen(nullptr);
    tk::SelectGuard f(screen.Get(), font.Handle());
    const std::wstring w = tk::Widen(text);
    SIZE s{0, 0};
    GetTextExtentPoint32W(screen.Get(), w.c_str(), static_cast<int>(w.size()), &s);
    return s;
}
int W(const tk::TFont& font, const std::string& text) {
    return Extent(font, text).cx;
}
int H(const tk::TFont& font, const std::string& text) {
    return Extent(font, text).cy;
}

// A ticker on a black background with a black outline, white major and green minor texts.
std::unique_ptr<TTicker> DarkTicker(tk::TWinControl* parent, int w, int h) {
    auto t = std::make_unique<TTicker>(parent);
    t->SetBounds(0, 0, w, h);
    t->Brush.SetColor(tk::clBlack);
    t->MinorFont.SetColor(kMinorGreen);
    return t;
}

// A visible form to put tickers on.
struct Host {
    Host() {
        form.SetBounds(0, 0, 320, 200);
        form.Show();
    }
    ~Host() { form.Hide(); }
    tk::TForm form;
};

TEST(Ticker, TapeTextsStandWhereTheTicksHaveMovedThem) {
    auto t = DarkTicker(nullptr, 280, 40);
    t->SetItems({"Maan|nacht", "Zon", "Water|golf"});
    t->SetSpacing(12);
    t->SetMinorOffset(0.5);
    t->SetTapeJumper(9);
    for (int i = 0; i < 3; ++i) t->Tick();
    const Pixels p = Render(*t);

    const tk::TFont &major = t->MajorFont, &minor = t->MinorFont;
    const int x0 = -27;
    const int x1 = x0 + std::max(W(major, "Maan"), W(minor, "nacht")) + 12;
    const int x2 = x1 + W(major, "Zon") + 12;
    ExpectInkIn(p, MajorInk,
                {{x0, x0 + W(major, "Maan")}, {x1, x1 + W(major, "Zon")}, {x2, x2 + W(major, "Water")}});
    ExpectInkIn(p, MinorInk, {{x0, x0 + W(minor, "nacht")}, {x2, x2 + W(minor, "golf")}});
    // The minor texts under the major ones, from half the height down.
    ExpectInkIn(p, MajorInk, {{0, H(major, "Maan")}}, true);
    ExpectInkIn(p, MinorInk, {{20, 40}}, true);
}

TEST(Ticker, FlashShowsOneItemAtATimeAndStartsOverWhenItemsShrink) {
    auto t = DarkTicker(nullptr, 120, 30);
    t->SetStyle(TTickerStyle::tsFlash);
    t->SetItems({"I", "WWWWW", "ii"});
    t->SetTapePosition(5);
    t->SetTapeJumper(50);  // flash does not move
    for (const char* expected : {"I", "WWWWW", "ii", "I", "WWWWW", "ii"}) {
        t->Tick();
        ExpectInkIn(Render(*t), MajorInk, {{5, 5 + W(t->MajorFont, expected)}});
    }
    t->SetItems({"Z"});  // at item 2
    ExpectInkIn(Render(*t), MajorInk, {{5, 5 + W(t->MajorFont, "Z")}});
    EXPECT_EQ(t->CurrentItem(), 0);
}

TEST(Ticker, DisabledTickerShowsOnlyItsBackgroundAndStandsStill) {
    auto t = DarkTicker(nullptr, 100, 30);
    t->Brush.SetColor(RGB(0, 0, 200));
    t->SetItems({"Maan"});
    t->SetTapeJumper(3);
    t->Tick();
    t->SetEnabled(false);
    t->Tick();
    EXPECT_EQ(t->TapePosition(), -3);
    const Pixels p = Render(*t);
    for (int y = 1; y < 29; ++y)
        for (int x = 1; x < 99; ++x) ASSERT_EQ(p.At(x, y), 0x0000C8u) << x << "," << y;
    EXPECT_EQ(p.At(0, 0), 0u);  // the outline
}

TEST(Ticker, ClearBrushShowsTheParentColourAndNoEarlierFrame) {
    tk::TPanel panel(nullptr);
    panel.Color = RGB(0, 0, 160);
    auto t = DarkTicker(&panel, 150, 30);
    t->Brush.SetStyle(tk::BrushStyle::Clear);
    t->SetItems({"WWW"});
    t->SetTapePosition(80);
    t->Tick();
    Render(*t);
    t->SetTapePosition(0);
    const Pixels p = Render(*t);
    ExpectInkIn(p, MajorInk, {{0, W(t->MajorFont, "WWW")}});
    EXPECT_EQ(p.At(120, 15), 0x0000A0u);
}

TEST(Ticker, SolidBrushTickShowsOnScreenWithoutWaitingForPaint) {
    Host h;
    auto* t = DarkTicker(&h.form, 200, 40).release();
    t->SetItems({"Maan", "Zon"});
    t->SetTapeJumper(30);
    t->SetTapePosition(100);
    t->Handle();
    Pump(100);
    const Pixels before = test::Grab(h.form);
    t->Tick();
    const Pixels after = test::Grab(h.form);  // no message has run in between
    const Pixels expected = Render(*t);
    int differs = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 200; ++x) {
            ASSERT_EQ(after.At(x, y), expected.At(x, y)) << x << "," << y;
            differs += before.At(x, y) != after.At(x, y) ? 1 : 0;
        }
    }
    EXPECT_GT(differs, 0);
}

TEST(Ticker, EveryTapeSpeedPlusTwoMessagesMakeOneTick) {
    Host h;
    auto* t = new TTicker(&h.form);
    t->SetTapeSpeed(2);
    t->SetTapeJumper(1);
    for (int i = 0; i < 11; ++i) SendMessageW(t->Handle(), TTicker::WM_TICKERCOUNT, 0, 0);
    EXPECT_EQ(t->TapePosition(), -2);
    SendMessageW(t->Handle(), TTicker::WM_TICKERCOUNT, 0, 0);
    EXPECT_EQ(t->TapePosition(), -3);
}

TEST(Ticker, TimerAndThreadMoveTheTapeAndStopWhenSwitchedOff) {
    Host h;
    auto* t = new TTicker(&h.form);  // no items: the tape just keeps moving
    t->SetTapeJumper(1);
    t->SetTapeSpeed(10);
    for (auto run : {&TTicker::SetTapeRuns, &TTicker::SetPlay}) {
        const int start = t->TapePosition();
        (t->*run)(true);
        Pump(200);
        (t->*run)(false);
        const int stopped = t->TapePosition();
        EXPECT_LT(stopped, start - 2);
        Pump(100);
        EXPECT_EQ(t->TapePosition(), stopped);
    }
}

TEST(Ticker, DestroyedWithTicksQueuedIsSafe) {
    Host h;
    for (int round = 0; round < 5; ++round) {
        auto* t = new TTicker(&h.form);
        t->SetItems({"Maan|nacht"});
        t->SetTapeSpeed(1);
        t->SetPlay(true);
        t->SetTapeRuns(true);
        for (int i = 0; i < 20; ++i) PostMessageW(t->Handle(), TTicker::WM_TICKERCOUNT, 0, 0);
        Sleep(30);  // the thread's tick and a timer tick wait in the queue too
        delete t;
        Pump(50);
    }
    EXPECT_TRUE(h.form.Controls().empty());
}

TEST(GTimeClick, TicksRunOnTheWindowThreadAndNoneAfterStop) {
    std::vector<DWORD> threads;
    GTimeClick clock(5, [&] { threads.push_back(GetCurrentThreadId()); });
    Pump(200);
    EXPECT_GE(threads.size(), 3u);
    for (DWORD id : threads) EXPECT_EQ(id, GetCurrentThreadId());

    Sleep(100);  // the thread has posted its next tick and waits for it
    ASSERT_NE(HIWORD(GetQueueStatus(QS_POSTMESSAGE)) & QS_POSTMESSAGE, 0);
    const std::size_t ran = threads.size();
    const DWORD start = GetTickCount();
    clock.Stop();
    EXPECT_LT(GetTickCount() - start, 1000u);
    Pump(100);
    EXPECT_EQ(threads.size(), ran);
}

TEST(GTimeClick, TickMayFreeItsOwnClock) {
    int calls = 0;
    std::unique_ptr<GTimeClick> clock;
    clock = std::make_unique<GTimeClick>(1, [&] {
        ++calls;
        clock.reset();  // as a ticker does when a tick leads to Play := False
    });
    Pump(100);
    EXPECT_EQ(clock, nullptr);
    EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace slumra

#include "widgets/TickThread.h"
#include "widgets/TickerLayout.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <deque>

namespace slumra {
namespace {

using namespace std::chrono_literals;
using Texts = std::vector<TickerText>;

// Sizes as a fixed-pitch font gives them: major 10 pixels a character and 20 high, minor 6
// and 15.
TickerItemSize SizeOf(const std::string& item) {
    const TickerItemParts p = SplitTickerItem(item);
    return {
        {10 * static_cast<int>(p.Major.size()), 20}, {6 * static_cast<int>(p.Minor.size()), 15}, p.HasMinor};
}

TickerSettings Settings(TTickerStyle style, int width, int height, int spacing = 0, int itemSpacing = 0) {
    TickerSettings s;
    s.Style = style;
    s.Width = width;
    s.Height = height;
    s.Spacing = spacing;
    s.ItemSpacing = itemSpacing;
    return s;
}

TickerFrame Frame(const TickerSettings& s, const std::vector<std::string>& items, TickerState state) {
    return LayoutTickerFrame(
        s, static_cast<int>(items.size()), [&](int i) { return SizeOf(items[static_cast<std::size_t>(i)]); },
        state);
}

TEST(TickerLayout, ItemSplitsAtItsFirstBarOnly) {
    const TickerItemParts p = SplitTickerItem("Maan|nacht|licht");
    EXPECT_EQ(p.Major, "Maan");
    EXPECT_EQ(p.Minor, "nacht|licht");
    EXPECT_FALSE(SplitTickerItem("Maan|").HasMinor);  // nothing after the bar: major text alone
    EXPECT_EQ(SplitTickerItem("|nacht").Minor, "nacht");
}

TEST(TickerLayout, MinorTextPlacesAndWhereTheNextItemStarts) {
    TickerSettings s = Settings(TTickerStyle::tsTape, 200, 30, 5, 3);
    s.MinorOffset = 0.5;
    // Under the major text: the wider of the two decides, ItemSpacing plays no part.
    TickerItemPlace p = PlaceTickerItem(s, SizeOf("ABCD|ef"), 7);
    EXPECT_EQ(p.Minor, (Point{7, 15}));
    EXPECT_EQ(p.Next, 7 + 40 + 5);
    EXPECT_EQ(PlaceTickerItem(s, SizeOf("A|bcdefghij"), 7).Next, 7 + 54 + 5);
    EXPECT_EQ(PlaceTickerItem(s, SizeOf("A|"), 7).Next, 7 + 10 + 5);
    // After it.
    s.RelativeSubPos = true;
    p = PlaceTickerItem(s, SizeOf("AB|cde"), -4);
    EXPECT_EQ(p.Minor, (Point{-4 + 20 + 3, 15}));
    EXPECT_EQ(p.Next, -4 + 20 + 3 + 18 + 5);
    // Credits stack along y.
    s.Style = TTickerStyle::tsCredit;
    p = PlaceTickerItem(s, SizeOf("Titel|naam"), 50);
    EXPECT_EQ(p.Minor.Y, 50 + 20 + 3);
    EXPECT_EQ(p.Next, 50 + 20 + 3 + 15 + 5);
}

TEST(TickerLayout, CrossOffsetsTruncateTowardZeroOnOddSizes) {
    TickerSettings s = Settings(TTickerStyle::tsTape, 33, 31);
    s.MajorOffset = 0.5;
    s.MinorOffset = -0.25;
    const TickerItemPlace tape = PlaceTickerItem(s, SizeOf("A|b"), 0);
    EXPECT_EQ(tape.Major.Y, 15);
    EXPECT_EQ(tape.Minor.Y, -7);       // -7.75, not -8
    s.Style = TTickerStyle::tsCredit;  // credits take the fraction of the width
    const TickerItemPlace credit = PlaceTickerItem(s, SizeOf("A|b"), 0);
    EXPECT_EQ(credit.Major.X, 16);
    EXPECT_EQ(credit.Minor.X, -8);
    EXPECT_EQ(TruncScaled(31, std::nan("")), 0);
    EXPECT_EQ(TruncScaled(31, -1e30), INT_MIN);
}

TEST(TickerLayout, TicksPerStyle) {
    TickerState st{-1, 12};
    std::vector<int> seen;
    for (int i = 0; i < 4; ++i) {
        st = TickerTick(TTickerStyle::tsFlash, 3, 9, st);
        seen.push_back(st.Current);
    }
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 0}));
    EXPECT_EQ(st.TapePosition, 12);
    EXPECT_EQ(TickerTick(TTickerStyle::tsFlash, 0, 9, {-1, 0}).Current, -1);
    EXPECT_EQ(TickerTick(TTickerStyle::tsTape, 3, 7, {-1, 0}), (TickerState{0, -7}));
    EXPECT_EQ(TickerTick(TTickerStyle::tsCredit, 3, 0, {2, 10}), (TickerState{2, 10}));
    // An empty tape keeps moving; at the far end it stays put instead of overflowing.
    EXPECT_EQ(TickerTick(TTickerStyle::tsTape, 0, 10, {-1, INT_MIN + 3}), (TickerState{-1, INT_MIN}));
}

TEST(TickerLayout, TapeDrawsUpToTheTrailingEdgeAndHandsOverAtTheLeadingOne) {
    const TickerSettings s = Settings(TTickerStyle::tsTape, 100, 30, 5);
    const std::vector<std::string> items{"AAA", "BBBB", "CCCCC"};  // 35, 45, 55 with spacing
    EXPECT_EQ(Frame(s, items, {0, 10}).Texts,
              (Texts{{0, false, {10, 0}}, {1, false, {45, 0}}, {2, false, {90, 0}}}));
    EXPECT_EQ(Frame(s, items, {0, 20}).Texts.size(), 2u);  // item 2 would start at the edge itself
    // Item 0 ends at -1: gone, item 1 leads from there. Ending at 0 is not gone yet.
    TickerFrame f = Frame(s, items, {0, -36});
    EXPECT_EQ(f.State, (TickerState{1, -1}));
    EXPECT_EQ(f.Texts.back(), (TickerText{2, false, {44, 0}}));
    EXPECT_EQ(Frame(s, items, {0, -35}).State, (TickerState{0, -35}));
    // The last item gone: the tape starts again just outside the right edge.
    EXPECT_EQ(Frame(s, items, {2, -56}).State, (TickerState{0, 101}));
}

// Ticks and paints `ticks` times; the ticks after which the tape had just started again.
std::vector<int> Laps(const TickerSettings& s, const std::vector<std::string>& items, int jumper, int ticks,
                      std::vector<TickerFrame>& frames) {
    std::vector<int> wraps;
    TickerState st;
    const int restart = (s.Style == TTickerStyle::tsCredit ? s.Height : s.Width) + 1;
    for (int t = 1; t <= ticks; ++t) {
        st = TickerTick(s.Style, static_cast<int>(items.size()), jumper, st);
        frames.push_back(Frame(s, items, st));
        if (frames.back().State.TapePosition == restart && st.TapePosition != restart) wraps.push_back(t);
        st = frames.back().State;
    }
    return wraps;
}

TEST(TickerLayout, TapeMovesSteadilyAndWrapsOnTime) {
    // Odd widths and jumper: 35, 45, 55 wide items on a 101-wide tape, 7 a tick.
    std::vector<TickerFrame> frames;
    const std::vector<int> wraps =
        Laps(Settings(TTickerStyle::tsTape, 101, 30, 5), {"AAA", "BBBB", "CCCCC"}, 7, 120, frames);
    // First lap from 0: the last item ends at 135 - 7t, below 0 at t = 20. Later laps start
    // at 102 and end when 237 - 7t < 0: 34 ticks.
    EXPECT_EQ(wraps, (std::vector<int>{20, 54, 88}));
    // Every item seen in two frames in a row has moved by exactly the jumper.
    for (std::size_t i = 1; i < frames.size(); ++i)
        for (const TickerText& now : frames[i].Texts)
            for (const TickerText& before : frames[i - 1].Texts)
                if (before.Item == now.Item) {
                    EXPECT_EQ(now.At.X, before.At.X - 7) << i;
                }
    // After the blank stretch the first item comes in from the right edge.
    EXPECT_EQ(frames[54].Texts, (Texts{{0, false, {95, 0}}}));
}

TEST(TickerLayout, CreditRollsUpAndWrapsBelowTheBottom) {
    TickerSettings s = Settings(TTickerStyle::tsCredit, 100, 41, 3, 1);
    s.MajorOffset = 0.5;
    std::vector<TickerFrame> frames;
    // 20 + 1 + 15 + 3 and 20 + 3 high: the last item ends at 62 - 5t, then 104 - 5t.
    EXPECT_EQ(Laps(s, {"Regie|Jan", "Muziek"}, 5, 40, frames), (std::vector<int>{13, 34}));
    EXPECT_EQ(frames[0].Texts, (Texts{{0, false, {50, -5}}, {0, true, {0, 16}}, {1, false, {50, 34}}}));
}

TEST(TickerLayout, CurrentItemPastTheEndStartsOverInsteadOfReadingBeyond) {
    // A ticker at item 4 whose items were replaced by two.
    for (TTickerStyle style : {TTickerStyle::tsTape, TTickerStyle::tsFlash, TTickerStyle::tsCredit}) {
        const TickerFrame f = LayoutTickerFrame(Settings(style, 100, 30), 2,
                                                [](int i) {
                                                    EXPECT_LT(i, 2);
                                                    return SizeOf("AB");
                                                },
                                                {4, 0});
        EXPECT_EQ(f.State.Current, 0);
        EXPECT_EQ(f.Texts.front().Item, 0);
    }
    EXPECT_EQ(Frame(Settings(TTickerStyle::tsTape, 100, 30), {}, {2, 0}).State.Current, -1);
}

// ---- the timing thread -----------------------------------------------------------------

// Stands in for the window messages: the worker queues tickets, the test thread delivers them.
struct Queue {
    std::mutex mutex;
    std::condition_variable posted;
    std::deque<std::uint32_t> tickets;

    TickThread::PostFn Poster() {
        return [this](std::uint32_t t) {
            std::lock_guard<std::mutex> lock(mutex);
            tickets.push_back(t);
            posted.notify_all();
            return true;
        };
    }
    bool WaitFor(std::size_t n = 1) {
        std::unique_lock<std::mutex> lock(mutex);
        return posted.wait_for(lock, 5s, [&] { return tickets.size() >= n; });
    }
    // Delivers what waits; the number of callbacks that ran.
    int Pump() {
        std::deque<std::uint32_t> now;
        {
            std::lock_guard<std::mutex> lock(mutex);
            now.swap(tickets);
        }
        int ran = 0;
        for (std::uint32_t t : now) ran += TickThread::Deliver(t) ? 1 : 0;
        return ran;
    }
};

TEST(TickThread, CallbackRunsOnTheDeliveringThreadOneRequestAtATime) {
    Queue q;
    int calls = 0;
    const auto owner = std::this_thread::get_id();
    TickThread clock(
        1, [&] { calls += std::this_thread::get_id() == owner ? 1 : 100; }, q.Poster());
    ASSERT_TRUE(q.WaitFor());
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(q.Pump(), 1);  // no pile of requests while the owner was busy
    ASSERT_TRUE(q.WaitFor());
    EXPECT_EQ(q.Pump(), 1);
    EXPECT_EQ(calls, 2);
}

TEST(TickThread, NothingRunsOnceStoppedOrDestroyedEvenIfQueued) {
    Queue q;
    int calls = 0;
    TickThread stopped(
        1, [&] { ++calls; }, q.Poster());
    auto destroyed = std::make_unique<TickThread>(
        1, [&] { ++calls; }, q.Poster());
    ASSERT_TRUE(q.WaitFor(2));
    stopped.Stop();  // its worker waits for a request nobody handles: must not hang
    destroyed.reset();
    EXPECT_FALSE(stopped.Running());
    TickThread later(
        1, [&] { ++calls; }, [](std::uint32_t) { return false; });
    EXPECT_EQ(q.Pump(), 0);  // neither reaches the clock started since
    EXPECT_EQ(calls, 0);
}

TEST(TickThread, StopDoesNotSitOutTheInterval) {
    Queue q;
    TickThread clock(
        60000, [] {}, q.Poster());
    ASSERT_TRUE(q.WaitFor());
    EXPECT_EQ(q.Pump(), 1);  // the worker now sleeps for a minute
    const auto start = std::chrono::steady_clock::now();
    clock.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
}

TEST(TickThread, CallbackMayDestroyItsOwnClock) {
    Queue q;
    int calls = 0;
    std::unique_ptr<TickThread> clock;
    clock = std::make_unique<TickThread>(
        1,
        [&] {
            ++calls;
            clock.reset();
        },
        q.Poster());
    ASSERT_TRUE(q.WaitFor());
    EXPECT_EQ(q.Pump(), 1);
    EXPECT_EQ(clock, nullptr);
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(q.Pump(), 0);
    EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace slumra

// The arithmetic of the scrolling ticker, free of the platform: how an item splits into its
// texts, where one item's texts go in each style, what a tick moves and what one paint draws
// (including the wrap-around of the tape). Text sizes come from the caller.
#pragma once

#include "widgets/Geometry.h"

#include <functional>
#include <string>
#include <vector>

namespace slumra {

enum class TTickerStyle { tsTape, tsFlash, tsCredit };

// An item split at its first "|": the major text and the minor text after it. An item without
// a bar, or with nothing after it, has no minor text.
struct TickerItemParts {
    std::string Major;
    std::string Minor;
    bool HasMinor = false;
};
TickerItemParts SplitTickerItem(const std::string& item);

struct TextSize {
    int Width = 0;
    int Height = 0;
};

// One item's texts measured, each in its own font.
struct TickerItemSize {
    TextSize Major;
    TextSize Minor;
    bool HasMinor = false;
};

// What the layout needs of the control: its size and the spacing settings.
struct TickerSettings {
    TTickerStyle Style = TTickerStyle::tsTape;
    int Width = 0;
    int Height = 0;
    double MajorOffset = 0.0;  // fraction of Height (tape, flash) or of Width (credit)
    double MinorOffset = 0.0;
    int ItemSpacing = 0;  // between major and minor text
    int Spacing = 0;      // after each item
    bool RelativeSubPos = false;
};

// trunc(size · fraction), kept inside the int range (0 for a fraction that is not a number).
int TruncScaled(int size, double fraction);

// Where one item's texts are written when its leading edge is at `position`, and where the
// next item's leading edge comes. Tape and flash lay out along x, credit along y.
struct TickerItemPlace {
    Point Major;
    Point Minor;
    bool HasMinor = false;
    int Next = 0;
};
TickerItemPlace PlaceTickerItem(const TickerSettings& settings, const TickerItemSize& size, int position);

// The moving part of a ticker: the current item (-1: none yet) and its leading edge.
struct TickerState {
    int Current = -1;
    int TapePosition = 0;
    friend bool operator==(const TickerState&, const TickerState&) = default;
};

// One tick. Flash: the next item, after the last the first again. Tape and credit: the first
// item becomes current when none is, and the tape moves back by `tapeJumper` pixels.
TickerState TickerTick(TTickerStyle style, int itemCount, int tapeJumper, TickerState state);

// One text of a frame: item `Item`, its minor text or its major one, written at `At`.
struct TickerText {
    int Item = 0;
    bool Minor = false;
    Point At;
    friend bool operator==(const TickerText&, const TickerText&) = default;
};

struct TickerFrame {
    std::vector<TickerText> Texts;
    TickerState State;  // the state after the paint: a paint moves on past items gone out
};

// What one paint of an enabled ticker with `itemCount` items draws. `measure(i)` gives the
// sizes of item i and is asked only for items that are drawn. An item that has moved out at
// the leading edge hands over to the next; after the last one the tape starts again just
// outside the trailing edge. A current item past the end (the items changed) starts over at
// the first one. With no items, or no current item, nothing is drawn.
TickerFrame LayoutTickerFrame(const TickerSettings& settings, int itemCount,
                              const std::function<TickerItemSize(int)>& measure, TickerState state);

}  // namespace slumra

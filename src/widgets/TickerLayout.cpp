#include "widgets/TickerLayout.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace slumra {

namespace {

// Positions are summed in 64 bits and kept in range, so a tape that has run for a very long
// time (or a huge spacing) cannot overflow.
int Clamped(long long v) {
    return static_cast<int>(
        std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

TickerItemParts SplitTickerItem(const std::string& item) {
    TickerItemParts parts;
    const std::size_t bar = item.find('|');
    if (bar == std::string::npos) {
        parts.Major = item;
        return parts;
    }
    parts.Major = item.substr(0, bar);
    parts.Minor = item.substr(bar + 1);
    parts.HasMinor = !parts.Minor.empty();
    return parts;
}

int TruncScaled(int size, double fraction) {
    const double v = static_cast<double>(size) * fraction;
    if (std::isnan(v)) return 0;
    if (v <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    if (v >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    return static_cast<int>(v);  // truncates toward zero
}

TickerItemPlace PlaceTickerItem(const TickerSettings& s, const TickerItemSize& size, int position) {
    TickerItemPlace place;
    place.HasMinor = size.HasMinor;
    const long long p = position;
    if (s.Style == TTickerStyle::tsCredit) {
        place.Major = {TruncScaled(s.Width, s.MajorOffset), position};
        if (!size.HasMinor) {
            place.Next = Clamped(p + size.Major.Height + s.Spacing);
            return place;
        }
        const long long minorY = p + size.Major.Height + s.ItemSpacing;
        place.Minor = {TruncScaled(s.Width, s.MinorOffset), Clamped(minorY)};
        place.Next = Clamped(minorY + size.Minor.Height + s.Spacing);
        return place;
    }
    place.Major = {position, TruncScaled(s.Height, s.MajorOffset)};
    if (!size.HasMinor) {
        place.Next = Clamped(p + size.Major.Width + s.Spacing);
        return place;
    }
    const int minorY = TruncScaled(s.Height, s.MinorOffset);
    if (s.RelativeSubPos) {
        const long long minorX = p + size.Major.Width + s.ItemSpacing;
        place.Minor = {Clamped(minorX), minorY};
        place.Next = Clamped(minorX + size.Minor.Width + s.Spacing);
    } else {
        place.Minor = {position, minorY};
        place.Next = Clamped(p + std::max(size.Major.Width, size.Minor.Width) + s.Spacing);
    }
    return place;
}

TickerState TickerTick(TTickerStyle style, int itemCount, int tapeJumper, TickerState state) {
    if (style == TTickerStyle::tsFlash) {
        const int next = state.Current + 1;
        state.Current = itemCount <= 0 ? -1 : (next < 0 || next >= itemCount ? 0 : next);
        return state;
    }
    if (itemCount > 0 && state.Current == -1) state.Current = 0;
    state.TapePosition = Clamped(static_cast<long long>(state.TapePosition) - tapeJumper);
    return state;
}

TickerFrame LayoutTickerFrame(const TickerSettings& s, int itemCount,
                              const std::function<TickerItemSize(int)>& measure, TickerState state) {
    TickerFrame frame;
    if (itemCount <= 0) state.Current = -1;
    frame.State = state;
    if (itemCount <= 0 || state.Current < 0) return frame;

    // Items may have been taken away under a running ticker; never read past the last one.
    int c = state.Current >= itemCount ? 0 : state.Current;
    auto draw = [&](int item, int position) {
        const TickerItemSize size = measure(item);
        const TickerItemPlace place = PlaceTickerItem(s, size, position);
        frame.Texts.push_back({item, false, place.Major});
        if (place.HasMinor) frame.Texts.push_back({item, true, place.Minor});
        return place.Next;
    };
    auto drawFrom = [&](int item, int position, int limit) {
        for (; item < itemCount && position < limit; ++item) position = draw(item, position);
    };

    if (s.Style == TTickerStyle::tsFlash) {
        draw(c, state.TapePosition);
        frame.State = {c, state.TapePosition};
        return frame;
    }

    const int limit = s.Style == TTickerStyle::tsTape ? s.Width : s.Height;
    int position = state.TapePosition;
    const int end = draw(c, position);
    if (end < 0) {
        // Item c has gone out at the leading edge: the next one leads from where it ended.
        ++c;
        if (c >= itemCount) {
            // The last item is gone: start again just outside the trailing edge, so a blank
            // stretch passes before the first item comes back.
            c = 0;
            position = Clamped(static_cast<long long>(limit) + 1);
        } else {
            position = end;
            drawFrom(c, position, limit);
        }
    } else {
        drawFrom(c + 1, end, limit);
    }
    frame.State = {c, position};
    return frame;
}

}  // namespace slumra

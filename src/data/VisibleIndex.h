// The remembered position both record files use to find their n-th visible record: the last
// answer, so that asking for the same, the next or a nearby record costs a step or two, and a
// far one is walked to from the nearer end.
#pragma once

#include <cstdint>

namespace slumra {

struct VisibleCursor {
    std::int32_t CursorIndex = 0;  // visible number of the last answer
    std::int32_t CursorPos = 0;    // its chain position
    std::int32_t VisibleCount = 0;

    // After every record has been marked visible (count of them): the remembered position
    // stays where it was if it is still inside the chain.
    void ShowAll(std::int32_t count) {
        if (count == 0) {
            CursorIndex = CursorPos = VisibleCount = 0;
            return;
        }
        VisibleCount = count;
        if (CursorPos >= 1 && CursorPos <= count) {
            CursorIndex = CursorPos;
        } else {
            CursorIndex = CursorPos = 1;
        }
    }

    // Chain position (1-based) of the n-th visible record of a chain of `count` records, or
    // 0; `visible(pos)` tells whether the record at a position is marked.
    template <typename IsVisible>
    std::int32_t Find(std::int32_t n, std::int32_t count, IsVisible&& visible) {
        if (count == 0 || n > count || n <= 0) return 0;
        const bool cursorValid = CursorPos >= 1 && CursorPos <= count;
        if (n == CursorIndex && cursorValid) return CursorPos;

        std::int32_t pos = 1;
        std::int32_t counter = 0;
        bool forward = true;
        if (cursorValid && n > CursorIndex) {
            if ((n - CursorIndex) < (VisibleCount - n)) {
                pos = CursorPos + 1;
                counter = CursorIndex;
            } else {
                forward = false;
                pos = count;
                counter = VisibleCount + 1;
            }
        } else if (cursorValid && n < CursorIndex && (CursorIndex - n) < (n - 1)) {
            forward = false;
            pos = CursorPos - 1;
            counter = CursorIndex;
        }

        if (forward) {
            for (; pos <= count; ++pos) {
                if (visible(pos) && ++counter == n) break;
            }
        } else {
            for (; pos >= 1; --pos) {
                if (visible(pos) && --counter == n) break;
            }
        }
        if (pos < 1 || pos > count || counter != n) return 0;
        CursorIndex = n;
        CursorPos = pos;
        return pos;
    }
};

}  // namespace slumra

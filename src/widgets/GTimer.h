// GTimeClick: a thread at idle priority that calls a callback on the thread that made it,
// every Interval milliseconds, waiting each time until the call has run.
#pragma once

#include "toolkit/Win.h"
#include "widgets/TickThread.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace slumra {

class GTimeClick {
public:
    // Starts running at once. Make it on the user-interface thread: the callback runs there,
    // from the message loop.
    GTimeClick(std::uint16_t interval, std::function<void()> callback);
    // Stops the thread first.
    ~GTimeClick();
    GTimeClick(const GTimeClick&) = delete;
    GTimeClick& operator=(const GTimeClick&) = delete;

    // Ends the thread and waits for it. No callback runs from here on, also not one whose
    // message is already queued. On the user-interface thread; also from inside the callback.
    void Stop();
    bool Running() const { return FThread && FThread->Running(); }
    std::uint16_t Interval() const { return FInterval; }

private:
    static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
    std::uint16_t FInterval;
    HWND FWindow = nullptr;  // message-only window on the creating thread
    std::unique_ptr<TickThread> FThread;
};

}  // namespace slumra

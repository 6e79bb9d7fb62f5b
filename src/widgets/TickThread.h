// The heart of the ticker's timing thread, free of the platform: a worker that every interval
// asks the owner's thread to run a callback and waits until it has run, and the owner-side
// delivery that runs it only while the clock still runs. GTimeClick carries the requests as
// window messages; the tests carry them in a plain queue.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

namespace slumra {

class TickThread {
public:
    // Called on the worker: queue a request carrying `ticket` for the owner's thread, which
    // hands it to Deliver. False when it could not be queued; the worker then skips a round.
    using PostFn = std::function<bool(std::uint32_t ticket)>;

    // Starts the worker at once; `atStart` runs first on the worker (its priority, say). With
    // no callback there is nothing to do and no worker runs.
    TickThread(std::uint16_t intervalMs, std::function<void()> callback, PostFn post,
               std::function<void()> atStart = {})
        : FCallback(std::move(callback)), FLink(std::make_shared<Link>()), FTicket(NextTicket()) {
        if (!FCallback) return;
        {
            std::lock_guard<std::mutex> lock(RegistryMutex());
            Registry()[FTicket] = this;
        }
        try {
            FWorker = std::thread(&TickThread::Run, FLink, FTicket, std::chrono::milliseconds(intervalMs),
                                  std::move(post), std::move(atStart));
        } catch (...) {
            std::lock_guard<std::mutex> lock(RegistryMutex());
            Registry().erase(FTicket);
            throw;
        }
    }
    ~TickThread() { Stop(); }
    TickThread(const TickThread&) = delete;
    TickThread& operator=(const TickThread&) = delete;

    // Ends the clock and returns once the worker has finished. From the moment it is called no
    // callback of this clock runs, not even one already requested and still queued. Call it on
    // the owner's thread; calling it from inside the callback is fine.
    void Stop() {
        {
            std::lock_guard<std::mutex> lock(RegistryMutex());
            Registry().erase(FTicket);
        }
        {
            std::lock_guard<std::mutex> lock(FLink->Mutex);
            FLink->Terminated = true;
        }
        FLink->Wake.notify_all();
        if (FWorker.joinable()) FWorker.join();
    }

    bool Running() const { return FWorker.joinable(); }
    std::uint32_t Ticket() const { return FTicket; }

    // On the owner's thread: runs the callback of the clock that handed out `ticket`, if that clock
    // still runs, and lets its worker go on. True when a callback ran. The callback may stop or
    // destroy its own clock.
    static bool Deliver(std::uint32_t ticket) {
        std::function<void()> callback;
        std::shared_ptr<Link> link;
        {
            std::lock_guard<std::mutex> lock(RegistryMutex());
            const auto it = Registry().find(ticket);
            if (it == Registry().end()) return false;
            callback = it->second->FCallback;
            link = it->second->FLink;
        }
        struct Release {
            Link& l;
            ~Release() {
                {
                    std::lock_guard<std::mutex> lock(l.Mutex);
                    l.Done = true;
                }
                l.Wake.notify_all();
            }
        } release{*link};
        callback();
        return true;
    }

private:
    // What the worker and the owner share; it outlives the clock while either still holds it.
    struct Link {
        std::mutex Mutex;
        std::condition_variable Wake;
        bool Terminated = false;
        bool Done = false;  // the last request has been handled
    };

    static void Run(std::shared_ptr<Link> link, std::uint32_t ticket, std::chrono::milliseconds interval,
                    PostFn post, std::function<void()> atStart) {
        if (atStart) atStart();
        std::unique_lock<std::mutex> lock(link->Mutex);
        while (!link->Terminated) {
            link->Done = false;
            lock.unlock();
            const bool posted = post(ticket);
            lock.lock();
            // One request at a time: an owner that is busy gets no pile of them.
            if (posted) link->Wake.wait(lock, [&] { return link->Done || link->Terminated; });
            if (link->Terminated) break;
            link->Wake.wait_for(lock, interval, [&] { return link->Terminated; });
        }
    }

    // Tickets are not reused (for 2^32 clocks), so a request of a clock that has stopped cannot
    // reach another one.
    static std::uint32_t NextTicket() {
        static std::atomic<std::uint32_t> last{0};
        std::uint32_t t = ++last;
        while (t == 0) t = ++last;
        return t;
    }
    static std::mutex& RegistryMutex() {
        static std::mutex m;
        return m;
    }
    static std::map<std::uint32_t, TickThread*>& Registry() {
        static std::map<std::uint32_t, TickThread*> clocks;
        return clocks;
    }

    std::function<void()> FCallback;
    std::shared_ptr<Link> FLink;
    std::uint32_t FTicket;
    std::thread FWorker;
};

}  // namespace slumra

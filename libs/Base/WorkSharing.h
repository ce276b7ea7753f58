// Sharing a loop of independent steps between the calling thread and a few helper threads.
//
// Reading a directory tree is bound by the system's per-file lookups, which the kernel can serve on
// several cores at once. The helpers are started on first use and live until the process ends;
// between loops they sleep. The calling thread takes part in every loop, so a loop finishes even
// when no helper exists: on a single core, when the system refuses more threads, and in a child
// process made by fork (which inherits the pool but not its threads), where every loop runs on the
// calling thread alone.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace Kvetra {

class TWorkSharing {
  public:
    // The process's one instance, with one helper per core beyond the first (at most three).
    static TWorkSharing& Instance();

    // Starts up to `helpers` helpers: fewer when the system refuses to start more.
    explicit TWorkSharing(unsigned helpers);
    ~TWorkSharing();
    TWorkSharing(const TWorkSharing&) = delete;
    TWorkSharing& operator=(const TWorkSharing&) = delete;

    // Calls step(begin, end) for consecutive ranges that together cover [0, count) exactly once,
    // each range at most `chunk` long, on this thread and the helpers; returns when every range is
    // done. Steps must not throw (a step that does ends the program) and must not touch what
    // other ranges touch, nor start a loop of their own. One loop at a time: calls from several
    // threads take turns.
    template <typename TStep>
    void ForEachRange(std::size_t count, std::size_t chunk, TStep&& step) {
        struct TAdapter {
            static void Call(void* context, std::size_t begin, std::size_t end) noexcept {
                (*static_cast<TStep*>(context))(begin, end);
            }
        };
        Run(count, chunk, &TAdapter::Call, &step);
    }

    // How many helpers take part in loops run from this process.
    unsigned Helpers() const;

  private:
    struct TLoop {
        void (*Step)(void*, std::size_t, std::size_t) noexcept;
        void* Context;
        std::size_t Count;
        std::size_t Chunk;
        std::atomic<std::size_t> Next{0};
    };

    // What the helpers share with the callers. Kept apart from the pool object so that a child
    // made by fork can leave it untouched: its locks and condition variables may be held or
    // waited on by threads that do not exist in the child.
    struct TShared {
        std::mutex Turn;   // one loop at a time
        std::mutex State;  // guards the members below
        std::condition_variable Wake;
        std::condition_variable Finished;
        TLoop* Current = nullptr;      // the loop helpers may join; null between loops
        unsigned long Generation = 0;  // counts loops, so a helper joins each at most once
        unsigned Active = 0;           // helpers working on Current
        bool Stopping = false;
        std::vector<std::thread> Threads;
    };

    void Run(std::size_t count, std::size_t chunk,
             void (*step)(void*, std::size_t, std::size_t) noexcept, void* context);
    bool InOwnerProcess() const;
    static void Drain(TLoop& loop);
    static void HelperMain(TShared& shared);

    std::unique_ptr<TShared> Shared;
    unsigned long Owner;  // the process whose threads the helpers are
};

}  // namespace Kvetra

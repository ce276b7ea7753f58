#include "Base/WorkSharing.h"

#include <algorithm>

namespace Kvetra {

TWorkSharing& TWorkSharing::Instance() {
    static TWorkSharing instance(
        std::min(3u, std::max(1u, std::thread::hardware_concurrency()) - 1));
    return instance;
}

TWorkSharing::TWorkSharing(unsigned helpers) {
    Threads.reserve(helpers);
    for (unsigned i = 0; i < helpers; ++i) {
        Threads.emplace_back([this] { HelperMain(); });
    }
}

TWorkSharing::~TWorkSharing() {
    {
        const std::lock_guard lock(State);
        Stopping = true;
    }
    Wake.notify_all();
    for (std::thread& thread : Threads) {
        thread.join();
    }
}

void TWorkSharing::Drain(TLoop& loop) {
    for (;;) {
        const std::size_t begin = loop.Next.fetch_add(loop.Chunk, std::memory_order_relaxed);
        if (begin >= loop.Count) {
            return;
        }
        loop.Step(loop.Context, begin, std::min(loop.Count, begin + loop.Chunk));
    }
}

void TWorkSharing::Run(std::size_t count, std::size_t chunk,
                       void (*step)(void*, std::size_t, std::size_t), void* context) {
    TLoop loop{step, context, count, std::max<std::size_t>(chunk, 1)};
    const std::lock_guard turn(Turn);
    const bool shared = !Threads.empty() && count > loop.Chunk;
    if (shared) {
        {
            const std::lock_guard lock(State);
            Current = &loop;
            ++Generation;
        }
        Wake.notify_all();
    }
    Drain(loop);
    if (shared) {
        // A helper that has not joined yet must not join now; one that has is waited for, since
        // it may still be in a step.
        std::unique_lock lock(State);
        Current = nullptr;
        Finished.wait(lock, [this] { return Active == 0; });
    }
}

void TWorkSharing::HelperMain() {
    unsigned long seen = 0;
    std::unique_lock lock(State);
    for (;;) {
        Wake.wait(lock, [&] { return Stopping || (Current != nullptr && Generation != seen); });
        if (Stopping) {
            return;
        }
        seen = Generation;
        TLoop& loop = *Current;
        ++Active;
        lock.unlock();
        Drain(loop);
        lock.lock();
        if (--Active == 0) {
            Finished.notify_all();
        }
    }
}

}  // namespace Kvetra

#include "Base/WorkSharing.h"

#include <algorithm>
#include <system_error>

#include "Platform/Process.h"

namespace Kvetra {

TWorkSharing& TWorkSharing::Instance() {
    static TWorkSharing instance(
        std::min(3u, std::max(1u, std::thread::hardware_concurrency()) - 1));
    return instance;
}

TWorkSharing::TWorkSharing(unsigned helpers)
    : Shared(std::make_unique<TShared>()), Owner(Platform::CurrentProcessId()) {
    Shared->Threads.reserve(helpers);
    for (unsigned i = 0; i < helpers; ++i) {
        try {
            Shared->Threads.emplace_back([shared = Shared.get()] { HelperMain(*shared); });
        } catch (const std::system_error&) {
            // Out of threads (a container's process limit, say): the loops run with those that
            // did start, or on the calling thread alone.
            break;
        }
    }
}

TWorkSharing::~TWorkSharing() {
    if (!InOwnerProcess()) {
        // A child made by fork has the thread objects but not the threads: nothing to stop or
        // join, and destroying the objects or the condition variables would end the program or
        // wait forever. They stay as they are until the process exits.
        static auto* const orphans = new std::vector<std::unique_ptr<TShared>>();
        orphans->push_back(std::move(Shared));
        return;
    }
    {
        const std::lock_guard lock(Shared->State);
        Shared->Stopping = true;
    }
    Shared->Wake.notify_all();
    for (std::thread& thread : Shared->Threads) {
        thread.join();
    }
}

bool TWorkSharing::InOwnerProcess() const {
    return Platform::CurrentProcessId() == Owner;
}

unsigned TWorkSharing::Helpers() const {
    return InOwnerProcess() ? static_cast<unsigned>(Shared->Threads.size()) : 0;
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
                       void (*step)(void*, std::size_t, std::size_t) noexcept, void* context) {
    TLoop loop{step, context, count, std::max<std::size_t>(chunk, 1)};
    if (!InOwnerProcess()) {
        Drain(loop);
        return;
    }
    const std::lock_guard turn(Shared->Turn);
    const bool shared = !Shared->Threads.empty() && count > loop.Chunk;
    if (shared) {
        {
            const std::lock_guard lock(Shared->State);
            Shared->Current = &loop;
            ++Shared->Generation;
        }
        Shared->Wake.notify_all();
    }
    Drain(loop);
    if (shared) {
        // A helper that has not joined yet must not join now; one that has is waited for, since
        // it may still be in a step.
        std::unique_lock lock(Shared->State);
        Shared->Current = nullptr;
        Shared->Finished.wait(lock, [this] { return Shared->Active == 0; });
    }
}

void TWorkSharing::HelperMain(TShared& shared) {
    unsigned long seen = 0;
    std::unique_lock lock(shared.State);
    for (;;) {
        shared.Wake.wait(lock, [&] {
            return shared.Stopping || (shared.Current != nullptr && shared.Generation != seen);
        });
        if (shared.Stopping) {
            return;
        }
        seen = shared.Generation;
        TLoop& loop = *shared.Current;
        ++shared.Active;
        lock.unlock();
        Drain(loop);
        lock.lock();
        if (--shared.Active == 0) {
            shared.Finished.notify_all();
        }
    }
}

}  // namespace Kvetra

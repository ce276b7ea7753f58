// Sharing a loop between threads: every step once, with or without helpers, loop after loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "Base/WorkSharing.h"

namespace {

using Kvetra::TWorkSharing;

// Runs loops of every count and chunk below on the pool and checks that each index is covered
// exactly once and that no range is longer than the chunk.
void ExpectEveryIndexOnce(TWorkSharing& pool) {
    for (std::size_t count : {0u, 1u, 2u, 7u, 8u, 9u, 1000u}) {
        for (std::size_t chunk : {0u, 1u, 3u, 8u, 64u}) {
            std::vector<std::atomic<int>> hits(count);
            std::atomic<bool> tooLong{false};
            pool.ForEachRange(count, chunk, [&](std::size_t begin, std::size_t end) {
                if (end - begin > std::max<std::size_t>(chunk, 1) || begin >= end) {
                    tooLong = true;
                }
                for (std::size_t i = begin; i < end; ++i) {
                    ++hits[i];
                }
            });
            EXPECT_FALSE(tooLong) << count << "/" << chunk;
            for (std::size_t i = 0; i < count; ++i) {
                ASSERT_EQ(hits[i], 1) << "index " << i << " of " << count << "/" << chunk;
            }
        }
    }
}

TEST(WorkSharing, EveryIndexIsDoneExactlyOnceWhateverTheNumberOfHelpers) {
    for (unsigned helpers : {0u, 1u, 3u}) {
        SCOPED_TRACE(helpers);
        TWorkSharing pool(helpers);
        EXPECT_EQ(pool.Helpers(), helpers);
        ExpectEveryIndexOnce(pool);
    }
    ExpectEveryIndexOnce(TWorkSharing::Instance());
}

TEST(WorkSharing, HelpersTakePartWhileTheCallerWorks) {
    TWorkSharing pool(1);
    // Each step waits (up to a generous limit) until another thread has entered a step too: with
    // a helper taking part, two threads meet.
    std::mutex mutex;
    std::set<std::thread::id> threads;
    pool.ForEachRange(2, 1, [&](std::size_t, std::size_t) {
        {
            const std::lock_guard lock(mutex);
            threads.insert(std::this_thread::get_id());
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            {
                const std::lock_guard lock(mutex);
                if (threads.size() == 2) {
                    return;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    EXPECT_EQ(threads.size(), 2u);
}

TEST(WorkSharing, LoopsFromSeveralThreadsTakeTurns) {
    TWorkSharing pool(1);
    std::atomic<int> total{0};
    std::vector<std::thread> callers;
    for (int t = 0; t < 4; ++t) {
        callers.emplace_back([&] {
            for (int loop = 0; loop < 50; ++loop) {
                pool.ForEachRange(100, 4, [&](std::size_t begin, std::size_t end) {
                    total += static_cast<int>(end - begin);
                });
            }
        });
    }
    for (std::thread& caller : callers) {
        caller.join();
    }
    EXPECT_EQ(total, 4 * 50 * 100);
}

}  // namespace

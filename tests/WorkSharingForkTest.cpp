// Sharing a loop in a child process made by fork, which inherits the pool but not its threads.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <vector>

#include "Base/WorkSharing.h"

namespace {

using Kvetra::TWorkSharing;

TEST(WorkSharing, AChildMadeByForkRunsLoopsAloneAndEndsCleanly) {
    auto pool = std::make_unique<TWorkSharing>(3);
    std::atomic<int> parentSteps{0};
    pool->ForEachRange(64, 1, [&](std::size_t, std::size_t) { ++parentSteps; });
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Helpers may still be waking from the loop above: the child must neither wait for them
        // nor signal them.
        bool good = pool->Helpers() == 0;
        for (int loop = 0; loop < 100 && good; ++loop) {
            std::vector<int> hits(50);
            pool->ForEachRange(50, 1, [&](std::size_t begin, std::size_t) { ++hits[begin]; });
            good = std::count(hits.begin(), hits.end(), 1) == 50;
        }
        pool.reset();
        ::_exit(good ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(parentSteps, 64);
    EXPECT_EQ(pool->Helpers(), 3u);
}

}  // namespace

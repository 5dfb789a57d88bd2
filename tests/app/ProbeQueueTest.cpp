// Files examined side by side come back in the order they were given, each
// examined once, and a queue that goes away with work left waits only for
// what is under way.
#include "rows/ProbeQueue.h"

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace testing_support;

TEST(ProbeQueue, ProbesComeBackInTheOrderGivenWithWhatTheyHold)
{
    std::vector<std::wstring> paths;
    for (int i = 0; i < 120; ++i) {
        // Bigger and smaller files, and names that are not there, mixed.
        const char* fixture = i % 3 == 0 ? "stereo16_48k.ape" : "mono8_8k.ape";
        paths.push_back(i % 7 == 0 ? L"/no/such/file" + std::to_wstring(i) + L".ape"
                                   : FixturePath(fixture).wstring());
    }
    std::atomic<int> wakes{0};
    ProbeQueue queue([&] { ++wakes; }, 4);
    queue.Push(paths);
    std::vector<std::unique_ptr<ConversionItem>> taken;
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (taken.size() < paths.size() && std::chrono::steady_clock::now() < until) {
        for (auto& probe : queue.TakeReady())
            taken.push_back(std::move(probe));
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ASSERT_EQ(taken.size(), paths.size());
    EXPECT_FALSE(queue.Busy());
    EXPECT_GT(wakes.load(), 0);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        EXPECT_EQ(taken[i]->sourcePath, paths[i]) << i;
        if (i % 7 == 0) {
            EXPECT_EQ(taken[i]->lengthMs, 0u) << i;
            EXPECT_FALSE(taken[i]->failureReason.empty()) << i;
        } else {
            EXPECT_GT(taken[i]->lengthMs, 0u) << i;
            EXPECT_TRUE(taken[i]->failureReason.empty()) << i;
        }
    }
}

TEST(ProbeQueue, GoingAwayWithWorkLeftDoesNotWaitForIt)
{
    std::vector<std::wstring> paths(5000, FixturePath("stereo16_48k.ape").wstring());
    auto start = std::chrono::steady_clock::now();
    {
        ProbeQueue queue([] {}, 2);
        queue.Push(paths);
        EXPECT_TRUE(queue.Busy());
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

// The decoding threads' lives: started only when decoding starts, as many as
// a row may use, none with one; gone cleanly when the decoder goes or seeks
// while frames are still being decoded. Run under TSan too.
#include "tests/apesdk/DecodeTrace.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <chrono>
#include <random>
#include <thread>

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

// Seven frames, 8-bit mono: one byte a block.
fs::path LongFixture() { return FixturePath("sweep8_8k.ape"); }

// The pool's threads carry a name of their own; the process may have others
// (a sanitizer's, say) that come and go as they please.
std::size_t DecodingThreads()
{
    std::size_t count = 0;
    for (const auto& task : fs::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        std::getline(comm, name);
        count += name == "ape decode";
    }
    return count;
}

// A joined thread may linger in /proc for a moment after the join.
std::size_t DecodingThreadsSettled(std::size_t expected)
{
    for (int i = 0; i < 200 && DecodingThreads() != expected; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return DecodingThreads();
}

std::vector<unsigned char> Slice(const std::vector<unsigned char>& pcm, std::int64_t from, std::int64_t blocks)
{
    auto begin = std::min<std::size_t>(std::size_t(from), pcm.size());
    auto end = std::min<std::size_t>(begin + std::size_t(blocks), pcm.size());
    return {pcm.begin() + std::ptrdiff_t(begin), pcm.begin() + std::ptrdiff_t(end)};
}

}  // namespace

TEST(DecodePool, StartsWithDecodingAndUsesTheRowThreads)
{
    for (int threads : {1, 3}) {
        auto decoder = OpenDecoder(LongFixture(), threads);
        ASSERT_TRUE(decoder);
        EXPECT_EQ(DecodingThreadsSettled(0), 0u) << "opening a file for its length starts nothing";
        DecodeTrace trace;
        ReadBlocks(*decoder, 100, 100, trace);
        EXPECT_EQ(DecodingThreads(), threads == 1 ? 0u : std::size_t(threads));
        decoder.reset();
        EXPECT_EQ(DecodingThreadsSettled(0), 0u);
    }
}

TEST(DecodePool, GoesAwayCleanlyWithFramesInFlight)
{
    DecodeTrace whole = Decode(LongFixture(), 1, 4096);
    ASSERT_EQ(whole.pcm.size(), 480000u);
    for (int threads : {2, 4, 8}) {
        for (std::int64_t read : {1, 5000, 73727, 73728, 200000}) {
            SCOPED_TRACE(std::to_string(threads) + " threads, " + std::to_string(read) + " blocks read");
            auto decoder = OpenDecoder(LongFixture(), threads);
            DecodeTrace trace;
            ReadBlocks(*decoder, 4096, read, trace);
            EXPECT_TRUE(trace.pcm == Slice(whole.pcm, 0, read));
            if (read % 2)
                decoder->Seek(300000);  // and leave at once, before a single frame is asked for
            decoder.reset();
        }
    }
}

TEST(DecodePool, SeeksWhileFramesAreInFlightDeliverTheRightBlocks)
{
    DecodeTrace whole = Decode(LongFixture(), 1, 4096);
    std::mt19937 random(12);
    std::uniform_int_distribution<std::int64_t> position(0, 480000 + 50);
    std::uniform_int_distribution<std::int64_t> length(1, 90000);
    auto decoder = OpenDecoder(LongFixture(), 4);
    std::int64_t at = 0;
    for (int step = 0; step < 60; ++step) {
        // Mostly far jumps, some short hops forward within decoded audio.
        std::int64_t target = step % 4 == 3 ? at + length(random) % 700 : position(random);
        SCOPED_TRACE("step " + std::to_string(step) + ": to " + std::to_string(target));
        ASSERT_EQ(decoder->Seek(target), ERROR_SUCCESS);
        std::int64_t blocks = length(random);
        DecodeTrace trace;
        ReadBlocks(*decoder, 3000, blocks, trace);
        ASSERT_TRUE(trace.pcm == Slice(whole.pcm, target, blocks));
        at = std::min<std::int64_t>(target, 480000) + std::int64_t(trace.pcm.size());
    }
}

TEST(DecodePool, SeveralFilesDecodeAtOnce)
{
    DecodeTrace sweep = Decode(LongFixture(), 1, 4096);
    DecodeTrace stereo = Decode(FixturePath("stereo16_44k.ape"), 1, 4096);
    std::vector<std::thread> rows;
    std::vector<DecodeTrace> results(4);
    auto decoders = std::vector<std::unique_ptr<IAPEDecompress>>();
    for (int i = 0; i < 4; ++i)
        decoders.push_back(OpenDecoder(i % 2 ? FixturePath("stereo16_44k.ape") : LongFixture(), 3));
    for (int i = 0; i < 4; ++i)
        rows.emplace_back([&, i] { ReadBlocks(*decoders[std::size_t(i)], 2048, -1, results[std::size_t(i)]); });
    for (auto& row : rows)
        row.join();
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(results[std::size_t(i)].pcm == (i % 2 ? stereo : sweep).pcm) << "row " << i;
}

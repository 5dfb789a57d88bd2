#include "engine/BrookSource.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TestFiles.h"

#include "platform/core/Strings.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Thread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <random>
#include <thread>
#include <vector>

namespace {

struct Answer {
    win::UINT message = 0;
    win::LPARAM length = 0;
};

// Pumps this thread's queue as the file-information step does, with a
// deadline so that a lost answer fails the test instead of hanging it.
std::optional<Answer> WaitForAnswer()
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    win::MSG msg;
    while (std::chrono::steady_clock::now() < deadline) {
        while (win::PeekMessage(&msg, nullptr, 0, 0, win::PM_REMOVE)) {
            if (msg.message == BROOKM_LENGTH || msg.message == BROOKM_GIVEUP)
                return Answer{msg.message, msg.lParam};
            win::DispatchMessage(&msg);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return std::nullopt;
}

Answer AskLength(const std::filesystem::path& file)
{
    BrookSource source;
    EXPECT_EQ(source.Load(L"Brook_R"), 1);
    EXPECT_EQ(source.Init(win::FromUtf8(file.string()), win::GetCurrentThreadId()), 1);
    EXPECT_EQ(source.Run(), 1);
    auto answer = WaitForAnswer();
    EXPECT_TRUE(answer.has_value());
    if (answer && answer->message == BROOKM_LENGTH)
        source.Stop();
    source.Release();
    return answer.value_or(Answer());
}

class BrookSourceTest : public ::testing::Test {
protected:
    std::filesystem::path Write(const std::vector<char>& bytes)
    {
        testing_support::WriteBytes(dir_ / "file.rm", {bytes.begin(), bytes.end()});
        return dir_ / "file.rm";
    }

    testing_support::TempDir dir_;
};

}  // namespace

TEST_F(BrookSourceTest, LengthMatchesFfprobe)
{
    ASSERT_EQ(testing_support::MissingTools({"ffmpeg", "ffprobe"}), "") << "cannot make a RealMedia file";
    for (std::string inputs : {"-f lavfi -i sine=duration=3.3 -c:a ac3 -b:a 96k",
                               "-f lavfi -i sine=duration=2.71 -f lavfi -i testsrc=duration=2.71:size=64x48:rate=10 "
                               "-c:a ac3 -c:v rv10"}) {
        auto file = dir_ / "made.rm";
        testing_support::Shell("ffmpeg -v error -y " + inputs + " '" + file.string() + "'");
        ASSERT_TRUE(std::filesystem::exists(file)) << inputs;
        double seconds = std::stod(testing_support::Shell("ffprobe -v error -show_entries format=duration -of csv=p=0 '" +
                                         file.string() + "'"));
        Answer answer = AskLength(file);
        ASSERT_EQ(answer.message, BROOKM_LENGTH);
        EXPECT_NEAR(static_cast<double>(answer.length), seconds * 1000, 1.0) << inputs;
    }
}

TEST_F(BrookSourceTest, AnythingElseGivesUpCleanly)
{
    // ".RMF" header of 18 bytes, then a PROP header whose duration is 3308 ms.
    std::vector<char> valid = {'.', 'R', 'M', 'F', 0, 0, 0, 18, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1,
                               'P', 'R', 'O', 'P', 0, 0, 0, 50, 0, 0};
    valid.resize(valid.size() + 40, 0);
    valid[50] = 0x0C;
    valid[51] = static_cast<char>(0xEC);
    Answer answer = AskLength(Write(valid));
    EXPECT_EQ(answer.message, BROOKM_LENGTH);
    EXPECT_EQ(answer.length, 3308);

    // Every truncation; chunk sizes below a header, past the end, huge; no
    // PROP before the data; noise; no file at all.
    std::vector<std::vector<char>> bad;
    for (std::size_t n = 0; n < valid.size(); ++n)
        bad.emplace_back(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(n));
    for (char size : {0, 9, 51, 127}) {
        bad.push_back(valid);
        bad.back()[25] = size;
        bad.back()[22] = size == 127 ? 127 : 0;
    }
    bad.push_back(valid);
    std::copy_n("DATA", 4, bad.back().begin() + 18);
    std::mt19937 random(7);
    bad.emplace_back(4096);
    for (char& c : bad.back())
        c = static_cast<char>(random());
    for (std::size_t i = 0; i < bad.size(); ++i)
        EXPECT_EQ(AskLength(Write(bad[i])).message, BROOKM_GIVEUP) << "case " << i;
    EXPECT_EQ(AskLength(dir_ / "missing.rm").message, BROOKM_GIVEUP);
}

TEST_F(BrookSourceTest, LoadNeedsAllTenExportsAndDroppingAReaderIsSafe)
{
    BrookSource wrong;
    EXPECT_EQ(wrong.Load(L"lame_enc"), 0);
    EXPECT_FALSE(wrong.HasModule());

    BrookSource source;
    ASSERT_EQ(source.Load(L"Brook_R"), 1);
    EXPECT_EQ(source.Run(), 0);  // no Init yet
    EXPECT_EQ(source.Init(L"/nonexistent.rm", win::GetCurrentThreadId()), 1);
    EXPECT_EQ(source.Run(), 1);
    EXPECT_EQ(source.Run(), 0);
    // The wrapper goes without Release.
}

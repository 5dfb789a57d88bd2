#include "engine/BrookSource.h"

#include "platform/Message.h"
#include "platform/Strings.h"
#include "platform/Thread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
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
            win::TranslateMessage(&msg);
            win::DispatchMessage(&msg);
        }
        win::Sleep(1);
    }
    return std::nullopt;
}

std::optional<Answer> AskLength(const std::filesystem::path& file)
{
    BrookSource source;
    if (!source.Load(L"Brook_R"))
        return std::nullopt;
    EXPECT_EQ(source.Init(win::FromUtf8(file.string()), win::GetCurrentThreadId()), 1);
    EXPECT_EQ(source.Run(), 1);
    auto answer = WaitForAnswer();
    if (answer && answer->message == BROOKM_LENGTH) {
        EXPECT_EQ(source.GetAudioTime(), answer->length);
        source.Stop();
    }
    source.Release();
    return answer;
}

class BrookSourceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = std::filesystem::temp_directory_path() /
               (std::string("kolvex_rm_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::filesystem::path WriteBytes(const std::string& name, const std::vector<char>& bytes)
    {
        std::ofstream(dir_ / name, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return dir_ / name;
    }

    std::filesystem::path dir_;
};

std::string Shell(const std::string& command)
{
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe))
            out += buffer;
        pclose(pipe);
    }
    return out;
}

}  // namespace

TEST_F(BrookSourceTest, LengthMatchesFfprobe)
{
    if (std::system("command -v ffmpeg >/dev/null && command -v ffprobe >/dev/null") != 0)
        GTEST_SKIP() << "ffmpeg/ffprobe not installed: cannot make a RealMedia file";
    for (const char* inputs : {"-f lavfi -i sine=frequency=440:duration=3.3 -c:a ac3 -b:a 96k",
                               "-f lavfi -i sine=duration=2.71 -f lavfi -i testsrc=duration=2.71:size=64x48:rate=10 "
                               "-c:a ac3 -c:v rv10"}) {
        auto file = dir_ / "made.rm";
        Shell("ffmpeg -v error -y " + std::string(inputs) + " '" + file.string() + "'");
        ASSERT_TRUE(std::filesystem::exists(file)) << inputs;
        double seconds = std::stod(Shell("ffprobe -v error -show_entries format=duration -of csv=p=0 '" +
                                       file.string() + "'"));
        auto answer = AskLength(file);
        ASSERT_TRUE(answer.has_value());
        ASSERT_EQ(answer->message, BROOKM_LENGTH);
        EXPECT_NEAR(static_cast<double>(answer->length), seconds * 1000, 1.0) << inputs;
    }
}

TEST_F(BrookSourceTest, AnythingElseGivesUpCleanly)
{
    std::vector<char> valid = {'.', 'R', 'M', 'F', 0, 0, 0, 18, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1,
                               'P', 'R', 'O', 'P', 0, 0, 0, 50, 0, 0};
    valid.resize(valid.size() + 40, 0);
    valid[18 + 10 + 20 + 2] = 0x0C;  // duration 0x0CEC = 3308 ms
    valid[18 + 10 + 20 + 3] = static_cast<char>(0xEC);
    auto answer = AskLength(WriteBytes("valid.rm", valid));
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->message, BROOKM_LENGTH);
    EXPECT_EQ(answer->length, 3308);

    // Every truncation of a good header, and sizes that point past the end,
    // below a header, or loop.
    std::vector<std::vector<char>> bad;
    for (std::size_t n = 0; n < valid.size(); ++n)
        bad.emplace_back(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(n));
    for (int size : {0, 9, 0x7FFFFFFF}) {
        auto broken = valid;
        broken[22] = static_cast<char>(size >> 24);
        broken[23] = static_cast<char>(size >> 16);
        broken[24] = static_cast<char>(size >> 8);
        broken[25] = static_cast<char>(size);
        bad.push_back(broken);
    }
    auto noProp = valid;
    noProp[18] = 'D';
    noProp[19] = 'A';
    noProp[20] = 'T';
    noProp[21] = 'A';
    bad.push_back(noProp);
    std::mt19937 random(7);
    std::vector<char> noise(4096);
    for (char& c : noise)
        c = static_cast<char>(random());
    bad.push_back(noise);

    for (std::size_t i = 0; i < bad.size(); ++i) {
        answer = AskLength(WriteBytes("bad.rm", bad[i]));
        ASSERT_TRUE(answer) << "case " << i;
        EXPECT_EQ(answer->message, BROOKM_GIVEUP) << "case " << i;
    }
    answer = AskLength(dir_ / "missing.rm");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->message, BROOKM_GIVEUP);
}

TEST_F(BrookSourceTest, LoadNeedsAllTenExportsAndReleaseIsSafeUnfinished)
{
    BrookSource wrong;
    EXPECT_EQ(wrong.Load(L"lame_enc"), 0);
    EXPECT_FALSE(wrong.HasModule());
    EXPECT_EQ(wrong.Run(), 0);

    // Dropped straight after Run: the reader is waited for, and a module
    // that plays nothing says so.
    BrookSource source;
    ASSERT_EQ(source.Load(L"Brook_R"), 1);
    EXPECT_EQ(source.Run(), 0);  // no Init yet
    EXPECT_EQ(source.Init(L"/nonexistent.rm", win::GetCurrentThreadId()), 1);
    EXPECT_EQ(source.Run(), 1);
    EXPECT_EQ(source.Run(), 0);
    EXPECT_EQ(source.Pause(), 0);
    EXPECT_EQ(source.Seek(1000), 0);
    EXPECT_EQ(source.GetWaveFormatEx(nullptr), 0);
    EXPECT_EQ(source.SetAudioCallBack(nullptr, nullptr), 0);
    auto answer = WaitForAnswer();
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->message, BROOKM_GIVEUP);
    EXPECT_EQ(source.IsDone(), 1);
}

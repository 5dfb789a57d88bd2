#include "engine/WavSink.h"

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace testing_support;

namespace {

WAVEFORMATEX Format(int rate, int bits, int channels)
{
    WAVEFORMATEX f;
    FillWaveFormatEx(&f, rate, bits, channels);
    return f;
}

std::vector<unsigned char> Ramp(std::size_t bytes)
{
    std::vector<unsigned char> v(bytes);
    for (std::size_t i = 0; i < bytes; ++i)
        v[i] = static_cast<unsigned char>(i * 7 + 3);
    return v;
}

// Writes `pcm` in chunks of `chunk` bytes and returns the file's bytes.
std::vector<unsigned char> WriteWav(const TempDir& dir, const WAVEFORMATEX& format,
                                    const std::vector<unsigned char>& pcm, std::size_t chunk)
{
    auto path = (dir / "out.wav").wstring();
    WavSink sink;
    EXPECT_EQ(sink.Create(path.c_str()), 1);
    EXPECT_EQ(sink.SetFormat(&format), 1);
    for (std::size_t at = 0; at < pcm.size(); at += chunk)
        sink.Write(pcm.data() + at, std::min(chunk, pcm.size() - at));
    EXPECT_EQ(sink.Close(), 1);
    return ReadBytes(dir / "out.wav");
}

}  // namespace

TEST(WavSink, StereoHeaderFollowsTheData)
{
    TempDir dir;
    const std::size_t frames = 1000;
    auto pcm = Ramp(frames * 4);
    auto file = WriteWav(dir, Format(44100, 16, 2), pcm, 4096);
    ASSERT_EQ(file.size(), 46 + 4 * frames);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "RIFF");
    EXPECT_EQ(Le32(file, 4), 38 + 4 * frames);
    EXPECT_EQ(std::string(file.begin() + 8, file.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(Le32(file, 16), 18u);
    EXPECT_EQ(Le16(file, 20), 1);
    EXPECT_EQ(Le16(file, 22), 2);
    EXPECT_EQ(Le32(file, 24), 44100u);
    EXPECT_EQ(Le32(file, 28), 176400u);
    EXPECT_EQ(Le16(file, 32), 4);
    EXPECT_EQ(Le16(file, 34), 16);
    EXPECT_EQ(std::string(file.begin() + 38, file.begin() + 42), "data");
    EXPECT_EQ(Le32(file, 42), 4 * frames);
    EXPECT_TRUE(std::equal(pcm.begin(), pcm.end(), file.begin() + 46));
}

TEST(WavSink, MonoOfEveryWidthIsDoubledFrameByFrame)
{
    for (int bits : {8, 16, 24}) {
        TempDir dir;
        int width = bits / 8;
        auto pcm = Ramp(300 * width);
        auto file = WriteWav(dir, Format(22050, bits, 1), pcm, 64 * width);
        ASSERT_EQ(file.size(), 46 + 2 * pcm.size()) << bits;
        EXPECT_EQ(Le16(file, 22), 2);
        EXPECT_EQ(Le16(file, 32), 2 * width);
        EXPECT_EQ(Le32(file, 28), 22050u * 2 * width);
        EXPECT_EQ(Le32(file, 42), 2 * pcm.size());
        for (std::size_t i = 0; i < 300; ++i)
            for (int b = 0; b < width; ++b) {
                unsigned char expected = pcm[i * width + b];
                ASSERT_EQ(file[46 + (2 * i) * width + b], expected) << bits << " bit, frame " << i;
                ASSERT_EQ(file[46 + (2 * i + 1) * width + b], expected) << bits << " bit, frame " << i;
            }
    }
}

TEST(WavSink, MoreThanTwoChannelsAreKeptWithTheirCount)
{
    TempDir dir;
    auto pcm = Ramp(6 * 500);
    auto file = WriteWav(dir, Format(48000, 16, 3), pcm, 1000 * 6);
    ASSERT_EQ(file.size(), 46 + pcm.size());
    EXPECT_EQ(Le16(file, 22), 3);
    EXPECT_EQ(Le16(file, 32), 6);
    EXPECT_TRUE(std::equal(pcm.begin(), pcm.end(), file.begin() + 46));
}

TEST(WavSink, EmptyRowGivesAHeaderOnlyFile)
{
    TempDir dir;
    auto file = WriteWav(dir, Format(44100, 16, 2), {}, 4096);
    ASSERT_EQ(file.size(), 46u);
    EXPECT_EQ(Le32(file, 42), 0u);
    EXPECT_EQ(Le32(file, 4), 38u);
}

TEST(WavSink, FailuresAreReportedAndLeaveNoFile)
{
    WavSink none;
    EXPECT_EQ(none.Create(nullptr), 0);
    EXPECT_EQ(none.Close(), 0);

    // Cannot be created: create says so, and close reports it too.
    WavSink sink;
    EXPECT_EQ(sink.Create(L"/no/such/dir/out.wav"), 0);
    EXPECT_FALSE(sink.ErrorText().empty());
    auto format = Format(44100, 16, 2);
    sink.SetFormat(&format);
    sink.Write(Ramp(400).data(), 400);
    EXPECT_EQ(sink.Close(), 0);

    // The disk fills up halfway: the partial file is removed.
    TempDir dir;
    auto path = (dir / "full.wav").wstring();
    struct rlimit old;
    getrlimit(RLIMIT_FSIZE, &old);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 64 * 1024;
    setrlimit(RLIMIT_FSIZE, &small);
    WavSink full;
    full.Create(path.c_str());
    full.SetFormat(&format);
    auto chunk = Ramp(4096);
    for (int i = 0; i < 64; ++i)
        full.Write(chunk.data(), chunk.size());
    int closed = full.Close();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(closed, 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "full.wav"));
}

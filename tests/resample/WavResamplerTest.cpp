// The driver: files rewritten in place, and every way it must refuse.
#include "resample/SsrcMessages.h"
#include "resample/WavResampler.h"

#include "TestWav.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <sys/resource.h>

namespace {

using test::WavLayout;

WavLayout Tone(int rate, int channels, int width, std::size_t frames)
{
    WavLayout s;
    s.rate = rate;
    s.channels = channels;
    s.width = width;
    s.samples = test::Sine(997, rate, frames, channels, 0.5, width);
    return s;
}

// Open, Run, Close in place, as the conversion worker does; Run's result.
int ResampleInPlace(const std::filesystem::path& file, win::HWND window = nullptr)
{
    WavResampler r(window);
    std::wstring name = test::Wide(file);
    if (!r.Open(name.c_str(), name.c_str()))
        return -1;
    int ok = r.Run();
    r.Close();
    return ok;
}

void ExpectResampledHeader(const std::vector<unsigned char>& b, int channels)
{
    ASSERT_GE(b.size(), 44u);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
    EXPECT_EQ(test::U32(b, 4), b.size() - 8);
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(test::U32(b, 16), 16u);
    EXPECT_EQ(test::U16(b, 20), 1);
    EXPECT_EQ(test::U16(b, 22), channels);
    EXPECT_EQ(test::U32(b, 24), 44100u);
    EXPECT_EQ(test::U32(b, 28), 44100u * channels * 2);
    EXPECT_EQ(test::U16(b, 32), 2 * channels);
    EXPECT_EQ(test::U16(b, 34), 16);
    EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data");
    // Chunks that followed the audio (tags) may follow it again.
    EXPECT_LE(test::U32(b, 40), b.size() - 44);
    EXPECT_EQ(test::U32(b, 40) % (2u * channels), 0u);
}

}  // namespace

TEST(WavResampler, RewritesAFileInPlace)
{
    test::ScratchDir dir;
    auto file = dir / "song.wav";
    test::WriteFile(file, test::BuildWav(Tone(48000, 2, 2, 48000)));
    test::MessageSink sink;
    EXPECT_EQ(ResampleInPlace(file, sink.Window()), 1);

    auto bytes = test::ReadFile(file);
    ExpectResampledHeader(bytes, 2);
    EXPECT_EQ(bytes.size(), 44u + 4 * (44100 + 2));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"song.wav"});
    std::vector<win::UINT> messages;
    for (const win::MSG& m : sink.Collect())
        messages.push_back(m.message);
    EXPECT_EQ(messages, (std::vector<win::UINT>{WM_SSRC_START, WM_SSRC_DONE}));
}

TEST(WavResampler, A44100Hz16BitFileComesBackSampleForSample)
{
    test::ScratchDir dir;
    auto file = dir / "cd.wav";
    WavLayout layout = Tone(44100, 2, 2, 30000);
    layout.formatLength = 18;  // the extra-size field some writers add
    test::WriteFile(file, test::BuildWav(layout));
    ASSERT_EQ(ResampleInPlace(file), 1);
    EXPECT_EQ(test::ReadPcm(file).samples, layout.samples);
    ExpectResampledHeader(test::ReadFile(file), 2);
}

TEST(WavResampler, OddLayoutsAreReadByPosition)
{
    struct Case {
        const char* what;
        void (*edit)(WavLayout&);
    } cases[] = {
        {"fmt chunk of 40 bytes", [](WavLayout& s) { s.formatLength = 40; }},
        {"chunks before data", [](WavLayout& s) { s.chunksBeforeData = {{"LIST", "INFOabcd"}, {"fact", "1234"}}; }},
        {"odd chunk without pad byte", [](WavLayout& s) { s.chunksBeforeData = {{"junk", "odd"}}; }},
        {"wrong RIFF and WAVE tags", [](WavLayout& s) { s.riffTag = "RIFX"; s.waveTag = "WAVEfmt_"; }},
        {"unsigned 8-bit", [](WavLayout& s) { s.width = 1; s.samples = test::Sine(997, 44100, 5000, 2, 0.5, 1); }},
        {"24-bit", [](WavLayout& s) { s.width = 3; s.samples = test::Sine(997, 44100, 5000, 2, 0.5, 3); }},
        {"32-bit", [](WavLayout& s) { s.width = 4; s.samples = test::Sine(997, 44100, 5000, 2, 0.5, 4); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::ScratchDir dir;
        auto file = dir / "in.wav";
        WavLayout layout = Tone(44100, 2, 2, 5000);
        c.edit(layout);
        test::WriteFile(file, test::BuildWav(layout));
        ASSERT_EQ(ResampleInPlace(file), 1);
        test::PcmFile out = test::ReadPcm(file);
        EXPECT_EQ(out.width, 2);
        ASSERT_EQ(out.samples.size(), layout.samples.size());
        // Narrower sources are only rescaled and rounded (with the dither);
        // wider ones are noise-shaped, which moves a sample a few steps.
        const double full[] = {0, 127, 32767, 8388607, 2147483647};
        const double scale = 32767 / full[layout.width];
        const double tolerance = layout.width > 2 ? 40 : 0.5 + 0.09;  // half a step and the noise
        for (size_t i = 0; i < layout.samples.size(); ++i)
            ASSERT_NEAR(out.samples[i], layout.samples[i] * scale, tolerance) << i;
    }
}

TEST(WavResampler, BadFilesAreRefusedAndKeptAsTheyWere)
{
    struct Case {
        const char* what;
        void (*edit)(WavLayout&);
    } cases[] = {
        {"float samples", [](WavLayout& s) { s.formatTag = 3; }},
        {"fmt chunk longer than any format", [](WavLayout& s) { s.formatLength = 5000; }},
        {"fmt chunk too short", [](WavLayout& s) { s.formatLength = 12; }},
        {"no channels", [](WavLayout& s) { s.channels = 0; }},
        {"negative channel count", [](WavLayout& s) { s.channels = -2; }},
        {"rate 0", [](WavLayout& s) { s.rate = 0; }},
        {"5 bytes per sample", [](WavLayout& s) { s.byteRateOverride = 44100 * 2 * 5; }},
        {"no bytes per sample", [](WavLayout& s) { s.byteRateOverride = 100; }},
        {"data chunk longer than the file", [](WavLayout& s) { s.dataLengthOverride = 1 << 30; }},
        {"rate pair without a small factor (up)", [](WavLayout& s) { s.rate = 31500; }},
        {"rate pair without a small factor (down)", [](WavLayout& s) { s.rate = 52920; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::ScratchDir dir;
        auto file = dir / "keep.wav";
        WavLayout layout = Tone(44100, 2, 2, 2000);
        c.edit(layout);
        auto original = test::BuildWav(layout);
        test::WriteFile(file, original);
        test::MessageSink sink;
        EXPECT_EQ(ResampleInPlace(file, sink.Window()), 0);
        EXPECT_EQ(test::ReadFile(file), original);
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"keep.wav"});
        EXPECT_EQ(sink.Collect().size(), 2u);  // start and done, as for any file
    }
}

TEST(WavResampler, TruncatedHeadersAreRefused)
{
    auto whole = test::BuildWav(Tone(48000, 1, 2, 100));
    for (size_t length : {0, 3, 11, 20, 30, 43}) {
        SCOPED_TRACE(length);
        test::ScratchDir dir;
        auto file = dir / "cut.wav";
        std::vector<unsigned char> cut(whole.begin(), whole.begin() + length);
        test::WriteFile(file, cut);
        EXPECT_EQ(ResampleInPlace(file), 0);
        EXPECT_EQ(test::ReadFile(file), cut);
    }
}

TEST(WavResampler, ATemporaryNameNeverOverwritesAFile)
{
    test::ScratchDir dir;
    auto file = dir / "a.wav";
    test::WriteFile(file, test::BuildWav(Tone(22050, 1, 2, 3000)));
    const std::vector<unsigned char> mine = {'m', 'i', 'n', 'e'};
    test::WriteFile(dir / "a.wav.tmp", mine);
    EXPECT_EQ(ResampleInPlace(file), 1);
    EXPECT_EQ(test::ReadFile(dir / "a.wav.tmp"), mine);
    EXPECT_EQ(test::ReadPcm(file).rate, 44100);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a.wav", "a.wav.tmp"}));
}

TEST(WavResampler, AWriteFailureKeepsTheSource)
{
    test::ScratchDir dir;
    auto file = dir / "big.wav";
    auto original = test::BuildWav(Tone(48000, 2, 2, 96000));
    test::WriteFile(file, original);

    // Let no file of this process grow past 64 KB: the temporary file's
    // writes fail part way (EFBIG instead of a signal).
    rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    int ok = ResampleInPlace(file);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(ok, 0);
    EXPECT_EQ(test::ReadFile(file), original);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"big.wav"});
}

TEST(WavResampler, SeparateOutputLeavesTheInputAlone)
{
    test::ScratchDir dir;
    auto in = dir / "in.wav", out = dir / "out.wav";
    auto original = test::BuildWav(Tone(96000, 2, 3, 20000));
    test::WriteFile(in, original);
    {
        WavResampler r;
        ASSERT_EQ(r.Open(test::Wide(in).c_str(), test::Wide(out).c_str()), 1);
        EXPECT_EQ(r.Run(), 1);
        r.Close();
    }
    EXPECT_EQ(test::ReadFile(in), original);
    test::PcmFile pcm = test::ReadPcm(out);
    EXPECT_EQ(pcm.rate, 44100);
    EXPECT_EQ(pcm.samples.size(), 2u * (20000 * 44100 / 96000 + 2));
}

TEST(WavResampler, OpenFailsCleanly)
{
    test::ScratchDir dir;
    test::MessageSink sink;
    WavResampler r(sink.Window());
    EXPECT_EQ(r.Open(nullptr, L"x"), 0);
    std::wstring missing = test::Wide(dir / "missing.wav");
    EXPECT_EQ(r.Open(missing.c_str(), missing.c_str()), 0);
    EXPECT_EQ(r.Run(), 0);
    r.Close();
    EXPECT_TRUE(sink.Collect().empty());
    EXPECT_TRUE(dir.Names().empty());
}

TEST(WavResampler, DroppingItWithoutCloseKeepsTheSource)
{
    test::ScratchDir dir;
    auto file = dir / "s.wav";
    auto original = test::BuildWav(Tone(48000, 1, 2, 1000));
    test::WriteFile(file, original);
    {
        WavResampler r;
        std::wstring name = test::Wide(file);
        ASSERT_EQ(r.Open(name.c_str(), name.c_str()), 1);
        EXPECT_EQ(r.Run(), 1);
    }
    EXPECT_EQ(test::ReadFile(file), original);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"s.wav"});
}

TEST(WavResampler, DamagedFilesFromOtherProgramsNeverLoseTheSource)
{
    const char* root = std::getenv("KOLVEX_TESTDATA");
    ASSERT_TRUE(root && std::filesystem::exists(std::filesystem::path(root) / "wav"))
        << "KOLVEX_TESTDATA/wav is not available";
    for (auto& entry : std::filesystem::directory_iterator(std::filesystem::path(root) / "wav")) {
        SCOPED_TRACE(entry.path().filename().string());
        test::ScratchDir dir;
        auto file = dir / "copy.wav";
        std::filesystem::copy_file(entry.path(), file);
        auto original = test::ReadFile(file);
        int ok = ResampleInPlace(file);
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"copy.wav"});
        if (ok == 1)
            ExpectResampledHeader(test::ReadFile(file), test::U16(original, 22));
        else
            EXPECT_EQ(test::ReadFile(file), original);
    }
}

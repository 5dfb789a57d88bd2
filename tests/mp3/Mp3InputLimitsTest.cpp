// Audio the encoder cannot take is refused with a reason, never encoded
// into a crash: a valid Monkey's Audio file at 1000 Hz or lower used to
// abort the whole process inside LAME.
#include "Mp3TestSupport.h"

#include "engine/Mp3Sink.h"
#include "modules/apesdk/ApeDecompress.h"
#include "modules/mp3enc/InputLimits.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace mp3test;
using namespace testing_support;

namespace {

// A fixture with the sample rate in its header replaced.
std::filesystem::path WithRate(const std::filesystem::path& dir, const char* fixture, std::uint32_t rate)
{
    auto bytes = ReadBytes(FixturePath(fixture));
    std::uint32_t descriptor;
    std::memcpy(&descriptor, bytes.data() + 8, sizeof descriptor);
    std::memcpy(bytes.data() + descriptor + 20, &rate, sizeof rate);
    auto path = dir / (std::string(fixture) + "." + std::to_string(rate) + ".ape");
    WriteBytes(path, bytes);
    return path;
}

}  // namespace

TEST(Mp3InputLimits, SayWhyInWords)
{
    EXPECT_EQ(Mp3InputProblem(44100, 2, 16), L"");
    EXPECT_EQ(Mp3InputProblem(8000, 1, 8), L"");
    EXPECT_EQ(Mp3InputProblem(768000, 2, 32), L"");
    EXPECT_EQ(Mp3InputProblem(1000, 2, 16), L"sample rate 1000 Hz is below what MP3 can hold");
    EXPECT_EQ(Mp3InputProblem(7999, 1, 16), L"sample rate 7999 Hz is below what MP3 can hold");
    EXPECT_EQ(Mp3InputProblem(0, 1, 16), L"sample rate 0 Hz is below what MP3 can hold");
    EXPECT_EQ(Mp3InputProblem(768001, 2, 16), L"sample rate 768001 Hz is above what the MP3 encoder can take");
    EXPECT_EQ(Mp3InputProblem(44100, 2, 20), L"samples of 20 bits are not a width the MP3 encoder can take");
    EXPECT_EQ(Mp3InputProblem(44100, 6, 16), L"6 channels are more than MP3 can hold");
    EXPECT_EQ(Mp3InputProblem(44100, 0, 16), L"audio without channels cannot be encoded");
}

TEST(Mp3InputLimits, TheModuleRefusesRatesOutsideThem)
{
    Workspace work;
    for (int rate : {100, 1000, 7999, 1000000}) {
        SCOPED_TRACE(rate);
        EXPECT_LT(Encode(Tones({440}, 0.5, 4096, rate, 2, 16), work.Path("low.mp3")), 0);
        EXPECT_FALSE(std::filesystem::exists(work.Dir() / "low.mp3"));
    }
    EXPECT_EQ(Encode(Tones({440}, 0.5, 8000, 8000, 1, 16), work.Path("ok.mp3")), MP3_S_OK);
}

// Headers patched to rates from 8 to 1000 Hz (mono: LAME asserted; stereo:
// it wrote past its buffers and the process died of SIGSEGV) and to one
// beyond what LAME takes: each decodes, is refused by the sink, and the
// test process lives on to check the next.
TEST(Mp3InputLimits, PatchedApeHeadersAreRefusedBeforeEncoding)
{
    Workspace work;
    for (const char* fixture : {"mono16_22k.ape", "stereo16_44k.ape", "stereo8_11k.ape"}) {
        for (std::uint32_t rate : {8u, 100u, 1000u, 1001u, 1000000u}) {
            SCOPED_TRACE(std::string(fixture) + " at " + std::to_string(rate));
            int error = -1;
            std::unique_ptr<IAPEDecompress> decoder(
                CreateIAPEDecompress(WithRate(work.Dir(), fixture, rate).wstring().c_str(), &error));
            ASSERT_TRUE(decoder) << error;
            WAVEFORMATEX format{};
            decoder->GetInfo(APE_INFO_WAVEFORMATEX, reinterpret_cast<std::intptr_t>(&format));
            ASSERT_EQ(format.nSamplesPerSec, rate);
            EXPECT_NE(Mp3InputProblem(format.nSamplesPerSec, format.nChannels, format.wBitsPerSample), L"");

            Mp3Sink sink;
            ASSERT_EQ(sink.Load(L"lame_enc"), 1);
            sink.InitDefaults();
            EXPECT_LT(sink.Open(&format, work.Path("out.mp3"), EncodeSettings()), 0);
            EXPECT_EQ(sink.FailureReason(),
                      Mp3InputProblem(format.nSamplesPerSec, format.nChannels, format.wBitsPerSample));
            EXPECT_FALSE(std::filesystem::exists(work.Dir() / "out.mp3"));
        }
    }
}

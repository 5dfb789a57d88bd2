#include "Mp3TestSupport.h"

#include "engine/Mp3Sink.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <set>

using namespace mp3test;

namespace {

// Bins of a 32768-point block at 44100 Hz: about 1 kHz and 5 kHz.
constexpr std::size_t kBlock = 32768;
constexpr int kBinLow = 743;
constexpr int kBinHigh = 3715;
double BinHz(int bin) { return bin * 44100.0 / kBlock; }

ConversionSettings Settings(bool cbr, std::uint32_t low, std::uint32_t high)
{
    ConversionSettings s;
    s.cbrFlag = cbr ? 1 : 0;
    s.mp3.cbrBitRate = high;
    s.mp3.vbrMinimum = low;
    s.mp3.vbrMaximum = high;
    s.mp3.quality = 2;
    return s;
}

class Mp3SinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(testing_support::MissingTools({"ffmpeg", "ffprobe"}), "") << "no independent decoder";
    }

    Workspace work_;
};

}  // namespace

TEST_F(Mp3SinkTest, BitRateModeAndHeaderBitsReachEveryFrame)
{
    // Quiet, busy and silent stretches make a variable encoder choose
    // several rates.
    Pcm pcm = Tones({440}, 0.001, 44100);
    for (const Pcm& part : {Tones({300, 2100, 7000, 11000, 15000}, 0.15, 44100), Tones({}, 0, 44100)})
        pcm.bytes.insert(pcm.bytes.end(), part.bytes.begin(), part.bytes.end());

    for (bool cbr : {true, false}) {
        SCOPED_TRACE(cbr ? "CBR 192" : "VBR 64-192");
        ConversionSettings settings = Settings(cbr, 64, 192);
        settings.mp3.crcFlag = cbr;
        settings.mp3.copyrightFlag = cbr;
        settings.mp3.originalFlag = !cbr;
        work_.WriteSettings(settings);
        ASSERT_EQ(Encode(pcm, work_.Path("out.mp3")), MP3_S_OK);

        FrameScan scan = ScanFrames(work_.Dir() / "out.mp3");
        ASSERT_TRUE(scan.wholeFile);
        EXPECT_EQ(scan.infoTag, cbr ? "Info" : "Xing");
        std::set<int> rates;
        for (std::size_t i = 1; i < scan.frames.size(); ++i) {
            const FrameHeader& frame = scan.frames[i];
            rates.insert(frame.bitRate);
            EXPECT_EQ(frame.sampleRate, 44100);
            EXPECT_EQ(frame.crc, cbr);
            EXPECT_EQ(frame.copyright, cbr);
            EXPECT_EQ(frame.original, !cbr);
        }
        EXPECT_EQ(cbr ? rates == std::set<int>{192} : rates.size() >= 3, true);
        EXPECT_GE(*rates.begin(), 64);
        EXPECT_LE(*rates.rbegin(), 192);

        // The completed LAME header tells the decoder the delay and padding.
        int channels = 0, rate = 0;
        auto decoded = DecodeWithFfmpeg(work_.Dir() / "out.mp3", channels, rate);
        EXPECT_EQ(channels, 2);
        EXPECT_EQ(decoded.size(), static_cast<std::size_t>(pcm.Frames()) * 2);
    }
}

TEST_F(Mp3SinkTest, TwoTonesComeBackCleanInBothModes)
{
    Pcm pcm = Tones({BinHz(kBinLow), BinHz(kBinHigh)}, 0.3, 3 * static_cast<int>(kBlock));
    std::vector<float> original(pcm.bytes.size() / 2);
    for (std::size_t i = 0; i < original.size(); ++i)
        original[i] = static_cast<std::int16_t>(pcm.bytes[2 * i] | (pcm.bytes[2 * i + 1] << 8)) / 32768.0f;

    for (bool cbr : {true, false}) {
        SCOPED_TRACE(cbr ? "CBR 192" : "VBR 64-192");
        work_.WriteSettings(Settings(cbr, 64, 192));
        ASSERT_EQ(Encode(pcm, work_.Path("tones.mp3")), MP3_S_OK);
        int channels = 0, rate = 0;
        auto decoded = DecodeWithFfmpeg(work_.Dir() / "tones.mp3", channels, rate);
        ASSERT_EQ(decoded.size(), original.size());
        for (int channel = 0; channel < 2; ++channel) {
            auto in = SpectrumDb(original, 2, channel, kBlock, kBlock);
            auto out = SpectrumDb(decoded, 2, channel, kBlock, kBlock);
            EXPECT_NEAR(out[kBinLow], in[kBinLow], 0.5);
            EXPECT_NEAR(out[kBinHigh], in[kBinHigh], 0.5);
            double rest = -300;
            for (int k = 0; k < static_cast<int>(out.size()); ++k) {
                if (std::abs(k - kBinLow) > 8 && std::abs(k - kBinHigh) > 8)
                    rest = std::max(rest, out[k]);
            }
            EXPECT_LT(rest, std::min(out[kBinLow], out[kBinHigh]) - 60);
        }
    }
}

TEST_F(Mp3SinkTest, EveryInputWidthAndTheChosenSampleRate)
{
    struct Case {
        int bits, channels, rate;
        std::uint32_t outputRate;  // 0 = the input's
        int expectedRate;          // 0 = not an MP3 rate: the encoder picks
    };
    for (Case c : {Case{8, 1, 22050, 0, 22050}, Case{16, 2, 48000, 0, 48000}, Case{24, 2, 44100, 32000, 32000},
                   Case{32, 1, 32000, 0, 32000}, Case{16, 2, 96000, 0, 0}}) {
        SCOPED_TRACE(std::to_string(c.bits) + " bits at " + std::to_string(c.rate));
        ConversionSettings settings = Settings(true, 128, 128);
        settings.mp3.sampleRate = c.outputRate;
        work_.WriteSettings(settings);
        ASSERT_EQ(Encode(Tones({0.05 * c.rate}, 0.5, c.rate / 2, c.rate, c.channels, c.bits), work_.Path("w.mp3")),
                  MP3_S_OK);
        FrameScan scan = ScanFrames(work_.Dir() / "w.mp3");
        ASSERT_TRUE(scan.wholeFile);
        if (c.expectedRate) {
            EXPECT_EQ(scan.frames.back().sampleRate, c.expectedRate);
        }

        // A tone at half scale comes back at half scale, whatever the width.
        int channels = 0, rate = 0;
        auto decoded = DecodeWithFfmpeg(work_.Dir() / "w.mp3", channels, rate);
        ASSERT_EQ(channels, c.channels);
        double peak = 0;
        for (std::size_t i = decoded.size() / 4; i < decoded.size() * 3 / 4; ++i)
            peak = std::max(peak, static_cast<double>(std::abs(decoded[i])));
        EXPECT_NEAR(peak, 0.5, 0.05);
    }
}

TEST_F(Mp3SinkTest, FailuresLeaveNoFileBehind)
{
    work_.WriteSettings(Settings(true, 128, 128));
    Pcm pcm = Tones({1000}, 0.3, 4096);

    // More channels than MP3 holds: refused before the file is touched.
    std::ofstream(work_.Dir() / "keep.mp3") << "keep";
    Pcm surround = Tones({1000}, 0.3, 4096, 44100, 4);
    EXPECT_LT(Encode(surround, work_.Path("keep.mp3")), 0);
    EXPECT_EQ(std::filesystem::file_size(work_.Dir() / "keep.mp3"), 4u);

    EXPECT_EQ(Encode(pcm, work_.Path("no/such/dir.mp3")), MP3_E_FAIL);

    // A quality the encoder refuses: no file. (Reading a damaged settings
    // file repairs such a value before it gets this far.)
    ConversionSettings bad = Settings(true, 128, 128);
    bad.mp3.quality = 10;
    work_.WriteSettings(bad);
    EXPECT_EQ(Encode(pcm, work_.Path("bad.mp3")), MP3_E_INVALIDARG);
    EXPECT_FALSE(std::filesystem::exists(work_.Dir() / "bad.mp3"));

    work_.WriteSettings(Settings(true, 128, 128));
    {
        Mp3Sink sink;  // dropped before Finish
        ASSERT_EQ(sink.Load(L"lame_enc"), 1);
        auto format = pcm.WaveFormat();
        ASSERT_EQ(sink.Open(reinterpret_cast<const WAVEFORMATEX*>(format.data()), work_.Path("dropped.mp3"), EncodeSettings()), MP3_S_OK);
        sink.Encode(pcm.bytes.data(), static_cast<int>(pcm.bytes.size()));
    }
    EXPECT_FALSE(std::filesystem::exists(work_.Dir() / "dropped.mp3"));
}

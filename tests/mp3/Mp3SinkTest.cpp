#include "Mp3TestSupport.h"

#include "engine/Mp3Sink.h"
#include "platform/Module.h"
#include "settings/SettingsPath.h"

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

ConversionSettings Cbr(std::uint32_t kbps)
{
    ConversionSettings s;
    s.cbrFlag = 1;
    s.mp3.cbrBitRate = kbps;
    s.mp3.quality = 2;
    return s;
}

ConversionSettings Vbr(std::uint32_t low, std::uint32_t high)
{
    ConversionSettings s;
    s.cbrFlag = 0;
    s.mp3.vbrMinimum = low;
    s.mp3.vbrMaximum = high;
    s.mp3.quality = 2;
    return s;
}

class Mp3SinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveTool("ffmpeg") || !HaveTool("ffprobe"))
            GTEST_SKIP() << "ffmpeg/ffprobe not installed: no independent decoder";
    }

    Workspace work_;
};

}  // namespace

TEST_F(Mp3SinkTest, ConstantBitRateWithCrcAndCopyrightDecodesGaplessly)
{
    ConversionSettings settings = Cbr(192);
    settings.mp3.crcFlag = 1;
    settings.mp3.copyrightFlag = 1;
    settings.mp3.originalFlag = 0;
    work_.WriteSettings(settings);
    Pcm pcm = Tones({BinHz(kBinLow), BinHz(kBinHigh)}, {0.3, 0.3}, 100000);
    ASSERT_EQ(Encode(pcm, work_.Path("cbr.mp3")), MP3_S_OK);

    FrameScan scan = ScanFrames(ReadFile(work_.Dir() / "cbr.mp3"));
    ASSERT_TRUE(scan.wholeFile);
    EXPECT_EQ(scan.infoTag, "Info");
    for (const FrameHeader& frame : scan.frames) {
        EXPECT_EQ(frame.bitRate, 192);
        EXPECT_EQ(frame.sampleRate, 44100);
        EXPECT_TRUE(frame.crc);
        EXPECT_TRUE(frame.copyright);
        EXPECT_FALSE(frame.original);
    }

    int channels = 0, rate = 0;
    auto decoded = DecodeWithFfmpeg(work_.Dir() / "cbr.mp3", channels, rate);
    EXPECT_EQ(channels, 2);
    EXPECT_EQ(rate, 44100);
    // The completed LAME header tells the decoder the delay and padding.
    EXPECT_EQ(decoded.size(), static_cast<std::size_t>(pcm.Frames()) * 2);
}

TEST_F(Mp3SinkTest, VariableBitRateStaysInItsRangeAndCarriesAXingHeader)
{
    ConversionSettings settings = Vbr(64, 192);
    settings.mp3.crcFlag = 0;
    settings.mp3.copyrightFlag = 0;
    settings.mp3.originalFlag = 1;
    work_.WriteSettings(settings);
    // Quiet, loud and silent stretches make the encoder choose several rates.
    Pcm quiet = Tones({440}, {0.001}, 44100);
    Pcm loud = Tones({300, 2100, 7000, 11000, 15000}, {0.15, 0.15, 0.15, 0.15, 0.15}, 44100);
    Pcm silence = Tones({}, {}, 44100);
    Pcm pcm = quiet;
    pcm.bytes.insert(pcm.bytes.end(), loud.bytes.begin(), loud.bytes.end());
    pcm.bytes.insert(pcm.bytes.end(), silence.bytes.begin(), silence.bytes.end());
    ASSERT_EQ(Encode(pcm, work_.Path("vbr.mp3")), MP3_S_OK);

    FrameScan scan = ScanFrames(ReadFile(work_.Dir() / "vbr.mp3"));
    ASSERT_TRUE(scan.wholeFile);
    EXPECT_EQ(scan.infoTag, "Xing");
    std::set<int> rates;
    for (std::size_t i = 1; i < scan.frames.size(); ++i) {
        const FrameHeader& frame = scan.frames[i];
        rates.insert(frame.bitRate);
        EXPECT_GE(frame.bitRate, 64);
        EXPECT_LE(frame.bitRate, 192);
        EXPECT_FALSE(frame.crc);
        EXPECT_FALSE(frame.copyright);
        EXPECT_TRUE(frame.original);
    }
    EXPECT_GE(rates.size(), 3u);

    int channels = 0, rate = 0;
    auto decoded = DecodeWithFfmpeg(work_.Dir() / "vbr.mp3", channels, rate);
    EXPECT_EQ(decoded.size(), static_cast<std::size_t>(pcm.Frames()) * 2);
}

TEST_F(Mp3SinkTest, TwoTonesComeBackCleanAtBothBitRateModes)
{
    for (const ConversionSettings& settings : {Cbr(192), Vbr(64, 192)}) {
        work_.WriteSettings(settings);
        Pcm pcm = Tones({BinHz(kBinLow), BinHz(kBinHigh)}, {0.3, 0.3}, 3 * static_cast<int>(kBlock));
        ASSERT_EQ(Encode(pcm, work_.Path("tones.mp3")), MP3_S_OK);
        int channels = 0, rate = 0;
        auto decoded = DecodeWithFfmpeg(work_.Dir() / "tones.mp3", channels, rate);
        ASSERT_EQ(decoded.size(), static_cast<std::size_t>(pcm.Frames()) * 2);

        std::vector<float> original(pcm.bytes.size() / 2);
        for (std::size_t i = 0; i < original.size(); ++i)
            original[i] = static_cast<std::int16_t>(pcm.bytes[2 * i] | (pcm.bytes[2 * i + 1] << 8)) / 32768.0f;
        for (int channel = 0; channel < 2; ++channel) {
            auto in = SpectrumDb(original, 2, channel, kBlock, kBlock);
            auto out = SpectrumDb(decoded, 2, channel, kBlock, kBlock);
            double loudest = std::max(out[kBinLow], out[kBinHigh]);
            EXPECT_NEAR(out[kBinLow], in[kBinLow], 0.5) << "cbr flag " << settings.cbrFlag;
            EXPECT_NEAR(out[kBinHigh], in[kBinHigh], 0.5) << "cbr flag " << settings.cbrFlag;
            double rest = -300;
            for (int k = 0; k < static_cast<int>(out.size()); ++k) {
                if (std::abs(k - kBinLow) > 8 && std::abs(k - kBinHigh) > 8)
                    rest = std::max(rest, out[k]);
            }
            EXPECT_LT(rest, loudest - 60) << "cbr flag " << settings.cbrFlag;
        }
    }
}

TEST_F(Mp3SinkTest, EveryInputWidthAndTheChosenSampleRate)
{
    struct Case {
        int bits, channels, rate;
        std::uint32_t outputRate;  // 0 = the input's
        int expectedRate;
    };
    for (Case c : {Case{8, 1, 22050, 0, 22050}, Case{16, 2, 48000, 0, 48000}, Case{24, 2, 44100, 32000, 32000},
                   Case{32, 1, 32000, 0, 32000}, Case{16, 2, 96000, 0, 0}}) {
        ConversionSettings settings = Cbr(128);
        settings.mp3.sampleRate = c.outputRate;
        work_.WriteSettings(settings);
        double hz = 0.05 * c.rate;
        Pcm pcm = Tones({hz}, {0.5}, c.rate / 2, c.rate, c.channels, c.bits);
        ASSERT_EQ(Encode(pcm, work_.Path("w.mp3")), MP3_S_OK) << c.bits << " bits";
        FrameScan scan = ScanFrames(ReadFile(work_.Dir() / "w.mp3"));
        ASSERT_TRUE(scan.wholeFile) << c.bits << " bits";
        if (c.expectedRate)
            EXPECT_EQ(scan.frames.back().sampleRate, c.expectedRate) << c.bits << " bits";
        else
            EXPECT_LE(scan.frames.back().sampleRate, 48000);  // no MP3 rate of its own: the encoder picks

        int channels = 0, rate = 0;
        auto decoded = DecodeWithFfmpeg(work_.Dir() / "w.mp3", channels, rate);
        ASSERT_EQ(channels, c.channels);
        // A tone at half scale comes back at half scale, whatever the width.
        double peak = 0;
        for (std::size_t i = decoded.size() / 4; i < decoded.size() * 3 / 4; ++i)
            peak = std::max(peak, static_cast<double>(std::abs(decoded[i])));
        EXPECT_NEAR(peak, 0.5, 0.05) << c.bits << " bits";
    }
}

TEST_F(Mp3SinkTest, MissingSettingsFileIsRecreatedWithEncoderDefaults)
{
    Pcm pcm = Tones({1000, 9000}, {0.3, 0.3}, 48000, 48000);
    ASSERT_EQ(Encode(pcm, work_.Path("d.mp3")), MP3_S_OK);
    EXPECT_EQ(std::filesystem::file_size(work_.Dir() / "configure.dat"), 3200u);

    // Encoder defaults: 44100 Hz, variable 80..160 kbit/s (the CBR flag is 0).
    FrameScan scan = ScanFrames(ReadFile(work_.Dir() / "d.mp3"));
    ASSERT_TRUE(scan.wholeFile);
    EXPECT_EQ(scan.infoTag, "Xing");
    for (std::size_t i = 1; i < scan.frames.size(); ++i) {
        EXPECT_EQ(scan.frames[i].sampleRate, 44100);
        EXPECT_GE(scan.frames[i].bitRate, 80);
        EXPECT_LE(scan.frames[i].bitRate, 160);
        EXPECT_FALSE(scan.frames[i].crc);
    }
}

TEST_F(Mp3SinkTest, FailuresLeaveNoFileBehind)
{
    work_.WriteSettings(Cbr(128));
    Pcm pcm = Tones({1000}, {0.3}, 4096);

    // More channels than MP3 holds: refused before the file is touched.
    std::ofstream(work_.Dir() / "keep.mp3") << "keep";
    Pcm surround = pcm;
    surround.channels = 4;
    surround.bytes.resize(surround.bytes.size() / 4 * 4);
    EXPECT_LT(Encode(surround, work_.Path("keep.mp3")), 0);
    EXPECT_EQ(ReadFile(work_.Dir() / "keep.mp3").size(), 4u);

    // An output folder that does not exist.
    EXPECT_EQ(Encode(pcm, work_.Path("no/such/dir.mp3")), MP3_E_FAIL);

    // A setting the encoder cannot honour.
    ConversionSettings bad = Cbr(128);
    bad.mp3.quality = 10;
    work_.WriteSettings(bad);
    EXPECT_EQ(Encode(pcm, work_.Path("bad.mp3")), MP3_E_INVALIDARG);
    EXPECT_FALSE(std::filesystem::exists(work_.Dir() / "bad.mp3"));

    // A settings file that can neither be read nor re-created.
    SetSettingsPath(work_.Path("no/such/configure.dat"));
    EXPECT_EQ(Encode(pcm, work_.Path("nosettings.mp3")), MP3_E_FAIL);
    EXPECT_FALSE(std::filesystem::exists(work_.Dir() / "nosettings.mp3"));
    SetSettingsPath(work_.SettingsFile());

    // A sink dropped before Finish.
    work_.WriteSettings(Cbr(128));
    {
        Mp3Sink sink;
        ASSERT_EQ(sink.Load(L"lame_enc"), 1);
        sink.InitDefaults();
        auto format = pcm.WaveFormat();
        ASSERT_EQ(sink.Open(format.data(), work_.Path("dropped.mp3")), MP3_S_OK);
        sink.Encode(pcm.bytes.data(), static_cast<int>(pcm.bytes.size()));
    }
    EXPECT_FALSE(std::filesystem::exists(work_.Dir() / "dropped.mp3"));
}

// The conversion routines on raw sample streams, measured on 24-bit output.
#include "resample/SsrcEngine.h"
#include "resample/SsrcMessages.h"

#include "TestWav.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

constexpr int R = 44100;

struct Result {
    std::vector<std::int32_t> samples;
    SsrcEngine::Outcome outcome;
    double peak;
};

// Converts `samples` (interleaved, `width` bytes) from `rate` to 44100 Hz
// at the given output width, the way the driver calls the routines.
Result Convert(const std::vector<std::int32_t>& samples, int rate, int channels, int width,
               int targetWidth, int ditherKind = 0, win::HWND window = nullptr)
{
    std::FILE* in = test::RawSamples(samples, width);
    std::FILE* out = std::tmpfile();
    SsrcEngine engine(window);
    const int full = targetWidth == 3 ? 8388608 : 32768;
    engine.DitherSetup(R, channels, -full, full - 1, ditherKind, 0, 0.18);
    const std::uint32_t frames = static_cast<std::uint32_t>(samples.size() / channels);
    double peak;
    if (rate < R)
        peak = engine.ResampleUp(in, out, channels, width, targetWidth, rate, R, 1.0, frames, 0, ditherKind);
    else if (rate > R)
        peak = engine.ResampleDown(in, out, channels, width, targetWidth, rate, R, 1.0, frames, 0, ditherKind);
    else
        peak = engine.RequantizeOnly(in, out, channels, width, targetWidth, 1.0, frames, 0, ditherKind);
    engine.DitherRelease(channels);
    Result r{test::ReadRaw(out, targetWidth), engine.LastOutcome(), peak};
    std::fclose(in);
    std::fclose(out);
    return r;
}

std::size_t ExpectedFrames(std::size_t frames, int rate)
{
    return static_cast<std::size_t>(std::floor(double(frames) * R / rate)) + 2;
}

// Level (dB against `amplitude`) and lag (output samples) of a sine of
// frequency f fitted to the middle half of `y`.
std::pair<double, double> FitSine(const std::vector<std::int32_t>& y, double f, double amplitude)
{
    const double w = 2 * std::numbers::pi * f / R;
    double ss = 0, cc = 0, sc = 0, ys = 0, yc = 0;
    for (std::size_t j = y.size() / 4; j < 3 * y.size() / 4; ++j) {
        double s = std::sin(w * j), c = std::cos(w * j), v = y[j] / 8388607.0;
        ss += s * s, cc += c * c, sc += s * c, ys += v * s, yc += v * c;
    }
    const double det = ss * cc - sc * sc;
    const double a = (ys * cc - yc * sc) / det, b = (yc * ss - ys * sc) / det;
    return {20 * std::log10(std::hypot(a, b) / amplitude), -std::atan2(b, a) / w};
}

double RmsDb(const std::vector<std::int32_t>& y, std::size_t from, std::size_t to)
{
    double s = 0;
    for (std::size_t j = from; j < to; ++j)
        s += double(y[j]) * y[j];
    return 10 * std::log10(s / (to - from) / (8388607.0 * 8388607.0));
}

}  // namespace

TEST(Conversion, OutputLengthFollowsTheInputDuration)
{
    // Shorter than one block, and several blocks long.
    for (int rate : {48000, 96000, 22050, 32000, 8000}) {
        for (std::size_t frames : {3000u, 150000u}) {
            SCOPED_TRACE(testing::Message() << rate << " Hz, " << frames << " frames");
            auto in = test::Sine(440, rate, frames, 2, 0.5, 2);
            Result r = Convert(in, rate, 2, 2, 2, 1);
            EXPECT_EQ(r.outcome, SsrcEngine::Outcome::Done);
            EXPECT_EQ(r.samples.size(), 2 * ExpectedFrames(frames, rate));
        }
    }
}

TEST(Conversion, ToneKeepsItsLevelAndTiming)
{
    for (int rate : {8000, 11025, 16000, 22050, 24000, 32000, 44100, 48000, 88200, 96000, 192000}) {
        SCOPED_TRACE(rate);
        auto in = test::Sine(1000, rate, rate * 3 / 2, 1, 0.5, 3);
        Result r = Convert(in, rate, 1, 3, 3);
        auto [levelDb, lag] = FitSine(r.samples, 1000, 0.5);
        EXPECT_NEAR(levelDb, 0, 0.01);
        EXPECT_NEAR(lag, 0, 0.01);  // well inside the one sample we promise
    }
}

TEST(Conversion, ContentAboveTheNewNyquistIsRemoved)
{
    // The tone's abrupt start and end are broadband clicks; they and the
    // filters' ringing are left out.
    auto in = test::Sine(30000, 96000, 2 * 96000, 1, 0.99, 3);
    Result r = Convert(in, 96000, 1, 3, 3);
    ASSERT_EQ(r.samples.size(), ExpectedFrames(2 * 96000, 96000));
    EXPECT_LT(RmsDb(r.samples, R / 4, r.samples.size() - R / 4), -120);
}

TEST(Conversion, RefusedRatePairsWriteNothing)
{
    auto in = test::Sine(440, 31500, 1000, 1, 0.5, 2);
    Result up = Convert(in, 31500, 1, 2, 2);
    EXPECT_EQ(up.outcome, SsrcEngine::Outcome::Refused);
    EXPECT_TRUE(up.samples.empty());
    Result down = Convert(test::Sine(440, 52920, 1000, 1, 0.5, 2), 52920, 1, 2, 2);
    EXPECT_EQ(down.outcome, SsrcEngine::Outcome::Refused);
    EXPECT_TRUE(down.samples.empty());
}

TEST(Conversion, OverloadClipsAndReportsThePeak)
{
    // Full-scale square waves ring above full scale after filtering.
    std::vector<std::int32_t> square(48000);
    for (size_t i = 0; i < square.size(); ++i)
        square[i] = (i / 50) % 2 ? 32767 : -32768;
    Result r = Convert(square, 48000, 1, 2, 2, 0);
    EXPECT_GT(r.peak, 1.0);
    for (std::int32_t v : r.samples)
        ASSERT_TRUE(v >= -32768 && v <= 32767);
}

TEST(Conversion, AgreesWithSoxOnBandLimitedNoise)
{
    ASSERT_EQ(testing_support::MissingTools({"sox"}), "");
    test::ScratchDir dir;
    auto noise = dir / "pink48.wav", theirs = dir / "sox44.wav";
    ASSERT_TRUE(test::Sox("-n -r 48000 -b 24 -c 1 -t wavpcm " + noise.string() +
                          " synth 8 pinknoise gain -8 sinc -20000"));
    ASSERT_TRUE(test::Sox(noise.string() + " -b 24 -t wavpcm " + theirs.string() + " rate -v 44100"));
    test::PcmFile in = test::ReadPcm(noise), ref = test::ReadPcm(theirs);
    Result ours = Convert(in.samples, 48000, 1, 3, 3);

    const std::size_t edge = R / 2;
    const std::size_t end = std::min(ours.samples.size(), ref.samples.size()) - edge;
    double diff = 0, signal = 0;
    for (std::size_t j = edge; j < end; ++j) {
        double d = double(ours.samples[j]) - ref.samples[j];
        diff += d * d;
        signal += double(ref.samples[j]) * ref.samples[j];
    }
    EXPECT_LT(10 * std::log10(diff / signal), -90);
}

TEST(Conversion, UpsamplingReportsProgressEveryEighthBlock)
{
    // From 11025 Hz a block yields 65536 output frames; with the 32767
    // frames of delay dropped, this input's 6480002 need exactly 100 blocks.
    const std::size_t frames = 1620000;
    std::vector<std::int32_t> silence(frames, 0);
    test::MessageSink sink;
    Convert(silence, 11025, 1, 1, 2, 1, sink.Window());
    std::vector<int> percents;
    for (const win::MSG& m : sink.Collect()) {
        ASSERT_EQ(m.message, WM_SSRC_PROGRESS);
        percents.push_back(static_cast<int>(m.wParam));
    }
    ASSERT_EQ(percents.size(), 12u);
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
    EXPECT_GT(percents.front(), 0);
    EXPECT_LE(percents.back(), 100);
}

TEST(Conversion, RequantizingShapesTheErrorOf24BitSources)
{
    auto in = test::Sine(1000, R, 20000, 2, 0.25, 3);
    Result r = Convert(in, R, 2, 3, 2, 3);
    ASSERT_EQ(r.samples.size(), in.size());
    double sum = 0;
    int worst = 0;
    bool roundedPlainly = true;
    for (size_t i = 0; i < in.size(); ++i) {
        double exact = in[i] / 8388607.0 * 32767;
        int err = r.samples[i] - static_cast<int>(std::lround(exact));
        roundedPlainly = roundedPlainly && err == 0;
        worst = std::max(worst, std::abs(err));
        sum += r.samples[i] - exact;
    }
    EXPECT_FALSE(roundedPlainly);       // the error feedback is at work
    EXPECT_LE(worst, 40);               // but stays a few steps
    EXPECT_NEAR(sum / in.size(), 0, 0.1);
}

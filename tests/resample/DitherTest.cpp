#include "resample/Dither.h"
#include "resample/RealDft.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

using namespace ssrc;

TEST(Dither, PlainDitherLeavesIntegersAlone)
{
    Dither d;
    EXPECT_EQ(d.Setup(44100, 2, -32768, 32767, kPlainDither, kRectangular, 0.18), 1);
    double peak = 0;
    // Twice round the whole range, so every noise value meets many samples.
    for (int round = 0; round < 2; ++round)
        for (int v = -32768; v <= 32767; ++v)
            ASSERT_EQ(d.Quantize(v, &peak, kPlainDither, v & 1), v);
    // Noise may push the extremes a hair past the limits: recorded, but
    // nothing that counts as clipping.
    EXPECT_LT(peak, 1.00001);
}

TEST(Dither, ClipsAndRecordsTheOvershoot)
{
    for (int kind : {kPlainDither, kRateShaping}) {
        SCOPED_TRACE(kind);
        Dither d;
        d.Setup(44100, 1, -32768, 32767, kind, kRectangular, 0.18);
        double peak = 0;
        EXPECT_EQ(d.Quantize(40000, &peak, kind, 0), 32767);
        EXPECT_GE(peak, 40000 / 32767.0 - 0.001);
        EXPECT_EQ(d.Quantize(-50000, &peak, kind, 0), -32768);
        EXPECT_GE(peak, 50000 / 32768.0 - 0.001);
    }
}

TEST(Dither, ShapedHalvesRoundAwayFromZero)
{
    // Without noise and with no error fed back yet, a value halfway
    // between two steps goes to the one away from zero, as plain rounding
    // does (rounding to even would take 2.5 to 2).
    const double halves[] = {0.5, 1.5, 2.5, -0.5, -2.5, 32766.5, -32767.5};
    const int expected[] = {1, 2, 3, -1, -3, 32767, -32768};
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(halves[i]);
        Dither d;
        d.Setup(44100, 1, -32768, 32767, kRateShaping, kRectangular, 0.0);
        double peak = 0;
        EXPECT_EQ(d.Quantize(halves[i], &peak, kRateShaping, 0), expected[i]);
        EXPECT_EQ(peak, 0);
    }
}

TEST(Dither, ShaperFollowsTheTargetRate)
{
    struct Case {
        int rate, kind, row, length, result;
    } cases[] = {
        {44100, kRateShaping, 2, 20, 27},   {48000, kRateShaping, 1, 16, 18},
        {32000, kRateShaping, 4, 16, 8},    {44100, kAltRateShaping, 7, 15, 9},
        {48000, kAltRateShaping, 6, 16, 10}, {32000, kAltRateShaping, 4, 16, 8},
        {44100, kFirstOrderShaping, 0, 1, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rate << " kind " << c.kind);
        Dither d;
        testing::internal::CaptureStderr();
        EXPECT_EQ(d.Setup(c.rate, 2, -32768, 32767, c.kind, kRectangular, 0.18), c.result);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(d.ShaperRow(), c.row);
        EXPECT_EQ(d.ShaperLength(), c.length);
    }
}

TEST(Dither, UnknownRateFallsBackToFirstOrderWithAWarning)
{
    Dither d;
    testing::internal::CaptureStderr();
    d.Setup(96000, 1, -32768, 32767, kRateShaping, kRectangular, 0.0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Warning: ATH based noise shaping for destination frequency 96000Hz is not "
              "available, using triangular dither\n");
    EXPECT_EQ(d.ShaperRow(), 0);
    EXPECT_EQ(d.ShaperLength(), 1);

    // Without noise the one tap -1 feeds each rounding error back:
    // 0.3 -> 0 (error -0.3), then 0.3 + 0.3 -> 1 (error 0.4), then
    // 0.3 - 0.4 -> 0.
    double peak = 0;
    EXPECT_EQ(d.Quantize(0.3, &peak, kRateShaping, 0), 0);
    EXPECT_EQ(d.Quantize(0.3, &peak, kRateShaping, 0), 1);
    EXPECT_EQ(d.Quantize(0.3, &peak, kRateShaping, 0), 0);
}

TEST(Dither, NoiseDensitiesHaveTheirSpread)
{
    // Rectangular noise stays within half the amplitude; triangular within
    // the amplitude; Gaussian has the amplitude as its deviation.
    struct Case {
        int density;
        double bound, deviation;
    } cases[] = {{kRectangular, 0.5, 1 / std::sqrt(12.0)},
                 {kTriangular, 1.0, 1 / std::sqrt(6.0)},
                 {kGaussian, 10.0, 1.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.density);
        Dither d;
        d.Setup(44100, 1, -1000000, 1000000, kPlainDither, c.density, 1000.0);
        double peak = 0, sum = 0, sum2 = 0;
        const int n = 65536;
        for (int i = 0; i < n; ++i) {
            double noise = d.Quantize(0, &peak, kPlainDither, 0) / 1000.0;
            ASSERT_TRUE(std::isfinite(noise));
            EXPECT_LE(std::abs(noise), c.bound + 0.001);
            sum += noise;
            sum2 += noise * noise;
        }
        EXPECT_NEAR(sum / n, 0, 0.02);
        EXPECT_NEAR(std::sqrt(sum2 / n), c.deviation, 0.03);
    }
}

TEST(Dither, ShapingMovesTheErrorOutOfTheMidBand)
{
    // A quiet tone quantised to a coarse step: with the 44100 Hz shaper the
    // error spectrum between 1 and 5 kHz must sit well below plain dither's,
    // paid for above 15 kHz.
    const int n = 8192;
    auto errorBands = [&](int kind) {
        Dither d;
        d.Setup(44100, 1, -32768, 32767, kind, kRectangular, 0.18);
        std::vector<double> e(n);
        double peak = 0;
        for (int i = 0; i < n; ++i) {
            double v = 3.3 * std::sin(2 * std::numbers::pi * 441 * i / 44100.0) + 0.25;
            e[i] = d.Quantize(v, &peak, kind, 0) - v;
        }
        std::vector<int> ip(2 + 91);
        std::vector<double> w(n / 2);
        RealDft(n, 1, e.data(), ip.data(), w.data());
        auto band = [&](double lo, double hi) {
            double s = 0;
            for (int k = int(lo * n / 44100); k < int(hi * n / 44100); ++k)
                s += e[2 * k] * e[2 * k] + e[2 * k + 1] * e[2 * k + 1];
            return s / (hi - lo);
        };
        return std::pair(band(1000, 5000), band(15000, 20000));
    };
    auto [plainMid, plainHigh] = errorBands(kPlainDither);
    auto [shapedMid, shapedHigh] = errorBands(kRateShaping);
    EXPECT_LT(shapedMid, plainMid / 10);
    EXPECT_GT(shapedHigh, plainHigh);
}

// The derived values of both directions, against the published examples.
#include "resample/DownsampleDesign.h"
#include "resample/UpsampleDesign.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace ssrc;

namespace {

struct UpRow {
    int s, g, k;
    long long f1;
    int n1, p1, t1;
    double fc1, fc2;
    int e;
};

struct DownRow {
    int s, g, k;
    long long f1;
    int n1;
    double fc1;
    long long f2;
    int n2, p, t, e;
};

}  // namespace

TEST(UpsampleDesign, ReproducesTheExampleTable)
{
    const UpRow rows[] = {
        {8000, 100, 2, 3528000, 993, 441, 3, 24050, 4000, 16383},
        {11025, 11025, 1, 44100, 31, 4, 8, 13781, 5512, 32767},
        {16000, 100, 2, 7056000, 2207, 441, 6, 26050, 8000, 16383},
        {22050, 22050, 1, 44100, 47, 2, 24, 16537.5, 11025, 32767},
        {24000, 300, 2, 3528000, 1241, 147, 9, 28050, 12000, 16383},
        {32000, 100, 2, 14112000, 5669, 441, 13, 30050, 16000, 16383},
    };
    for (const UpRow& r : rows) {
        SCOPED_TRACE(r.s);
        UpsampleDesign d = DesignUpsample(r.s, 44100, FilterSettings{});
        ASSERT_FALSE(d.refused);
        EXPECT_EQ(d.gcd, r.g);
        EXPECT_EQ(d.oversampling, r.k);
        EXPECT_EQ(d.f1, r.f1);
        EXPECT_EQ(d.length1, r.n1);
        EXPECT_EQ(d.phases1, r.p1);
        EXPECT_EQ(d.taps1, r.t1);
        EXPECT_EQ(d.cutoff1, r.fc1);
        EXPECT_EQ(d.cutoff2, r.fc2);
        EXPECT_EQ(d.length2, 65535);
        EXPECT_EQ(d.fftLength, 131072);
        EXPECT_EQ(d.delay, r.e);

        // The schedule visits every phase once per input period and, over
        // P1 x K outputs, consumes exactly Q input frames.
        ASSERT_EQ(d.order.size(), size_t(r.p1 * r.k));
        EXPECT_EQ(d.order[0], 0);
        EXPECT_EQ(std::accumulate(d.inputStep.begin(), d.inputStep.end(), 0), d.ratio);
    }
}

TEST(DownsampleDesign, ReproducesTheExampleTable)
{
    const DownRow rows[] = {
        {48000, 300, 3, 144000, 65535, 22037.6, 7056000, 1659, 49, 34, 10040},
        {88200, 44100, 1, 88200, 65535, 22042.4, 88200, 1, 1, 1, 16384},
        {96000, 300, 3, 288000, 65535, 22025.2, 14112000, 1659, 49, 34, 5020},
        {192000, 300, 3, 576000, 65535, 22000.4, 28224000, 1659, 49, 34, 2510},
    };
    for (const DownRow& r : rows) {
        SCOPED_TRACE(r.s);
        DownsampleDesign d = DesignDownsample(r.s, 44100, FilterSettings{});
        ASSERT_FALSE(d.refused);
        EXPECT_EQ(d.gcd, r.g);
        EXPECT_EQ(d.oversampling, r.k);
        EXPECT_EQ(d.f1, r.f1);
        EXPECT_EQ(d.length1, r.n1);
        EXPECT_NEAR(d.cutoff1, r.fc1, 0.05);
        EXPECT_EQ(d.f2, r.f2);
        EXPECT_EQ(d.length2, r.n2);
        EXPECT_EQ(d.phases, r.p);
        EXPECT_EQ(d.taps, r.t);
        EXPECT_EQ(d.delay, r.e);
        EXPECT_EQ(d.fftLength, 131072);

        // Over P outputs the history advances by exactly F2 / R ticks' worth.
        EXPECT_EQ(std::accumulate(d.increment.begin(), d.increment.end(), 0LL), d.f2 / 44100);
        EXPECT_EQ(d.order[0], 0);
    }
}

TEST(DownsampleDesign, FastSourcesGetALongerFilter)
{
    // Past about 580 kHz the first stage needs twice the length to keep its
    // transition band under 100 Hz.
    DownsampleDesign d = DesignDownsample(384000, 44100, FilterSettings{});
    ASSERT_FALSE(d.refused);
    EXPECT_EQ(d.length1, 131071);
    EXPECT_EQ(d.fftLength, 262144);
    EXPECT_LT(d.transition1, 100);
}

TEST(ResampleDesign, RefusesRatesWithoutASmallFactor)
{
    UpsampleDesign up = DesignUpsample(31500, 44100, FilterSettings{});
    EXPECT_TRUE(up.refused);
    EXPECT_EQ(up.ratio, 5);
    DownsampleDesign down = DesignDownsample(52920, 44100, FilterSettings{});
    EXPECT_TRUE(down.refused);
    EXPECT_EQ(down.ratio, 5);

    // Rates that only a damaged header would carry must not overflow.
    EXPECT_TRUE(DesignDownsample(96001, 44100, FilterSettings{}).refused);
    EXPECT_TRUE(DesignDownsample(2000000000, 44100, FilterSettings{}).refused);
    EXPECT_TRUE(DesignUpsample(0, 44100, FilterSettings{}).refused);
}

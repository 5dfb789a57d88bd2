#include "resample/KaiserDesign.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace ssrc;

TEST(KaiserDesign, ParametersFollowTheAttenuation)
{
    EXPECT_EQ(KaiserAlpha(21), 0.0);
    EXPECT_DOUBLE_EQ(KaiserAlpha(50), 0.5842 * std::pow(29.0, 0.4) + 0.07886 * 29);
    EXPECT_NEAR(KaiserAlpha(170), 17.77526, 1e-12);
    EXPECT_EQ(KaiserLengthFactor(21), 0.9222);
    EXPECT_NEAR(KaiserLengthFactor(170), 11.284819, 5e-7);
}

TEST(KaiserDesign, BesselI0IsExactAndContinuous)
{
    EXPECT_EQ(BesselI0(0), 1.0);
    EXPECT_NEAR(BesselI0(1), 1.2660658777520084, 1e-15);
    EXPECT_NEAR(BesselI0(17.77526) / 4998560.2025654, 1, 1e-13);
    for (double x : {0.3, 2.5, 7.9, 8.5, 11.0, 12.5, 17.77526, 25.0, 30.0})
        EXPECT_NEAR(BesselI0(x) / std::cyl_bessel_i(0.0, x), 1, 1e-14) << x;
    // The ranges where approximations of I0 usually change formula.
    for (double edge : {8.5, 12.5}) {
        double below = std::nextafter(edge, 0.0);
        EXPECT_NEAR(BesselI0(below) / BesselI0(edge), 1, 1e-14) << edge;
    }
    EXPECT_EQ(BesselI0(-3), BesselI0(3));
}

TEST(KaiserDesign, WindowAndIdealLowpass)
{
    const double alpha = KaiserAlpha(170), i0 = BesselI0(alpha);
    EXPECT_DOUBLE_EQ(KaiserWindow(0, 1659, alpha, i0), 1.0);
    EXPECT_DOUBLE_EQ(KaiserWindow(829, 1659, alpha, i0), 1 / i0);
    EXPECT_DOUBLE_EQ(KaiserWindow(-829, 1659, alpha, i0), 1 / i0);
    EXPECT_LT(KaiserWindow(400, 1659, alpha, i0), KaiserWindow(200, 1659, alpha, i0));

    EXPECT_DOUBLE_EQ(LowpassTap(0, 22050, 88200), 0.5);
    EXPECT_NEAR(LowpassTap(2, 22050, 88200), 0.0, 1e-16);  // sin(pi) / pi
    EXPECT_DOUBLE_EQ(LowpassTap(1, 22050, 88200), 0.5 * std::sin(M_PI / 2) / (M_PI / 2));
}

TEST(KaiserDesign, GcdRelatesTheRates)
{
    EXPECT_EQ(Gcd(48000, 44100), 300);
    EXPECT_EQ(Gcd(44100, 22050), 22050);
    EXPECT_EQ(Gcd(31500, 44100), 6300);
    EXPECT_EQ(Gcd(44100, 1), 1);
}

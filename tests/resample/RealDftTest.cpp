#include "resample/FftKernels.h"
#include "resample/RealDft.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

using namespace ssrc;

namespace {

// The tables a caller keeps for one transform length.
struct Tables {
    explicit Tables(int n) : ip(static_cast<int>(std::sqrt(double(n))) + 2, 0), w(n / 2, 0.0) {}
    std::vector<int> ip;
    std::vector<double> w;
};

std::vector<double> Noise(int n, unsigned seed)
{
    std::mt19937 g(seed);
    std::uniform_real_distribution<double> u(-1, 1);
    std::vector<double> v(n);
    for (double& x : v)
        x = u(g);
    return v;
}

// cos and sin of 2 pi m / n in long double, for the definitions below.
struct Circle {
    explicit Circle(int n) : cosine(n), sine(n)
    {
        for (int m = 0; m < n; ++m) {
            long double t = 2 * std::numbers::pi_v<long double> * m / n;
            cosine[m] = std::cos(t);
            sine[m] = std::sin(t);
        }
    }
    std::vector<long double> cosine, sine;
};

// The packed spectrum by the definition.
std::vector<double> NaiveForward(const std::vector<double>& a)
{
    const int n = static_cast<int>(a.size());
    const Circle c(n);
    std::vector<double> out(n);
    for (int k = 0; k <= n / 2; ++k) {
        long double re = 0, im = 0;
        for (int j = 0; j < n; ++j) {
            int m = static_cast<int>((long long)j * k % n);
            re += a[j] * c.cosine[m];
            im += a[j] * c.sine[m];
        }
        if (k == 0)
            out[0] = double(re);
        else if (k == n / 2)
            out[1] = double(re);
        else {
            out[2 * k] = double(re);
            out[2 * k + 1] = double(im);
        }
    }
    return out;
}

std::vector<double> NaiveBackward(const std::vector<double>& x)
{
    const int n = static_cast<int>(x.size());
    const Circle c(n);
    std::vector<double> out(n);
    for (int j = 0; j < n; ++j) {
        long double s = (x[0] + x[1] * (j % 2 ? -1.0L : 1.0L)) / 2;
        for (int k = 1; k < n / 2; ++k) {
            int m = static_cast<int>((long long)j * k % n);
            s += x[2 * k] * c.cosine[m] + x[2 * k + 1] * c.sine[m];
        }
        out[j] = double(s);
    }
    return out;
}

double RelativeError(const std::vector<double>& got, const std::vector<double>& want)
{
    double err = 0, scale = 0;
    for (size_t i = 0; i < want.size(); ++i) {
        const double e = std::abs(got[i] - want[i]);
        if (!(e <= err))  // a NaN stays, and fails the comparison that follows
            err = e;
        scale = std::max(scale, std::abs(want[i]));
    }
    return err / scale;
}

// Each length with tables of its own, and with tables built for a longer
// one, whose passes find their twiddles elsewhere.
void MatchesTheDefinition()
{
    Tables longer(16384);
    std::vector<double> warmUp(16384, 0.0);
    RealDft(16384, 1, warmUp.data(), longer.ip.data(), longer.w.data());
    for (int n = 4; n <= 4096; n *= 2) {
        SCOPED_TRACE(n);
        Tables own(n);
        const std::vector<double> a = Noise(n, n), wantForward = NaiveForward(a);
        const std::vector<double> b = Noise(n, n + 1), wantBackward = NaiveBackward(b);
        for (Tables* t : {&own, &longer}) {
            std::vector<double> f = a;
            RealDft(n, 1, f.data(), t->ip.data(), t->w.data());
            EXPECT_LT(RelativeError(f, wantForward), 1e-9);

            std::vector<double> back = b;
            RealDft(n, -1, back.data(), t->ip.data(), t->w.data());
            EXPECT_LT(RelativeError(back, wantBackward), 1e-9);
        }
    }
}

}  // namespace

// Every kernel family the processor has, the narrower ones too: the
// widest is the one in use, and the others are what other machines run.
// `check` runs once per family.
template <class Check>
void OnEveryFamily(Check check)
{
    for (int lanes : {1, 2, 4}) {
        if (UseFftLanes(lanes) != lanes)
            continue;
        SCOPED_TRACE(testing::Message() << lanes << " lane(s)");
        check();
    }
    UsePortableFft(false);
}

TEST(RealDft, EveryKernelFamilyMatchesTheDefinition)
{
    OnEveryFamily(MatchesTheDefinition);
}

// Fast convolution's second half in one call: the backward transform of the
// product of two packed spectra, against the definitions.
void ProductMatchesTheDefinition()
{
    for (int n = 2; n <= 4096; n *= 2) {
        SCOPED_TRACE(n);
        Tables t(n);
        std::vector<double> a = Noise(n, 3 * n), f = Noise(n, 3 * n + 1);
        std::vector<double> want(n);
        want[0] = a[0] * f[0];
        want[1] = a[1] * f[1];
        for (int k = 2; k < n; k += 2) {
            want[k] = a[k] * f[k] - a[k + 1] * f[k + 1];
            want[k + 1] = a[k] * f[k + 1] + a[k + 1] * f[k];
        }
        want = NaiveBackward(want);
        std::vector<double> out(n, 0.0);
        RealDftOfProduct(n, out.data(), a.data(), f.data(), t.ip.data(), t.w.data());
        EXPECT_LT(RelativeError(out, want), 1e-9);
        // In place, over the spectrum.
        RealDftOfProduct(n, a.data(), a.data(), f.data(), t.ip.data(), t.w.data());
        EXPECT_EQ(a, out);
    }
}

// A block whose second half is silence, as fast convolution pads it: that
// half is never read, so whatever the buffer held there does not matter.
void FirstHalfMatchesTheDefinition()
{
    for (int n = 2; n <= 4096; n *= 2) {
        SCOPED_TRACE(n);
        Tables t(n);
        std::vector<double> a = Noise(n, 5 * n);
        std::fill(a.begin() + n / 2, a.end(), 0.0);
        std::vector<double> x = a;
        std::fill(x.begin() + n / 2, x.end(), std::nan(""));
        RealDftOfFirstHalf(n, x.data(), t.ip.data(), t.w.data());
        EXPECT_LT(RelativeError(x, NaiveForward(a)), 1e-9);
    }
}

TEST(RealDft, ASilentSecondHalfIsNotRead)
{
    OnEveryFamily(FirstHalfMatchesTheDefinition);
}

TEST(RealDft, ProductTransformsBackAsTheDefinitionSays)
{
    OnEveryFamily(ProductMatchesTheDefinition);
}

TEST(RealDft, ForwardThenBackwardScalesByHalfTheLength)
{
    for (int n : {2, 4, 8, 1024, 131072}) {
        SCOPED_TRACE(n);
        Tables t(n);
        std::vector<double> a = Noise(n, 7), x = a;
        RealDft(n, 1, x.data(), t.ip.data(), t.w.data());
        RealDft(n, -1, x.data(), t.ip.data(), t.w.data());
        for (int j = 0; j < n; ++j)
            ASSERT_NEAR(x[j], a[j] * n / 2, 1e-9 * n) << j;
    }
}

TEST(RealDft, UnitImpulseHasAFlatSpectrum)
{
    const int n = 64;
    Tables t(n);
    std::vector<double> x(n, 0.0);
    x[0] = 1;
    RealDft(n, 1, x.data(), t.ip.data(), t.w.data());
    EXPECT_EQ(x[0], 1.0);
    EXPECT_EQ(x[1], 1.0);
    for (int k = 1; k < n / 2; ++k) {
        EXPECT_NEAR(x[2 * k], 1.0, 1e-15);
        EXPECT_NEAR(x[2 * k + 1], 0.0, 1e-15);
    }
}

TEST(RealDft, TablesAreBuiltOncePerLength)
{
    const int n = 256;
    Tables t(4096);
    std::vector<double> x = Noise(n, 1);
    RealDft(n, 1, x.data(), t.ip.data(), t.w.data());
    EXPECT_EQ(t.ip[0], n / 4);
    EXPECT_EQ(t.ip[1], n / 4);

    // A second call must read the tables, not rewrite them: spoil them
    // and the result changes.
    std::vector<double> saved = t.w;
    for (double& v : t.w)
        v += 0.25;
    std::vector<double> y = Noise(n, 1);
    RealDft(n, 1, y.data(), t.ip.data(), t.w.data());
    EXPECT_EQ(t.ip[0], n / 4);
    EXPECT_GT(RelativeError(y, x), 1e-3);
    t.w = saved;

    // A longer transform builds bigger tables; a shorter one then reuses them.
    std::vector<double> big = Noise(4096, 2), bigWant = NaiveForward(big);
    RealDft(4096, 1, big.data(), t.ip.data(), t.w.data());
    EXPECT_EQ(t.ip[0], 1024);
    EXPECT_EQ(t.ip[1], 1024);
    EXPECT_LT(RelativeError(big, bigWant), 1e-9);
    std::vector<double> small = Noise(n, 3), smallWant = NaiveForward(small);
    RealDft(n, 1, small.data(), t.ip.data(), t.w.data());
    EXPECT_EQ(t.ip[0], 1024);
    EXPECT_LT(RelativeError(small, smallWant), 1e-9);
}

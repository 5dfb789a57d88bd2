#include "resample/KaiserDesign.h"

#include <cmath>
#include <numbers>

namespace ssrc {

double KaiserAlpha(double attenuation)
{
    if (attenuation <= 21)
        return 0;
    if (attenuation <= 50)
        return 0.5842 * std::pow(attenuation - 21, 0.4) + 0.07886 * (attenuation - 21);
    return 0.1102 * (attenuation - 8.7);
}

double KaiserLengthFactor(double attenuation)
{
    if (attenuation <= 21)
        return 0.9222;
    return (attenuation - 7.95) / 14.36;
}

double BesselI0(double x)
{
    // The power series in (x/2)^2 has only positive terms, so summing it
    // loses nothing to cancellation: one formula is exact to double
    // precision over the whole range the designs use (and well beyond),
    // and is continuous everywhere.
    const double q = x * x / 4;
    double term = 1;
    double sum = 1;
    for (int k = 1; term > sum * 1e-18; ++k) {
        term *= q / (double(k) * k);
        sum += term;
    }
    return sum;
}

double KaiserWindow(double n, int length, double alpha, double i0alpha)
{
    const double half = length - 1;
    double r = 1 - 4 * n * n / (half * half);
    if (r < 0)
        r = 0;  // rounding at the very ends must not produce NaN
    return BesselI0(alpha * std::sqrt(r)) / i0alpha;
}

double LowpassTap(int n, double fc, double fs)
{
    const double x = n * 2 * std::numbers::pi * fc / fs;
    const double sinc = n == 0 ? 1.0 : std::sin(x) / x;
    return 2 * fc / fs * sinc;
}

int Gcd(int a, int b)
{
    while (b != 0) {
        int r = a % b;
        a = b;
        b = r;
    }
    return a;
}

}  // namespace ssrc

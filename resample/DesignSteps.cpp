#include "resample/DesignSteps.h"

#include "resample/KaiserDesign.h"

namespace ssrc {

int Oversampling(int ratio)
{
    if (ratio == 1)
        return 1;
    if (ratio % 2 == 0)
        return 2;
    if (ratio % 3 == 0)
        return 3;
    return 0;
}

int PhaseAt(long long position, long long step, int phases)
{
    for (int i = 0; i < phases; ++i)
        if ((i * step) % phases == position % phases)
            return i;
    return 0;
}

bool SettleRates(RateDesign& d, int sourceRate, int targetRate, int low, int high)
{
    d.sourceRate = sourceRate;
    d.targetRate = targetRate;
    if (low <= 0 || high <= low) {
        d = Refuse(d, "rates out of order");
        return false;
    }
    d.gcd = Gcd(sourceRate, targetRate);
    d.ratio = low / d.gcd;
    d.oversampling = Oversampling(d.ratio);
    if (d.oversampling == 0) {
        d = Refuse(d, "ratio must be divided by 2 or 3");
        return false;
    }
    return true;
}

bool DesignLongFilter(double rate, const FilterSettings& settings, LongFilter* filter)
{
    const double D = KaiserLengthFactor(settings.attenuation);
    for (long long k = 1;; k *= 2) {
        long long n = settings.baseFftLength * k;
        if (n % 2 == 0)
            --n;
        if (n > kMaxFftLength / 2)
            return false;
        filter->length = static_cast<int>(n);
        filter->transition = rate * D / (n - 1);
        if (filter->transition < settings.transitionWidth)
            break;
    }
    FitTransform(filter);
    return true;
}

void FitTransform(LongFilter* filter)
{
    int pow2 = 1;
    while (pow2 < filter->length)
        pow2 *= 2;
    filter->fftLength = 2 * pow2;
    filter->half = pow2;
}

}  // namespace ssrc

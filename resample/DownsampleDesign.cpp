#include "resample/DownsampleDesign.h"

#include "resample/DesignSteps.h"
#include "resample/KaiserDesign.h"

#include <climits>

namespace ssrc {

DownsampleDesign DesignDownsample(int sourceRate, int targetRate, const FilterSettings& settings)
{
    DownsampleDesign d;
    if (!SettleRates(d, sourceRate, targetRate, targetRate, sourceRate))
        return d;
    const int S = sourceRate, R = targetRate;
    const double D = KaiserLengthFactor(settings.attenuation);
    const int K = d.oversampling;
    d.f1 = static_cast<long long>(S) * K;
    d.f2 = static_cast<long long>(S / d.gcd) * R;
    if (d.f1 > INT_MAX || d.f2 > INT_MAX)
        return Refuse(d, "common rate too high");

    LongFilter stageOne;
    if (!DesignLongFilter(double(d.f1), settings, &stageOne))
        return Refuse(d, "first filter too long");
    d.length1 = stageOne.length;
    d.transition1 = stageOne.transition;
    d.cutoff1 = (R - d.transition1) / 2;
    d.fftLength = stageOne.fftLength;
    d.half = stageOne.half;

    const long long step = d.f2 / R;  // F2 ticks between outputs
    if (K == 1) {
        d.length2 = 1;
        d.phases = 1;
        d.taps = 1;
        d.order = {0};
        d.increment = {S / R};
    } else {
        const long long f12 = d.f1 / 2, s2 = S / 2;
        d.transition2 = (f12 - s2) * 2 / 2.0;
        d.cutoff2 = s2 + (f12 - s2) / 2.0;
        const double n2 = double(d.f2) / d.transition2 * D + 1;
        if (n2 > double(INT_MAX) - 1)
            return Refuse(d, "second filter too long");
        d.length2 = static_cast<int>(n2);
        if (d.length2 % 2 == 0)
            ++d.length2;
        d.phases = static_cast<int>(d.f2 / d.f1);
        d.taps = d.length2 / d.phases + 1;
        if (static_cast<long long>(d.phases) * d.taps > kMaxPolyphaseTaps)
            return Refuse(d, "second filter too long");
        const int P = d.phases;
        d.order.resize(P);
        d.increment.resize(P);
        for (int i = 0; i < P; ++i) {
            int o = P - static_cast<int>((i * step) % P);
            d.order[i] = o == P ? 0 : o;
        }
        for (int i = 0; i < P; ++i) {
            d.increment[i] = static_cast<int>((step - d.order[i]) / P + 1);
            if (d.order[(i + 1) % P] == 0)
                --d.increment[i];
        }
    }
    d.delay = static_cast<int>(d.length1 / 2.0 / (double(d.f1) / R) +
                               d.length2 / 2.0 / (double(d.f2) / R));

    // Stage one is N1 div 2 samples late; stage two reads a history that
    // holds T + 1 samples ahead of the first block and centres its
    // prototype N2 div 2 ticks ahead. Starting the schedule at the
    // remainder that E frames do not cover makes the total exactly E.
    const long long late = (static_cast<long long>(d.taps) + 1 + d.length1 / 2) * d.phases -
                           d.length2 / 2 - static_cast<long long>(d.delay) * step;
    d.startPosition = late > 0 ? late : 0;
    d.startPhase = PhaseAt(d.startPosition, step, d.phases);
    return d;
}

}  // namespace ssrc

#include "resample/UpsampleDesign.h"

#include "resample/DesignSteps.h"
#include "resample/KaiserDesign.h"

#include <algorithm>
#include <climits>

namespace ssrc {

UpsampleDesign DesignUpsample(int sourceRate, int targetRate, const FilterSettings& settings)
{
    UpsampleDesign d;
    if (!SettleRates(d, sourceRate, targetRate, sourceRate, targetRate))
        return d;
    const int S = sourceRate, R = targetRate;
    const double D = KaiserLengthFactor(settings.attenuation);
    d.f1 = static_cast<long long>(d.ratio) * R;
    const int K = d.oversampling;
    d.f2 = static_cast<long long>(R) * K;
    if (d.f1 > INT_MAX)
        return Refuse(d, "common rate too high");

    const long long rk2 = d.f2 / 2, s2 = S / 2;
    d.transition1 = (rk2 - s2) * 2 / 2.0;
    d.cutoff1 = s2 + (rk2 - s2) / 2.0;
    const double n1 = double(d.f1) / d.transition1 * D + 1.0;
    if (n1 > double(INT_MAX) - 1)
        return Refuse(d, "first filter too long");
    d.length1 = static_cast<int>(n1);
    if (d.length1 % 2 == 0)
        ++d.length1;
    d.phases1 = static_cast<int>(d.f1 / S);
    d.taps1 = d.length1 / d.phases1 + 1;
    if (static_cast<long long>(d.phases1) * d.taps1 > kMaxPolyphaseTaps)
        return Refuse(d, "first filter too long");

    const int step = static_cast<int>(d.f1 / d.f2);  // F1 ticks between F2 samples
    const int scheduleLength = d.phases1 * K;
    d.order.resize(scheduleLength);
    d.inputStep.resize(scheduleLength);
    for (int i = 0; i < scheduleLength; ++i) {
        int o = d.phases1 - static_cast<int>((static_cast<long long>(i) * step) % d.phases1);
        d.order[i] = o == d.phases1 ? 0 : o;
        d.inputStep[i] = d.order[i] < step ? 1 : 0;
    }

    LongFilter stageTwo;
    if (!DesignLongFilter(double(d.f2), settings, &stageTwo))
        return Refuse(d, "second filter too long");
    d.length2 = stageTwo.length;
    d.transition2 = stageTwo.transition;
    d.cutoff2 = S / 2;
    d.fftLength = stageTwo.fftLength;
    d.half = stageTwo.half;
    d.delay = static_cast<int>(d.length2 / 2.0 / K);
    d.historyFrames = d.length1 / 2 / d.phases1 + 1;

    // Stage one's prototype is centred N1 div 2 ticks ahead of the output
    // and the history starts with whole zero frames, which leaves it
    // P1 - (N1 div 2 mod P1) ticks late; stage two and the truncated E add
    // whole F2 samples. Starting the schedule that much later (and the
    // decimation on the matching F2 sample) makes the sum exactly E frames.
    const long long late = static_cast<long long>(d.phases1) - (d.length1 / 2) % d.phases1;
    const long long wholeSamples = d.length2 / 2 - static_cast<long long>(d.delay) * K;
    const long long shift = wholeSamples * step + late;
    d.startOffset = static_cast<int>(std::min<long long>(K - 1, shift / step));
    d.startPosition = shift - static_cast<long long>(d.startOffset) * step;
    d.startPhase = PhaseAt(d.startPosition, step, d.phases1);
    return d;
}

}  // namespace ssrc

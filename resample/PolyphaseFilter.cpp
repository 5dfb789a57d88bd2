#include "resample/PolyphaseFilter.h"

#include "resample/KaiserDesign.h"

namespace ssrc {

PolyphaseFilter DesignPolyphase(int length, double cutoff, double rate, double gain, int phases,
                                double alpha)
{
    PolyphaseFilter f;
    f.phases = phases;
    f.taps = length / phases + 1;
    f.coefficients.assign(static_cast<long>(phases) * f.taps, 0.0);
    const double i0alpha = BesselI0(alpha);
    const int half = length / 2;
    for (int n = -half; n <= half; ++n) {
        const int m = n + half;
        f.coefficients[static_cast<long>(m % phases) * f.taps + m / phases] =
            KaiserWindow(n, length, alpha, i0alpha) * LowpassTap(n, cutoff, rate) * gain;
    }
    return f;
}

PolyphaseFilter IdentityPolyphase()
{
    PolyphaseFilter f;
    f.phases = 1;
    f.taps = 1;
    f.coefficients = {1.0};
    return f;
}

}  // namespace ssrc

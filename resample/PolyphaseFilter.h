// A Kaiser-windowed low-pass cut into phases: tap m of the prototype goes
// to phase m mod P at position m div P, so one output needs only the taps
// of one phase.
#pragma once

#include <vector>

namespace ssrc {

struct PolyphaseFilter {
    int phases = 0;
    int taps = 0;  // per phase; positions past the prototype's end are 0
    std::vector<double> coefficients;  // phases x taps, phase by phase
};

// `length` odd; every coefficient is multiplied by `gain`.
PolyphaseFilter DesignPolyphase(int length, double cutoff, double rate, double gain, int phases,
                                double alpha);
// The filter that passes every sample unchanged.
PolyphaseFilter IdentityPolyphase();

}  // namespace ssrc

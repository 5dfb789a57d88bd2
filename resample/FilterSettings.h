// What every filter of a conversion is designed from.
#pragma once

namespace ssrc {

struct FilterSettings {
    double attenuation = 170.0;      // stop band, dB
    double transitionWidth = 100.0;  // upper limit for the long filter, Hz
    int baseFftLength = 65536;       // the long filter's length starts here
};

// Designs beyond these would need memory out of all proportion to a sound
// file (rates from a damaged header can be anything), so they are refused.
constexpr long long kMaxFftLength = 1 << 20;
constexpr long long kMaxPolyphaseTaps = 1 << 24;

}  // namespace ssrc

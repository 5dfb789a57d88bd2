// Steps that the up- and down-sampling designs take alike.
#pragma once

#include "resample/FilterSettings.h"

#include <string>
#include <utility>

namespace ssrc {

// What both directions settle first: the rates and the factors of their
// ratio.
struct RateDesign {
    bool refused = false;
    std::string reason;  // why, when refused

    int sourceRate = 0;    // S
    int targetRate = 0;    // R
    int gcd = 0;           // G
    int ratio = 0;         // Q: the lower rate / G
    int oversampling = 0;  // K
};

// The long FFT filter of either direction.
struct LongFilter {
    int length = 0;
    double transition = 0;
    int fftLength = 0;  // L
    int half = 0;       // H = L / 2
};

// K: the smallest factor that makes the common-rate ratio workable, from
// the few the designs support; 0 when none does.
int Oversampling(int ratio);

// First phase index whose position in the schedule (phase i sits at
// i x step) matches `position`.
int PhaseAt(long long position, long long step, int phases);

// Marks a design as refused, with the reason for the trace.
template <class Design>
Design Refuse(Design d, std::string reason)
{
    d.refused = true;
    d.reason = std::move(reason);
    return d;
}

// Records the rates, then G, Q = low / G and K. False (and `d` refused)
// when the rates are out of order (0 < low < high must hold) or Q has no
// factor the designs support.
bool SettleRates(RateDesign& d, int sourceRate, int targetRate, int low, int high);

// The long filter at `rate`: the base length times 1, 2, 4, ... (odd), the
// first whose transition band is narrower than the settings' limit, and the
// transform that holds it twice. False when it would be too long.
bool DesignLongFilter(double rate, const FilterSettings& settings, LongFilter* filter);
// Sets the transform's length from the filter's.
void FitTransform(LongFilter* filter);

}  // namespace ssrc

// Everything a conversion to a lower rate settles before its first sample:
// the rate arithmetic, both filters' sizes and cut-offs, the polyphase
// schedule and the output delay. Cheap to compute; no filter is built.
#pragma once

#include "resample/DesignSteps.h"
#include "resample/FilterSettings.h"

#include <string>
#include <vector>

namespace ssrc {

// Q = R / G; K is stage one's zero-stuffing factor.
struct DownsampleDesign : RateDesign {
    long long f1 = 0;      // S x K
    long long f2 = 0;      // common multiple rate of S and R

    // Stage one: the long FFT filter at F1.
    int length1 = 0;
    double transition1 = 0;
    double cutoff1 = 0;
    int fftLength = 0;  // L
    int half = 0;       // H = L / 2

    // Stage two: polyphase decimation from F1 to R through F2.
    double transition2 = 0;
    double cutoff2 = 0;
    int length2 = 0;
    int phases = 0;  // P
    int taps = 0;    // T
    std::vector<int> order;      // phase of each output in turn
    std::vector<int> increment;  // history samples to advance after it

    int delay = 0;  // E, output frames dropped at the start

    // Where stage two starts, so that output frame j lands exactly on the
    // input's time j / R once the E frames are dropped.
    long long startPosition = 0;  // in F2 ticks
    int startPhase = 0;
};

DownsampleDesign DesignDownsample(int sourceRate, int targetRate, const FilterSettings& settings);

}  // namespace ssrc

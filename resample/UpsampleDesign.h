// Everything a conversion to a higher rate settles before its first sample:
// the rate arithmetic, both filters' sizes and cut-offs, the polyphase
// schedule and the output delay. Cheap to compute; no filter is built.
#pragma once

#include "resample/DesignSteps.h"
#include "resample/FilterSettings.h"

#include <string>
#include <vector>

namespace ssrc {

// Q = S / G; the second stage runs at R x K.
struct UpsampleDesign : RateDesign {
    long long f1 = 0;    // common multiple rate of S and R
    long long f2 = 0;    // R x K

    // Stage one: polyphase interpolation from S to F2 through F1.
    double transition1 = 0;
    double cutoff1 = 0;
    int length1 = 0;
    int phases1 = 0;
    int taps1 = 0;
    std::vector<int> order;      // phase of each of the P1 x K outputs in turn
    std::vector<int> inputStep;  // input frames to advance after that output

    // Stage two: the long FFT filter at F2.
    int length2 = 0;
    double transition2 = 0;
    double cutoff2 = 0;
    int fftLength = 0;  // L
    int half = 0;       // H = L / 2

    int delay = 0;           // E, output frames dropped at the start
    int historyFrames = 0;   // zero frames ahead of the first input frame

    // Where stage one starts, so that output frame j lands exactly on the
    // input's time j / R once the E frames are dropped.
    long long startPosition = 0;  // in F1 ticks
    int startPhase = 0;
    int startOffset = 0;  // first F2 sample kept by the decimation
};

UpsampleDesign DesignUpsample(int sourceRate, int targetRate, const FilterSettings& settings);

}  // namespace ssrc

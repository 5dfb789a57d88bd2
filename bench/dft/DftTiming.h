// RealDft against FFTW3 at one length, timed the same way: milliseconds per
// transform, forward and backward averaged, best of several rounds that
// alternate the two so that a busy machine slows both alike.
#pragma once

struct DftTiming {
    double ours = -1;
    double fftw = -1;  // negative when built without FFTW3
};

DftTiming TimeDft(int n, int repetitions, int rounds);

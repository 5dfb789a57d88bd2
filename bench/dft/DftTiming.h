// RealDft against FFTW3 at one length, timed the same way: milliseconds per
// transform, forward and backward averaged, best of several rounds that
// alternate the two so that a busy machine slows both alike. The processor
// times are steadier than the wall times when other work shares the cores.
#pragma once

// Milliseconds per transform: wall time, and this thread's processor time.
struct DftTiming {
    double ours = -1;
    double fftw = -1;  // negative when built without FFTW3
    double oursCpu = -1;
    double fftwCpu = -1;
};

DftTiming TimeDft(int n, int repetitions, int rounds);

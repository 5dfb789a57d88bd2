// Windowed-sinc low-pass design with a Kaiser window, shared by both
// resampling directions, and the rate arithmetic that relates two rates.
#pragma once

namespace ssrc {

// Window shape for a stop-band attenuation in dB.
double KaiserAlpha(double attenuation);
// D in N = fs / df x D + 1: ties filter length, transition width and rate.
double KaiserLengthFactor(double attenuation);
// Modified Bessel function of the first kind, order 0.
double BesselI0(double x);
// Window value at tap n of an odd-length filter of `length` taps.
double KaiserWindow(double n, int length, double alpha, double i0alpha);
// Ideal low-pass coefficient at tap n for cut-off fc at rate fs.
double LowpassTap(int n, double fc, double fs);
int Gcd(int a, int b);

}  // namespace ssrc

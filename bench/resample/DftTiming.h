// Milliseconds per transform (forward and backward averaged) at length n.
#pragma once

double TimeRealDft(int n, int repetitions);
// Negative when the benchmark was built without FFTW3.
double TimeFftw(int n, int repetitions);

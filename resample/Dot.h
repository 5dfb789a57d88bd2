// The inner product of the noise shaper, over a length known when compiled
// so that it unrolls completely. Independent running sums let the
// processor overlap the additions.
#pragma once

namespace ssrc {

template <int N>
inline double Dot(const double* a, const double* b)
{
    double s0 = 0, s1 = 0, s2 = 0, s3 = 0;
    int i = 0;
    for (; i + 4 <= N; i += 4) {
        s0 += a[i] * b[i];
        s1 += a[i + 1] * b[i + 1];
        s2 += a[i + 2] * b[i + 2];
        s3 += a[i + 3] * b[i + 3];
    }
    for (; i < N; ++i)
        s0 += a[i] * b[i];
    return (s0 + s1) + (s2 + s3);
}

}  // namespace ssrc

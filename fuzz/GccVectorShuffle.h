// The resampler's kernels shuffle vector lanes with GCC's __builtin_shuffle,
// which clang does not have. The fuzz build (clang, for libFuzzer) includes
// this first in the resampler's files: the same shuffle lane by lane. It is
// slower, which does not matter there, and gives the same numbers.
#pragma once

#if defined(__clang__)
namespace kolvex_fuzz {

template <typename Vector, typename Mask>
inline Vector Shuffle(Vector x, Mask mask)
{
    Vector out;
    for (unsigned i = 0; i < sizeof(Vector) / sizeof(x[0]); ++i)
        out[i] = x[mask[i]];
    return out;
}

}  // namespace kolvex_fuzz

#define __builtin_shuffle(...) ::kolvex_fuzz::Shuffle(__VA_ARGS__)
#endif

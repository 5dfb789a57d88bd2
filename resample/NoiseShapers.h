// Error-feedback filters for noise shaping, one row per target rate. The
// quantisation error of the last `length` samples, most recent first, is
// weighted by the row and added to the next sample.
#pragma once

namespace ssrc {

constexpr int kShaperRows = 8;
constexpr int kMaxShaperLength = 21;

struct NoiseShaper {
    int rate;  // the target rate the row is designed for, 0 for the plain first-order row
    int length;
    int setupResult;  // what DitherSetup answers when the row is chosen
    double coefficient[kMaxShaperLength];
};

extern const NoiseShaper kNoiseShapers[kShaperRows];

}  // namespace ssrc

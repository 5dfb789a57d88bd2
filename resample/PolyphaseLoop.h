// The streaming side of a polyphase filter: one output per step of a
// schedule that says which phase to use and how far to move through the
// history afterwards.
#pragma once

#include "resample/PolyphaseFilter.h"

#include <cstdint>

namespace ssrc {

struct PolyphaseSchedule {
    const int* order;    // phase of each output in turn
    const int* advance;  // history samples to move on after that output
    int length;          // the schedule repeats after this many outputs
};

// Writes out[p * outStride] = phase order[phase] . history[t ..] for
// p = 0, 1, ... while p < maxOutputs and *t < tLimit, moving *t and
// *phase along the schedule. Returns the number of outputs.
int RunPolyphase(const PolyphaseFilter& filter, const PolyphaseSchedule& schedule,
                 const double* history, std::int64_t* t, std::int64_t tLimit, int maxOutputs,
                 int* phase, double* out, int outStride);

// As UsePortableFft, for the polyphase loop.
void UsePortablePolyphase(bool portable);

}  // namespace ssrc

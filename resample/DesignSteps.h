// Steps that the up- and down-sampling designs take alike.
#pragma once

#include <string>
#include <utility>

namespace ssrc {

// K: the smallest factor that makes the common-rate ratio workable, from
// the few the designs support; 0 when none does.
int Oversampling(int ratio);

// First phase index whose position in the schedule (phase i sits at
// i x step) matches `position`.
int PhaseAt(long long position, long long step, int phases);

// Marks a design as refused, with the reason for the trace.
template <class Design>
Design Refuse(Design d, std::string reason)
{
    d.refused = true;
    d.reason = std::move(reason);
    return d;
}

}  // namespace ssrc

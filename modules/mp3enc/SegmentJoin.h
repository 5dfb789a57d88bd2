// Handing a stream over from one segment's encoding to the next one's. Both
// encoders saw the same audio around the hand-over frame, on the same frame
// grid; the cut must keep the stream decodable bit for bit: the later
// encoder's first kept frame may reach back into its bit reservoir, so those
// bytes are copied into the room the earlier encoding left free at the cut.
#pragma once

#include "modules/mp3enc/FrameLayout.h"

#include <cstdint>
#include <optional>
#include <vector>

struct EncodedRun {
    std::int64_t origin = 0;    // serial frame index of the run's own frame 0
    std::int64_t keepFrom = 0;  // first serial frame the run contributes
    const FrameLayout* layout = nullptr;
};

struct JoinPoint {
    std::int64_t frame = 0;  // serial index of the first frame taken from the later run
    int reservoir = 0;       // bytes of its main data that lie before it
};

// The first frame from `after.keepFrom` on where the runs can be joined:
// both ended the frame before it with the same windows (so the overlap of
// the transforms still cancels), and the earlier run left at least as much
// unused room there as the later frame reaches back. Nothing when no frame
// both runs have qualifies.
std::optional<JoinPoint> FindJoin(const EncodedRun& before, const EncodedRun& after);

// Writes the later run's reservoir bytes into the earlier run's free room
// before the join, so the earlier run's frames up to the join, followed by the
// later run's frames from it, form one valid stream.
void CopyReservoir(const JoinPoint& join, const EncodedRun& before, std::vector<std::uint8_t>& beforeBytes,
                   const EncodedRun& after, const std::vector<std::uint8_t>& afterBytes);

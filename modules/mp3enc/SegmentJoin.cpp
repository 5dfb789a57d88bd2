#include "modules/mp3enc/SegmentJoin.h"

#include <algorithm>
#include <cstring>

std::optional<JoinPoint> FindJoin(const EncodedRun& before, const EncodedRun& after)
{
    const auto& a = before.layout->Frames();
    const auto& b = after.layout->Frames();
    auto keep = static_cast<std::size_t>(before.keepFrom - before.origin);
    if (keep >= a.size())
        return std::nullopt;
    // Where the main data of the earlier run's kept frames ends, frame by frame.
    std::int64_t used = a[keep].slotStart;
    std::size_t scanned = keep;
    for (std::int64_t frame = after.keepFrom;; ++frame) {
        auto ia = static_cast<std::size_t>(frame - before.origin);  // the earlier run keeps frames < ia
        auto ib = static_cast<std::size_t>(frame - after.origin);
        if (ia > a.size() || ib >= b.size())
            return std::nullopt;
        if (ib < 2 || ia <= keep)
            continue;
        for (; scanned < ia; ++scanned)
            used = std::max(used, a[scanned].MainDataEnd());
        const Mp3Frame& lastA = a[ia - 1];
        const Mp3Frame& lastB = b[ib - 1];
        int reservoir = b[ib].mainDataBegin;
        if (std::memcmp(lastA.lastWindow, lastB.lastWindow, sizeof lastA.lastWindow) != 0)
            continue;
        if (lastA.SlotEnd() - reservoir >= used && b[ib].slotStart - reservoir >= b[1].slotStart)
            return JoinPoint{frame, reservoir};
    }
}

void CopyReservoir(const JoinPoint& join, const EncodedRun& before, std::vector<std::uint8_t>& beforeBytes,
                   const EncodedRun& after, const std::vector<std::uint8_t>& afterBytes)
{
    const Mp3Frame& lastA = before.layout->Frames()[static_cast<std::size_t>(join.frame - before.origin) - 1];
    const Mp3Frame& firstB = after.layout->Frames()[static_cast<std::size_t>(join.frame - after.origin)];
    for (int i = 1; i <= join.reservoir; ++i)
        beforeBytes[before.layout->ByteAt(lastA.SlotEnd() - i)] = afterBytes[after.layout->ByteAt(firstB.slotStart - i)];
}

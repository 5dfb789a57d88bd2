// The properties every decoder answers alike, from the shape of its stream
// and where it stands: one answer, so that all of them agree on lengths and
// positions in milliseconds.
#pragma once

#include "modules/apesdk/ApeDecompress.h"

#include <cstdint>
#include <cstring>
#include <limits>

struct StreamInfo {
    const WAVEFORMATEX& format;
    int blockAlign;
    std::int64_t totalBlocks;
    std::int64_t currentBlock;

    // A damaged header may state any length: whole seconds and the rest
    // apart, so that no length overflows, and the largest held at the
    // largest value.
    std::int64_t Milliseconds(std::int64_t block) const
    {
        const std::int64_t rate = format.nSamplesPerSec;
        if (rate <= 0 || block < 0)
            return 0;
        const std::int64_t seconds = block / rate;
        if (seconds > std::numeric_limits<std::int64_t>::max() / 1000 - 1)
            return std::numeric_limits<std::int64_t>::max();
        return seconds * 1000 + block % rate * 1000 / rate;
    }

    // GetInfo for the fields of the decoder interface; 0 for any other.
    std::intptr_t Answer(APE_DECOMPRESS_FIELDS field, std::intptr_t param1) const
    {
        switch (field) {
        case APE_INFO_BLOCK_ALIGN: return blockAlign;
        case APE_INFO_LENGTH_MS:
        case APE_DECOMPRESS_LENGTH_MS: return static_cast<std::intptr_t>(Milliseconds(totalBlocks));
        case APE_INFO_WAVEFORMATEX:
            if (!param1)
                return ERROR_BAD_PARAMETER;
            std::memcpy(reinterpret_cast<WAVEFORMATEX*>(param1), &format, sizeof format);
            return ERROR_SUCCESS;
        case APE_DECOMPRESS_CURRENT_MS: return static_cast<std::intptr_t>(Milliseconds(currentBlock));
        case APE_DECOMPRESS_TOTAL_BLOCKS: return static_cast<std::intptr_t>(totalBlocks);
        }
        return 0;
    }
};

// The properties every decoder answers alike, from the shape of its stream
// and where it stands: one answer, so that all of them agree on lengths and
// positions in milliseconds.
#pragma once

#include "modules/apesdk/ApeDecompress.h"

#include <cstdint>
#include <cstring>

struct StreamInfo {
    const WAVEFORMATEX& format;
    int blockAlign;
    std::int64_t totalBlocks;
    std::int64_t currentBlock;

    std::int64_t Milliseconds(std::int64_t block) const
    {
        return format.nSamplesPerSec ? block * 1000 / format.nSamplesPerSec : 0;
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

// What both decoder harnesses ask of a decoder while it decodes: chunks of
// at most the size asked, a short one only at the end.
#pragma once

#include "modules/apesdk/ApeDecompress.h"

#include <cstdlib>
#include <vector>

namespace fuzz {

constexpr int kChunkBlocks = 1024;

// Decodes up to `chunks` chunks into `buffer` (kChunkBlocks blocks wide).
inline void DecodeChunks(IAPEDecompress& decoder, std::vector<unsigned char>& buffer, int chunks)
{
    for (int i = 0; i < chunks; ++i) {
        int got = -1;
        decoder.GetData(buffer.data(), kChunkBlocks, &got);
        if (got < 0 || got > kChunkBlocks)
            std::abort();
        if (got < kChunkBlocks)
            return;
    }
}

}  // namespace fuzz

// What both decoder harnesses do with a file: open it through the decoder
// interface the engine uses (a refusal must say why), ask its format and
// length, decode a few chunks, seek into the middle and back near the
// start, and decode again. Chunks are at most the size asked, a short one
// only at the end. Only the public interface is used, whatever decodes
// behind it.
#pragma once

#include "fuzz/ScratchFile.h"
#include "modules/apesdk/ApeDecompress.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
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

// The fuzzer's bytes, saved as `name` (whose extension the interface may
// look at), worked through as above; aborts on anything a decoder must
// never do.
inline void ExerciseDecoder(const std::uint8_t* data, std::size_t size, const char* name)
{
    std::wstring path = WidePath(WriteScratch(name, data, size));
    int error = -1;
    std::unique_ptr<IAPEDecompress> decoder(CreateIAPEDecompress(path.c_str(), &error));
    if (!decoder) {
        // Without the decoder module nothing is fuzzed.
        if (error == ERROR_SUCCESS || error == ERROR_DECODER_MISSING || LastOpenError().empty())
            std::abort();
        return;
    }
    WAVEFORMATEX format{};
    decoder->GetInfo(APE_INFO_WAVEFORMATEX, reinterpret_cast<std::intptr_t>(&format));
    const auto align = decoder->GetInfo(APE_INFO_BLOCK_ALIGN);
    const auto total = decoder->GetInfo(APE_DECOMPRESS_TOTAL_BLOCKS);
    const auto lossyPart = decoder->GetInfo(SOURCE_INFO_LOSSY_PART);
    decoder->GetInfo(APE_INFO_LENGTH_MS);
    if (align <= 0 || align != format.nBlockAlign || total < 0 || (lossyPart != 0 && lossyPart != 1))
        std::abort();
    std::vector<unsigned char> buffer(static_cast<std::size_t>(align) * kChunkBlocks);
    DecodeChunks(*decoder, buffer, 3);
    decoder->Seek(total / 2);
    decoder->GetInfo(APE_DECOMPRESS_CURRENT_MS);
    DecodeChunks(*decoder, buffer, 2);
    decoder->Seek(0);
    DecodeChunks(*decoder, buffer, 1);
    decoder->Seek(1);
    DecodeChunks(*decoder, buffer, 1);
}

}  // namespace fuzz

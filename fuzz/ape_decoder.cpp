// A Monkey's Audio file through the decoder interface the engine uses:
// opened, asked its format and length, decoded for a few chunks, sought
// into the middle and back to the start and decoded again. Only the public
// interface is used, whatever decodes behind it.
#include "fuzz/DecodeChunks.h"
#include "fuzz/ScratchFile.h"
#include "modules/apesdk/ApeDecompress.h"

#include <cstdlib>
#include <memory>
#include <vector>

using fuzz::DecodeChunks;
using fuzz::kChunkBlocks;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::wstring path = fuzz::WidePath(fuzz::WriteScratch("input.ape", data, size));
    int error = -1;
    std::unique_ptr<IAPEDecompress> decoder(CreateIAPEDecompress(path.c_str(), &error));
    if (!decoder) {
        // A refusal says why; without the decoder module nothing is fuzzed.
        if (error == ERROR_SUCCESS || error == ERROR_DECODER_MISSING)
            std::abort();
        return 0;
    }
    WAVEFORMATEX format{};
    decoder->GetInfo(APE_INFO_WAVEFORMATEX, reinterpret_cast<std::intptr_t>(&format));
    const auto align = decoder->GetInfo(APE_INFO_BLOCK_ALIGN);
    const auto total = decoder->GetInfo(APE_DECOMPRESS_TOTAL_BLOCKS);
    decoder->GetInfo(APE_INFO_LENGTH_MS);
    if (align <= 0 || align != format.nBlockAlign || total < 0)
        std::abort();
    std::vector<unsigned char> buffer(static_cast<std::size_t>(align) * kChunkBlocks);
    DecodeChunks(*decoder, buffer, 3);
    decoder->Seek(total / 2);
    decoder->GetInfo(APE_DECOMPRESS_CURRENT_MS);
    DecodeChunks(*decoder, buffer, 2);
    decoder->Seek(0);
    DecodeChunks(*decoder, buffer, 1);
    return 0;
}

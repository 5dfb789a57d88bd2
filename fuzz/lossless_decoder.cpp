// A FLAC, WavPack, TTA, ALAC, WAV or AIFF file through the decoder
// interface the engine uses: told apart by its first bytes, opened by the
// module on FFmpeg, asked its format and length, decoded for a few chunks,
// sought into the middle and back, decoded again. A refusal must say why.
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
    std::wstring path = fuzz::WidePath(fuzz::WriteScratch("input.flac", data, size));
    int error = -1;
    std::unique_ptr<IAPEDecompress> decoder(CreateIAPEDecompress(path.c_str(), &error));
    if (!decoder) {
        if (error == ERROR_SUCCESS || error == ERROR_DECODER_MISSING || LastOpenError().empty())
            std::abort();
        return 0;
    }
    WAVEFORMATEX format{};
    decoder->GetInfo(APE_INFO_WAVEFORMATEX, reinterpret_cast<std::intptr_t>(&format));
    const auto align = decoder->GetInfo(APE_INFO_BLOCK_ALIGN);
    const auto total = decoder->GetInfo(APE_DECOMPRESS_TOTAL_BLOCKS);
    const auto lossyPart = decoder->GetInfo(SOURCE_INFO_LOSSY_PART);
    if (align <= 0 || align != format.nBlockAlign || total < 0 || (lossyPart != 0 && lossyPart != 1))
        std::abort();
    std::vector<unsigned char> buffer(static_cast<std::size_t>(align) * kChunkBlocks);
    DecodeChunks(*decoder, buffer, 3);
    decoder->Seek(total / 2);
    DecodeChunks(*decoder, buffer, 2);
    decoder->Seek(1);
    DecodeChunks(*decoder, buffer, 1);
    return 0;
}

// A FLAC, WavPack, TTA, ALAC, WAV or AIFF file through the decoder
// interface the engine uses: told apart by its first bytes and opened by
// the module on FFmpeg.
#include "fuzz/ExerciseDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::ExerciseDecoder(data, size, "input.flac");
    return 0;
}

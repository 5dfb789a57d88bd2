// A Monkey's Audio file through the decoder interface the engine uses.
#include "fuzz/ExerciseDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::ExerciseDecoder(data, size, "input.ape");
    return 0;
}

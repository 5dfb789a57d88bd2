// The CUE sheet a sound file carries inside: FLAC metadata blocks (the
// CUESHEET block, turned into sheet text, and a CUESHEET comment) and the
// APEv2 tag's "Cuesheet" item, as the list reads them when an album image
// is added without a sheet beside it.
#include "fuzz/ScratchFile.h"
#include "modules/lossless/EmbeddedSheet.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string sheet = EmbeddedCueSheet(fuzz::WidePath(fuzz::WriteScratch("image.flac", data, size)));
    // Text made from a block is a few lines per track and index point; a
    // found value is never longer than the file it was found in.
    if (sheet.size() > size * 8 + 64)
        std::abort();
    return 0;
}

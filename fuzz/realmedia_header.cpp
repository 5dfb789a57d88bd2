// A RealMedia file's headers, as the Brook_R module reads them for the
// file's length.
#include "fuzz/ScratchFile.h"
#include "modules/realmedia/RealMediaHeader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ReadRealMediaLength(fuzz::WriteScratch("clip.rm", data, size));
    return 0;
}

// The tags of a Monkey's Audio file as the list's metadata pass reads them:
// an APEv2 tag (and ID3v1) behind the audio, an ID3v2 tag in front of it.
#include "fuzz/ScratchFile.h"
#include "tags/TagFiles.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TagRecord tags = ReadApeTags(fuzz::WidePath(fuzz::WriteScratch("tagged.ape", data, size)));
    for (const auto& [name, values] : tags.fields)
        if (values.empty())
            std::abort();  // a field is there only with a value
    return 0;
}

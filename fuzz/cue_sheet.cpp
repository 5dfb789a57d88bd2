// A CUE sheet as a user's file: read, tracks timed, images looked up beside
// it, tags filled. An image exists beside the sheet so that the lookup of
// FILE names (exact, any case, Windows paths, other extensions) runs both
// ways.
#include "cue/CueReader.h"
#include "cue/CueTags.h"
#include "fuzz/ScratchFile.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    std::FILE* image = std::fopen((fuzz::ScratchFolder() + "Album.ape").c_str(), "wb");
    if (!image)
        std::abort();
    std::fclose(image);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::wstring path = fuzz::WidePath(fuzz::WriteScratch("sheet.cue", data, size));
    CueReader reader;
    if (!reader.Parse(path.c_str()))
        std::abort();  // the sheet is there: reading it never fails
    std::wstring image = reader.ImagePath();
    const CueTrackList& tracks = *reader.Tracks();
    for (const auto& track : tracks) {
        if (track->startFrames < 0 || (track->endFrames < 0 && track->endFrames != kToImageEnd))
            std::abort();
        AlbumTags(track->tags);
    }
    return 0;
}

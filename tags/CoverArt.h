// Finding the front cover of a source: the picture in its own tags, else an
// image file beside it named the way rippers and players name them.
#pragma once

#include "tags/CoverPicture.h"

#include <memory>
#include <string>

struct CoverArt {
    std::shared_ptr<const CoverPicture> picture;  // null: none found
    // Pictures that were found but skipped, and why; empty when none was.
    std::wstring warning;
};

// The front picture in the tags of `audioPath` (APEv2 "Cover Art (Front)",
// a FLAC PICTURE block, an ID3 APIC frame of a WAV or AIFF file), else the
// first of cover, folder, front and `albumTitle` (.jpg, .jpeg or .png, in
// any case) in the folder of `folderOf` that is a good image.
CoverArt FindCoverArt(const std::wstring& audioPath, const std::wstring& folderOf, const std::wstring& albumTitle);

// A parsed CUE sheet. Tracks are shared so that rows built from them keep
// them alive after the reader and the source that parsed them are gone.
#pragma once

#include "cue/CueTrack.h"

#include <memory>
#include <string>
#include <vector>

using CueTrackList = std::vector<std::shared_ptr<CueTrack>>;

struct CueSheet {
    std::wstring albumPerformer;
    std::wstring albumTitle;
    std::wstring imageFileName;  // the FILE entry, as written
    CueTrackList tracks;         // in file order
};

// Turns a sheet's lines into its texts, FILE entries and audio tracks.
// Everything between one TRACK line and the next belongs to that track,
// wherever its INDEX 01 stands; what comes before the first TRACK belongs to
// the album. Tracks that are not AUDIO (the data of a mixed-mode or
// enhanced CD) are read and dropped.
#pragma once

#include "cue/CueLines.h"
#include "cue/CueSheet.h"

#include <vector>

void BuildCueSheet(const std::vector<CueLine>& lines, CueSheet& sheet);

// Times every track from the INDEX 01 entries: a track ends where the next
// sound track starts when both are in one image, else at its image's end.
// A track with a problem gets none; the track before it runs on past it.
// A track that starts no later than the one before it in the same image
// gets the problem "bad INDEX time".
void TimeCueTracks(CueTrackList& tracks);

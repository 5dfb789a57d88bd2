// The tags of an album's tracks, from the sheet's texts and REM entries.
#pragma once

#include "cue/CueSheet.h"

// Fills every track's tag record: TITLE, ARTIST (the track's performer, else
// the album's), ALBUM, ALBUMARTIST, COMPOSER (SONGWRITER), ISRC,
// TRACKNUMBER "n/total", and from REM entries DATE, GENRE, COMMENT,
// DISCNUMBER "n/total" and the REPLAYGAIN_* values.
void TagTracks(CueSheet& sheet);

// What of a track's tags describes its whole album, for the album converted
// as one file: the album fields, with the album's title and performer as
// TITLE and ARTIST.
TagRecord AlbumTags(const TagRecord& trackTags);

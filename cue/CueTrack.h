// One audio TRACK entry of a CUE sheet (data tracks are left out).
#pragma once

#include "cue/CueFileKind.h"
#include "tags/TagRecord.h"

#include <cstdint>
#include <map>
#include <string>

// CD frames (1/75 s) of an end that is the end of the track's image.
constexpr std::int64_t kToImageEnd = -1;

struct CueTrack {
    std::wstring number;     // as written, e.g. "01"
    std::wstring title;
    std::wstring performer;
    std::wstring flags;      // the first word of FLAGS
    std::wstring isrc;
    std::wstring index00;    // mm:ss:ff as written
    std::wstring index01;    // mm:ss:ff as written
    float start = 0.0f;      // seconds into the image
    float end = 0.0f;        // seconds; 0 = to the end of the image

    // The same times exactly, in CD frames, for cuts that fall on the sample
    // the sheet means.
    std::int64_t startFrames = 0;
    std::int64_t endFrames = kToImageEnd;

    std::wstring songwriter;
    // REM entries inside the track, by upper-case name (REPLAYGAIN_TRACK_GAIN).
    std::map<std::wstring, std::wstring> remarks;

    // Which FILE entry of the sheet the track's audio is in (-1 when the
    // sheet names none), and that image's path (CueFile::path).
    int file = -1;
    std::wstring imagePath;
    // What that FILE entry is: its type, whether its image is a raw CD image
    // (no header: only the type says how to read it), and how it was found.
    CueFileKind imageKind = CueFileKind::Unknown;
    bool rawImage = false;
    ImageFound imageFound = ImageFound::Missing;

    // Why the track cannot be cut from its image ("no INDEX 01", "bad INDEX
    // time"); empty for a sound track. Such a track keeps its place and
    // number; its times are 0 and kToImageEnd.
    std::wstring problem;

    // What the track's output is tagged with: its own fields and the album's.
    TagRecord tags;
};

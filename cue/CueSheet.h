// A parsed CUE sheet. Tracks are shared so that rows built from them keep
// them alive after the reader and the source that parsed them are gone.
#pragma once

#include "cue/CueTrack.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

using CueTrackList = std::vector<std::shared_ptr<CueTrack>>;

// One FILE entry: the name as the quoted pattern reads it, the name as a
// tolerant reading finds it (unquoted names, quotes inside the name), and
// the latter's bytes as stored in the sheet.
struct CueFile {
    std::wstring quotedName;
    std::wstring name;
    std::string bytes;
    CueFileKind kind = CueFileKind::Unknown;
    std::wstring path;  // as found on disk, else where the sheet says
    ImageFound found = ImageFound::Missing;
};

// Whether the image is raw CD audio to be read as 44.1 kHz 16-bit stereo:
// a BINARY or MOTOROLA entry whose file found has no audio format's
// extension (a .bin image, not one compressed after the sheet was written).
bool IsRawCdImage(const CueFile& file);

struct CueSheet {
    std::wstring albumPerformer;
    std::wstring albumTitle;
    std::wstring imageFileName;  // the FILE entry, as written
    CueTrackList tracks;         // in file order

    std::wstring songwriter;
    // REM entries before the first track, by upper-case name (DATE, GENRE).
    std::map<std::wstring, std::wstring> remarks;
    std::vector<CueFile> files;  // every FILE entry, in file order
    std::string charset;         // the sheet's text was read as ("UTF-8", "WINDOWS-1251", ...)
};

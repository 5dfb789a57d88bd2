// Reads a CUE sheet into a CueSheet: album texts, the image's file name and
// one CueTrack per TRACK entry, timed by the INDEX 01 entries.
#pragma once

#include "cue/CueSheet.h"

#include <memory>
#include <string>
#include <vector>

class CueReader {
public:
    // 1 when the file was read (also when it holds no track); 0 for a null
    // path or a file that cannot be opened, which also drops an earlier sheet.
    int Parse(const wchar_t* path);

    // Null until a sheet was read.
    std::shared_ptr<const CueSheet> Sheet() const { return sheet_; }
    const std::wstring* ImageFileName() const { return sheet_ ? &sheet_->imageFileName : nullptr; }
    const CueTrackList* Tracks() const { return sheet_ ? &sheet_->tracks : nullptr; }

    // "mm:ss:ff" (frames of 1/75 s) in seconds; a null text gives 0.
    static float time(const wchar_t* text);

private:
    std::shared_ptr<CueSheet> sheet_;
};

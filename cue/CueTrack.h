// One TRACK entry of a CUE sheet.
#pragma once

#include <string>

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
};

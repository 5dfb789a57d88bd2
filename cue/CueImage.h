// Which files belong together: the sheet beside an APE image, and the image
// a sheet names. Names are matched as the Windows file system matches them,
// ignoring case, so "Album.CUE" still belongs to "Album.ape".
#pragma once

#include "cue/CueFolders.h"
#include "cue/CueSheet.h"

#include <string>
#include <string_view>

// The path up to and including its last "." followed by "cue".
std::wstring CompanionSheetPath(std::wstring_view apePath);
// The sheet's directory (up to and including its last "/") followed by the
// FILE entry, unchanged: a FILE entry with a directory of its own only works
// when that sub-path exists.
std::wstring ImagePath(std::wstring_view sheetPath, std::wstring_view imageFileName);
std::wstring ImagePath(std::wstring_view sheetPath, std::wstring_view imageFileName, CueFolders& folders);
// `path` when it exists; otherwise the entry of its directory whose name
// equals its last component ignoring case; otherwise `path` unchanged.
std::wstring FindNoCase(std::wstring_view path);

struct FoundImage {
    std::wstring path;  // "" when none was found
    ImageFound how = ImageFound::Missing;
};

// The image a FILE entry names, as rippers write them, all ignoring case:
// 1. the name as written beside the sheet (its stored bytes, then its
//    text), then the tolerant reading of the name, an absolute path, a
//    Windows path ("\" separators, a drive letter) relative to the sheet and
//    then by its last component alone;
// 2. each of those with any audio extension instead of its own (rippers
//    compress after writing the sheet), and ".bin" for raw CD images;
// 3. for a sheet that names one image (`fileEntries` different names), the
//    sheet's own name with any of those extensions;
// 4. for such a sheet, the one audio file in the sheet's folder, when
//    there is exactly one.
// The folders it lists are kept in `folders`.
FoundImage FindImage(std::wstring_view sheetPath, const CueFile& file, CueFolders& folders,
                     std::size_t fileEntries = 1);

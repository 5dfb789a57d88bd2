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

// The image a FILE entry names, as rippers write them: first the name as
// written beside the sheet (its stored bytes, then its text), then the
// tolerant reading of the name, an absolute path, a Windows path ("\"
// separators, a drive letter) relative to the sheet and then by its last
// component alone; each also with ".ape" for a ".wav", ".flac" or ".bin"
// name (rippers compress after writing the sheet), all ignoring case.
// "" when none exists. The folders it lists are kept in `folders`.
std::wstring FindImage(std::wstring_view sheetPath, const CueFile& file, CueFolders& folders);

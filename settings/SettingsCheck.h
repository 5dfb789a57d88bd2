// A settings file is read from outside: damaged or hand-edited, any field
// can hold anything. Reading checks every field the program gives meaning
// to, so nothing downstream sees a bit rate of -1437035899 or writes into
// "/" because a folder lost its last "/".
#pragma once

#include "settings/ConversionSettings.h"

#include <string>

// Puts every field that holds a value the program cannot use back to its
// default (what a missing file leaves): the MP3 sample rate (0 or an MP3
// rate), bit rates (8..320 kbit/s, lowest not above highest), quality 0..9,
// the flags 0 or 1. Fields nobody edits are the encoder's and stay. Returns
// how many fields were reset.
int ValidateSettings(ConversionSettings& record);

// A stored folder ends with "/", so names can be appended to it; a folder
// that lost it gets it back. Empty stays empty ("beside the source").
std::wstring NormaliseOutputFolder(std::wstring folder);

// "" when `folder` can be used as the output folder (empty: beside each
// source); else why not, for a user, and the caller writes beside the
// source instead: a folder must be an absolute path ("/music/") ending in
// "/", without control characters, and not the root folder ("/" stored
// means no folder; "//" or "/./" in a damaged file mean no more).
std::wstring OutputFolderProblem(const std::wstring& folder);

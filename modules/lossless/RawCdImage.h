// A raw CD image: a file of bare 44.1 kHz 16-bit stereo samples with no
// header at all, as a sheet's FILE ... BINARY (little-endian) or
// FILE ... MOTOROLA (big-endian) names it. The decoder hands it out as
// little-endian PCM through the same interface as every other source.
#pragma once

#include "modules/apesdk/ApeDecompress.h"

// Null on failure (the file cannot be read, or holds not one whole
// sample), with the reason in `errorCode` when given.
IAPEDecompress* CreateRawCdDecompress(const wchar_t* path, bool bigEndian, int* errorCode);

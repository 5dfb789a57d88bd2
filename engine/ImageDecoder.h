// Opens the decoder for one audio file, whatever its format: told apart by
// content, except a raw CD image, which has no header and is only known by
// the sheet that names it.
#pragma once

#include "modules/apesdk/ApeDecompress.h"

#include <string>

enum class RawImage {
    None,          // a file that says what it is
    LittleEndian,  // FILE ... BINARY: bare 44.1 kHz 16-bit stereo
    BigEndian,     // FILE ... MOTOROLA
};

// Null on failure, with the decoder's error code in `error` and a reason
// for users in `why`.
IAPEDecompress* OpenImageDecoder(const std::wstring& path, RawImage raw, int& error, std::wstring& why);

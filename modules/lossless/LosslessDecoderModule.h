// The contract between the decoder interface and its second module,
// lossless_ffmpeg.so: one C entry that opens a sound file that is not
// Monkey's Audio and hands over a decoder, which the caller deletes.
#pragma once

#include "modules/apesdk/ApeDecompress.h"

inline constexpr const wchar_t* kLosslessDecoderModule = L"lossless_ffmpeg";
inline constexpr const char* kLosslessDecoderEntry = "OpenLosslessDecoder";

// `utf8Path` is never null; `demuxer` is FFmpeg's name for the container,
// null to let FFmpeg recognise it among the sound containers. `errorCode`
// always receives the result; on failure `reason` (UTF-8, `reasonBytes`
// long, always terminated) says why for users.
using OpenLosslessDecoderFn = IAPEDecompress* (*)(const char* utf8Path, const char* demuxer, int* errorCode,
                                                  char* reason, int reasonBytes);

extern "C" IAPEDecompress* OpenLosslessDecoder(const char* utf8Path, const char* demuxer, int* errorCode,
                                               char* reason, int reasonBytes);

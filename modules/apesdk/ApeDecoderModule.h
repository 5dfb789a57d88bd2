// The contract between the decoder interface and its module, ape_ffmpeg.so:
// one C entry that opens a file and hands over a decoder, which the caller
// deletes. The module stays loaded for the life of the process.
#pragma once

#include "modules/apesdk/ApeDecompress.h"

// File name of the module, without the platform's suffix.
inline constexpr const wchar_t* kApeDecoderModule = L"ape_ffmpeg";
inline constexpr const char* kApeDecoderEntry = "OpenApeDecoder";

// `utf8Path` is never null; `errorCode` always receives the result.
using OpenApeDecoderFn = IAPEDecompress* (*)(const char* utf8Path, int* errorCode);

extern "C" IAPEDecompress* OpenApeDecoder(const char* utf8Path, int* errorCode);

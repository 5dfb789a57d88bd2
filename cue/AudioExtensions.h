// The file extensions of the album images we can decode, in the order an
// image is looked for under another extension. One list, so that the image
// lookup, the file dialogs and the decoders agree on what is audio.
#pragma once

#include <array>
#include <string_view>

inline constexpr std::array<std::wstring_view, 11> kAudioExtensions = {
    L"ape", L"flac", L"wv", L"tta", L"wav", L"rf64", L"w64", L"aif", L"aiff", L"m4a", L"tak"};

// A raw CD image: 44.1 kHz 16-bit stereo without a header, named by a FILE
// entry of type BINARY or MOTOROLA.
inline constexpr std::wstring_view kRawImageExtension = L"bin";

// Whether `extension` (without its dot, any case) is one of kAudioExtensions.
bool IsAudioExtension(std::wstring_view extension);
// Whether the path's last component ends in "." and an audio extension.
bool HasAudioExtension(std::wstring_view path);

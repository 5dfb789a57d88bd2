// Where a row's output goes, decided before every batch. A row's output path
// remembers the last batch, so converting a row to the other format derives
// the new name from the old one.
#pragma once

#include "engine/ConversionItem.h"

#include <string>

// The output directory counts as set when it holds more than one character;
// it already ends with the separator. `extension` is one OutputExtension gives.
std::wstring OutputPathFor(const ConversionItem& item, const std::wstring& extension,
                           const std::wstring& outputDirectory);

// The extension (without ".") of an output kind's files: "mp3", "wav",
// "flac", "opus".
const wchar_t* OutputExtension(std::int32_t outputKind);

// A CUE track title made fit to be a file name: "/" and control characters
// become "_", and a title that names no file ("", ".", "..") becomes
// "Track NN" after the track's number.
std::wstring SafeTrackFileName(const std::wstring& title, const std::wstring& trackNumber);

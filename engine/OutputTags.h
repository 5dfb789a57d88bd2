// Tags a row's finished output file with the row's tag record, in the form
// its output kind takes: ID3v2.4 + ID3v1 for MP3, INFO + ID3 chunks for WAV.
#pragma once

#include "engine/ConversionItem.h"

#include <string>

// `path` is where the row's output lies now (it may still carry a
// temporary name). Returns "" when there was nothing to write or the tags
// were written, else why they were not.
std::wstring TagOutput(const ConversionItem& item, const std::wstring& path);
